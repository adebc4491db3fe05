#pragma once

// Small text routines shared by the window, the dialogs and the call tracking.

#include <QString>
#include <QStringList>
#include <QStringView>

// True when any of args (the parameters after the program name), first to last, equals word
// when both are upper-cased.
bool ParamPresent(QStringView word, const QStringList& args);

// The text with every character removed that is not a digit 0 to 9 or "+".
QString DigitsAndPlus(QStringView text);

// text unchanged when search is empty or replacement contains search; otherwise the first
// occurrence from the start is replaced, again and again, until none is left.
QString ReplaceAll(const QString& text, const QString& search, const QString& replacement);

// The text without leading and trailing blanks and control characters (every character up to
// and including U+0020).
QString TrimBlanks(QStringView text);
QStringView TrimBlanksView(QStringView text);
