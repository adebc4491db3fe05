// The property dump of the line component and of the objects this library owns.

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/terminal.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"

namespace {
// Writes the detail lines of one block: Prefix + path + item.
class Dump {
public:
    Dump(TetLineInternal* owner, const QString& header, const QString& name, const QString& word,
         const QString& prefix)
        : owner_(owner), prefix_(prefix),
          path_((name.isEmpty() ? QString() : name + QLatin1Char('.')) + word + QLatin1Char('.')) {
        ok_ = owner_->Log()->Active();
        if (ok_ && !header.isEmpty())
            owner_->LogStamped(header);
    }
    bool Ok() const { return ok_; }

    void Line(const QString& item) { owner_->LogDetail(prefix_ + path_ + item); }
    void Indented(const QString& item) {
        owner_->LogDetail(QLatin1Char('\t') + prefix_ + path_ + item);
    }
    void Bool(const QString& label, bool value) {
        Line(label + QStringLiteral(" = ") + TetLineInternal::Bool(value));
    }
    void Number(const QString& label, qint64 value) {
        Line(label + QStringLiteral(" = %1").arg(value));
    }
    void Hex(const QString& label, uint32_t value) {
        Line(label + QStringLiteral(" = ") + TetLineInternal::HexBr(value));
    }
    void Quoted(const QString& label, const QString& text) {
        Line(label + QStringLiteral(" = '") + text + QLatin1Char('\''));
    }
    void Text(const QString& label, const QString& text) {
        Line(label + QStringLiteral(" = ") + text);
    }
    void Bits(const QString& label, uint32_t value, TetNameFunction name, uint32_t last,
              uint32_t first = 1) {
        owner_->Vigil()->LogBits(prefix_ + path_ + label, value, name, last, first);
    }
    void Range(const QString& label, uint32_t value, TetNameFunction name, uint32_t last,
               uint32_t first = 1) {
        owner_->Vigil()->LogValueRange(prefix_ + path_ + label, value, name, last, first);
    }
    void List(const QStringList& entries) {
        Line(QStringLiteral("List"));
        for (const QString& entry : entries)
            owner_->LogDetail(QLatin1Char('\t') + prefix_ + entry);
    }

private:
    TetLineInternal* owner_;
    QString prefix_;
    QString path_;
    bool ok_ = false;
};

uint32_t Reference(const QByteArray& bytes) {
    return bytes.isEmpty() ? 0
                           : static_cast<uint32_t>(reinterpret_cast<quintptr>(bytes.constData()));
}
} // namespace

bool TetCallParameters::LogProperties(const QString& header, const QString& name,
                                      const QString& prefix) const {
    Dump d(owner_, header, name, ownerPath_ + QStringLiteral(".Paramaters"), prefix);
    if (!d.Ok())
        return false;
    d.Number(QStringLiteral("AddressID"), addressID_);
    d.Bits(QStringLiteral("BearerMode"), static_cast<uint32_t>(bearerMode_), BearerModeName, 0x40);
    d.Bool(QStringLiteral("Defaults"), defaults_);
    d.Bits(QStringLiteral("Flags"), static_cast<uint32_t>(flags_), CallParamFlagName, 0x80);
    d.Bits(QStringLiteral("MediaMode"), static_cast<uint32_t>(mediaMode_), MediaModeName, 0x8000,
           2);
    d.Number(QStringLiteral("NoAnswerTimeout"), noAnswerTimeout_);
    return true;
}

bool TetAddress::LogProperties(const QString& header, const QString& name,
                               const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Address"), prefix);
    if (!d.Ok())
        return false;
    d.Number(QStringLiteral("ID"), id_);
    d.List(list_);
    d.Text(QStringLiteral("Name"), name_);
    d.Number(QStringLiteral("NumActiveCalls"), numActiveCalls_);
    d.Number(QStringLiteral("NumInUse"), numInUse_);
    d.Number(QStringLiteral("NumOnHoldCalls"), numOnHoldCalls_);
    d.Number(QStringLiteral("NumOnHoldPendCalls"), numOnHoldPendCalls_);
    d.Number(QStringLiteral("NumRingsNoAnswer"), numRingsNoAnswer_);
    return true;
}

