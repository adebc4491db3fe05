// The message dispatch of the line component: every TAPI message of the open line becomes call
// list updates, refreshes and events. Pending events run after each message and at the IDLE
// state, so everything below looks call records up again after firing an event.

#include "telephony/line/dispatch.h"

#include <QCoreApplication>

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/log_listened.h"
#include "telephony/call/terminal.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/tapi_buffer.h"
#include "telephony/line/transfer_conference.h"
#include "telephony/tapi/tapi.h"

namespace {

// The tag under which silence monitoring asks TAPI for its silence tone.
constexpr DWORD SilenceToneTag = 0x89ABCDEF;
constexpr DWORD AllParties = 0xF8000;
constexpr DWORD OfferingFilter = LINECALLPARTYID_UNKNOWN | LINECALLPARTYID_UNAVAIL;
// After a message, pending events run only when no message processing of ours is already under
// way further down the stack: that one delivers them as soon as this message returns, in the same
// order, without the stack growing by one level per queued message. Other points may nest deeper.
constexpr int AfterMessageNesting = 1;
constexpr int MaxNestedProcessing = 8;

QString Hex(uint32_t value) {
    return TetLineInternal::Hex8(value);
}

QString Bracketed(uint32_t value) {
    return TetLineInternal::HexBr(value);
}

QString HandleLine(const char* name, uint32_t handle) {
    return QString::fromLatin1(name) + QStringLiteral(" ") + Bracketed(handle);
}

int nestedProcessing = 0;

bool IsCallMessage(DWORD message) {
    switch (message) {
    case LINE_CALLINFO:
    case LINE_CALLSTATE:
    case LINE_GATHERDIGITS:
    case LINE_GENERATE:
    case LINE_MONITORDIGITS:
    case LINE_MONITORMEDIA:
    case LINE_MONITORTONE:
    case LINE_APPNEWCALL:
        return true;
    default:
        return false;
    }
}

} // namespace

TetLineDispatch::TetLineDispatch(TetLineInternal* line) : line_(line) {}

void TetLineDispatch::ProcessPendingEvents(int nestingLimit) {
    if (!QCoreApplication::instance() || nestedProcessing >= nestingLimit)
        return;
    ++nestedProcessing;
    QCoreApplication::processEvents();
    --nestedProcessing;
}

void TetLineDispatch::Dispatch(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwParam1,
                               DWORD_PTR dwParam2, DWORD_PTR dwParam3) {
    const auto p1 = static_cast<DWORD>(dwParam1);
    const auto p2 = static_cast<DWORD>(dwParam2);
    const auto p3 = static_cast<DWORD>(dwParam3);
    if (dwMessage == LINE_LINEDEVSTATE && p1 == LINEDEVSTATE_REINIT)
        return;

    TetLineInternal& l = *line_;
    l.FireEventAlways(l.OnTAPIMessage, static_cast<int32_t>(hDevice), dwMessage, p1, p2, p3);
    if (l.Popup()->OnTAPIMessage())
        LogTapiMessage(QStringLiteral("OnTAPIMessage"), hDevice, dwMessage, p1, p2, p3);
    l.Vigil()->ShowOnEvent(l.Popup()->OnTAPIMessage());

    // Once the line is closed on our side (after LINE_CLOSE or LINEDEVSTATE_DISCONNECTED TAPI may
    // still report the calls that were on it), call messages would bring ended calls back.
    if (!l.Device()->Active() && IsCallMessage(dwMessage)) {
        ProcessPendingEvents(AfterMessageNesting);
        return;
    }

    switch (dwMessage) {
    case LINE_ADDRESSSTATE:
        AddressState(hDevice, p1, p2);
        break;
    case LINE_CALLINFO:
        CallInfo(hDevice, p1);
        break;
    case LINE_CALLSTATE:
        CallState(hDevice, p1, p2, p3);
        break;
    case LINE_CLOSE:
        LineClose();
        break;
    case LINE_DEVSPECIFIC:
        DevSpecific(false, hDevice, p1, p2, p3);
        break;
    case LINE_DEVSPECIFICFEATURE:
        DevSpecific(true, hDevice, p1, p2, p3);
        break;
    case LINE_GATHERDIGITS:
        DigitsGathered(hDevice, p1);
        break;
    case LINE_GENERATE:
        GenerationDone(hDevice);
        break;
    case LINE_LINEDEVSTATE:
        LineDevState(p1, p2, p3);
        break;
    case LINE_MONITORDIGITS:
        DigitReceived(hDevice, p1);
        break;
    case LINE_MONITORMEDIA:
        MediaModeChange(hDevice, p1);
        break;
    case LINE_MONITORTONE:
        ToneDetected(hDevice, p1);
        break;
    case LINE_REPLY:
        Reply(hDevice, p1, p2, p3);
        break;
    case LINE_APPNEWCALL:
        NewCall(p2);
        break;
    default:
        break;
    }
    ProcessPendingEvents(AfterMessageNesting);
}

