#include "telephony/diagnostics/popup.h"

#include "telephony/diagnostics/shared_control.h"

namespace {
#define VORBEL_TET_POPUP_NAME(name) QStringLiteral(#name),
QString flagName(std::size_t index) {
    static const QString names[] = {VORBEL_TET_POPUP_FLAGS(VORBEL_TET_POPUP_NAME)};
    static_assert(std::size(names) == TetPopup::FlagCount);
    return names[index];
}
#undef VORBEL_TET_POPUP_NAME
} // namespace

TetPopup::TetPopup(TetSharedControl* owner) : owner_(owner) {}

QString TetPopup::FlagName(Flag flag) {
    return flagName(static_cast<std::size_t>(flag));
}

bool TetPopup::LogProperties(const QString& Header, const QString& Name, const QString& Prefix) {
    TetLog* log = owner_->Log();
    if (!log->Active())
        return false;
    if (!Header.isEmpty())
        log->WriteLine(Header, true);
    const QString path =
        Prefix + (Name.isEmpty() ? QString() : Name + u'.') + QStringLiteral("Popup.");
    for (std::size_t i = 0; i < FlagCount; ++i)
        log->WriteLine(path + flagName(i) + QStringLiteral(" = ") + TetVigil::BoolText(flags_[i]),
                       false);
    return true;
}