bool TetAddressCaps::LogProperties(const QString& header, const QString& name,
                                   const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Address.Capabilities"), prefix);
    if (!d.Ok())
        return false;
    d.Bits(QStringLiteral("BusyModes "), busyModes_, BusyModeName, 0x08);
    d.Bits(QStringLiteral("CalledIDFlags"), calledIDFlags_, PartyIDFlagName, 0x40);
    d.Bits(QStringLiteral("CallerIDFlags"), callerIDFlags_, PartyIDFlagName, 0x40);
    d.Bits(QStringLiteral("CallFeatures"), callFeatures_, CallFeatureName, 0x80000000);
    d.Bits(QStringLiteral("CallFeatures2"), callFeatures2_, CallFeature2Name, 0x200);
    d.Bits(QStringLiteral("CallInfoStates"), callInfoStates_, CallInfoStateName, 0x8000000);
    d.Bits(QStringLiteral("CallStates"), callStates_, CallStateName, 0x8000);
    d.Bits(QStringLiteral("ConnectedIDFlags"), connectedIDFlags_, PartyIDFlagName, 0x40);
    d.Bits(QStringLiteral("ConnectedModes"), connectedModes_, ConnectedModeName, 0x10);
    d.Indented(QStringLiteral("DevSpecific = ") +
               TetLineInternal::Hex8(static_cast<uint32_t>(DevSpecificSize())));
    d.Indented(QStringLiteral("DevSpecificSize = %1").arg(DevSpecificSize()));
    d.Bits(QStringLiteral("DialtoneModes"), dialtoneModes_, DialToneModeName, 0x20);
    d.Bits(QStringLiteral("DisconnectModes"), disconnectModes_, DisconnectModeName, 0x1000);
    d.Bits(QStringLiteral("Features"), features_, AddressFeatureName, 0x2000);
    d.Bits(QStringLiteral("Flags"), flags_, AddressCapFlagName, 0x400000);
    d.Bits(QStringLiteral("ForwardModes"), forwardModes_, ForwardModeName, 0x20000);
    const std::pair<const char*, uint32_t> counts[] = {
        {"MaxForwardEntries", maxForwardEntries_},
        {"MaxFwdNumRings", maxFwdNumRings_},
        {"MaxNoAnswerTimeout", maxNoAnswerTimeout_},
        {"MaxNumActiveCalls", maxNumActiveCalls_},
        {"MaxNumOnHoldCalls", maxNumOnHoldCalls_},
        {"MaxNumOnHoldPendingCalls", maxNumOnHoldPendingCalls_},
        {"MaxNumConference", maxNumConference_},
        {"MaxNumTransConf", maxNumTransConf_},
        {"MaxSpecificEntries", maxSpecificEntries_},
        {"MinFwdNumRings", minFwdNumRings_}};
    for (const auto& [label, value] : counts)
        d.Indented(QLatin1String(label) + QStringLiteral(" = %1").arg(value));
    d.Bits(QStringLiteral("OfferingModes"), offeringModes_, OfferingModeName, 0x02);
    d.Bits(QStringLiteral("ParkModes"), parkModes_, ParkModeName, 0x02);
    d.Bits(QStringLiteral("RedirectingIDFlags"), redirectingIDFlags_, PartyIDFlagName, 0x40);
    d.Bits(QStringLiteral("RedirectionIDFlags"), redirectionIDFlags_, PartyIDFlagName, 0x40);
    d.Range(QStringLiteral("RemoveFromConfCaps"), removeFromConfCaps_, RemoveFromConfName, 3);
    d.Bits(QStringLiteral("RemoveFromConfState"), removeFromConfState_, CallStateName, 0x8000);
    d.Bits(QStringLiteral("SpecialInfo"), specialInfo_, SpecialInfoName, 0x10);
    d.Bits(QStringLiteral("States"), states_, AddressStateName, 0x100);
    d.Bits(QStringLiteral("TransferModes"), transferModes_, TransferModeName, 0x02);
    return true;
}

bool TetAddressForward::LogProperties(const QString& header, const QString& name,
                                      const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Address.Forward"), prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Active"), active_);
    d.Text(QStringLiteral("Caller"), caller_);
    d.Text(QStringLiteral("ConsultCall"), TetLineInternal::Hex8(consultCall_));
    d.Bits(QStringLiteral("Mode"), mode_, ForwardModeName, 0x20000);
    d.Number(QStringLiteral("NumForwardEntries"), numForwardEntries_);
    d.Text(QStringLiteral("PhoneNumber"), phoneNumber_);
    return true;
}