void TetLineDispatch::LogTapiMessage(const QString& text, DWORD device, DWORD message, DWORD p1,
                                     DWORD p2, DWORD p3) {
    TetLineInternal& l = *line_;
    const TetNameFunction name1 = MessageParam1NameFunction(message);
    const TetNameFunction name2 = MessageParam2NameFunction(message, p1);
    l.Stamped(text);
    l.Detail(QStringLiteral("\t") + HandleName(message) + QStringLiteral(" = ") +
             Bracketed(device));
    l.Detail(QStringLiteral("\tMessage = ") + MessageName(message) + QStringLiteral(" ") +
             Bracketed(message));
    l.Detail(QStringLiteral("\tParameter 1 = ") + (name1 ? name1(p1) : QString()) + Bracketed(p1));
    l.Detail(QStringLiteral("\tParameter 2 = ") + (name2 ? name2(p2) : QString()) + Bracketed(p2));
    l.Detail(QStringLiteral("\tParameter 3 = ") + Bracketed(p3));
}

void TetLineDispatch::FireCallEvent(const QString& name, bool popupFlag, uint32_t handle,
                                    const TET_CallNotifyEvent& handler) {
    line_->Stamped(name + QStringLiteral(" ") + Bracketed(handle));
    line_->FireEvent(handler, static_cast<int32_t>(handle));
    line_->Vigil()->ShowOnEvent(popupFlag);
}

void TetLineDispatch::AddressState(DWORD, DWORD addressID, DWORD states) {
    TetLineInternal& l = *line_;
    l.RefreshAddressStatus();
    if (l.Popup()->OnAddressState())
        l.Stamped(QStringLiteral("OnAddressState (%1 ").arg(addressID) + Bracketed(states) +
                  QStringLiteral(")"));
    l.FireEvent(l.OnAddressState, addressID, states);
    l.Vigil()->ShowOnEvent(l.Popup()->OnAddressState());
    if (states & LINEADDRESSSTATE_FORWARD) {
        l.Stamped(QStringLiteral("OnAddressForward (%1)").arg(addressID));
        l.FireEvent(l.OnAddressForward, addressID);
        l.Vigil()->ShowOnEvent(l.Popup()->OnAddressForward());
    }
}

void TetLineDispatch::CallInfo(DWORD call, DWORD infoState) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    if (!c.FindCall(TetCall::FindKind::ByHandle, call)) {
        if (infoState == LINECALLINFOSTATE_NUMMONITORS)
            return;
        CallBegin(call);
        // The begin events may have ended the call already.
        if (!c.FindCall(TetCall::FindKind::ByHandle, call))
            return;
    }
    const bool gone = c.RefreshCallInfo(call, infoState) == LINEERR_INVALCALLHANDLE;

    if (l.Popup()->OnCallInfo())
        l.Stamped(QStringLiteral("OnCallInfo (") + Bracketed(call) + QStringLiteral(" ") +
                  Bracketed(infoState) + QStringLiteral(")"));
    l.FireEvent(l.OnCallInfo, static_cast<int32_t>(call), infoState);
    l.Vigil()->ShowOnEvent(l.Popup()->OnCallInfo());

    if (gone)
        c.EndCall(true, call);
    else
        c.FirePartyEvents(call, infoState, 0);
}

