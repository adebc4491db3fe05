#pragma once

// The service-provider interface of the telephony service. A provider owns line devices; the
// service owns sessions, lines, call handles, requests and message delivery, and asks a device
// only what is device specific: its capabilities and how it carries out a request. Providers
// are registered by name with a factory; the service loads every registered provider when the
// first session starts, so hardware providers can sit beside the simulator.

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "telephony/tapi/tapi_constants.h"
#include "telephony/tapi/tapi_structures.h"

namespace tapi {

// The operations a device may lack; a lacking one answers LINEERR_OPERATIONUNAVAIL.
enum class Operation {
    MakeCall,
    Dial,
    Answer,
    Drop,
    Hold,
    Unhold,
    Redirect,
    BlindTransfer,
    Park,
    Unpark,
    Pickup,
    SetupTransfer,
    CompleteTransfer,
    SwapHold,
    SetupConference,
    PrepareAddToConference,
    AddToConference,
    RemoveFromConference,
    Forward,
    SetTerminal,
    GatherDigits,
    MonitorDigits,
    MonitorMedia,
    MonitorTones,
    GenerateDigits,
    GenerateTone,
    SetMediaMode,
    SetCallPrivilege,
    Handoff,
    Count
};

// Name used in scenarios ("makeCall", "conference" is not one: each operation has its own name).
const char* operationName(Operation op);
std::optional<Operation> operationByName(const QString& name);

struct TerminalInfo {
    std::string name;
    LINETERMCAPS caps{LINETERMDEV_PHONE, LINETERMMODE_BUTTONS, LINETERMSHARING_PRIVATE};
};

struct DeviceInfo {
    std::string name;
    std::string providerInfo;
    std::string switchInfo;
    DWORD permanentLineId = 0;
    DWORD mediaModes = LINEMEDIAMODE_INTERACTIVEVOICE;
    // What the capabilities list, when that is more than the device can carry (0: mediaModes).
    // A data modem that also lists voice is refused an interactive-voice open all the same.
    DWORD reportedMediaModes = 0;
    DWORD bearerModes = LINEBEARERMODE_VOICE;
    DWORD lineStates = LINEDEVSTATE_ALL; // what lineSetStatusMessages may enable
    DWORD addressStates = LINEADDRESSSTATE_ALL;
    DWORD callerIdFlags = LINECALLPARTYID_BLOCKED | LINECALLPARTYID_OUTOFAREA |
                          LINECALLPARTYID_NAME | LINECALLPARTYID_ADDRESS | LINECALLPARTYID_UNKNOWN |
                          LINECALLPARTYID_UNAVAIL;
    DWORD lowApiVersion = TAPI_VERSION1_0;
    DWORD highApiVersion = TAPI_VERSION2_2;
    LONG negotiateError = 0; // nonzero: lineNegotiateAPIVersion answers it
    DWORD lowExtVersion = 0;
    DWORD highExtVersion = 0;
    LINEEXTENSIONID extensionId{};
    std::vector<std::string> addresses{std::string()};
    std::vector<TerminalInfo> terminals;
    std::vector<uint8_t> devSpecific;
    std::optional<DWORD> phoneId;
    std::optional<DWORD> waveInId;
    std::optional<DWORD> waveOutId;
    bool commPort = false; // lineGetID "comm/datamodem" hands out a handle
    std::array<bool, static_cast<int>(Operation::Count)> unavailable{};
    DWORD maxActiveCalls = 4;
    DWORD monitorDigitModes = LINEDIGITMODE_DTMF | LINEDIGITMODE_PULSE | LINEDIGITMODE_DTMFEND;
    DWORD generateDigitModes = LINEDIGITMODE_DTMF | LINEDIGITMODE_PULSE;
    DWORD generateToneModes = LINETONEMODE_CUSTOM | LINETONEMODE_RINGBACK | LINETONEMODE_BUSY |
                              LINETONEMODE_BEEP | LINETONEMODE_BILLING;
    DWORD monitorToneMaxNumFreq = 3;
    DWORD monitorToneMaxNumEntries = 8;

