#pragma once

// Where config.cfg and log2.csv live: VORBEL_DATA_DIR when set, otherwise the machine's
// all-users application data folder + "VORBEL" on Windows and $XDG_DATA_HOME/VORBEL/
// (default ~/.local/share/VORBEL/) elsewhere.

#include <QString>

// The data folder with a trailing "/", created with any missing parents first. A folder that
// cannot be created is still returned; reading or writing in it then fails.
QString CommonDataFolder();

// The data folder without creating it.
QString dataFolderPath();

inline const QString SettingsFileName = QStringLiteral("config.cfg");
inline const QString LogFileName = QStringLiteral("log2.csv");

// CommonDataFolder() + file name; each call creates the folder first.
QString settingsFilePath();
QString logFilePath();
