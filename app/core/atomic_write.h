#pragma once

// Replaces a file as a whole: the bytes go to a temporary file beside it, which then takes the
// file's name. When anything fails the previous file stays as it was.

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// Writes in pieces (so that a long log needs no second copy in memory) and commits at the end.
// Every write is checked, so a write that the disk cuts short never replaces the file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString& path);
    bool open();
    bool write(QByteArrayView bytes);
    // Renames the finished file into place; false (and the old file intact) when any step failed.
    bool commit();
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& message);
    QSaveFile m_file;
    qint64 m_written = 0;
    bool m_failed = false;
    QString m_error;
};

bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error = nullptr);