    bool lacks(Operation op) const { return unavailable[static_cast<int>(op)]; }
};

enum PartyIndex { Caller = 0, Called, Connected, Redirection, Redirecting, PartyCount };

struct PartyData {
    std::string number;
    std::string name;
    DWORD flags = LINECALLPARTYID_UNKNOWN;
};

// A call as the device sees it; the service hands each interested line its own handle to it.
struct CallData {
    DWORD addressId = 0;
    DWORD origin = LINECALLORIGIN_EXTERNAL;
    DWORD reason = LINECALLREASON_DIRECT;
    DWORD mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
    DWORD bearerMode = LINEBEARERMODE_VOICE;
    DWORD callParamFlags = 0;
    DWORD relatedCallId = 0;
    std::array<PartyData, PartyCount> parties{};
    std::string displayableAddress;
    std::string calledParty;
    std::string comment;
};

// One request to a device. Call-related requests carry the device's call IDs.
struct Request {
    Operation op = Operation::Count;
    DWORD requestId = 0; // 0: synchronous
    DWORD deviceId = 0;
    DWORD addressId = 0;
    DWORD callId = 0;
    DWORD otherCallId = 0; // consultation, held or conference call
    DWORD mode = 0;        // park, transfer, media, privilege mode ...
    DWORD count = 0;       // parties, rings, terminal ID ...
    bool flag = false;     // enable, all addresses ...
    std::string address;
    std::string extra; // group ID ...
    const LINECALLPARAMS* callParams = nullptr;
    LPVARSTRING nonDirAddress = nullptr;
};

// What a device may do to the service: everything is announced to the lines by the service.
class DeviceHost {
public:
    virtual ~DeviceHost() = default;

    // A new call on the device; answers its call ID. Every open line with the right privilege
    // gets a handle and LINE_APPNEWCALL, except the line of pending request requestId, which
    // gets its handle with the reply (completeRequest).
    virtual DWORD newCall(DWORD deviceId, const CallData& data, DWORD requestId = 0) = 0;
    virtual const CallData* callData(DWORD callId) const = 0;
    virtual DWORD callState(DWORD callId) const = 0;
    virtual bool setCallState(DWORD callId, DWORD state, DWORD mode) = 0;
    // Applies the change and sends LINE_CALLINFO with the given LINECALLINFOSTATE_ bits.
    virtual bool updateCall(DWORD callId, DWORD infoStates,
                            const std::function<void(CallData&)>& change) = 0;
    // Ends a pending asynchronous request: writes the handles of the created calls to the places
    // the caller gave, then sends LINE_REPLY. Answers false when the request is gone (its line
    // closed meanwhile).
    virtual bool completeRequest(DWORD requestId, LONG result, DWORD createdCallId = 0,
                                 DWORD secondCallId = 0) = 0;
    virtual void lineDevState(DWORD deviceId, DWORD state, DWORD param2, DWORD param3) = 0;
    virtual void addressState(DWORD deviceId, DWORD addressId, DWORD state) = 0;
    virtual void devSpecific(DWORD deviceId, DWORD param1, DWORD param2, DWORD param3) = 0;
    virtual void digitReceived(DWORD callId, char digit, DWORD digitMode) = 0;
    virtual void toneDetected(DWORD callId, DWORD frequency1, DWORD frequency2,
                              DWORD frequency3) = 0;
    virtual void mediaDetected(DWORD callId, DWORD mediaMode) = 0;
    // The device went away: LINE_CLOSE to each line open on it.
    virtual void closeDevice(DWORD deviceId) = 0;
    // Calls of the device, oldest first.
    virtual std::vector<DWORD> deviceCalls(DWORD deviceId) const = 0;
};

class ProviderDevice {
public:
    virtual ~ProviderDevice() = default;
    virtual const DeviceInfo& info() const = 0;
    // The first line opened on the device (clock lives in the opening thread; timers of the
    // device use it) and the last one closed. deviceId is the device's number in the service.
    virtual void opened(DeviceHost& host, DWORD deviceId, QObject* clock) = 0;
    virtual void closed() = 0;
    // Carries out a request. A negative result refuses it at once; 0 accepts it, and an
    // asynchronous one must later be ended with DeviceHost::completeRequest.
    virtual LONG request(const Request& request) = 0;
};

class Provider {
public:
    virtual ~Provider() = default;
    // Finds the provider's devices; a negative LINEERR_ code and error text when it cannot.
    virtual LONG load(std::vector<std::unique_ptr<ProviderDevice>>& devices, QString& error) = 0;
    // Whether the library offers lineInitializeExA while this provider is loaded.
    virtual bool offersInitializeEx() const { return true; }
};

using ProviderFactory = std::function<std::unique_ptr<Provider>()>;

// Registers a provider under a name; a later registration of the same name replaces it.
void registerProvider(const QString& name, ProviderFactory factory);
void unregisterProvider(const QString& name);
QStringList registeredProviders();

} // namespace tapi
