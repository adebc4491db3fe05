// Sessions, handle tables, requests and message delivery of the telephony service.

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QtDebug>

#include <algorithm>

#include "telephony/tapi/provider_registry.h"
#include "telephony/tapi/service.h"

namespace tapi::detail {

namespace {

const QEvent::Type MessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// Tells a session's thread that its queue has messages. One is in flight per session at most,
// so a burst of messages costs one event and one wake-up of the thread, not one each.
class WakeEvent final : public QEvent {
public:
    explicit WakeEvent(HLINEAPP s) : QEvent(MessageEventType), session(s) {}
    HLINEAPP session;
};

// Versions the layer speaks, lowest first.
constexpr DWORD KnownVersions[] = {TAPI_VERSION1_0, TAPI_VERSION1_4, TAPI_VERSION2_0,
                                   TAPI_VERSION2_1, TAPI_VERSION2_2};
constexpr DWORD LowestVersion = TAPI_VERSION1_0;
constexpr DWORD HighestVersion = TAPI_VERSION2_2;

} // namespace

DWORD tickCount() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<DWORD>(clock.elapsed());
}

void SessionDispatcher::customEvent(QEvent* event) {
    if (event->type() == MessageEventType)
        Service::instance().deliverPending(static_cast<WakeEvent*>(event)->session);
}

Service& Service::instance() {
    static Service service;
    return service;
}

// ---- lookup -------------------------------------------------------------------------------

Session* Service::session(HLINEAPP app) {
    const auto it = sessions_.find(app);
    return it == sessions_.end() ? nullptr : &it->second;
}

Line* Service::line(HLINE handle) {
    const auto it = lines_.find(handle);
    return it == lines_.end() || it->second.closedByProvider ? nullptr : &it->second;
}

AppCall* Service::appCall(HCALL handle) {
    const auto it = appCalls_.find(handle);
    return it == appCalls_.end() ? nullptr : &it->second;
}

Call* Service::call(DWORD callId) {
    const auto it = calls_.find(callId);
    return it == calls_.end() ? nullptr : &it->second;
}

const Call* Service::call(DWORD callId) const {
    const auto it = calls_.find(callId);
    return it == calls_.end() ? nullptr : &it->second;
}

Device* Service::device(DWORD deviceId) {
    return deviceId < devices_.size() ? &devices_[deviceId] : nullptr;
}

LONG Service::checkDevice(HLINEAPP app, DWORD deviceId) {
    if (!session(app))
        return LINEERR_INVALAPPHANDLE;
    if (!device(deviceId))
        return LINEERR_BADDEVICEID;
    return 0;
}

DWORD Service::deviceOfCall(DWORD callId) const {
    const Call* c = call(callId);
    return c ? c->deviceId : 0xFFFFFFFF;
}

ProviderDevice* Service::openDevice(DWORD deviceId) {
    Device* d = device(deviceId);
    return d && !d->lines.empty() ? d->provider.get() : nullptr;
}

// ---- providers ----------------------------------------------------------------------------

LONG Service::loadProviders(bool warn) {
    unloadProviders();
    std::vector<std::unique_ptr<ProviderDevice>> found;
    bool offersEx = true;
    for (const QString& name : registeredProviders()) {
        std::unique_ptr<Provider> provider = createProvider(name);
        if (!provider)
            continue;
        QString error;
        const LONG rc = provider->load(found, error);
        if (rc < 0) {
            lastError = error.toStdString();
            if (warn)
                qWarning("telephony: %s", qPrintable(error));
            unloadProviders();
            return rc;
        }
        offersEx = offersEx && provider->offersInitializeEx();
        providers_.push_back(std::move(provider));
    }
    for (auto& d : found) {
        Device device;
        device.terminalModes.assign(d->info().terminals.size(), 0);
        device.provider = std::move(d);
        devices_.push_back(std::move(device));
    }
    offersInitializeEx_ = offersEx;
    return 0;
}

