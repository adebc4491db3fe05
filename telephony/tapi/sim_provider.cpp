#include "telephony/tapi/sim_provider.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtDebug>

#include <cstring>
#include <map>
#include <mutex>

#include "telephony/tapi/provider_registry.h"
#include "telephony/tapi/service.h"

namespace tapi::sim {

struct SimDevice::State {
    ScenarioDevice def;
    DeviceHost* host = nullptr;
    DWORD deviceId = 0;
    QPointer<QObject> clock;
    QPointer<QTimer> sequencer;
    unsigned generation = 0;
    bool open = false;
    QElapsedTimer since;
    std::size_t next = 0;
    std::map<QString, DWORD> calls;
    std::map<std::string, CallData> parked;
    DWORD nextPark = 700;
    std::weak_ptr<State> self;
};

namespace {

using StatePtr = std::shared_ptr<SimDevice::State>;
using Step = std::function<void(SimDevice::State&)>;

// Runs step after ms in the device's thread, unless the device closed meanwhile. The state is
// held weakly: a step never outlives the device it belongs to.
void later(const StatePtr& s, qint64 ms, Step step) {
    if (!s->clock)
        return;
    std::weak_ptr<SimDevice::State> weak = s;
    const unsigned generation = s->generation;
    QTimer::singleShot(std::chrono::milliseconds(ms), s->clock.data(),
                       [weak, generation, step = std::move(step)] {
                           std::lock_guard lock(detail::Service::instance().mutex);
                           const StatePtr st = weak.lock();
                           if (!st || !st->open || st->generation != generation)
                               return;
                           step(*st);
                       });
}

// Steps one after another, callStepMs apart.
void sequence(const StatePtr& s, std::vector<Step> steps, qint64 first = 0) {
    if (!s)
        return;
    qint64 at = first;
    for (Step& step : steps) {
        later(s, at, std::move(step));
        at += s->def.callStepMs;
    }
}

PartyData numberParty(const std::string& number) {
    PartyData p;
    p.number = number;
    p.flags = number.empty() ? LINECALLPARTYID_UNKNOWN : LINECALLPARTYID_ADDRESS;
    return p;
}

DWORD defaultMediaMode(const DeviceInfo& info) {
    if (info.mediaModes & LINEMEDIAMODE_INTERACTIVEVOICE)
        return LINEMEDIAMODE_INTERACTIVEVOICE;
    return info.mediaModes & (~info.mediaModes + 1);
}

// The states of a dialled call: dialling, proceeding, ringback, then the scenario's outcome.
std::vector<Step> dialSteps(DWORD callId, std::string number) {
    std::vector<Step> steps;
    steps.push_back([callId, number](SimDevice::State& s) {
        s.host->updateCall(callId, LINECALLINFOSTATE_CALLEDID,
                           [&](CallData& d) { d.parties[Called] = numberParty(number); });
        s.host->setCallState(callId, LINECALLSTATE_DIALING, 0);
    });
    steps.push_back([callId](SimDevice::State& s) {
        s.host->setCallState(callId, LINECALLSTATE_PROCEEDING, 0);
    });
    steps.push_back(
        [callId](SimDevice::State& s) { s.host->setCallState(callId, LINECALLSTATE_RINGBACK, 0); });
    steps.push_back([callId, number](SimDevice::State& s) {
        switch (s.def.outgoing) {
        case OutgoingResult::Connected:
            s.host->updateCall(callId, LINECALLINFOSTATE_CONNECTEDID,
                               [&](CallData& d) { d.parties[Connected] = numberParty(number); });
            s.host->setCallState(callId, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE);
            break;
        case OutgoingResult::Busy:
            s.host->setCallState(callId, LINECALLSTATE_BUSY, LINEBUSYMODE_STATION);
            break;
        case OutgoingResult::NoAnswer:
            break; // keeps ringing
        }
    });
    return steps;
}

CallData outgoingCall(const SimDevice::State& s, DWORD addressId, const LINECALLPARAMS* params) {
    CallData d;
    d.addressId = addressId;
    d.origin = LINECALLORIGIN_OUTBOUND;
    d.reason = LINECALLREASON_DIRECT;
    d.mediaMode = defaultMediaMode(s.def.info);
    if (params && params->dwMediaMode != 0 &&
        (params->dwMediaMode & s.def.info.mediaModes) == params->dwMediaMode)
        d.mediaMode = params->dwMediaMode;
    d.bearerMode = params && params->dwBearerMode ? params->dwBearerMode : LINEBEARERMODE_VOICE;
    d.callParamFlags = params ? params->dwCallParamFlags : 0;
    if (!s.def.info.addresses.empty() && addressId < s.def.info.addresses.size())
        d.parties[Caller] = numberParty(s.def.info.addresses[addressId]);
    return d;
}

bool oneOf(DWORD state, std::initializer_list<DWORD> states) {
    for (DWORD s : states)
        if (s == state)
            return true;
    return false;
}

constexpr auto Idle = LINECALLSTATE_IDLE;

} // namespace

SimDevice::SimDevice(ScenarioDevice definition) : state_(std::make_shared<State>()) {
    state_->def = std::move(definition);
    state_->self = state_;
}

SimDevice::~SimDevice() = default;

const DeviceInfo& SimDevice::info() const {
    return state_->def.info;
}

DeviceHost* SimDevice::host() const {
    return state_->host;
}

DWORD SimDevice::deviceId() const {
    return state_->deviceId;
}

void SimDevice::opened(DeviceHost& host, DWORD deviceId, QObject* clock) {
    State& s = *state_;
    s.host = &host;
    s.deviceId = deviceId;
    s.clock = clock;
    s.open = true;
    ++s.generation;
    s.next = 0;
    s.calls.clear();
    s.parked.clear();
    s.since.start();
    if (s.def.timeline.empty())
        return;
    auto* sequencer = new QTimer(clock); // owned by the clock
    sequencer->setSingleShot(true);
    s.sequencer = sequencer;
    std::weak_ptr<State> weak = state_;
    const unsigned generation = s.generation;
    const auto arm = [](State& st) {
        if (st.next < st.def.timeline.size() && st.sequencer)
            st.sequencer->start(static_cast<int>(
                std::clamp<qint64>(st.def.timeline[st.next].at - st.since.elapsed(), 0,
                                   std::numeric_limits<int>::max())));
    };
    QObject::connect(sequencer, &QTimer::timeout, clock, [this, weak, generation, arm] {
        std::lock_guard lock(detail::Service::instance().mutex);
        const StatePtr st = weak.lock();
        if (!st || !st->open || st->generation != generation)
            return;
        // Every event that is due runs now, in timeline order.
        const qint64 elapsed = st->since.elapsed();
        while (st->next < st->def.timeline.size() && st->def.timeline[st->next].at <= elapsed) {
            const TimelineEvent& e = st->def.timeline[st->next++];
            runEvent(e);
            if (!st->open || st->generation != generation)
                return;
        }
        arm(*st);
    });
    arm(s);
}

void SimDevice::closed() {
    State& s = *state_;
    s.open = false;
    ++s.generation;
    if (s.sequencer && s.sequencer->thread() == QThread::currentThread())
        s.sequencer->stop();
    s.sequencer = nullptr;
    s.clock = nullptr;
    s.calls.clear();
    s.parked.clear();
}

bool SimDevice::timelineFinished() const {
    return state_->open && state_->next >= state_->def.timeline.size();
}

DWORD SimDevice::injectCall(const CallData& data, DWORD state, DWORD mode) {
    State& s = *state_;
    if (!s.open)
        return 0;
    const DWORD id = s.host->newCall(s.deviceId, data, 0);
    if (id != 0)
        s.host->setCallState(id, state, mode);
    return id;
}

void SimDevice::runEvent(const TimelineEvent& e) {
    State& s = *state_;
    if (!s.open)
        return;
    DeviceHost& h = *s.host;
    DWORD callId = 0;
    if (!e.call.isEmpty() && e.kind != EventKind::NewCall) {
        const auto it = s.calls.find(e.call);
        if (it == s.calls.end())
            return;
        callId = it->second;
    }
    switch (e.kind) {
    case EventKind::NewCall:
        if (const DWORD id = injectCall(e.data, e.state, e.mode))
            s.calls[e.call] = id;
        break;
    case EventKind::CallState:
        h.setCallState(callId, e.state, e.mode);
        break;
    case EventKind::PartyInfo: {
        static constexpr DWORD infoState[PartyCount] = {
            LINECALLINFOSTATE_CALLERID, LINECALLINFOSTATE_CALLEDID, LINECALLINFOSTATE_CONNECTEDID,
            LINECALLINFOSTATE_REDIRECTIONID, LINECALLINFOSTATE_REDIRECTINGID};
        h.updateCall(callId, infoState[e.party],
                     [&](CallData& d) { d.parties[e.party] = e.partyData; });
        break;
    }
    case EventKind::Ring:
        h.lineDevState(s.deviceId, LINEDEVSTATE_RINGING, e.ringMode, e.count);
        break;
    case EventKind::Digits:
        for (QChar c : e.digits)
            h.digitReceived(callId, c.toLatin1(), e.digitMode);
        break;
    case EventKind::Tone:
        h.toneDetected(callId, e.frequencies[0], e.frequencies[1], e.frequencies[2]);
        break;
    case EventKind::MediaMode:
        h.mediaDetected(callId, e.mediaMode);
        break;
    case EventKind::LineClose:
        h.closeDevice(s.deviceId);
        break;
    case EventKind::LineDisconnected:
        h.lineDevState(s.deviceId, LINEDEVSTATE_DISCONNECTED, 0, 0);
        for (DWORD id : h.deviceCalls(s.deviceId))
            if (!oneOf(h.callState(id), {Idle, LINECALLSTATE_DISCONNECTED}))
                h.setCallState(id, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_UNAVAIL);
        break;
    case EventKind::LineConnected:
        h.lineDevState(s.deviceId, LINEDEVSTATE_CONNECTED, 0, 0);
        break;
    case EventKind::LineDevState:
        h.lineDevState(s.deviceId, e.state, e.params[1], e.params[2]);
        break;
    case EventKind::AddressState:
        h.addressState(s.deviceId, e.addressId, e.state);
        break;
    case EventKind::DevSpecific:
        h.devSpecific(s.deviceId, e.params[0], e.params[1], e.params[2]);
        break;
    }
}

LONG SimDevice::request(const Request& r) {
    const StatePtr& s = state_;
    if (!s->open)
        return LINEERR_OPERATIONFAILED;
    DeviceHost& h = *s->host;
    const DWORD req = r.requestId;
    const DWORD call = r.callId;
    const DWORD other = r.otherCallId;
    const DWORD state = call ? h.callState(call) : 0;
    const DWORD otherState = other ? h.callState(other) : 0;
    const auto done = [req](SimDevice::State& st) { st.host->completeRequest(req, 0, 0, 0); };
    const auto to = [](DWORD id, DWORD st, DWORD mode = 0) {
        return [id, st, mode](SimDevice::State& x) { x.host->setCallState(id, st, mode); };
    };

    switch (r.op) {
    case Operation::MakeCall: {
        const CallData data = outgoingCall(*s, r.addressId, r.callParams);
        const std::string number = r.address;
        later(s, 0, [req, data, number](SimDevice::State& st) {
            const DWORD id = st.host->newCall(st.deviceId, data, req);
            if (id == 0 || !st.host->completeRequest(req, 0, id, 0)) {
                if (id != 0)
                    st.host->setCallState(id, Idle, 0);
                return;
            }
            st.host->setCallState(id, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_NORMAL);
            if (!number.empty())
                sequence(st.self.lock(), dialSteps(id, number), st.def.callStepMs);
        });
        return 0;
    }
    case Operation::Dial:
        if (!oneOf(state, {LINECALLSTATE_DIALTONE, LINECALLSTATE_DIALING}))
            return LINEERR_INVALCALLSTATE;
        if (r.address.empty())
            return LINEERR_INVALADDRESS;
        later(s, 0, done);
        sequence(s, dialSteps(call, r.address), 0);
        return 0;
    case Operation::Answer:
        if (!oneOf(state, {LINECALLSTATE_OFFERING, LINECALLSTATE_ACCEPTED}))
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done, to(call, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE)});
        return 0;
    case Operation::Drop: {
        if (state == Idle)
            return LINEERR_INVALCALLSTATE;
        std::vector<Step> steps{done};
        // Dropping a conference ends its parties as well.
        for (DWORD id : h.deviceCalls(s->deviceId)) {
            const CallData* d = h.callData(id);
            if (id != call && d && d->relatedCallId == call &&
                h.callState(id) == LINECALLSTATE_CONFERENCED)
                steps.push_back(to(id, Idle));
        }
        steps.push_back(to(call, Idle));
        sequence(s, std::move(steps));
        return 0;
    }
    case Operation::Hold:
        if (state != LINECALLSTATE_CONNECTED)
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done, to(call, LINECALLSTATE_ONHOLD)});
        return 0;
    case Operation::Unhold:
        if (state != LINECALLSTATE_ONHOLD)
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done, to(call, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE)});
        return 0;
    case Operation::Redirect: {
        if (!oneOf(state, {LINECALLSTATE_OFFERING, LINECALLSTATE_ACCEPTED}))
            return LINEERR_INVALCALLSTATE;
        if (r.address.empty())
            return LINEERR_INVALADDRESS;
        const std::string to_ = r.address;
        sequence(s, {done, [call, to_](State& st) {
                         st.host->updateCall(
                             call, LINECALLINFOSTATE_REDIRECTIONID,
                             [&](CallData& d) { d.parties[Redirection] = numberParty(to_); });
                         st.host->setCallState(call, Idle, 0);
                     }});
        return 0;
    }
    case Operation::BlindTransfer:
        if (!oneOf(state, {LINECALLSTATE_CONNECTED, LINECALLSTATE_ONHOLD}))
            return LINEERR_INVALCALLSTATE;
        if (r.address.empty())
            return LINEERR_INVALADDRESS;
        sequence(s, {done, to(call, Idle)});
        return 0;
    case Operation::Park: {
        if (!oneOf(state, {LINECALLSTATE_CONNECTED, LINECALLSTATE_ONHOLD}))
            return LINEERR_INVALCALLSTATE;
        std::string where = r.address;
        if (r.mode == LINEPARKMODE_DIRECTED) {
            if (where.empty())
                return LINEERR_INVALADDRESS;
            if (s->parked.count(where))
                return LINEERR_INUSE;
        } else {
            where = std::to_string(s->nextPark++);
            // The park address goes into the caller's VARSTRING, which must hold it.
            VARSTRING* v = r.nonDirAddress;
            const DWORD needed = static_cast<DWORD>(sizeof(VARSTRING) + where.size() + 1);
            if (v->dwTotalSize < needed) {
                v->dwNeededSize = needed;
                v->dwUsedSize = sizeof(VARSTRING);
                return LINEERR_STRUCTURETOOSMALL;
            }
            std::memcpy(reinterpret_cast<char*>(v) + sizeof(VARSTRING), where.c_str(),
                        where.size() + 1);
            v->dwNeededSize = needed;
            v->dwUsedSize = needed;
            v->dwStringFormat = STRINGFORMAT_ASCII;
            v->dwStringSize = static_cast<DWORD>(where.size() + 1);
            v->dwStringOffset = sizeof(VARSTRING);
        }
        if (const CallData* d = h.callData(call))
            s->parked[where] = *d;
        sequence(s, {done, to(call, Idle)});
        return 0;
    }
    case Operation::Unpark: {
        const auto it = s->parked.find(r.address);
        if (it == s->parked.end())
            return LINEERR_INVALADDRESS;
        CallData data = it->second;
        s->parked.erase(it);
        data.reason = LINECALLREASON_UNPARK;
        data.addressId = r.addressId;
        later(s, 0, [req, data](State& st) {
            const DWORD id = st.host->newCall(st.deviceId, data, req);
            if (id != 0 && st.host->completeRequest(req, 0, id, 0))
                st.host->setCallState(id, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE);
            else if (id != 0)
                st.host->setCallState(id, Idle, 0);
        });
        return 0;
    }
    case Operation::Pickup: {
        DWORD ringing = 0;
        for (DWORD id : h.deviceCalls(s->deviceId))
            if (h.callState(id) == LINECALLSTATE_OFFERING)
                ringing = id;
        if (ringing == 0 && r.address.empty())
            return LINEERR_INVALADDRESS; // nothing to pick up
        CallData data;
        if (ringing != 0) {
            data = *h.callData(ringing);
        } else {
            data.parties[Caller] = numberParty(r.address);
            data.mediaMode = defaultMediaMode(s->def.info);
            data.origin = LINECALLORIGIN_INTERNAL;
        }
        data.reason = LINECALLREASON_PICKUP;
        data.addressId = r.addressId;
        later(s, 0, [req, data, ringing](State& st) {
            if (ringing != 0)
                st.host->setCallState(ringing, LINECALLSTATE_DISCONNECTED,
                                      LINEDISCONNECTMODE_PICKUP);
            const DWORD id = st.host->newCall(st.deviceId, data, req);
            if (id != 0 && st.host->completeRequest(req, 0, id, 0))
                st.host->setCallState(id, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE);
            else if (id != 0)
                st.host->setCallState(id, Idle, 0);
            if (ringing != 0)
                st.host->setCallState(ringing, Idle, 0);
        });
        return 0;
    }
    case Operation::SetupTransfer: {
        if (state != LINECALLSTATE_CONNECTED)
            return LINEERR_INVALCALLSTATE;
        CallData data = outgoingCall(*s, r.addressId, r.callParams);
        data.relatedCallId = call;
        later(s, 0, [req, call, data](State& st) {
            const DWORD consult = st.host->newCall(st.deviceId, data, req);
            if (consult == 0 || !st.host->completeRequest(req, 0, consult, 0)) {
                if (consult != 0)
                    st.host->setCallState(consult, Idle, 0);
                return;
            }
            st.host->updateCall(call, LINECALLINFOSTATE_RELATEDCALLID,
                                [&](CallData& d) { d.relatedCallId = consult; });
            st.host->setCallState(call, LINECALLSTATE_ONHOLDPENDTRANSF, 0);
            st.host->setCallState(consult, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_NORMAL);
        });
        return 0;
    }
    case Operation::CompleteTransfer: {
        if (!oneOf(state, {LINECALLSTATE_ONHOLDPENDTRANSF, LINECALLSTATE_ONHOLD,
                           LINECALLSTATE_CONNECTED}) ||
            !oneOf(otherState,
                   {LINECALLSTATE_CONNECTED, LINECALLSTATE_RINGBACK, LINECALLSTATE_PROCEEDING,
                    LINECALLSTATE_ONHOLD, LINECALLSTATE_BUSY}))
            return LINEERR_INVALCALLSTATE;
        if (r.mode == LINETRANSFERMODE_TRANSFER) {
            sequence(s, {done, to(other, Idle), to(call, Idle)});
            return 0;
        }
        CallData conf = *h.callData(call);
        conf.origin = LINECALLORIGIN_CONFERENCE;
        conf.relatedCallId = 0;
        later(s, 0, [req, call, other, conf](State& st) {
            const DWORD id = st.host->newCall(st.deviceId, conf, req);
            if (id == 0 || !st.host->completeRequest(req, 0, id, 0)) {
                if (id != 0)
                    st.host->setCallState(id, Idle, 0);
                return;
            }
            st.host->setCallState(id, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE);
            for (DWORD party : {call, other}) {
                st.host->updateCall(party, LINECALLINFOSTATE_RELATEDCALLID,
                                    [&](CallData& d) { d.relatedCallId = id; });
                st.host->setCallState(party, LINECALLSTATE_CONFERENCED, 0);
            }
        });
        return 0;
    }
    case Operation::SwapHold: {
        const bool held = oneOf(otherState, {LINECALLSTATE_ONHOLD, LINECALLSTATE_ONHOLDPENDTRANSF,
                                             LINECALLSTATE_ONHOLDPENDCONF});
        if (state != LINECALLSTATE_CONNECTED || !held)
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done, to(call, otherState),
                     to(other, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE)});
        return 0;
    }
    case Operation::SetupConference: {
        // Without a call (call 0) the conference starts empty on the line.
        if (call != 0 && state != LINECALLSTATE_CONNECTED)
            return LINEERR_INVALCALLSTATE;
        if (r.count < 2)
            return LINEERR_INVALPARAM;
        CallData conf = call != 0 ? *h.callData(call) : outgoingCall(*s, r.addressId, r.callParams);
        conf.origin = LINECALLORIGIN_CONFERENCE;
        conf.relatedCallId = 0;
        const CallData consultData = outgoingCall(*s, r.addressId, r.callParams);
        later(s, 0, [req, call, conf, consultData](State& st) {
            const DWORD confId = st.host->newCall(st.deviceId, conf, req);
            CallData c = consultData;
            c.relatedCallId = confId;
            const DWORD consult = confId ? st.host->newCall(st.deviceId, c, req) : 0;
            if (consult == 0 || !st.host->completeRequest(req, 0, confId, consult)) {
                for (DWORD id : {confId, consult})
                    if (id != 0)
                        st.host->setCallState(id, Idle, 0);
                return;
            }
            st.host->setCallState(confId, LINECALLSTATE_ONHOLDPENDCONF, 0);
            if (call != 0) {
                st.host->updateCall(call, LINECALLINFOSTATE_RELATEDCALLID,
                                    [&](CallData& d) { d.relatedCallId = confId; });
                st.host->setCallState(call, LINECALLSTATE_CONFERENCED, 0);
            }
            st.host->setCallState(consult, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_NORMAL);
        });
        return 0;
    }
    case Operation::PrepareAddToConference: {
        const CallData* d = h.callData(call);
        if (!d || d->origin != LINECALLORIGIN_CONFERENCE)
            return LINEERR_INVALCONFCALLHANDLE;
        if (state != LINECALLSTATE_CONNECTED)
            return LINEERR_INVALCALLSTATE;
        CallData c = outgoingCall(*s, r.addressId, r.callParams);
        c.relatedCallId = call;
        later(s, 0, [req, call, c](State& st) {
            const DWORD consult = st.host->newCall(st.deviceId, c, req);
            if (consult == 0 || !st.host->completeRequest(req, 0, consult, 0)) {
                if (consult != 0)
                    st.host->setCallState(consult, Idle, 0);
                return;
            }
            st.host->setCallState(call, LINECALLSTATE_ONHOLDPENDCONF, 0);
            st.host->setCallState(consult, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_NORMAL);
        });
        return 0;
    }
    case Operation::AddToConference: {
        const CallData* d = h.callData(call);
        if (!d || d->origin != LINECALLORIGIN_CONFERENCE)
            return LINEERR_INVALCONFCALLHANDLE;
        if (state != LINECALLSTATE_ONHOLDPENDCONF ||
            !oneOf(otherState, {LINECALLSTATE_CONNECTED, LINECALLSTATE_RINGBACK,
                                LINECALLSTATE_PROCEEDING, LINECALLSTATE_ONHOLD}))
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done,
                     [call, other](State& st) {
                         st.host->updateCall(other, LINECALLINFOSTATE_RELATEDCALLID,
                                             [&](CallData& cd) { cd.relatedCallId = call; });
                         st.host->setCallState(other, LINECALLSTATE_CONFERENCED, 0);
                     },
                     to(call, LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE)});
        return 0;
    }
    case Operation::RemoveFromConference:
        if (state != LINECALLSTATE_CONFERENCED)
            return LINEERR_INVALCALLSTATE;
        sequence(s, {done, to(call, Idle)});
        return 0;
    case Operation::Forward: {
        const bool all = r.flag;
        const DWORD address = r.addressId;
        const auto count = static_cast<DWORD>(s->def.info.addresses.size());
        sequence(s, {done, [all, address, count](State& st) {
                         for (DWORD a = 0; a < count; ++a)
                             if (all || a == address)
                                 st.host->addressState(st.deviceId, a, LINEADDRESSSTATE_FORWARD);
                     }});
        return 0;
    }
    case Operation::SetTerminal: {
        const DWORD select = r.mode;
        const DWORD address = r.addressId;
        sequence(s, {done, [select, address, call](State& st) {
                         if (select == LINECALLSELECT_LINE)
                             st.host->lineDevState(st.deviceId, LINEDEVSTATE_TERMINALS, 0, 0);
                         else if (select == LINECALLSELECT_ADDRESS)
                             st.host->addressState(st.deviceId, address,
                                                   LINEADDRESSSTATE_TERMINALS);
                         else
                             st.host->updateCall(call, LINECALLINFOSTATE_TERMINAL, nullptr);
                     }});
        return 0;
    }
    default:
        return LINEERR_OPERATIONUNAVAIL;
    }
}

// ---- the provider -------------------------------------------------------------------------

namespace {

class SimProvider final : public Provider {
public:
    LONG load(std::vector<std::unique_ptr<ProviderDevice>>& devices, QString& error) override {
        const QString path = qEnvironmentVariable("VORBEL_TAPI_SIM");
        if (path.isEmpty())
            return 0; // no scenario: no devices
        ParseResult parsed = loadScenario(path);
        if (!parsed.scenario) {
            error = parsed.error;
            return parsed.code;
        }
        offersEx_ = parsed.scenario->lineInitializeExA;
        for (ScenarioDevice& d : parsed.scenario->devices)
            devices.push_back(std::make_unique<SimDevice>(std::move(d)));
        return 0;
    }
    bool offersInitializeEx() const override { return offersEx_; }

private:
    bool offersEx_ = true;
};

} // namespace

} // namespace tapi::sim

namespace tapi {
std::unique_ptr<Provider> createSimulatorProvider() {
    return std::make_unique<sim::SimProvider>();
}
} // namespace tapi
