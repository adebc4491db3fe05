#include "telephony/tapi/tapisim.h"

#include <mutex>

#include "telephony/tapi/service.h"
#include "telephony/tapi/sim_provider.h"

namespace tapisim {

namespace {

using tapi::sim::EventKind;
using tapi::sim::SimDevice;
using tapi::sim::TimelineEvent;

tapi::PartyData party(const Party& p) {
    tapi::PartyData d;
    d.number = p.number.toStdString();
    d.name = p.name.toStdString();
    d.flags = p.flags;
    if (d.flags == 0) {
        if (!d.number.empty())
            d.flags |= LINECALLPARTYID_ADDRESS;
        if (!d.name.empty())
            d.flags |= LINECALLPARTYID_NAME;
        if (d.flags == 0)
            d.flags = LINECALLPARTYID_UNKNOWN;
    }
    return d;
}

// Runs f with the open simulated device under the service's lock; false when there is none.
template <class F> bool withDevice(DWORD deviceId, F&& f) {
    auto& service = tapi::detail::Service::instance();
    std::lock_guard lock(service.mutex);
    auto* device = dynamic_cast<SimDevice*>(service.openDevice(deviceId));
    if (!device)
        return false;
    return f(*device, *device->host());
}

bool knownCall(tapi::DeviceHost&, DWORD deviceId, DWORD callId) {
    return tapi::detail::Service::instance().deviceOfCall(callId) == deviceId;
}

} // namespace

DWORD injectIncomingCall(DWORD deviceId, const CallSetup& call) {
    DWORD id = 0;
    withDevice(deviceId, [&](SimDevice& d, tapi::DeviceHost&) {
        if (call.addressId >= d.info().addresses.size())
            return false;
        tapi::CallData data;
        data.addressId = call.addressId;
        data.origin = call.origin;
        data.reason = call.reason;
        data.mediaMode = call.mediaMode;
        data.bearerMode = call.bearerMode;
        data.parties[tapi::Caller] = party(call.caller);
        data.parties[tapi::Called] = party(call.called);
        data.parties[tapi::Connected] = party(call.connected);
        data.parties[tapi::Redirection] = party(call.redirection);
        data.parties[tapi::Redirecting] = party(call.redirecting);
        id = d.injectCall(data, call.state, call.stateMode);
        return id != 0;
    });
    return id;
}

bool injectCallState(DWORD deviceId, DWORD callId, DWORD state, DWORD mode) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        return knownCall(h, deviceId, callId) && h.setCallState(callId, state, mode);
    });
}

bool injectPartyInfo(DWORD deviceId, DWORD callId, PartyKind kind, const Party& p) {
    static constexpr DWORD infoState[] = {
        LINECALLINFOSTATE_CALLERID, LINECALLINFOSTATE_CALLEDID, LINECALLINFOSTATE_CONNECTEDID,
        LINECALLINFOSTATE_REDIRECTIONID, LINECALLINFOSTATE_REDIRECTINGID};
    const auto index = static_cast<int>(kind);
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        if (!knownCall(h, deviceId, callId))
            return false;
        const tapi::PartyData data = party(p);
        return h.updateCall(callId, infoState[index],
                            [&](tapi::CallData& d) { d.parties[index] = data; });
    });
}

bool injectRing(DWORD deviceId, DWORD ringCount, DWORD ringMode) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        h.lineDevState(deviceId, LINEDEVSTATE_RINGING, ringMode, ringCount);
        return true;
    });
}

bool injectDigits(DWORD deviceId, DWORD callId, const QString& digits, DWORD digitMode) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        if (!knownCall(h, deviceId, callId))
            return false;
        for (QChar c : digits)
            h.digitReceived(callId, c.toLatin1(), digitMode);
        return true;
    });
}

bool injectTone(DWORD deviceId, DWORD callId, DWORD f1, DWORD f2, DWORD f3) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        if (!knownCall(h, deviceId, callId))
            return false;
        h.toneDetected(callId, f1, f2, f3);
        return true;
    });
}

bool injectMediaMode(DWORD deviceId, DWORD callId, DWORD mediaMode) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        if (!knownCall(h, deviceId, callId))
            return false;
        h.mediaDetected(callId, mediaMode);
        return true;
    });
}

bool injectLineClose(DWORD deviceId) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        h.closeDevice(deviceId);
        return true;
    });
}

bool injectLineDisconnected(DWORD deviceId) {
    return withDevice(deviceId, [&](SimDevice& d, tapi::DeviceHost&) {
        TimelineEvent e;
        e.kind = EventKind::LineDisconnected;
        d.runEvent(e);
        return true;
    });
}

bool injectLineDevState(DWORD deviceId, DWORD state, DWORD param2, DWORD param3) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        h.lineDevState(deviceId, state, param2, param3);
        return true;
    });
}

bool injectAddressState(DWORD deviceId, DWORD addressId, DWORD state) {
    return withDevice(deviceId, [&](SimDevice& d, tapi::DeviceHost& h) {
        if (addressId >= d.info().addresses.size())
            return false;
        h.addressState(deviceId, addressId, state);
        return true;
    });
}

bool injectDevSpecific(DWORD deviceId, DWORD param1, DWORD param2, DWORD param3) {
    return withDevice(deviceId, [&](SimDevice&, tapi::DeviceHost& h) {
        h.devSpecific(deviceId, param1, param2, param3);
        return true;
    });
}

bool timelineFinished(DWORD deviceId) {
    return withDevice(deviceId,
                      [&](SimDevice& d, tapi::DeviceHost&) { return d.timelineFinished(); });
}

} // namespace tapisim
