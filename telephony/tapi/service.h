#pragma once

// The in-process telephony service behind the line functions: sessions, lines, call handles,
// pending requests and message delivery. One instance per process, guarded by one mutex;
// providers are called with the mutex held, application callbacks never.

#include <QObject>
#include <QPointer>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "telephony/tapi/service_provider.h"
#include "telephony/tapi/tapi_functions.h"

namespace tapi::detail {

// One message on its way to a session. line and call name the handles the message depends on:
// it is dropped at delivery when they are no longer valid.
struct Message {
    HLINEAPP session = 0;
    HLINE line = 0;
    HCALL call = 0;
    DWORD hDevice = 0;
    DWORD message = 0;
    DWORD_PTR instance = 0;
    DWORD_PTR param1 = 0;
    DWORD_PTR param2 = 0;
    DWORD_PTR param3 = 0;
};

// Lives in the thread that initialised a session; its messages reach the callback through this
// object's event queue.
class SessionDispatcher : public QObject {
protected:
    void customEvent(QEvent* event) override;
};

struct Gather {
    LPSTR buffer = nullptr;
    DWORD size = 0;
    DWORD filled = 0;
    DWORD modes = 0;
    std::string terminators;
    DWORD firstTimeout = 0;
    DWORD interTimeout = 0;
    unsigned generation = 0;
};

struct AppCall {
    HCALL handle = 0;
    HLINE line = 0;
    HLINEAPP session = 0;
    DWORD callId = 0;
    DWORD privilege = LINECALLPRIVILEGE_MONITOR;
    bool announced = false;
    DWORD monitorDigitModes = 0;
    DWORD monitorMediaModes = 0;
    std::vector<LINEMONITORTONE> tones;
    Gather gather;
    unsigned generateGeneration = 0;
    bool generating = false;
};

struct Call {
    DWORD callId = 0;
    DWORD deviceId = 0;
    CallData data;
    DWORD state = LINECALLSTATE_IDLE;
    DWORD stateMode = 0;
    DWORD statesSeen = 0;
    qint64 stateTime = 0; // ms since the epoch; local time only when someone asks
    std::vector<HCALL> handles;
};

struct Line {
    HLINE handle = 0;
    HLINEAPP session = 0;
    DWORD deviceId = 0;
    DWORD apiVersion = 0;
    DWORD_PTR instance = 0;
    DWORD privileges = 0;
    DWORD mediaModes = 0;
    DWORD lineStates = 0;
    DWORD addressStates = 0;
    bool closedByProvider = false; // handle already invalid, LINE_CLOSE still on its way
};

struct Session {
    HLINEAPP handle = 0;
    LINECALLBACK callback = nullptr;
    QPointer<SessionDispatcher> dispatcher;
    std::string appName;
    std::deque<Message> queue; // posted, not yet delivered
    bool wakePending = false;
};

struct PendingRequest {
    HLINEAPP session = 0;
    HLINE line = 0;
    LPHCALL target = nullptr;
    LPHCALL secondTarget = nullptr;
};

struct AddressForward {
    std::vector<LINEFORWARD> entries;
    std::vector<std::string> callers;
    std::vector<std::string> destinations;
    DWORD numRings = 0;
};

struct Device {
    std::unique_ptr<ProviderDevice> provider;
    std::vector<HLINE> lines;
    QPointer<QObject> clock;
    DWORD ringMode = 1;
    bool connected = true;
    std::map<DWORD, AddressForward> forwards;
    std::vector<DWORD> terminalModes; // per terminal, line-wide routing
};

class Service final : public DeviceHost {
public:
    static Service& instance();

    std::recursive_mutex mutex;