TetCallLog* TetLineDispatch::CallBegin(uint32_t handle) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    const auto logBegin = [&](const QDateTime& began) {
        if (LogListened(l)) {
            l.Stamped(HandleLine("OnCallBegin", handle));
            l.Detail(QStringLiteral("\tCall.Began = ") +
                     began.toLocalTime().toString(QStringLiteral("hh:mm:ss")));
        }
        l.FireEvent(l.OnCallBegin, static_cast<int32_t>(handle));
        l.Vigil()->ShowOnEvent(l.Popup()->OnCallBegin());
    };

    if (c.Count() == 0) {
        c.ClearParties();
        c.ClearCallFields();
        c.handle_ = handle;
        c.ResetMonitoringMarks();
        c.active_ = true;
        c.AddCallRecord(TetCall::AddMode::LookupOrAdd, handle);
        c.began_ = QDateTime::currentDateTimeUtc();
        c.SaveToRecord(handle);
        c.RefreshCallInfo(handle, AllParties);
        const TetCallLog* record = c.FindCall(TetCall::FindKind::ByHandle, handle);
        logBegin(record ? record->Began : c.began_);
    } else if (c.IndexOfCall(handle) < 0) {
        TetCallLog* record = c.AddCallRecord(TetCall::AddMode::LookupOrAdd, handle);
        record->Began = QDateTime::currentDateTimeUtc();
        record->GatherActive = false;
        record->MonitorDigitsActive = false;
        record->MonitorMediaActive = false;
        record->MonitorSilenceActive = false;
        const QDateTime began = record->Began;
        if (c.Active())
            c.LoadFromRecord(handle);
        logBegin(began);
    } else {
        // Listed without a record: give it one (without a second entry) so the message's work
        // has a place.
        c.AddCallRecord(TetCall::AddMode::Append, 0)->Handle = handle;
        if (handle == c.Handle()) {
            c.RefreshCallInfo(handle, AllParties);
            c.SaveToRecord(handle);
        }
    }

    // The begin event may have let other messages run: look the record up again.
    TetCallLog* record = c.FindCall(TetCall::FindKind::ByHandle, handle);
    if (record && record->Origin == LINECALLORIGIN_CONFERENCE && l.Conference()->Handle() == 0)
        l.Conference()->setHandle(handle);

    c.RefreshCallStatus(false);
    l.RefreshLineStatus();
    l.RefreshAddressStatus();
    c.LoadFromRecord(handle);
    return c.FindCall(TetCall::FindKind::ByHandle, handle);
}

void TetLineDispatch::CallState(DWORD call, DWORD state, DWORD mode, DWORD privilege) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    const uint32_t mode16 = mode & 0xFFFFu;
    const auto selected = [&c, call] { return c.Handle() == call; };

    if (selected()) {
        c.state_ = state;
        c.stateMode_ = mode;
    }
    if (l.Popup()->OnCallState()) {
        l.Stamped(QStringLiteral("OnCallState (") + Bracketed(call) + QStringLiteral(" ") +
                  Bracketed(state) + QStringLiteral(" ") + Bracketed(mode) + QStringLiteral(" ") +
                  Bracketed(privilege) + QStringLiteral(")"));
        l.Detail(QStringLiteral("\tCall.State = ") + CallStateName(c.State()) +
                 QStringLiteral(" ") + Bracketed(c.State()));
        l.Detail(QStringLiteral("\tCall.StateMode = ") + StateModeName(c.State(), c.StateMode()) +
                 QStringLiteral(" ") + Bracketed(c.StateMode()));
    }
    l.FireEvent(l.OnCallState, static_cast<int32_t>(call), state, mode, privilege);
    l.Vigil()->ShowOnEvent(l.Popup()->OnCallState());

    if (!c.FindCall(TetCall::FindKind::ByHandle, call))
        CallBegin(call);

    if (TetCallLog* record = c.FindCall(TetCall::FindKind::ByHandle, call)) {
        const bool ownerBefore = record->Owner;
        record->State = state;
        record->StateMode = mode;
        if (selected()) {
            c.RefreshCallStatus(false);
            c.RefreshCallInfo(call, 0);
        }
        record = c.FindCall(TetCall::FindKind::ByHandle, call);
        if (record && record->Owner != ownerBefore) {
            l.Stamped(HandleLine("OnCallOwnerChange", call));
            l.FireEvent(l.OnCallOwnerChange, static_cast<int32_t>(call));
            l.Vigil()->ShowOnEvent(l.Popup()->OnCallOwnerChange());
        }
        StateEvents(call, state, mode16);
        if (selected())
            c.LoadFromRecord(call);
    }

    if (state != LINECALLSTATE_IDLE)
        return;
    if (c.FindCall(TetCall::FindKind::ByHandle, call))
        CallIdle(call);
    if (selected()) {
        // Kept (a request is pending) or never recorded: choose again once pending work ran.
        ProcessPendingEvents(MaxNestedProcessing);
        c.SelectNextCall();
    }
}

