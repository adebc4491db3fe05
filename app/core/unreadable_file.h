#pragma once

// A log or phonebook file that exists but cannot be read would be overwritten by the next save,
// losing whatever it held. Before that can happen the window moves it aside under a name that
// says why, so the user can still recover it.

#include <QDateTime>
#include <QString>

// Renames the file at path to "<path>.unreadable-<yyyyMMdd-hhmmss>" (a counter is added when
// that name is taken). Returns the new name, or an empty text when there was no file or the
// rename failed.
QString setAsideUnreadableFile(const QString& path,
                               const QDateTime& when = QDateTime::currentDateTime());