    // Session.
    LONG initialize(LPHLINEAPP app, LINECALLBACK callback, LPCSTR appName, LPDWORD numDevs,
                    LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params, bool extended);
    LONG shutdown(HLINEAPP app);
    LONG negotiateApiVersion(HLINEAPP app, DWORD deviceId, DWORD low, DWORD high, LPDWORD version,
                             LPLINEEXTENSIONID extensionId);
    LONG negotiateExtVersion(HLINEAPP app, DWORD deviceId, DWORD apiVersion, DWORD low, DWORD high,
                             LPDWORD version);
    bool offersInitializeEx();
    std::string lastError;

    // Device and address data.
    LONG getDevCaps(HLINEAPP app, DWORD deviceId, DWORD apiVersion, LPLINEDEVCAPS caps);
    LONG getAddressCaps(HLINEAPP app, DWORD deviceId, DWORD addressId, DWORD apiVersion,
                        LPLINEADDRESSCAPS caps);
    LONG getLineDevStatus(HLINE line, LPLINEDEVSTATUS status);
    LONG getAddressStatus(HLINE line, DWORD addressId, LPLINEADDRESSSTATUS status);
    LONG getId(HLINE line, DWORD addressId, HCALL call, DWORD select, LPVARSTRING id,
               LPCSTR deviceClass);

    // Line.
    LONG open(HLINEAPP app, DWORD deviceId, LPHLINE line, DWORD apiVersion, DWORD extVersion,
              DWORD_PTR instance, DWORD privileges, DWORD mediaModes, const LINECALLPARAMS* params);
    LONG close(HLINE line);
    LONG setStatusMessages(HLINE line, DWORD lineStates, DWORD addressStates);
    LONG getNewCalls(HLINE line, DWORD addressId, DWORD select, LPLINECALLLIST list);
    LONG deallocateCall(HCALL call);
    LONG configDialog(DWORD deviceId, HWND owner, LPCSTR deviceClass);
    LONG translateDialog(HLINEAPP app, DWORD deviceId, HWND owner, LPCSTR address);
    LONG translateAddress(HLINEAPP app, DWORD deviceId, LPCSTR address, DWORD card, DWORD options,
                          LPLINETRANSLATEOUTPUT output);

    // Call data.
    LONG getCallInfo(HCALL call, LPLINECALLINFO info);
    LONG getCallStatus(HCALL call, LPLINECALLSTATUS status);
    LONG setCallPrivilege(HCALL call, DWORD privilege);
    LONG setMediaMode(HCALL call, DWORD mediaModes);
    LONG handoff(HCALL call, LPCSTR fileName, DWORD mediaMode);

    // Asynchronous call control on a call, on a line, or on two calls.
    LONG callRequest(HCALL call, Request request, LPHCALL target = nullptr,
                     LPHCALL secondTarget = nullptr);
    LONG lineRequest(HLINE line, Request request, LPHCALL target = nullptr,
                     LPHCALL secondTarget = nullptr);
    LONG twoCallRequest(HCALL call, HCALL other, Request request, LPHCALL target = nullptr);
    LONG forward(HLINE line, DWORD allAddresses, DWORD addressId, const LINEFORWARDLIST* list,
                 DWORD numRings, LPHCALL consultCall);
    LONG setTerminal(HLINE line, DWORD addressId, HCALL call, DWORD select, DWORD modes,
                     DWORD terminalId, DWORD enable);

    // Monitoring and generation.
    LONG gatherDigits(HCALL call, DWORD modes, LPSTR digits, DWORD numDigits, LPCSTR terminators,
                      DWORD firstTimeout, DWORD interTimeout);
    LONG monitorDigits(HCALL call, DWORD modes);
    LONG monitorMedia(HCALL call, DWORD modes);
    LONG monitorTones(HCALL call, const LINEMONITORTONE* tones, DWORD count);
    LONG generateDigits(HCALL call, DWORD mode, LPCSTR digits, DWORD duration);
    LONG generateTone(HCALL call, DWORD mode, DWORD duration, DWORD numTones,
                      const LINEGENERATETONE* tones);

    // Delivery, from the dispatcher of a session.
    void deliverPending(HLINEAPP session);