void TetLineDispatch::StateEvents(uint32_t call, DWORD state, uint32_t mode16) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    TetPopup& popup = *l.Popup();
    const bool isSelected = c.Handle() == call;
    const auto record = [&c, call] { return c.FindCall(TetCall::FindKind::ByHandle, call); };
    const auto fire = [&](const char* logName, const TET_CallNotifyEvent& handler, bool flag) {
        if (LogListened(l))
            l.Stamped(HandleLine(logName, call));
        l.FireEvent(handler, static_cast<int32_t>(call));
        l.Vigil()->ShowOnEvent(flag);
    };

    switch (state) {
    case LINECALLSTATE_OFFERING:
        fire("OnOffering", l.OnOffering, popup.OnOffering());
        c.FirePartyEvents(call, AllParties, OfferingFilter);
        break;
    case LINECALLSTATE_DIALTONE:
        if (TetCallLog* r = record())
            r->DialtoneMode = mode16;
        if (isSelected)
            c.dialtoneMode_ = mode16;
        fire("OnDialTone", l.OnDialtone, popup.OnDialtone());
        break;
    case LINECALLSTATE_DIALING:
        fire("OnDialing", l.OnDialing, popup.OnDialing());
        break;
    case LINECALLSTATE_RINGBACK:
        fire("OnRingBack", l.OnRingBack, popup.OnRingBack());
        break;
    case LINECALLSTATE_BUSY:
        if (TetCallLog* r = record())
            r->BusyMode = mode16;
        if (isSelected)
            c.busyMode_ = mode16;
        fire("OnBusy", l.OnBusy, popup.OnBusy());
        break;
    case LINECALLSTATE_SPECIALINFO:
        if (TetCallLog* r = record())
            r->SpecialInfo = mode16;
        if (isSelected)
            c.specialInfo_ = mode16;
        fire("OnSpecialInfo", l.OnSpecialInfo, popup.OnSpecialInfo());
        break;
    case LINECALLSTATE_CONNECTED: {
        if (LogListened(l))
            l.Stamped(HandleLine("OnConnected", call));
        l.LookupCommHandle(call);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (TetCallLog* r = record())
            r->Connected = now;
        if (isSelected)
            c.connected_ = now;
        // Monitoring cannot be switched on in this build, so there is nothing to restart here.
        l.FireEvent(l.OnConnected, static_cast<int32_t>(call));
        l.Vigil()->ShowOnEvent(popup.OnConnected());
        break;
    }
    case LINECALLSTATE_PROCEEDING:
        fire("OnProceeding", l.OnProceeding, popup.OnProceeding());
        break;
    case LINECALLSTATE_ONHOLD:
        FireCallEvent(QStringLiteral("OnHold"), popup.OnHold(), call, l.OnHold);
        break;
    case LINECALLSTATE_CONFERENCED:
        if (const TetCallLog* r = record())
            ConferencedBookkeeping(call, r->Origin, mode16);
        fire("OnConferenced", l.OnConferenced, popup.OnConferenced());
        break;
    case LINECALLSTATE_ONHOLDPENDCONF:
        FireCallEvent(QStringLiteral("OnHoldPendingConference"), popup.OnHoldPendingConference(),
                      call, l.OnHoldPendingConference);
        break;
    case LINECALLSTATE_ONHOLDPENDTRANSF:
        FireCallEvent(QStringLiteral("OnHoldPendingTransfer"), popup.OnHoldPendingTransfer(), call,
                      l.OnHoldPendingTransfer);
        break;
    case LINECALLSTATE_DISCONNECTED: {
        l.ReleaseCommHandle();
        const bool busy = mode16 == LINEDISCONNECTMODE_BUSY;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (TetCallLog* r = record()) {
            r->DisconnectMode = mode16;
            if (busy)
                r->BusyMode = LINEBUSYMODE_UNAVAIL;
            r->Disconnected = now;
        }
        if (isSelected) {
            c.disconnectMode_ = mode16;
            c.disconnected_ = now;
        }
        if (busy)
            fire("OnBusy", l.OnBusy, popup.OnBusy());
        l.Stamped(HandleLine("OnDisconnected", call));
        l.Detail(QStringLiteral("\tCall.DisconnectMode = ") +
                 DisconnectModeName(c.DisconnectMode()) + QStringLiteral(" ") +
                 Bracketed(c.DisconnectMode()));
        l.FireEvent(l.OnDisconnected, static_cast<int32_t>(call));
        l.Vigil()->ShowOnEvent(popup.OnDisconnected());
        break;
    }
    default:
        break;
    }
}