void Service::unloadProviders() {
    devices_.clear();
    providers_.clear();
    calls_.clear();
    offersInitializeEx_ = true;
}

bool Service::offersInitializeEx() {
    if (sessions_.empty())
        loadProviders(false); // a broken scenario is reported by the initialisation itself
    return offersInitializeEx_;
}

// ---- session ------------------------------------------------------------------------------

LONG Service::initialize(LPHLINEAPP app, LINECALLBACK callback, LPCSTR appName, LPDWORD numDevs,
                         LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params, bool extended) {
    if (!app || !numDevs || !callback)
        return LINEERR_INVALPOINTER;
    if (extended) {
        if (!apiVersion || !params)
            return LINEERR_INVALPOINTER;
        if (params->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS))
            return LINEERR_STRUCTURETOOSMALL;
        if ((params->dwOptions & ~LINEINITIALIZEEXOPTION_CALLHUBTRACKING) !=
            LINEINITIALIZEEXOPTION_USEHIDDENWINDOW)
            return LINEERR_INVALPARAM; // only callback delivery is offered
        if (*apiVersion < TAPI_VERSION2_0)
            return LINEERR_INCOMPATIBLEAPIVERSION;
    }
    if (sessions_.empty()) {
        const LONG rc = loadProviders();
        if (rc < 0)
            return rc;
    }
    lastError.clear();
    const HLINEAPP handle = nextApp_++;
    Session& s = sessions_[handle];
    s.handle = handle;
    s.callback = callback;
    s.appName = appName ? appName : "";
    // Owned by the session; deleted in its own thread when the session ends.
    s.dispatcher = new SessionDispatcher;
    *app = handle;
    *numDevs = deviceCount();
    if (extended) {
        *apiVersion = HighestVersion;
        params->dwNeededSize = sizeof(LINEINITIALIZEEXPARAMS);
        params->dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
    }
    return 0;
}

LONG Service::shutdown(HLINEAPP app) {
    Session* s = session(app);
    if (!s)
        return LINEERR_INVALAPPHANDLE;
    std::vector<HLINE> own;
    for (const auto& [h, l] : lines_)
        if (l.session == app)
            own.push_back(h);
    for (HLINE h : own) {
        if (line(h))
            closeLine(h, false);
        lines_.erase(h);
    }
    std::erase_if(requests_, [app](const auto& r) { return r.second.session == app; });
    if (s->dispatcher)
        s->dispatcher->deleteLater();
    sessions_.erase(app);
    if (sessions_.empty())
        unloadProviders();
    return 0;
}

LONG Service::negotiateApiVersion(HLINEAPP app, DWORD deviceId, DWORD low, DWORD high,
                                  LPDWORD version, LPLINEEXTENSIONID extensionId) {
    if (const LONG rc = checkDevice(app, deviceId))
        return rc;
    if (!version)
        return LINEERR_INVALPOINTER;
    const DeviceInfo& info = devices_[deviceId].provider->info();
    if (info.negotiateError < 0)
        return info.negotiateError;
    const DWORD from = std::max({low, info.lowApiVersion, LowestVersion});
    const DWORD to = std::min({high, info.highApiVersion, HighestVersion});
    DWORD chosen = 0;
    for (DWORD v : KnownVersions)
        if (v >= from && v <= to)
            chosen = v;
    if (chosen == 0)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *version = chosen;
    if (extensionId)
        *extensionId = info.extensionId;
    return 0;
}

