#pragma once

// Direct control of the simulator provider, for tests and benchmarks: the same events a
// scenario timeline produces, injected at once. Every function acts on a device of the loaded
// scenario (VORBEL_TAPI_SIM) that is open on at least one line; it answers false (or 0) when the
// device is unknown or closed, or the call is unknown. Call from the thread that opened the
// device; messages arrive through that thread's event loop like any other.

#include <QString>

#include "telephony/tapi/tapi_constants.h"

namespace tapisim {

struct Party {
    QString number;
    QString name;
    DWORD flags = 0; // LINECALLPARTYID_; 0 derives ADDRESS/NAME from what is given, else UNKNOWN
};

struct CallSetup {
    DWORD addressId = 0;
    DWORD origin = LINECALLORIGIN_EXTERNAL;
    DWORD reason = LINECALLREASON_DIRECT;
    DWORD mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
    DWORD bearerMode = LINEBEARERMODE_VOICE;
    DWORD state = LINECALLSTATE_OFFERING;
    DWORD stateMode = LINEOFFERINGMODE_ACTIVE;
    Party caller;
    Party called;
    Party connected;
    Party redirection;
    Party redirecting;
};

enum class PartyKind { Caller, Called, Connected, Redirection, Redirecting };

// A new call on the device; answers its call ID (dwCallID of LINECALLINFO), 0 on failure.
DWORD injectIncomingCall(DWORD deviceId, const CallSetup& call);
bool injectCallState(DWORD deviceId, DWORD callId, DWORD state, DWORD mode = 0);
// New party data, announced with LINE_CALLINFO (LINECALLINFOSTATE_CALLERID and so on).
bool injectPartyInfo(DWORD deviceId, DWORD callId, PartyKind kind, const Party& party);
// LINE_LINEDEVSTATE with LINEDEVSTATE_RINGING, dwParam2 the ring mode, dwParam3 the count.
bool injectRing(DWORD deviceId, DWORD ringCount, DWORD ringMode = 1);
// Digits the far end sends: monitored (LINE_MONITORDIGITS) and gathered (lineGatherDigits).
bool injectDigits(DWORD deviceId, DWORD callId, const QString& digits,
                  DWORD digitMode = LINEDIGITMODE_DTMF);
// A tone heard on the call; matches the lists of lineMonitorTones by frequencies.
bool injectTone(DWORD deviceId, DWORD callId, DWORD frequency1, DWORD frequency2 = 0,
                DWORD frequency3 = 0);
bool injectMediaMode(DWORD deviceId, DWORD callId, DWORD mediaMode);
// The provider closes the device: LINE_CLOSE to every line open on it.
bool injectLineClose(DWORD deviceId);
// The device loses its connection: LINE_LINEDEVSTATE DISCONNECTED; its calls end.
bool injectLineDisconnected(DWORD deviceId);
bool injectLineDevState(DWORD deviceId, DWORD state, DWORD param2 = 0, DWORD param3 = 0);
bool injectAddressState(DWORD deviceId, DWORD addressId, DWORD state);
bool injectDevSpecific(DWORD deviceId, DWORD param1, DWORD param2 = 0, DWORD param3 = 0);

// True once every event of the device's timeline has run (or the device has none); false while
// events are due or the device is not open.
bool timelineFinished(DWORD deviceId);

} // namespace tapisim
