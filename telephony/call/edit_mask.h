#pragma once

// Formatting a text with an edit mask of the masked-edit notation: up to three fields separated
// by ";" (mask proper, save-literals, blank), placeholders "0 9 # A a C c L l", the directives
// "! < > \", "/" and ":" for the locale's date and time separators, every other character a
// literal. "000-000-0000;0" turns 0205551234 into 020-555-1234.

#include <QString>

QString FormatMaskText(const QString& value, const QString& mask);
// The same with explicit separators for "/" and ":" (the locale's by default).
QString FormatMaskText(const QString& value, const QString& mask, QChar dateSeparator,
                       QChar timeSeparator);
