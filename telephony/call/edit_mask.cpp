// Edit-mask formatting of party numbers.

#include "telephony/call/edit_mask.h"

#include <vector>

#include <QLocale>

namespace {

enum class Kind { Placeholder, Literal, Directive, Field };

struct Token {
    Kind kind;
    QChar ch;
};

bool IsPlaceholder(QChar c) {
    return QStringLiteral("09#AaCcLl").contains(c);
}

// The first character of a locale format that is not a letter or a digit.
QChar SeparatorOf(const QString& format, QChar fallback) {
    for (QChar c : format)
        if (!c.isLetterOrNumber() && c != QLatin1Char(' ') && c != QLatin1Char('\''))
            return c;
    return fallback;
}

struct ParsedMask {
    std::vector<Token> tokens;
    bool rightToLeft = false;
    bool saveLiterals = true;
};

ParsedMask Parse(const QString& mask, QChar dateSeparator, QChar timeSeparator) {
    ParsedMask parsed;
    const qsizetype n = mask.size();
    // Field separators count only among the last four characters; the character after one
    // (also among them) is the field's value.
    std::vector<bool> field(static_cast<std::size_t>(n), false);
    std::vector<qsizetype> separators;
    for (qsizetype i = std::max<qsizetype>(0, n - 4); i < n; ++i) {
        if (mask[i] == QLatin1Char(';') && !field[static_cast<std::size_t>(i)]) {
            field[static_cast<std::size_t>(i)] = true;
            separators.push_back(i);
            if (i + 1 < n)
                field[static_cast<std::size_t>(i + 1)] = true;
        }
    }
    if (!separators.empty()) {
        const qsizetype sep = separators.front();
        parsed.saveLiterals = !(n > 3 && sep + 1 < n && mask[sep + 1] == QLatin1Char('0'));
    }

    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = mask[i];
        if (field[static_cast<std::size_t>(i)]) {
            parsed.tokens.push_back({Kind::Field, c});
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < n && !field[static_cast<std::size_t>(i + 1)]) {
                ++i;
                parsed.tokens.push_back({Kind::Literal, mask[i]});
            }
        } else if (c == QLatin1Char('!')) {
            parsed.rightToLeft = true;
            parsed.tokens.push_back({Kind::Directive, c});
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>')) {
            parsed.tokens.push_back({Kind::Directive, c});
        } else if (IsPlaceholder(c)) {
            parsed.tokens.push_back({Kind::Placeholder, c});
        } else if (c == QLatin1Char('/')) {
            parsed.tokens.push_back({Kind::Literal, dateSeparator});
        } else if (c == QLatin1Char(':')) {
            parsed.tokens.push_back({Kind::Literal, timeSeparator});
        } else {
            parsed.tokens.push_back({Kind::Literal, c});
        }
    }
    return parsed;
}

QString InsertLiterals(const QString& value, const ParsedMask& mask) {
    QString text = value;
    if (!mask.rightToLeft) {
        qsizetype p = 0; // 0-based: the next character of the text to produce
        for (const Token& t : mask.tokens) {
            if (t.kind == Kind::Literal) {
                text.insert(std::min(p, text.size()), t.ch);
                ++p;
            } else if (t.kind == Kind::Placeholder) {
                if (text.size() < p + 1)
                    text.append(QLatin1Char(' '));
                ++p;
            }
        }
        return text;
    }
    qsizetype q = text.size();
    for (auto it = mask.tokens.rbegin(); it != mask.tokens.rend(); ++it) {
        if (it->kind == Kind::Placeholder) {
            if (q > 0)
                --q;
            else
                text.prepend(QLatin1Char(' '));
        } else if (it->kind == Kind::Literal) {
            text.insert(q, it->ch);
        }
    }
    return text;
}

// Makes the stretch exactly width characters: padded with blanks or cut, at the end (at the start
// when formatting right to left).
QString FitStretch(QString stretch, qsizetype width, bool rightToLeft) {
    if (stretch.size() < width) {
        const QString pad(width - stretch.size(), QLatin1Char(' '));
        return rightToLeft ? pad + stretch : stretch + pad;
    }
    if (stretch.size() > width)
        return rightToLeft ? stretch.right(width) : stretch.left(width);
    return stretch;
}

QString FitSubFields(const QString& value, const ParsedMask& mask) {
    QString text = value;
    qsizetype prevText = -1; // position of the previous literal in the text
    qsizetype prevMask = -1; // its position in the formatted output
    qsizetype out = 0;
    for (const Token& t : mask.tokens) {
        if (t.kind == Kind::Placeholder) {
            ++out;
            continue;
        }
        if (t.kind != Kind::Literal)
            continue;
        qsizetype at = text.indexOf(t.ch, prevText + 1);
        if (at < 0) {
            text.append(t.ch);
            at = text.size() - 1;
        }
        const QString stretch = text.mid(prevText + 1, at - prevText - 1);
        const QString fitted = FitStretch(stretch, out - prevMask - 1, mask.rightToLeft);
        text.replace(prevText + 1, at - prevText - 1, fitted);
        prevText = prevText + 1 + fitted.size();
        prevMask = out;
        ++out;
    }
    const QString tail = text.mid(prevText + 1);
    text.truncate(prevText + 1);
    text.append(FitStretch(tail, out - prevMask - 1, mask.rightToLeft));
    return text;
}

} // namespace

QString FormatMaskText(const QString& value, const QString& mask, QChar dateSeparator,
                       QChar timeSeparator) {
    if (mask.isEmpty())
        return value;
    const ParsedMask parsed = Parse(mask, dateSeparator, timeSeparator);
    return parsed.saveLiterals ? FitSubFields(value, parsed) : InsertLiterals(value, parsed);
}

QString FormatMaskText(const QString& value, const QString& mask) {
    const QLocale locale;
    return FormatMaskText(value, mask,
                          SeparatorOf(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/')),
                          SeparatorOf(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':')));
}
