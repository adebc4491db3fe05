#pragma once

// Windows-1252 at the file boundary: settings, log and phonebook files are stored in this code
// page without a byte-order mark, so that they move between installations.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Every byte becomes one character. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same value, as the platform does.
QString fromCp1252(QByteArrayView bytes);

// Every character becomes one byte; a character the code page cannot hold becomes "?" (a
// surrogate pair counts as one character).
QByteArray toCp1252(QStringView text);

// The byte for one character, or '?' when there is none.
char cp1252Byte(char16_t c);
