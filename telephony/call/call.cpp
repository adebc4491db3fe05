// The call object: construction, the call information and status refreshes, and the copies
// between the call object and a call's record.

#include "telephony/call/call.h"
#include "telephony/tapi/call_info_parties.h"

#include "telephony/call/log_listened.h"

#include <cstddef>

#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/tapi_buffer.h"
#include "telephony/tapi/tapi.h"

namespace {

constexpr uint32_t Low16(DWORD value) {
    return value & 0xFFFFu;
}

} // namespace

TetCall::TetCall(TetLineInternal* owner)
    : line_(owner),
      parameters_(owner, QStringLiteral("Call")), parties_{TetCallerID(owner), TetCallerID(owner),
                                                           TetCallerID(owner), TetCallerID(owner),
                                                           TetCallerID(owner)},
      gatherDigits_(owner), monitorDigits_(owner), monitorMediaModes_(owner),
      monitorSilence_(owner) {}

TetCall::~TetCall() = default;

void TetCall::ClearParties() {
    for (TetCallerID& party : parties_)
        party.Clear();
}

void TetCall::ClearCallFields() {
    mediaMode_ = 0;
    bearerMode_ = 0;
    id_ = 0;
    originatingApp_.clear();
    owners_ = 0;
    monitors_ = 0;
    state_ = 0;
    stateMode_ = 0;
    owner_ = false;
    origin_ = 0;
    reason_ = 0;
    address_ = 0;
    disconnectMode_ = 0;
    specialInfo_ = 0;
    dialtoneMode_ = 0;
    busyMode_ = 0;
    began_ = QDateTime();
    connected_ = QDateTime();
    disconnected_ = QDateTime();
    ended_ = QDateTime();
}

void TetCall::ResetMonitoringMarks() {
    gatherDigits_.active_ = false;
    monitorDigits_.active_ = false;
    monitorSilence_.active_ = false;
    monitorMediaModes_.active_ = false;
}

LONG TetCall::RefreshCallInfo(uint32_t h, uint32_t mask) {
    if (!line_->SessionOpen())
        return -1;
    if (h == 0) {
        active_ = false;
        return 0;
    }
    TapiBuffer buffer;
    const LONG result = buffer.Fill(sizeof(LINECALLINFO), [h](std::byte* data) {
        return lineGetCallInfo(h, reinterpret_cast<LINECALLINFO*>(data));
    });
    if (result != 0)
        return result;

    TetCallLog* record = FindCall(FindKind::ByHandle, h);
    if (!record)
        return 0; // nothing of ours to update
    const auto* info = buffer.As<LINECALLINFO>();
    record->ID = info->dwCallID;
    record->Address = Low16(info->dwAddressID);
    record->MediaMode = Low16(info->dwMediaMode);
    record->BearerMode = Low16(info->dwBearerMode);
    record->Origin = Low16(info->dwOrigin);
    record->Reason = Low16(info->dwReason);
    record->Owners = Low16(info->dwNumOwners);
    record->Monitors = Low16(info->dwNumMonitors);

    if (h == handle_ && static_cast<int32_t>(info->dwAppNameSize) > 0)
        originatingApp_ = TapiString(buffer.Data(), buffer.Size(), info->dwAppNameOffset,
                                     static_cast<int32_t>(info->dwAppNameSize));

    for (std::size_t i = 0; i < TetCallLog::PartyCount; ++i) {
        if ((mask & (LINECALLINFOSTATE_CALLERID << i)) == 0)
            continue;
        const tapi::CallInfoPartyFields& f = tapi::CallInfoParties[i];
        ReadPartyID(record->Party(i), info->*f.flags, info->*f.numberSize, info->*f.numberOffset,
                    info->*f.nameSize, info->*f.nameOffset, buffer.Data(), buffer.Size());
    }
    buffer.Release();
    if (h == handle_)
        LoadFromRecord(h);
    return 0;
}

