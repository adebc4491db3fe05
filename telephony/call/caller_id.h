#pragma once

// Party identification: one object per party of the selected call (caller, called, connected,
// redirection, redirecting), showing its name and number as the application reads them.

#include <cstddef>
#include <cstdint>

#include <QString>

#include "telephony/call/call_log.h"

class TetLineInternal;

// The number without " ", "+", "(", ")", "-" and ".".
QString StripPunctuation(const QString& number);
// Letters A-Z lowered, then the first character and every character after a blank raised
// (only a-z change case): "BAKKER, ANNA" -> "Bakker, Anna".
QString CapitalizeName(const QString& name);

class TetCallerID {
public:
    static constexpr const char* DefaultMask = "000-000-0000;0";

    explicit TetCallerID(TetLineInternal* owner);

    // The name, capitalised when FormatName is on.
    QString Name() const;
    // The number, stripped of punctuation unless Device.TranslatePhoneNumber, then masked.
    QString Number() const;
    bool Blocked() const { return blocked_; }
    bool OutOfArea() const { return outOfArea_; }
    uint32_t Flags() const { return flags_; }

    bool FormatName() const { return formatName_; }
    void setFormatName(bool value) { formatName_ = value; }
    const QString& MaskNumber() const { return maskNumber_; }
    void setMaskNumber(const QString& value) { maskNumber_ = value; }
    bool EventFilter() const { return eventFilter_; }
    void setEventFilter(bool value) { eventFilter_ = value; }

    // The texts as read, before formatting.
    const QString& RawName() const { return name_; }
    const QString& RawNumber() const { return number_; }

    // Empties the values (texts, flags, Blocked, OutOfArea, Reported); the settings stay.
    void Clear();
    void SaveTo(TetCallLogCallerID& slot) const;
    void LoadFrom(const TetCallLogCallerID& slot);

    // The dump block under prefix ("Call.CallerID"), each line "\t" + prefix + "." + item.
    void LogProperties(const QString& prefix) const;

private:
    TetLineInternal* owner_;
    QString maskNumber_ = QString::fromLatin1(DefaultMask);
    QString name_;
    QString number_;
    bool formatName_ = true;
    bool blocked_ = false;
    bool outOfArea_ = false;
    bool reported_ = false;
    uint32_t flags_ = 0;
    bool eventFilter_ = true;
};

// Reads one party from a LINECALLINFO into its slot: texts at their offsets (cut at the first NUL
// and trimmed, never read outside the buffer), flags, Blocked and OutOfArea; Reported says
// whether the reading left the slot as it was.
void ReadPartyID(TetCallLogCallerID& slot, uint32_t flags, uint32_t numberSize,
                 uint32_t numberOffset, uint32_t nameSize, uint32_t nameOffset,
                 const void* callInfo, std::size_t available);
