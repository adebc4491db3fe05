#pragma once

// The error object of a component: the last reported code with its text and hexadecimal form.
// Filled by TetSharedControl::ReportError; the application only reads it.

#include <cstdint>

#include <QString>

class TetSharedControl;

class TetError {
public:
    explicit TetError(TetSharedControl* owner);
    TetError(const TetError&) = delete;
    TetError& operator=(const TetError&) = delete;

    // Empties Text and Hex and sets Number to 0; writes nothing and fires nothing.
    void Clear();

    // Text of the last reported code; empty when none is recorded.
    const QString& Text() const { return text_; }
    // The last code as eight upper-case hexadecimal digits; empty when the code is 0.
    const QString& Hex() const { return hex_; }
    // The last reported code; 0 means no error.
    int32_t Number() const { return number_; }

    // Writes "Text = '...'", "Hex = [...]" and "Number = n" as detail lines under the path
    // Name + "." + "Error.". False, writing nothing, while the log is inactive.
    bool LogProperties(const QString& Header, const QString& Name, const QString& Prefix);

private:
    friend class TetSharedControl;
    void Record(int32_t number, const QString& text, const QString& hex);

    TetSharedControl* owner_;
    QString text_;
    QString hex_;
    int32_t number_ = 0;
};