bool TetCall::RefreshCallStatus(bool keepState) {
    line_->ClearError();
    if (!line_->SessionOpen())
        return true;
    state_ = 0;
    stateMode_ = 0;
    features_ = 0;
    features2_ = 0;
    if (handle_ == 0) {
        active_ = false;
        return true;
    }
    const uint32_t h = handle_;
    TapiBuffer buffer;
    const LONG result = buffer.Fill(sizeof(LINECALLSTATUS), [h](std::byte* data) {
        return lineGetCallStatus(h, reinterpret_cast<LINECALLSTATUS*>(data));
    });
    if (result != 0) {
        if (result == LINEERR_INVALCALLHANDLE)
            active_ = false;
        line_->Report(result);
        return false;
    }
    const auto* status = buffer.As<LINECALLSTATUS>();
    active_ = true;
    if (!keepState) {
        state_ = Low16(status->dwCallState);
        stateMode_ = Low16(status->dwCallStateMode);
        features_ = status->dwCallFeatures;
        features2_ = status->dwCallFeatures2;
    }
    owner_ = (status->dwCallPrivilege & LINECALLPRIVILEGE_OWNER) != 0;
    SaveToRecord(handle_);
    return true;
}

void TetCall::SaveToRecord(uint32_t h) {
    TetCallLog* r = FindCall(FindKind::ByHandle, h);
    if (!r)
        return;
    r->Tag = tag_;
    r->State = state_;
    r->StateMode = stateMode_;
    r->Features = features_;
    r->Features2 = features2_;
    r->ID = id_;
    r->MediaMode = mediaMode_;
    r->BearerMode = bearerMode_;
    r->Owners = owners_;
    r->Monitors = monitors_;
    r->Origin = origin_;
    r->Reason = reason_;
    r->Address = address_;
    r->DisconnectMode = disconnectMode_;
    r->SpecialInfo = specialInfo_;
    r->DialtoneMode = dialtoneMode_;
    r->BusyMode = busyMode_;
    r->Began = began_;
    r->Connected = connected_;
    r->Disconnected = disconnected_;
    r->Ended = ended_;
    r->Owner = owner_;
    r->PhoneNumber = phoneNumber_;
    for (std::size_t i = 0; i < TetCallLog::PartyCount; ++i)
        parties_[i].SaveTo(r->Party(i));
    r->GatherActive = gatherDigits_.active_;
    r->GatherCount = gatherDigits_.count_;
    r->GatherTerminate = gatherDigits_.terminate_;
    r->GatherTimeout = gatherDigits_.timeout_;
    r->MonitorDigitsActive = monitorDigits_.active_;
    r->MonitorMediaActive = monitorMediaModes_.active_;
    r->MonitoredMediaModes = monitorMediaModes_.mediaModes_;
    r->MonitorSilenceActive = monitorSilence_.active_;
    r->SilenceDuration = monitorSilence_.duration_;
}

void TetCall::LoadFromRecord(uint32_t h) {
    if (h != handle_)
        return;
    const TetCallLog* r = FindCall(FindKind::ByHandle, h);
    if (!r)
        return;
    if (handle_ != 0) {
        phoneNumber_ = r->PhoneNumber;
        gatherDigits_.active_ = r->GatherActive;
        gatherDigits_.count_ = r->GatherCount;
        gatherDigits_.terminate_ = r->GatherTerminate;
        gatherDigits_.timeout_ = r->GatherTimeout;
        monitorDigits_.active_ = r->MonitorDigitsActive;
        monitorMediaModes_.active_ = r->MonitorMediaActive;
        monitorMediaModes_.mediaModes_ = r->MonitoredMediaModes;
        monitorSilence_.active_ = r->MonitorSilenceActive;
        monitorSilence_.duration_ = r->SilenceDuration;
    }
    tag_ = r->Tag;
    began_ = r->Began;
    connected_ = r->Connected;
    disconnected_ = r->Disconnected;
    ended_ = r->Ended;
    owner_ = r->Owner;
    for (std::size_t i = 0; i < TetCallLog::PartyCount; ++i)
        parties_[i].LoadFrom(r->Party(i));
    id_ = r->ID;
    mediaMode_ = r->MediaMode;
    bearerMode_ = r->BearerMode;
    owners_ = r->Owners;
    monitors_ = r->Monitors;
    origin_ = r->Origin;
    reason_ = r->Reason;
    address_ = r->Address;
    disconnectMode_ = r->DisconnectMode;
    specialInfo_ = r->SpecialInfo;
    dialtoneMode_ = r->DialtoneMode;
    busyMode_ = r->BusyMode;
}