    // DeviceHost.
    DWORD newCall(DWORD deviceId, const CallData& data, DWORD requestId) override;
    const CallData* callData(DWORD callId) const override;
    DWORD callState(DWORD callId) const override;
    bool setCallState(DWORD callId, DWORD state, DWORD mode) override;
    bool updateCall(DWORD callId, DWORD infoStates,
                    const std::function<void(CallData&)>& change) override;
    bool completeRequest(DWORD requestId, LONG result, DWORD createdCallId,
                         DWORD secondCallId) override;
    void lineDevState(DWORD deviceId, DWORD state, DWORD param2, DWORD param3) override;
    void addressState(DWORD deviceId, DWORD addressId, DWORD state) override;
    void devSpecific(DWORD deviceId, DWORD param1, DWORD param2, DWORD param3) override;
    void digitReceived(DWORD callId, char digit, DWORD digitMode) override;
    void toneDetected(DWORD callId, DWORD frequency1, DWORD frequency2, DWORD frequency3) override;
    void mediaDetected(DWORD callId, DWORD mediaMode) override;
    void closeDevice(DWORD deviceId) override;
    std::vector<DWORD> deviceCalls(DWORD deviceId) const override;

    // For the simulator control functions: the device if it is open on some line.
    ProviderDevice* openDevice(DWORD deviceId);
    DWORD deviceOfCall(DWORD callId) const; // 0xFFFFFFFF for an unknown call
    ProviderDevice* providerDevice(DWORD deviceId) { return devices_.at(deviceId).provider.get(); }
    DWORD deviceCount() const { return static_cast<DWORD>(devices_.size()); }

private:
    Service() = default;

    LONG loadProviders(bool warn = true);
    void unloadProviders();
    Session* session(HLINEAPP app);
    Line* line(HLINE line);
    AppCall* appCall(HCALL call);
    Call* call(DWORD callId);
    const Call* call(DWORD callId) const;
    Device* device(DWORD deviceId);
    LONG checkDevice(HLINEAPP app, DWORD deviceId);
    void post(const Message& message);
    void postToLine(const Line& line, DWORD message, DWORD_PTR p1, DWORD_PTR p2, DWORD_PTR p3);
    void postToCall(AppCall& call, DWORD message, DWORD_PTR p1, DWORD_PTR p2, DWORD_PTR p3);
    HCALL addHandle(Call& call, Line& line, DWORD privilege);
    void removeHandle(HCALL handle);
    void closeLine(HLINE handle, bool byProvider);
    DWORD startRequest(HLINEAPP session, HLINE line, LPHCALL target, LPHCALL secondTarget);
    LONG submit(DWORD deviceId, Request& request, HLINEAPP session, HLINE line, LPHCALL target,
                LPHCALL secondTarget);
    bool deliverable(const Message& message);
    void finishGather(AppCall& call, DWORD reason);
    DWORD callFeatures(const Call& call, const AppCall& app) const;
    DWORD addressFeatures(const Device& device) const;
    DWORD lineFeatures(const Device& device) const;

    std::vector<std::unique_ptr<Provider>> providers_;
    std::vector<Device> devices_;
    bool offersInitializeEx_ = true;
    std::unordered_map<HLINEAPP, Session> sessions_;
    std::unordered_map<HLINE, Line> lines_;
    std::unordered_map<HCALL, AppCall> appCalls_;
    std::unordered_map<DWORD, Call> calls_;
    std::unordered_map<DWORD, PendingRequest> requests_;
    DWORD nextApp_ = 0x00010000;
    DWORD nextLine_ = 0x00020000;
    DWORD nextCall_ = 0x00030000;
    DWORD nextCallId_ = 1;
    DWORD nextRequest_ = 1;
};

// Closes a comm handle lineGetID handed out; false for any other value.
bool closeHandedOutHandle(HANDLE handle);

// Milliseconds since the first use, for the dwParam3 time stamps of monitoring messages.
DWORD tickCount();

} // namespace tapi::detail
