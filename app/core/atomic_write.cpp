#include "app/core/atomic_write.h"

AtomicFileWriter::AtomicFileWriter(const QString& path) : m_file(path) {}

bool AtomicFileWriter::fail(const QString& message) {
    if (!m_failed)
        m_error = message.isEmpty() ? QStringLiteral("Write failed") : message;
    m_failed = true;
    m_file.cancelWriting();
    return false;
}

bool AtomicFileWriter::open() {
    if (m_file.fileName().isEmpty())
        return fail(QStringLiteral("No file name"));
    // Unbuffered: a buffered write that the disk cuts short (full disk, size limit) can be
    // flushed in part without an error, and the cut file would then replace the good one.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    return true;
}

bool AtomicFileWriter::write(QByteArrayView bytes) {
    if (m_failed || !m_file.isOpen())
        return fail(m_error);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = m_file.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return fail(m_file.errorString());
        done += n;
    }
    m_written += bytes.size();
    return true;
}

bool AtomicFileWriter::commit() {
    if (m_failed || !m_file.isOpen())
        return fail(m_error);
    if (m_file.size() != m_written)
        return fail(QStringLiteral("Write failed: the file was cut short"));
    if (!m_file.commit()) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error) {
    AtomicFileWriter writer(path);
    if (writer.open() && writer.write(bytes) && writer.commit())
        return true;
    if (error)
        *error = writer.errorString();
    return false;
}