bool TetTerminal::LogProperties(const QString& header, const QString& name,
                                const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Terminal"), prefix);
    if (!d.Ok())
        return false;
    d.Bits(QStringLiteral("ActiveModes "), activeModes_, TermModeName, 0x80);
    d.Bits(QStringLiteral("AvailableModes "), availableModes_, TermModeName, 0x80);
    d.Number(QStringLiteral("Count"), count_);
    d.Number(QStringLiteral("Device"), device_);
    d.Number(QStringLiteral("ID"), id_);
    d.List(list_);
    d.Quoted(QStringLiteral("Name"), name_);
    d.Bits(QStringLiteral("Sharing "), sharing_, TermSharingName, 0x04);
    return true;
}

bool TetLineDevice::LogProperties(const QString& header, const QString& name,
                                  const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Device"), prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Active"), active_);
    d.Number(QStringLiteral("ActiveCalls"), activeCalls_);
    d.Number(QStringLiteral("Count"), count_);
    d.Number(QStringLiteral("ID"), id_);
    d.Number(QStringLiteral("IdleDelay"), idleDelay_);
    d.List(list_);
    d.Quoted(QStringLiteral("Name"), name_);
    d.Number(QStringLiteral("OnHoldCalls"), onHoldCalls_);
    d.Number(QStringLiteral("OnHoldPendCalls"), onHoldPendCalls_);
    d.Number(QStringLiteral("OpenCount"), openCount_);
    d.Number(QStringLiteral("RingMode"), ringMode_);
    d.Bool(QStringLiteral("TranslatePhoneNumber"), translatePhoneNumber_);
    d.Bool(QStringLiteral("UnformatPhoneNumber"), unformatPhoneNumber_);
    return true;
}

bool TetLineDeviceCaps::LogProperties(const QString& header, const QString& name,
                                      const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Capabilities"), prefix);
    if (!d.Ok())
        return false;
    d.Bits(QStringLiteral("AnswerMode"), answerMode_, AnswerModeName, 4);
    d.Bits(QStringLiteral("BearerModes"), bearerModes_, BearerModeName, 64);
    d.Bits(QStringLiteral("Flags"), flags_, DevCapFlagName, 8192);
    d.Bits(QStringLiteral("LineFeatures"), lineFeatures_, LineFeatureName, 256);
    d.Number(QStringLiteral("MaxNumActiveCalls"), maxNumActiveCalls_);
    d.Number(QStringLiteral("RingModes"), ringModes_);
    d.Hex(QStringLiteral("DevSpecific"), Reference(devSpecific_));
    d.Number(QStringLiteral("DevSpecificSize"), DevSpecificSize());
    d.Bits(QStringLiteral("States"), states_, LineDevStateName, 0x1000000);
    d.Bits(QStringLiteral("Tones"), tones_, ToneModeName, 16, 0);
    return true;
}

bool TetMediaModes::LogProperties(const QString& header, const QString& name,
                                  const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("MediaModes"), prefix);
    if (!d.Ok())
        return false;
    d.Bits(QStringLiteral("Open"), open_, MediaModeName, 0x8000, 2);
    d.Bits(QStringLiteral("Available"), available_, MediaModeName, 0x8000, 2);
    d.Bits(QStringLiteral("Active"), active_, MediaModeName, 0x8000, 2);
    return true;
}

bool TetLineLine::LogProperties(const QString& header, const QString& name,
                                const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Line"), prefix);
    if (!d.Ok())
        return false;
    d.Hex(QStringLiteral("AppHandle"), appHandle_);
    d.Hex(QStringLiteral("Handle"), handle_);
    return true;
}

bool TetPrivilege::LogProperties(const QString& header, const QString& name,
                                 const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Privilege"), prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Monitor"), monitor_);
    d.Bool(QStringLiteral("None"), none_);
    d.Bool(QStringLiteral("Owner"), owner__);
    return true;
}