void TetLineDispatch::ConferencedBookkeeping(uint32_t call, uint32_t origin, uint32_t mode16) {
    TetConference& conference = *line_->Conference();
    if (origin != LINECALLORIGIN_CONFERENCE) {
        if (conference.PrimaryCall() == 0) {
            conference.setPrimaryCall(call);
        } else {
            const QString text = Hex(call);
            if (!conference.List().contains(text))
                conference.MutableList().append(text);
            if (conference.ConsultCall() == 0)
                conference.setConsultCall(call);
        }
    } else if (mode16 != 0 && conference.Handle() == 0) {
        conference.setHandle(call);
    }
}

void TetLineDispatch::CallIdle(uint32_t call) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    l.ReleaseCommHandle();
    if (l.DeallocateCall(call) == 0) {
        TetTransfer& transfer = *l.Transfer();
        if (call == transfer.PrimaryCall())
            transfer.Reset();
        else if (call == transfer.ConsultCall())
            transfer.setConsultCall(0);
        TetConference& conference = *l.Conference();
        if (conference.PrimaryCall() != 0) {
            if (call == conference.PrimaryCall()) {
                conference.Reset();
            } else if (conference.MutableList().removeAll(Hex(call)) > 0) {
                const QStringList& list = conference.List();
                conference.setConsultCall(list.isEmpty() ? 0 : list.first().toUInt(nullptr, 16));
            }
        }
    }
    if (call == c.Handle())
        c.active_ = false;
    if (LogListened(l))
        l.Stamped(HandleLine("OnCallIdle", call));

    const int32_t delay = l.Device()->IdleDelay();
    if (delay == 0) {
        l.FireEvent(l.OnIdle, static_cast<int32_t>(call));
    } else {
        l.StartIdleTimer(delay);
        if (delay > 0) {
            l.Stamped(QStringLiteral("\tDelaying"));
            l.Detail(QStringLiteral("\t\tetLine.Device.IdleDelay = %1 //milliseconds").arg(delay));
        }
    }
    l.RefreshLineStatus();
    l.RefreshAddressStatus();
    c.EndCall(false, call);
}

void TetLineDispatch::LineClose() {
    line_->Stamped(QStringLiteral("TAPI LINE_CLOSE message received"));
    line_->CloseLine(true);
}

