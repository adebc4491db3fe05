#include "app/core/data_folder.h"

#include <QDir>

namespace {

QString withSlash(QString path) {
    if (!path.endsWith(u'/'))
        path.append(u'/');
    return path;
}

} // namespace

QString dataFolderPath() {
    const QString fromEnv = qEnvironmentVariable("VORBEL_DATA_DIR");
    if (!fromEnv.isEmpty())
        return withSlash(QDir::cleanPath(fromEnv));
#ifdef Q_OS_WIN
    // The all-users application data folder; without it the folder at the root of the
    // current drive.
    const QString common = qEnvironmentVariable("ProgramData");
    if (common.isEmpty())
        return QDir::rootPath() + QStringLiteral("VORBEL/");
    return withSlash(QDir::cleanPath(QDir::fromNativeSeparators(common))) +
           QStringLiteral("VORBEL/");
#else
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return withSlash(QDir::cleanPath(base)) + QStringLiteral("VORBEL/");
#endif
}

QString CommonDataFolder() {
    const QString folder = dataFolderPath();
    QDir().mkpath(folder);
    return folder;
}

QString settingsFilePath() {
    return CommonDataFolder() + SettingsFileName;
}

QString logFilePath() {
    return CommonDataFolder() + LogFileName;
}
