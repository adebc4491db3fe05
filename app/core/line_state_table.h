#pragma once

// The per-line state of the IP phone's lines 1 to 8: the values at the last poll (Cur...) and
// at the end of the last tracking pass (Prev...). Each entry holds at most 255 characters.

#include <QString>
#include <QStringView>

#include <array>

// A text of fixed capacity: assigning a longer value keeps its first 255 characters.
class ShortText {
public:
    static constexpr qsizetype Capacity = 255;
    ShortText() = default;
    ShortText(const QString& text) { *this = text; } // NOLINT: used like a text
    ShortText& operator=(const QString& text);
    ShortText& operator=(QStringView text) { return *this = text.toString(); }
    const QString& text() const { return m_text; }
    operator const QString&() const { return m_text; } // NOLINT
    bool isEmpty() const { return m_text.isEmpty(); }
    friend bool operator==(const ShortText& a, const ShortText& b) { return a.m_text == b.m_text; }

private:
    QString m_text;
};

// One ShortText per line, indexed by line number 1 to 8.
class PerLineText {
public:
    static constexpr int Lines = 8;
    ShortText& operator[](int line) { return m_texts.at(static_cast<std::size_t>(line - 1)); }
    const ShortText& operator[](int line) const {
        return m_texts.at(static_cast<std::size_t>(line - 1));
    }
    void clear() { m_texts = {}; }

private:
    std::array<ShortText, Lines> m_texts;
};

// The text of exactly two blanks that the poller stores where the page has no value.
inline const QString NoValueMarker = QStringLiteral("  ");

struct LineStateTable {
    static constexpr int Lines = PerLineText::Lines;
    PerLineText CurName;
    PerLineText CurPhone;
    PerLineText CurUserId;
    PerLineText CurCallState;
    PerLineText CurType;
    PerLineText PrevName;
    PerLineText PrevPhone;
    PerLineText PrevType;

    // All entries empty, as at window creation.
    void clear();
};
