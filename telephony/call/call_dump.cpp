// The call object's lines in the component's property dump.

#include <QLocale>

#include "telephony/call/call.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_internal.h"

namespace {
QString DateText(const QDateTime& when) {
    return QLocale::system().toString(when.toLocalTime(), QLocale::ShortFormat);
}
} // namespace

void TetCall::LogProperties(const QString& prefix) const {
    TetLineInternal* l = line_;
    const QString p = prefix + QStringLiteral("Call.");
    const auto line = [l, &p](const QString& item) { l->Detail(p + item); };
    const auto bits = [l, &p](const char* label, uint32_t value, TetNameFunction names,
                              uint32_t last, uint32_t first) {
        l->Vigil()->LogBits(p + QString::fromLatin1(label), value, names, last, first);
    };
    const auto date = [&line](const char* label, const QDateTime& when) {
        const QString name = QString::fromLatin1(label);
        line(when.isValid() ? name + QStringLiteral(" = ") + DateText(when)
                            : name + QStringLiteral(" = <unavailable>"));
    };
    const auto party = [&prefix](const TetCallerID& id, const char* name) {
        id.LogProperties(prefix.mid(1) + QStringLiteral("Call.") + QString::fromLatin1(name));
    };

    line(QStringLiteral("Active = ") + TetLineInternal::Bool(active_));
    line(QStringLiteral("Address = %1").arg(address_));
    bits("BearerMode", bearerMode_, BearerModeName, 0x40, 1);
    date("Began", began_);
    bits("BusyMode", busyMode_, BusyModeName, 0x08, 1);
    party(parties_[1], "CalledID");
    party(parties_[0], "CallerID");
    date("Connected", connected_);
    party(parties_[2], "ConnectedID");
    line(QStringLiteral("Count = %1").arg(count_));
    bits("DialtoneMode", dialtoneMode_, DialToneModeName, 0x20, 1);
    date("Disconnected", disconnected_);
    bits("DisconnectMode", disconnectMode_, DisconnectModeName, 0x1000, 1);
    date("Ended", ended_);
    bits("Features", features_, CallFeatureName, 0x80000000u, 1);
    bits("Features2", features2_, CallFeature2Name, 0x80000000u, 1);
    line(QStringLiteral("GatherDigits.Active = ") + TetLineInternal::Bool(gatherDigits_.active_));
    line(QStringLiteral("GatherDigits.Count = %1").arg(gatherDigits_.count_));
    line(QStringLiteral("GatherDigits.Terminate = '") + gatherDigits_.terminate_ +
         QStringLiteral("'"));
    line(QStringLiteral("GatherDigits.Timeout = %1").arg(gatherDigits_.timeout_));
    line(QStringLiteral("Handle = ") + TetLineInternal::HexBr(handle_));
    line(QStringLiteral("ID = ") + TetLineInternal::HexBr(id_));
    line(QStringLiteral("List"));
    for (const QString& entry : list_)
        l->Detail(QStringLiteral("\t\t") + entry);
    bits("MediaMode", mediaMode_, MediaModeName, 0x8000, 0x02);
    line(QStringLiteral("MonitorDigits.Active = ") + TetLineInternal::Bool(monitorDigits_.active_));
    line(QStringLiteral("MonitorMediaModes.Active = ") +
         TetLineInternal::Bool(monitorMediaModes_.active_));
    bits("MonitorMediaModes.MediaModes", monitorMediaModes_.mediaModes_, MediaModeName, 0x8000,
         0x02);
    line(QStringLiteral("MonitorSilence.Active = ") +
         TetLineInternal::Bool(monitorSilence_.active_));
    line(QStringLiteral("MonitorSilence.Duration = %1").arg(monitorSilence_.duration_));
    line(QStringLiteral("Monitors = %1").arg(monitors_));
    bits("Origin", origin_, CallOriginName, 0x80, 1);
    line(QStringLiteral("OriginatingApp = '") + originatingApp_ + QStringLiteral("'"));
    line(QStringLiteral("Owner = ") + TetLineInternal::Bool(owner_));
    line(QStringLiteral("Owners = %1").arg(owners_));
    parameters_.LogProperties(QString(), QString(), prefix);
    line(QStringLiteral("PhoneNumber = '") + phoneNumber_ + QStringLiteral("'"));
    bits("Reason", reason_, CallReasonName, 0x8000, 1);
    party(parties_[4], "RedirectingID");
    party(parties_[3], "RedirectionID");
    bits("SpecialInfo", specialInfo_, SpecialInfoName, 0x10, 1);
    bits("State", state_, CallStateName, 0x8000, 1);
    line(QStringLiteral("StateMode = ") + TetLineInternal::HexBr(stateMode_));
    l->Detail(QStringLiteral("\t\t") + StateModeName(state_, stateMode_));
    line(QStringLiteral("Tag = %1").arg(tag_));
}
