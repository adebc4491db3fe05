#include "telephony/diagnostics/vigil.h"

#include "telephony/diagnostics/shared_control.h"

namespace {

// Replaces every occurrence, again and again, until none is left.
void ReplaceEvery(QString& text, QStringView from, QStringView to) {
    if (to.contains(from)) {
        text.replace(from.toString(), to.toString());
        return;
    }
    while (text.contains(from))
        text.replace(from.toString(), to.toString());
}

void ReplaceFirst(QString& text, QStringView from, QStringView to) {
    const qsizetype at = text.indexOf(from);
    if (at >= 0)
        text.replace(at, from.size(), to.toString());
}

// Points before the first "=" go; without "=", all but a point that ends the line.
void RemoveLeadingPoints(QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool point = text[i] == u'.';
        const bool drop = equals >= 0 ? (point && i < equals) : (point && i != text.size() - 1);
        if (!drop)
            result.append(text[i]);
    }
    text = result;
}

} // namespace

TetVigil::TetVigil(TetSharedControl* owner)
    : owner_(owner), log_(std::make_unique<TetLog>(owner, this)) {}

TetVigil::~TetVigil() = default;

QString TetVigil::BoolText(bool Value) {
    return Value ? QStringLiteral("True") : QStringLiteral("False");
}

QString TetVigil::HexForm(uint32_t Value) {
    return QStringLiteral("%1").arg(Value, 8, 16, QLatin1Char('0')).toUpper();
}

QString TetVigil::HexText(uint32_t Value) {
    return u'[' + HexForm(Value) + u']';
}

QString TetVigil::DevEnvName(TDevEnv value) {
    switch (value) {
    case TDevEnv::deCppBuilder:
        return QStringLiteral("deCppBuilder");
    case TDevEnv::deDelphi:
        return QStringLiteral("deDelphi");
    case TDevEnv::deOther:
        return QStringLiteral("deOther");
    case TDevEnv::deVisualBasic:
        return QStringLiteral("deVisualBasic");
    }
    return {};
}

QString TetVigil::WindowStateName(TWindowState value) {
    switch (value) {
    case TWindowState::wsNormal:
        return QStringLiteral("wsNormal");
    case TWindowState::wsMinimized:
        return QStringLiteral("wsMinimized");
    case TWindowState::wsMaximized:
        return QStringLiteral("wsMaximized");
    }
    return {};
}

QString TetVigil::FormatSyntax(const QString& Line) const {
    return FormatSyntax(Line, devEnv_);
}

QString TetVigil::FormatSyntax(const QString& Line, TDevEnv style) {
    QString text = Line;
    switch (style) {
    case TDevEnv::deDelphi:
        ReplaceEvery(text, u"~", u".");
        break;
    case TDevEnv::deCppBuilder:
        ReplaceEvery(text, u"~", u".");
        ReplaceEvery(text, u".", u"->");
        ReplaceEvery(text, u" = ", u" == ");
        ReplaceFirst(text, u":=", u"=");
        ReplaceEvery(text, u"'", u"\"");
        break;
    case TDevEnv::deOther:
    case TDevEnv::deVisualBasic:
        ReplaceEvery(text, u"..", u"~~");
        RemoveLeadingPoints(text);
        ReplaceEvery(text, u"~", u".");
        ReplaceEvery(text, u"'", u"\"");
        ReplaceFirst(text, u":=", u"=");
        ReplaceFirst(text, u"//", u"'");
        break;
    }
    return text;
}

void TetVigil::setDevEnv(TDevEnv value) {
    // Stored first, so the line is already in the new style.
    devEnv_ = value;
    log_->WriteLine(QStringLiteral("DevEnv := ") + DevEnvName(value), true);
}

void TetVigil::setVisible(bool value) {
    log_->WriteLine(QStringLiteral("Vigil.Visible := ") + BoolText(value), true);
    if (visible_ && !value)
        visible_ = false;
    else if (!visible_ && value)
        ShowMonitor();
}

// No monitor window is built: nothing is shown and nothing is asked.
void TetVigil::ShowMonitor() {}

void TetVigil::ShowOnEvent(bool Flag) {
    if (!Flag)
        return;
    if (!visible_)
        ShowMonitor();
}

// With no window the readers give 0; Top and Left forget their remembered value, Width and
// Height keep it.
int32_t TetVigil::Top() {
    top_ = 0;
    return 0;
}

int32_t TetVigil::Left() {
    left_ = 0;
    return 0;
}

int32_t TetVigil::Width() {
    return 0;
}

int32_t TetVigil::Height() {
    return 0;
}

TWindowState TetVigil::WindowState() {
    windowState_ = TWindowState::wsNormal;
    return windowState_;
}

bool TetVigil::LogProperties(const QString& Header, const QString& Name, const QString& Prefix) {
    if (!log_->Active())
        return false;
    if (!Header.isEmpty())
        log_->WriteLine(Header, true);
    const QString path =
        Prefix + (Name.isEmpty() ? QString() : Name + u'.') + QStringLiteral("Vigil.");
    log_->WriteLine(path + QStringLiteral("DevEnv = ") + DevEnvName(devEnv_), true);
    log_->WriteLine(path + QStringLiteral("Events = ") + BoolText(events_), false);
    log_->WriteLine(path + QStringLiteral("Height = ") + QString::number(Height()), false);
    log_->WriteLine(path + QStringLiteral("Left = ") + QString::number(Left()), false);
    log_->WriteLine(path + QStringLiteral("StayOnTop = ") + BoolText(stayOnTop_), false);
    log_->WriteLine(path + QStringLiteral("Top = ") + QString::number(Top()), false);
    log_->WriteLine(path + QStringLiteral("Visible = ") + BoolText(visible_), false);
    log_->WriteLine(path + QStringLiteral("Width = ") + QString::number(Width()), false);
    log_->WriteLine(path + QStringLiteral("WindowState = ") + WindowStateName(WindowState()), true);
    return true;
}

void TetVigil::LogBits(const QString& Label, uint32_t Value, TetNameFunction NameOf, uint32_t Last,
                       uint32_t First) {
    log_->WriteLine(Label + QStringLiteral(" = ") + HexText(Value), false);
    if (NameOf == nullptr)
        return;
    // A Last that is neither 0 nor a single bit is never met by the doubling walk; the walk then
    // ends when the bit runs past the top instead of going round forever.
    const bool lastReachable = Last == 0 || (Last & (Last - 1)) == 0;
    uint32_t bit = First;
    while (bit != Last) {
        if ((Value & bit) != 0)
            log_->WriteLine(QStringLiteral("\t\t") + NameOf(Value & bit), false);
        if (bit == 0) {
            bit = 1;
        } else {
            bit *= 2;
            if (bit == 0 && !lastReachable)
                break;
        }
    }
    if ((Value & Last) != 0)
        log_->WriteLine(QStringLiteral("\t\t") + NameOf(Value & Last), false);
}

void TetVigil::LogValueRange(const QString& Label, uint32_t Value, TetNameFunction NameOf,
                             uint32_t Last, uint32_t First) {
    log_->WriteLine(Label + QStringLiteral(" = ") + HexText(Value), false);
    if (NameOf == nullptr)
        return;
    for (uint64_t v = First; v <= Last; ++v) {
        const auto step = static_cast<uint32_t>(v);
        if ((Value & step) != 0)
            log_->WriteLine(QStringLiteral("\t\t") + NameOf(Value & step), false);
    }
}