void TetLineDispatch::LineDevState(DWORD states, DWORD p2, DWORD p3) {
    TetLineInternal& l = *line_;
    TetPopup& popup = *l.Popup();
    if (popup.OnLineState())
        l.Stamped(QStringLiteral("OnLineState (") + Bracketed(states) + QStringLiteral(" ") +
                  Bracketed(p2) + QStringLiteral(" ") + Bracketed(p3) + QStringLiteral(")"));
    l.FireEvent(l.OnLineState, states, p2, p3);
    l.Vigil()->ShowOnEvent(popup.OnLineState());

    if (states & LINEDEVSTATE_RINGING) {
        if (LogListened(l))
            l.Stamped(QStringLiteral("OnRing (%1, %2)").arg(p3).arg(p2));
        l.FireEvent(l.OnRing, p3, p2);
        l.Vigil()->ShowOnEvent(popup.OnRing());
    }
    if (states & LINEDEVSTATE_MSGWAITON) {
        l.Stamped(QStringLiteral("OnMessageOn"));
        l.FireEvent(l.OnMessageOn);
        l.Vigil()->ShowOnEvent(popup.OnMessageOn());
    }
    if (states & LINEDEVSTATE_MSGWAITOFF) {
        l.Stamped(QStringLiteral("OnMessageOff"));
        l.FireEvent(l.OnMessageOff);
        l.Vigil()->ShowOnEvent(popup.OnMessageOff());
    }
    if (states & LINEDEVSTATE_DEVSPECIFIC) {
        TapiBuffer caps;
        if (l.GetDevCaps(static_cast<uint32_t>(l.Device()->ID()), caps) == 0)
            l.Device()->Capabilities()->AssignDevSpecific(caps);
    }
    if (states &
        (LINEDEVSTATE_NUMCALLS | LINEDEVSTATE_OPEN | LINEDEVSTATE_CLOSE | LINEDEVSTATE_TERMINALS)) {
        l.RefreshLineStatus();
        l.RefreshAddressStatus();
    }
    if (states & LINEDEVSTATE_DISCONNECTED) {
        l.Stamped(QStringLiteral("TAPI LINEDEVSTATE_DISCONNECTED message received"));
        l.CloseLine(true);
    }
}

void TetLineDispatch::DevSpecific(bool feature, DWORD device, DWORD p1, DWORD p2, DWORD p3) {
    TetLineInternal& l = *line_;
    const bool flag = feature ? l.Popup()->OnDevSpecificFeature() : l.Popup()->OnDevSpecific();
    if (flag)
        l.Stamped((feature ? QStringLiteral("OnDevSpecificFeature (")
                           : QStringLiteral("OnDevSpecific (")) +
                  Bracketed(device) + QStringLiteral(" ") + Bracketed(p1) + QStringLiteral(" ") +
                  Bracketed(p2) + QStringLiteral(" ") + Bracketed(p3) + QStringLiteral(")"));
    l.FireEventAlways(feature ? l.OnDevSpecificFeature : l.OnDevSpecific, device, p1, p2, p3);
    l.Vigil()->ShowOnEvent(flag);
}

void TetLineDispatch::DigitsGathered(DWORD call, DWORD termination) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    QString digits;
    int32_t tag = 0;
    if (TetCallLog* r = c.FindCall(TetCall::FindKind::ByHandle, call)) {
        r->GatherActive = false;
        std::size_t n = 0;
        while (n < TetCallLog::DigitCapacity && r->DigitBuffer[n] != '\0')
            ++n;
        digits = QString::fromLatin1(r->DigitBuffer.data(), static_cast<qsizetype>(n));
        r->Digits = digits;
        tag = r->Tag;
    }
    l.Stamped(QStringLiteral("OnDigitsGathered (") + Bracketed(call) + QStringLiteral(" '") +
              digits + QStringLiteral("' ") + Bracketed(termination) + QStringLiteral(")"));
    if (call == c.Handle())
        c.gatherDigits_.active_ = false;
    l.FireEvent(l.OnDigitsGathered, static_cast<int32_t>(call), digits, termination, tag);
    l.Vigil()->ShowOnEvent(l.Popup()->OnDigitsGathered());
}