void TetCall::setMediaMode(uint32_t value) {
    if (handle_ == 0) {
        mediaMode_ = value;
        return;
    }
    line_->Stamped(QStringLiteral("Call.MediaMode := ") + TetLineInternal::Hex8(value) +
                   QStringLiteral(" [") + TetLineInternal::Hex8(handle_) + QStringLiteral("]"));
    for (uint32_t bit = 0x02; bit <= 0x4000; bit <<= 1)
        if (value & bit)
            line_->Detail(QStringLiteral("\t") + MediaModeName(bit));
    const LONG result = lineSetMediaMode(handle_, value);
    if (result < 0) {
        line_->Report(result);
        return;
    }
    mediaMode_ = value;
    line_->ClearError();
}

void TetCall::FirePartyEvents(uint32_t handle, uint32_t stateMask, uint32_t filterMask) {
    struct PartyEvent {
        const char* word;
        TET_CallNotifyEvent TetLineInternal::*handler;
        TetPopup::Flag popup;
    };
    static const std::array<PartyEvent, TetCallLog::PartyCount> events = {{
        {"Caller", &TetLineInternal::OnCallerID, TetPopup::Flag::OnCallerID},
        {"Called", &TetLineInternal::OnCalledID, TetPopup::Flag::OnCalledID},
        {"Connected", &TetLineInternal::OnConnectedID, TetPopup::Flag::OnConnectedID},
        {"Redirection", &TetLineInternal::OnRedirectionID, TetPopup::Flag::OnRedirectionID},
        {"Redirecting", &TetLineInternal::OnRedirectingID, TetPopup::Flag::OnRedirectingID},
    }};
    for (std::size_t i = 0; i < TetCallLog::PartyCount; ++i) {
        if ((stateMask & (LINECALLINFOSTATE_CALLERID << i)) == 0)
            continue;
        // Looked up for every party: a handler may have let the call end meanwhile.
        TetCallLog* record = FindCall(FindKind::ByHandle, handle);
        if (!record)
            return;
        TetCallLogCallerID& slot = record->Party(i);
        if (slot.Reported)
            continue;
        if (slot.EventFilter && (slot.Flags & filterMask) != 0)
            continue;

        if (LogListened(*line_)) {
            const QString word = QString::fromLatin1(events[i].word);
            const QString path = QStringLiteral("\tCall.") + word + QStringLiteral("ID.");
            line_->Stamped(QStringLiteral("On") + word + QStringLiteral("ID [") +
                           TetLineInternal::Hex8(handle) + QStringLiteral("]"));
            line_->Detail(path + QStringLiteral("Blocked = ") +
                          TetLineInternal::Bool(slot.Blocked));
            line_->Detail(path + QStringLiteral("Name = '") + slot.Name + QStringLiteral("'"));
            line_->Detail(path + QStringLiteral("Number = '") + slot.Number + QStringLiteral("'"));
            line_->Detail(path + QStringLiteral("OutOfArea = ") +
                          TetLineInternal::Bool(slot.OutOfArea));
            line_->Detail(path + QStringLiteral("Flags = ") + TetLineInternal::HexBr(slot.Flags));
            for (uint32_t bit = 0x01; bit <= 0x40; bit <<= 1)
                if (slot.Flags & bit)
                    line_->Detail(QStringLiteral("\t\t") + PartyIDFlagName(bit));
        }
        // Marked before the handler runs: a message the handler lets in must not announce the
        // same identification a second time.
        slot.Reported = true;
        line_->FireEvent(line_->*events[i].handler, static_cast<int32_t>(handle));
        line_->Vigil()->ShowOnEvent(line_->Popup()->Get(events[i].popup));
    }
}