bool TetTAPI::LogProperties(const QString& header, const QString& name,
                            const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("TAPI"), prefix);
    if (!d.Ok())
        return false;
    d.Hex(QStringLiteral("ExtensionHighVersion"), extensionHighVersion_);
    for (int i = 0; i < 4; ++i)
        d.Hex(QStringLiteral("ExtensionID%1").arg(i), extensionID_[i]);
    d.Hex(QStringLiteral("ExtensionLowVersion"), extensionLowVersion_);
    d.Hex(QStringLiteral("ExtensionVersion"), extensionVersion_);
    d.Hex(QStringLiteral("HighVersion"), highVersion_);
    d.Hex(QStringLiteral("LowVersion"), lowVersion_);
    d.Number(QStringLiteral("ReplyTimeout"), replyTimeout_);
    d.Quoted(QStringLiteral("TSP"), tsp_);
    d.Hex(QStringLiteral("Version"), version_);
    return true;
}

bool TetRelatedCommDevice::LogProperties(const QString& header, const QString& name,
                                         const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Comm"), prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Available"), available_);
    d.Text(QStringLiteral("Handle"), TetLineInternal::Hex8(static_cast<uint32_t>(handle_)));
    d.Quoted(QStringLiteral("DeviceClass"), deviceClass_);
    d.Bool(QStringLiteral("Enabled"), enabled_);
    return true;
}

bool TetRelatedPhoneDevice::LogProperties(const QString& header, const QString& name,
                                          const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Phone"), prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Available"), available_);
    d.Quoted(QStringLiteral("DeviceClass"), deviceClass_);
    d.Number(QStringLiteral("ID"), id_);
    return true;
}

bool TetRelatedWaveDevice::LogProperties(const QString& header, const QString& name,
                                         const QString& prefix) const {
    Dump d(owner_, header, name, name_, prefix);
    if (!d.Ok())
        return false;
    d.Bool(QStringLiteral("Available"), available_);
    d.Number(QStringLiteral("ID"), id_);
    d.Quoted(QStringLiteral("DeviceClass"), deviceClass_);
    return true;
}

bool TetTransfer::LogProperties(const QString& header, const QString& name,
                                const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Transfer"), prefix);
    if (!d.Ok())
        return false;
    d.Hex(QStringLiteral("ConsultCall"), consultCall_);
    d.Quoted(QStringLiteral("PhoneNumber"), phoneNumber_);
    d.Hex(QStringLiteral("PrimaryCall"), primaryCall_);
    d.Hex(QStringLiteral("ThreeWayCall"), threeWayCall_);
    return true;
}

bool TetConference::LogProperties(const QString& header, const QString& name,
                                  const QString& prefix) const {
    Dump d(owner_, header, name, QStringLiteral("Conference"), prefix);
    if (!d.Ok())
        return false;
    d.Hex(QStringLiteral("ConsultCall"), consultCall_);
    d.Number(QStringLiteral("Count"), Count());
    d.Hex(QStringLiteral("Handle"), handle_);
    d.List(list_);
    d.Quoted(QStringLiteral("PhoneNumber"), phoneNumber_);
    d.Hex(QStringLiteral("PrimaryCall"), primaryCall_);
    return true;
}

bool TetLineInternal::LogProperties(const QString& header) {
    if (!Log()->Active())
        return false;
    if (!header.isEmpty())
        LogStamped(header);
    const QString tab = QStringLiteral("\t");
    const QString none;
    LogDetail(QStringLiteral("\tEnabled = ") + Bool(enabled_));
    address_->LogProperties(none, none, tab);
    address_->Capabilities()->LogProperties(none, none, tab);
    address_->Forward()->LogProperties(none, none, tab);
    address_->Forward()->Parameters()->LogProperties(none, none, tab);
    LogCallProperties(tab);
    comm_->LogProperties(none, none, tab);
    conference_->LogProperties(none, none, tab);
    conference_->Parameters()->LogProperties(none, none, tab);
    device_->LogProperties(none, none, tab);
    device_->Capabilities()->LogProperties(none, none, tab);
    device_->MediaModes()->LogProperties(none, none, tab);
    Error()->LogProperties(none, none, tab);
    line_->LogProperties(none, none, tab);
    phone_->LogProperties(none, none, tab);
    popup_->LogProperties(none, none, tab);
    privilege_->LogProperties(none, none, tab);
    tapi_->LogProperties(none, none, tab);
    terminal_->LogProperties(none, none, tab);
    transfer_->LogProperties(none, none, tab);
    transfer_->Parameters()->LogProperties(none, none, tab);
    Vigil()->LogProperties(none, none, tab);
    Log()->LogProperties(none, QStringLiteral("Vigil"), tab);
    wavePlay_->LogProperties(none, none, tab);
    waveRecord_->LogProperties(none, none, tab);
    return true;
}
