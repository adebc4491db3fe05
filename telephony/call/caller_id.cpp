// Party identification: formatting of names and numbers, reading a party from LINECALLINFO and
// the copies between the party objects and a call's slots.

#include "telephony/call/caller_id.h"

#include "telephony/call/edit_mask.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"

QString StripPunctuation(const QString& number) {
    QString out;
    out.reserve(number.size());
    for (QChar c : number)
        if (c != QLatin1Char(' ') && c != QLatin1Char('+') && c != QLatin1Char('(') &&
            c != QLatin1Char(')') && c != QLatin1Char('-') && c != QLatin1Char('.'))
            out.append(c);
    return out;
}

namespace {
QChar AsciiUpper(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 32) : c;
}
QChar AsciiLower(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ? QChar(c.unicode() + 32) : c;
}
} // namespace

QString CapitalizeName(const QString& name) {
    QString out = name;
    for (QChar& c : out)
        c = AsciiLower(c);
    if (out.isEmpty())
        return out;
    out[0] = AsciiUpper(out[0]);
    for (qsizetype i = 1; i < out.size(); ++i)
        if (out[i - 1] == QLatin1Char(' '))
            out[i] = AsciiUpper(out[i]);
    return out;
}

TetCallerID::TetCallerID(TetLineInternal* owner) : owner_(owner) {}

QString TetCallerID::Name() const {
    if (formatName_ && !name_.isEmpty())
        return CapitalizeName(name_);
    return name_;
}

QString TetCallerID::Number() const {
    QString text = number_;
    const bool translate = owner_ && owner_->Device() && owner_->Device()->TranslatePhoneNumber();
    if (!translate)
        text = StripPunctuation(text);
    if (!maskNumber_.isEmpty())
        return FormatMaskText(text, maskNumber_);
    return text;
}

void TetCallerID::Clear() {
    name_.clear();
    number_.clear();
    flags_ = 0;
    blocked_ = false;
    outOfArea_ = false;
    reported_ = false;
}

void TetCallerID::SaveTo(TetCallLogCallerID& slot) const {
    slot.Name = name_;
    slot.Number = number_;
    slot.Blocked = blocked_;
    slot.OutOfArea = outOfArea_;
    slot.Reported = reported_;
    slot.EventFilter = eventFilter_;
    slot.Flags = flags_;
}

void TetCallerID::LoadFrom(const TetCallLogCallerID& slot) {
    name_ = slot.Name;
    number_ = slot.Number;
    blocked_ = slot.Blocked;
    outOfArea_ = slot.OutOfArea;
    reported_ = slot.Reported;
    eventFilter_ = slot.EventFilter;
    flags_ = slot.Flags;
}

void TetCallerID::LogProperties(const QString& prefix) const {
    if (!owner_)
        return;
    const QString p = QStringLiteral("\t") + prefix + QStringLiteral(".");
    owner_->Detail(p + QStringLiteral("Blocked = ") + TetLineInternal::Bool(blocked_));
    owner_->Detail(p + QStringLiteral("EventFilter = ") + TetLineInternal::Bool(eventFilter_));
    owner_->Detail(p + QStringLiteral("Flags = ") + TetLineInternal::HexBr(flags_));
    for (uint32_t bit = 0x01; bit <= 0x40; bit <<= 1)
        if (flags_ & bit)
            owner_->Detail(QStringLiteral("\t\t") + prefix + QStringLiteral(".") +
                           PartyIDFlagName(bit));
    owner_->Detail(p + QStringLiteral("FormatName = ") + TetLineInternal::Bool(formatName_));
    owner_->Detail(p + QStringLiteral("MaskNumber = '") + maskNumber_ + QStringLiteral("'"));
    owner_->Detail(p + QStringLiteral("Name = '") + Name() + QStringLiteral("'"));
    owner_->Detail(p + QStringLiteral("Number = '") + Number() + QStringLiteral("'"));
    owner_->Detail(p + QStringLiteral("OutOfArea = ") + TetLineInternal::Bool(outOfArea_));
}

void ReadPartyID(TetCallLogCallerID& slot, uint32_t flags, uint32_t numberSize,
                 uint32_t numberOffset, uint32_t nameSize, uint32_t nameOffset,
                 const void* callInfo, std::size_t available) {
    bool changed = false;
    // Sizes above 2 GiB are negative for the provider's signed reading: no text.
    const QString number =
        TapiString(callInfo, available, numberOffset, static_cast<int32_t>(numberSize));
    if (number != slot.Number) {
        slot.Number = number;
        changed = true;
    }
    const QString name =
        TapiString(callInfo, available, nameOffset, static_cast<int32_t>(nameSize));
    if (name != slot.Name) {
        slot.Name = name;
        changed = true;
    }
    if (flags != slot.Flags) {
        slot.Flags = flags;
        changed = true;
    }
    slot.Blocked = (flags & 0x01) != 0;
    slot.OutOfArea = (flags & 0x02) != 0;
    slot.Reported = !changed;
}