LONG Service::negotiateExtVersion(HLINEAPP app, DWORD deviceId, DWORD apiVersion, DWORD low,
                                  DWORD high, LPDWORD version) {
    if (const LONG rc = checkDevice(app, deviceId))
        return rc;
    if (!version)
        return LINEERR_INVALPOINTER;
    if (apiVersion < LowestVersion || apiVersion > HighestVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    const DeviceInfo& info = devices_[deviceId].provider->info();
    if (info.highExtVersion == 0)
        return LINEERR_OPERATIONUNAVAIL;
    const DWORD from = std::max(low, info.lowExtVersion);
    const DWORD to = std::min(high, info.highExtVersion);
    if (from > to)
        return LINEERR_INCOMPATIBLEEXTVERSION;
    *version = to;
    return 0;
}

// ---- lines --------------------------------------------------------------------------------

LONG Service::open(HLINEAPP app, DWORD deviceId, LPHLINE lineOut, DWORD apiVersion,
                   DWORD extVersion, DWORD_PTR instance, DWORD privileges, DWORD mediaModes,
                   const LINECALLPARAMS* params) {
    Session* s = session(app);
    if (!s)
        return LINEERR_INVALAPPHANDLE;
    if (!lineOut)
        return LINEERR_INVALPOINTER;
    const DWORD privs = privileges & ~(LINEOPENOPTION_SINGLEADDRESS | LINEOPENOPTION_PROXY);
    const bool none = privs == LINECALLPRIVILEGE_NONE;
    const bool valid =
        none || (privs & ~(LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER)) == 0;
    if (!valid || privs == 0)
        return LINEERR_INVALPRIVSELECT;
    if (privileges & LINEOPENOPTION_PROXY)
        return LINEERR_INVALPRIVSELECT;
    if (deviceId == LINEMAPPER) {
        // The first device that carries the media modes asked for.
        deviceId = 0xFFFFFFFF;
        for (DWORD i = 0; i < devices_.size(); ++i) {
            const DWORD modes = devices_[i].provider->info().mediaModes;
            if (mediaModes != 0 && (modes & mediaModes) == mediaModes) {
                deviceId = i;
                break;
            }
        }
        if (deviceId == 0xFFFFFFFF)
            return LINEERR_INVALMEDIAMODE;
    }
    Device* d = device(deviceId);
    if (!d)
        return LINEERR_BADDEVICEID;
    const DeviceInfo& info = d->provider->info();
    if (apiVersion < std::max(LowestVersion, info.lowApiVersion) ||
        apiVersion > std::min(HighestVersion, info.highApiVersion))
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (extVersion != 0 && (extVersion < info.lowExtVersion || extVersion > info.highExtVersion))
        return LINEERR_INCOMPATIBLEEXTVERSION;
    if (privs & LINECALLPRIVILEGE_OWNER) {
        // An owner must say which calls it takes, and the device must carry them.
        if (mediaModes == 0 || (mediaModes & ~LINEMEDIAMODE_UNKNOWN & ~info.mediaModes) != 0 ||
            (mediaModes & 1) != 0)
            return LINEERR_INVALMEDIAMODE;
    }
    if (params && params->dwTotalSize < sizeof(LINECALLPARAMS))
        return LINEERR_STRUCTURETOOSMALL;

    const HLINE handle = nextLine_++;
    Line& l = lines_[handle];
    l.handle = handle;
    l.session = app;
    l.deviceId = deviceId;
    l.apiVersion = apiVersion;
    l.instance = instance;
    l.privileges = privs;
    l.mediaModes = (privs & LINECALLPRIVILEGE_OWNER) ? mediaModes : 0;
    const bool first = d->lines.empty();
    for (HLINE other : d->lines)
        if (Line* o = line(other); o && (o->lineStates & LINEDEVSTATE_OPEN))
            postToLine(*o, LINE_LINEDEVSTATE, LINEDEVSTATE_OPEN, 0, 0);
    d->lines.push_back(handle);
    *lineOut = handle;
    if (first) {
        // The device's timers run in the thread that opened it first.
        auto* clock = new QObject; // deleted with deleteLater when the last line closes
        d->clock = clock;
        d->provider->opened(*this, deviceId, clock);
    }
    return 0;
}

void Service::closeLine(HLINE handle, bool byProvider) {
    Line& l = lines_.at(handle);
    Device& d = devices_.at(l.deviceId);
    std::vector<HCALL> own;
    for (const auto& [h, c] : appCalls_)
        if (c.line == handle)
            own.push_back(h);
    for (HCALL h : own)
        removeHandle(h);
    // Pending requests of the line end now: the reply tells the caller the line is gone.
    for (auto it = requests_.begin(); it != requests_.end();) {
        if (it->second.line == handle) {
            Message m;
            m.session = it->second.session;
            m.message = LINE_REPLY;
            m.instance = l.instance; // the requester's line instance, as on the platform
            m.param1 = it->first;
            m.param2 = static_cast<DWORD>(LINEERR_INVALLINEHANDLE);
            post(m);
            it = requests_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase(d.lines, handle);
    for (HLINE other : d.lines)
        if (Line* o = line(other); o && (o->lineStates & LINEDEVSTATE_CLOSE))
            postToLine(*o, LINE_LINEDEVSTATE, LINEDEVSTATE_CLOSE, 0, 0);
    if (d.lines.empty()) {
        d.provider->closed();
        if (d.clock)
            d.clock->deleteLater();
        d.clock = nullptr;
        std::erase_if(calls_, [&](const auto& c) { return c.second.deviceId == l.deviceId; });
        d.forwards.clear();
        std::fill(d.terminalModes.begin(), d.terminalModes.end(), 0);
        d.connected = true;
    }
    if (byProvider) {
        l.closedByProvider = true;
        Message m;
        m.session = l.session;
        m.line = handle;
        m.hDevice = handle;
        m.message = LINE_CLOSE;
        m.instance = l.instance;
        post(m);
    } else {
        lines_.erase(handle);
    }
}

LONG Service::close(HLINE handle) {
    if (!line(handle))
        return LINEERR_INVALLINEHANDLE;
    closeLine(handle, false);
    return 0;
}

LONG Service::setStatusMessages(HLINE handle, DWORD lineStates, DWORD addressStates) {
    Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    const DeviceInfo& info = devices_[l->deviceId].provider->info();
    if ((lineStates & ~info.lineStates) != 0)
        return LINEERR_INVALLINESTATE;
    if ((addressStates & ~info.addressStates) != 0)
        return LINEERR_INVALADDRESSSTATE;
    l->lineStates = lineStates;
    l->addressStates = addressStates;
    return 0;
}

// ---- calls and handles --------------------------------------------------------------------

HCALL Service::addHandle(Call& c, Line& l, DWORD privilege) {
    const HCALL h = nextCall_++;
    AppCall& a = appCalls_[h];
    a.handle = h;
    a.line = l.handle;
    a.session = l.session;
    a.callId = c.callId;
    a.privilege = privilege;
    c.handles.push_back(h);
    return h;
}

void Service::removeHandle(HCALL handle) {
    const auto it = appCalls_.find(handle);
    if (it == appCalls_.end())
        return;
    const DWORD callId = it->second.callId;
    appCalls_.erase(it);
    if (Call* c = call(callId)) {
        std::erase(c->handles, handle);
        if (c->handles.empty() && c->state == LINECALLSTATE_IDLE)
            calls_.erase(callId);
    }
}

LONG Service::deallocateCall(HCALL handle) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    const Call* c = call(a->callId);
    if (c && a->privilege == LINECALLPRIVILEGE_OWNER && c->state != LINECALLSTATE_IDLE) {
        const auto owners = std::count_if(c->handles.begin(), c->handles.end(), [&](HCALL h) {
            return appCalls_.at(h).privilege == LINECALLPRIVILEGE_OWNER;
        });
        if (owners == 1)
            return LINEERR_INVALCALLSTATE; // the sole owner must drop the call first
    }
    removeHandle(handle);
    return 0;
}

DWORD Service::newCall(DWORD deviceId, const CallData& data, DWORD requestId) {
    Device* d = device(deviceId);
    if (!d || d->lines.empty())
        return 0;
    HLINE requester = 0;
    if (requestId != 0) {
        const auto r = requests_.find(requestId);
        if (r == requests_.end())
            return 0;
        requester = r->second.line;
    }
    const DWORD id = nextCallId_++;
    Call& c = calls_[id];
    c.callId = id;
    c.deviceId = deviceId;
    c.data = data;
    c.stateTime = QDateTime::currentMSecsSinceEpoch();
    bool ownerGiven = requestId != 0;
    for (HLINE h : d->lines) {
        Line* l = line(h);
        if (!l || h == requester)
            continue;
        DWORD privilege = 0;
        if (!ownerGiven && (l->privileges & LINECALLPRIVILEGE_OWNER) &&
            (l->mediaModes & data.mediaMode) != 0) {
            privilege = LINECALLPRIVILEGE_OWNER;
            ownerGiven = true;
        } else if (l->privileges & LINECALLPRIVILEGE_MONITOR) {
            privilege = LINECALLPRIVILEGE_MONITOR;
        } else {
            continue;
        }
        const HCALL handle = addHandle(c, *l, privilege);
        if (l->apiVersion >= TAPI_VERSION2_0) {
            Message m;
            m.session = l->session;
            m.line = h;
            m.call = handle;
            m.hDevice = h;
            m.message = LINE_APPNEWCALL;
            m.instance = l->instance;
            m.param1 = data.addressId;
            m.param2 = handle;
            m.param3 = privilege;
            post(m);
        }
    }
    return id;
}

const CallData* Service::callData(DWORD callId) const {
    const Call* c = call(callId);
    return c ? &c->data : nullptr;
}

DWORD Service::callState(DWORD callId) const {
    const Call* c = call(callId);
    return c ? c->state : 0;
}

bool Service::setCallState(DWORD callId, DWORD state, DWORD mode) {
    Call* c = call(callId);
    if (!c)
        return false;
    c->state = state;
    c->stateMode = mode;
    c->statesSeen |= state;
    c->stateTime = QDateTime::currentMSecsSinceEpoch();
    const std::vector<HCALL> handles = c->handles;
    for (HCALL h : handles) {
        AppCall& a = appCalls_.at(h);
        postToCall(a, LINE_CALLSTATE, state, mode, a.announced ? 0 : a.privilege);
        a.announced = true;
        if (state == LINECALLSTATE_IDLE || state == LINECALLSTATE_DISCONNECTED) {
            if (a.gather.buffer)
                finishGather(a, LINEGATHERTERM_CANCEL);
            if (a.generating) {
                a.generating = false;
                ++a.generateGeneration;
                postToCall(a, LINE_GENERATE, LINEGENERATETERM_CANCEL, 0, tickCount());
            }
        }
    }
    if (state == LINECALLSTATE_IDLE && c->handles.empty())
        calls_.erase(callId);
    return true;
}

bool Service::updateCall(DWORD callId, DWORD infoStates,
                         const std::function<void(CallData&)>& change) {
    Call* c = call(callId);
    if (!c)
        return false;
    if (change)
        change(c->data);
    if (infoStates != 0)
        for (HCALL h : c->handles)
            postToCall(appCalls_.at(h), LINE_CALLINFO, infoStates, 0, 0);
    return true;
}

std::vector<DWORD> Service::deviceCalls(DWORD deviceId) const {
    std::vector<DWORD> ids;
    for (const auto& [id, c] : calls_)
        if (c.deviceId == deviceId)
            ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// ---- requests -----------------------------------------------------------------------------

DWORD Service::startRequest(HLINEAPP s, HLINE l, LPHCALL target, LPHCALL secondTarget) {
    DWORD id = nextRequest_++;
    if (static_cast<LONG>(id) <= 0) { // request IDs stay positive as LONG results
        nextRequest_ = 2;
        id = 1;
    }
    requests_[id] = PendingRequest{s, l, target, secondTarget};
    return id;
}

LONG Service::submit(DWORD deviceId, Request& request, HLINEAPP s, HLINE l, LPHCALL target,
                     LPHCALL secondTarget) {
    Device& d = devices_.at(deviceId);
    if (d.provider->info().lacks(request.op))
        return LINEERR_OPERATIONUNAVAIL;
    request.deviceId = deviceId;
    request.requestId = startRequest(s, l, target, secondTarget);
    const LONG rc = d.provider->request(request);
    if (rc < 0) {
        requests_.erase(request.requestId);
        return rc;
    }
    return static_cast<LONG>(request.requestId);
}

bool Service::completeRequest(DWORD requestId, LONG result, DWORD createdCallId,
                              DWORD secondCallId) {
    const auto it = requests_.find(requestId);
    if (it == requests_.end())
        return false;
    const PendingRequest r = it->second;
    requests_.erase(it);
    if (result == 0) {
        const auto bind = [&](LPHCALL target, DWORD callId) {
            if (!target || callId == 0)
                return;
            Line* l = line(r.line);
            Call* c = call(callId);
            if (!l || !c)
                return;
            HCALL existing = 0;
            for (HCALL h : c->handles)
                if (appCalls_.at(h).line == r.line)
                    existing = h;
            if (existing == 0)
                existing = addHandle(*c, *l, LINECALLPRIVILEGE_OWNER);
            *target = existing; // written before the reply, as callers rely on
        };
        bind(r.target, createdCallId);
        bind(r.secondTarget, secondCallId);
    }
    Message m;
    m.session = r.session;
    m.message = LINE_REPLY;
    // The reply carries the callback instance of the line the request was made on: the
    // application finds its request by that instance.
    if (const Line* rl = line(r.line))
        m.instance = rl->instance;
    m.param1 = requestId;
    m.param2 = static_cast<DWORD>(result);
    post(m);
    return true;
}

LONG Service::callRequest(HCALL handle, Request request, LPHCALL target, LPHCALL secondTarget) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const Call* c = call(a->callId);
    if (!c)
        return LINEERR_INVALCALLHANDLE;
    request.callId = a->callId;
    request.addressId = c->data.addressId;
    return submit(c->deviceId, request, a->session, a->line, target, secondTarget);
}

LONG Service::twoCallRequest(HCALL handle, HCALL other, Request request, LPHCALL target) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    AppCall* b = appCall(other);
    if (!b || b->line != a->line)
        return request.op == Operation::AddToConference || request.op == Operation::CompleteTransfer
                   ? LINEERR_INVALCONSULTCALLHANDLE
                   : LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER || b->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const Call* c = call(a->callId);
    if (!c || !call(b->callId))
        return LINEERR_INVALCALLHANDLE;
    request.callId = a->callId;
    request.otherCallId = b->callId;
    request.addressId = c->data.addressId;
    return submit(c->deviceId, request, a->session, a->line, target, nullptr);
}

LONG Service::lineRequest(HLINE handle, Request request, LPHCALL target, LPHCALL secondTarget) {
    Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    const DeviceInfo& info = devices_[l->deviceId].provider->info();
    if (request.addressId >= info.addresses.size())
        return LINEERR_INVALADDRESSID;
    return submit(l->deviceId, request, l->session, handle, target, secondTarget);
}

// ---- device events ------------------------------------------------------------------------

void Service::lineDevState(DWORD deviceId, DWORD state, DWORD param2, DWORD param3) {
    Device* d = device(deviceId);
    if (!d)
        return;
    if (state == LINEDEVSTATE_DISCONNECTED)
        d->connected = false;
    else if (state == LINEDEVSTATE_CONNECTED)
        d->connected = true;
    if (state == LINEDEVSTATE_RINGING)
        d->ringMode = param2;
    for (HLINE h : d->lines)
        if (Line* l = line(h); l && ((l->lineStates & state) || state == LINEDEVSTATE_REINIT))
            postToLine(*l, LINE_LINEDEVSTATE, state, param2, param3);
}

void Service::addressState(DWORD deviceId, DWORD addressId, DWORD state) {
    Device* d = device(deviceId);
    if (!d)
        return;
    for (HLINE h : d->lines)
        if (Line* l = line(h); l && (l->addressStates & state))
            postToLine(*l, LINE_ADDRESSSTATE, addressId, state, 0);
}

void Service::devSpecific(DWORD deviceId, DWORD param1, DWORD param2, DWORD param3) {
    Device* d = device(deviceId);
    if (!d)
        return;
    for (HLINE h : d->lines)
        if (Line* l = line(h))
            postToLine(*l, LINE_DEVSPECIFIC, param1, param2, param3);
}

void Service::closeDevice(DWORD deviceId) {
    Device* d = device(deviceId);
    if (!d)
        return;
    const std::vector<HLINE> open = d->lines;
    for (HLINE h : open)
        if (line(h))
            closeLine(h, true);
}

// ---- delivery -----------------------------------------------------------------------------

void Service::post(const Message& message) {
    Session* s = session(message.session);
    if (!s || !s->dispatcher)
        return;
    s->queue.push_back(message);
    if (!s->wakePending) {
        s->wakePending = true;
        QCoreApplication::postEvent(s->dispatcher, new WakeEvent(message.session));
    }
}

void Service::postToLine(const Line& l, DWORD message, DWORD_PTR p1, DWORD_PTR p2, DWORD_PTR p3) {
    Message m;
    m.session = l.session;
    m.line = l.handle;
    m.hDevice = l.handle;
    m.message = message;
    m.instance = l.instance;
    m.param1 = p1;
    m.param2 = p2;
    m.param3 = p3;
    post(m);
}

void Service::postToCall(AppCall& a, DWORD message, DWORD_PTR p1, DWORD_PTR p2, DWORD_PTR p3) {
    const Line* l = line(a.line);
    if (!l)
        return;
    Message m;
    m.session = a.session;
    m.line = a.line;
    m.call = a.handle;
    m.hDevice = a.handle;
    m.message = message;
    m.instance = l->instance;
    m.param1 = p1;
    m.param2 = p2;
    m.param3 = p3;
    post(m);
}

// Messages reach the callback one at a time, in order. A message is dropped when what it speaks
// of is gone by then: its session shut down, its line closed or its call handle deallocated.
// LINE_REPLY needs only the session; LINE_CLOSE is the last message of a line the provider
// closed. Before each callback a further wake-up is queued while messages remain, so that a
// callback which runs a nested event loop receives the next messages there, as on the platform.
void Service::deliverPending(HLINEAPP app) {
    {
        std::lock_guard lock(mutex);
        Session* s = session(app);
        if (!s)
            return;
        s->wakePending = false;
    }
    for (;;) {
        Message m;
        LINECALLBACK callback = nullptr;
        {
            std::lock_guard lock(mutex);
            Session* s = session(app);
            if (!s || s->queue.empty())
                return;
            m = s->queue.front();
            s->queue.pop_front();
            if (!s->queue.empty() && !s->wakePending && s->dispatcher) {
                s->wakePending = true;
                QCoreApplication::postEvent(s->dispatcher, new WakeEvent(app));
            }
            if (!deliverable(m))
                continue;
            callback = s->callback;
        }
        callback(m.hDevice, m.message, m.instance, m.param1, m.param2, m.param3);
    }
}

bool Service::deliverable(const Message& m) {
    if (m.message != LINE_REPLY && m.line != 0) {
        const auto l = lines_.find(m.line);
        if (l == lines_.end())
            return false;
        if (m.message == LINE_CLOSE) {
            if (!l->second.closedByProvider)
                return false;
            lines_.erase(l);
        } else if (l->second.closedByProvider) {
            return false;
        }
    }
    return m.call == 0 || appCalls_.count(m.call) != 0;
}

} // namespace tapi::detail
