#include "app/core/atomic_write.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error) {
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No file name");
        return false;
    }
    QSaveFile file(path);
    // Unbuffered: a buffered write that the disk cuts short (full disk, size limit) can be
    // flushed in part without an error, and the cut file would then replace the good one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            if (error)
                *error = file.errorString().isEmpty() ? QStringLiteral("Write failed")
                                                      : file.errorString();
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    if (file.size() != bytes.size()) {
        if (error)
            *error = QStringLiteral("Write failed: the file was cut short");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
