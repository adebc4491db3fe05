#include "app/core/unreadable_file.h"

#include <QDir>
#include <QFileInfo>

QString setAsideUnreadableFile(const QString& path, const QDateTime& when) {
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    const QString base =
        path + QStringLiteral(".unreadable-") + when.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    return QDir().rename(path, target) ? target : QString();
}