void TetLineDispatch::GenerationDone(DWORD call) {
    TetLineInternal& l = *line_;
    if (l.DigitsGenerating()) {
        l.Stamped(QStringLiteral("OnDigitsSent (") + Bracketed(call) + QStringLiteral(")"));
        l.FireEvent(l.OnDigitsSent, static_cast<int32_t>(call));
        l.Vigil()->ShowOnEvent(l.Popup()->OnDigitsSent());
    } else {
        l.Stamped(QStringLiteral("OnToneSent (") + Bracketed(call) + QStringLiteral(")"));
        l.FireEvent(l.OnToneSent, static_cast<int32_t>(call));
        l.Vigil()->ShowOnEvent(l.Popup()->OnToneSent());
    }
}

void TetLineDispatch::DigitReceived(DWORD call, DWORD digit) {
    TetLineInternal& l = *line_;
    const char ch = static_cast<char>(digit & 0xFFu);
    const TetCallLog* r = l.Call()->FindCall(TetCall::FindKind::ByHandle, call);
    const int32_t tag = r ? r->Tag : 0;
    l.Stamped(QStringLiteral("OnDigitReceived (") + Bracketed(call) + QStringLiteral(" '") +
              QString(QChar::fromLatin1(ch)) + QStringLiteral("')"));
    l.FireEvent(l.OnDigitReceived, static_cast<int32_t>(call), ch, tag);
    l.Vigil()->ShowOnEvent(l.Popup()->OnDigitReceived());
}

void TetLineDispatch::MediaModeChange(DWORD call, DWORD mediaMode) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    if (TetCallLog* r = c.FindCall(TetCall::FindKind::ByHandle, call))
        r->MediaMode = mediaMode;
    c.mediaMode_ = mediaMode;
    l.Stamped(QStringLiteral("OnCallMediaModeChange (") + Bracketed(call) + QStringLiteral(")"));
    l.LookupCommHandle(c.Handle());
    l.FireEvent(l.OnCallMediaModeChange, static_cast<int32_t>(call));
    l.Vigil()->ShowOnEvent(l.Popup()->OnCallMediaModeChange());
}

void TetLineDispatch::ToneDetected(DWORD call, DWORD appSpecific) {
    if (appSpecific != SilenceToneTag)
        return;
    TetLineInternal& l = *line_;
    l.Stamped(QStringLiteral("OnSilence (") + Bracketed(call) + QStringLiteral(")"));
    l.FireEvent(l.OnSilence, static_cast<int32_t>(call));
    l.Vigil()->ShowOnEvent(l.Popup()->OnSilence());
}

void TetLineDispatch::Reply(DWORD device, DWORD requestID, DWORD result, DWORD p3) {
    TetLineInternal& l = *line_;
    TetCall& c = *l.Call();
    QString label;
    if (TetCallLog* r = c.FindCall(TetCall::FindKind::ByRequest, requestID)) {
        const TetCallLog::RequestSlot* slot = r->SlotOfRequest(static_cast<int32_t>(requestID));
        label = QString::fromLatin1(slot->label);
        r->*(slot->slot) = -1;
        // A call made by the request joins the list once it succeeded (and TAPI named it).
        if (result == 0 && slot->joinsList && r->Handle != 0 && c.IndexOfCall(r->Handle) < 0) {
            c.list_.append(Hex(r->Handle));
            ++c.count_;
            if (slot->slot == &TetCallLog::ConferenceSetupRequest)
                l.Conference()->MutableList().append(Hex(r->Handle));
        }
    } else if (requestID != 0 &&
               l.Terminal()->PendingRequest() == static_cast<int32_t>(requestID)) {
        label = QStringLiteral(" - Terminal.ActiveModes");
        l.Terminal()->PendingRequest() = -1;
    }
    if (result == 0)
        l.ClearError();
    l.FireEventAlways(l.OnTAPIReply, requestID, result, p3);
    const bool flag = l.Popup()->OnTAPIReply();
    if (result != 0 || flag) {
        LogTapiMessage(QStringLiteral("OnTAPIReply") + label, device, LINE_REPLY, requestID, result,
                       p3);
        if (result != 0)
            l.Report(static_cast<LONG>(result));
    }
    l.Vigil()->ShowOnEvent(flag);
}

void TetLineDispatch::NewCall(DWORD call) {
    if (!line_->Call()->FindCall(TetCall::FindKind::ByHandle, call))
        CallBegin(call);
}
