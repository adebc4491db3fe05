// vorbel-tapi-trace SCENARIO [DEVICE]: opens a line device of the scenario as owner and monitor
// and prints every message the layer delivers, one line each, until the scenario has played.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "telephony/tapi/tapi.h"
#include "telephony/tapi/tapisim.h"

namespace {

constexpr const char* MessageNames[] = {
    "LINE_ADDRESSSTATE",  "LINE_CALLINFO",     "LINE_CALLSTATE",
    "LINE_CLOSE",         "LINE_DEVSPECIFIC",  "LINE_DEVSPECIFICFEATURE",
    "LINE_GATHERDIGITS",  "LINE_GENERATE",     "LINE_LINEDEVSTATE",
    "LINE_MONITORDIGITS", "LINE_MONITORMEDIA", "LINE_MONITORTONE",
    "LINE_REPLY",         "LINE_REQUEST",      "PHONE_BUTTON",
    "PHONE_CLOSE",        "PHONE_DEVSPECIFIC", "PHONE_REPLY",
    "PHONE_STATE",        "LINE_CREATE",       "PHONE_CREATE",
    "LINE_AGENTSPECIFIC", "LINE_AGENTSTATUS",  "LINE_APPNEWCALL",
    "LINE_PROXYREQUEST",  "LINE_REMOVE",       "PHONE_REMOVE"};

constexpr const char* CallStateNames[] = {
    "IDLE",           "OFFERING",         "ACCEPTED",     "DIALTONE",   "DIALING", "RINGBACK",
    "BUSY",           "SPECIALINFO",      "CONNECTED",    "PROCEEDING", "ONHOLD",  "CONFERENCED",
    "ONHOLDPENDCONF", "ONHOLDPENDTRANSF", "DISCONNECTED", "UNKNOWN"};

constexpr const char* DevStateNames[] = {
    "OTHER",      "RINGING",      "CONNECTED",       "DISCONNECTED", "MSGWAITON",
    "MSGWAITOFF", "INSERVICE",    "OUTOFSERVICE",    "MAINTENANCE",  "OPEN",
    "CLOSE",      "NUMCALLS",     "NUMCOMPLETIONS",  "TERMINALS",    "ROAMMODE",
    "BATTERY",    "SIGNAL",       "DEVSPECIFIC",     "REINIT",       "LOCK",
    "CAPSCHANGE", "CONFIGCHANGE", "TRANSLATECHANGE", "COMPLCANCEL",  "REMOVED"};

std::string bitNames(DWORD value, const char* const* names, int count, const char* prefix) {
    std::string out;
    for (int i = 0; i < count; ++i)
        if (value & (DWORD{1} << i)) {
            if (!out.empty())
                out += '|';
            out += prefix;
            out += names[i];
        }
    return out;
}

struct Trace {
    QElapsedTimer clock;
    qint64 lastMessage = 0;
    bool closed = false;
};

Trace trace;

std::string text(const std::vector<char>& buffer, DWORD size, DWORD offset) {
    if (size == 0 || static_cast<std::size_t>(offset) + size > buffer.size())
        return {};
    return std::string(buffer.data() + offset, strnlen(buffer.data() + offset, size));
}

std::string callerOf(HCALL call) {
    std::vector<char> buffer(sizeof(LINECALLINFO) + 4096);
    for (int attempt = 0; attempt < 8; ++attempt) {
        auto* info = reinterpret_cast<LINECALLINFO*>(buffer.data());
        info->dwTotalSize = static_cast<DWORD>(buffer.size());
        if (lineGetCallInfo(call, info) != 0)
            return {};
        if (info->dwNeededSize <= info->dwTotalSize) {
            char flags[16];
            std::snprintf(flags, sizeof flags, "%08X", info->dwCallerIDFlags);
            return std::string(" caller='") +
                   text(buffer, info->dwCallerIDSize, info->dwCallerIDOffset) + "' name='" +
                   text(buffer, info->dwCallerIDNameSize, info->dwCallerIDNameOffset) +
                   "' flags=" + flags;
        }
        buffer.resize(info->dwNeededSize);
    }
    return {};
}

void callback(DWORD hDevice, DWORD message, DWORD_PTR, DWORD_PTR p1, DWORD_PTR p2, DWORD_PTR p3) {
    trace.lastMessage = trace.clock.elapsed();
    const char* name = message < std::size(MessageNames) ? MessageNames[message] : "???";
    std::string decoded;
    if (message == LINE_CALLSTATE)
        decoded = bitNames(static_cast<DWORD>(p1), CallStateNames, 16, "LINECALLSTATE_");
    else if (message == LINE_LINEDEVSTATE)
        decoded = bitNames(static_cast<DWORD>(p1), DevStateNames, 25, "LINEDEVSTATE_");
    else if (message == LINE_CALLINFO && (p1 & LINECALLINFOSTATE_CALLERID))
        decoded = callerOf(hDevice);
    else if (message == LINE_APPNEWCALL)
        decoded = callerOf(static_cast<HCALL>(p2));
    else if (message == LINE_MONITORDIGITS)
        decoded = std::string("digit '") + static_cast<char>(p1) + "'";
    std::printf("%6lld %-20s %08X %08X %08X %08X %s\n", static_cast<long long>(trace.lastMessage),
                name, hDevice, static_cast<DWORD>(p1), static_cast<DWORD>(p2),
                static_cast<DWORD>(p3), decoded.c_str());
    std::fflush(stdout);
    if (message == LINE_CALLSTATE && p1 == LINECALLSTATE_IDLE)
        lineDeallocateCall(hDevice);
    if (message == LINE_CLOSE)
        trace.closed = true;
}

int fail(const char* what, LONG code = 0) {
    if (code != 0)
        std::fprintf(stderr, "vorbel-tapi-trace: %s (error %08X)\n", what,
                     static_cast<DWORD>(code));
    else
        std::fprintf(stderr, "vorbel-tapi-trace: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: vorbel-tapi-trace SCENARIO [DEVICE]\n"
                             "  SCENARIO  a simulator scenario (JSON)\n"
                             "  DEVICE    device number or name (default 0)\n");
        return 2;
    }
    qputenv("VORBEL_TAPI_SIM", argv[1]);
    QCoreApplication app(argc, argv);
    trace.clock.start();

    HMODULE module = LoadLibraryA("TAPI32.DLL");
    auto initializeEx = reinterpret_cast<PFN_lineInitializeExA>(
        module ? GetProcAddress(module, "lineInitializeExA") : nullptr);
    HLINEAPP session = 0;
    DWORD numDevs = 0;
    LONG rc = 0;
    if (initializeEx) {
        DWORD version = TAPI_VERSION2_2;
        LINEINITIALIZEEXPARAMS params{};
        params.dwTotalSize = sizeof params;
        params.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
        rc = initializeEx(&session, nullptr, &callback, "vorbel-tapi-trace", &numDevs, &version,
                          &params);
    } else {
        std::printf("# lineInitializeExA not offered; using lineInitialize\n");
        rc = lineInitialize(&session, nullptr, &callback, "vorbel-tapi-trace", &numDevs);
    }
    if (rc != 0) {
        const std::string why = tapiLastErrorText();
        return fail(why.empty() ? "cannot initialise the telephony session" : why.c_str(), rc);
    }

    // The device: a number, or the name of a device.
    DWORD device = 0;
    const std::string wanted = argc == 3 ? argv[2] : "0";
    bool numeric = !wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos;
    std::vector<char> caps(sizeof(LINEDEVCAPS) + 4096);
    DWORD version = 0;
    bool found = false;
    for (DWORD i = 0; i < numDevs && !found; ++i) {
        LINEEXTENSIONID ext{};
        if (lineNegotiateAPIVersion(session, i, TAPI_VERSION1_4, TAPI_VERSION2_2, &version, &ext))
            continue;
        auto* dc = reinterpret_cast<LINEDEVCAPS*>(caps.data());
        dc->dwTotalSize = static_cast<DWORD>(caps.size());
        if (lineGetDevCaps(session, i, version, 0, dc) != 0)
            continue;
        const std::string name = text(caps, dc->dwLineNameSize, dc->dwLineNameOffset);
        if (numeric ? std::to_string(i) == wanted : name == wanted) {
            device = i;
            found = true;
        }
    }
    if (!found) {
        lineShutdown(session);
        return fail(numDevs == 0 ? "the scenario has no line devices"
                                 : "no such device (or its version negotiation fails)");
    }
    const auto* dc = reinterpret_cast<LINEDEVCAPS*>(caps.data());
    std::printf("# device %u '%s', %u address(es), media modes %08X\n", device,
                text(caps, dc->dwLineNameSize, dc->dwLineNameOffset).c_str(), dc->dwNumAddresses,
                dc->dwMediaModes);
    const DWORD lineStates = dc->dwLineStates;
    HLINE line = 0;
    rc = lineOpen(session, device, &line, version, 0, 0,
                  LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR, dc->dwMediaModes, nullptr);
    if (rc != 0) {
        lineShutdown(session);
        return fail("cannot open the device", rc);
    }
    lineSetStatusMessages(line, lineStates, 0);
    std::vector<char> acaps(sizeof(LINEADDRESSCAPS) + 4096);
    auto* ac = reinterpret_cast<LINEADDRESSCAPS*>(acaps.data());
    ac->dwTotalSize = static_cast<DWORD>(acaps.size());
    if (lineGetAddressCaps(session, device, 0, version, 0, ac) == 0)
        lineSetStatusMessages(line, lineStates, ac->dwAddressStates);

    // Done once the timeline has played and the messages have stopped for a moment.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        const qint64 quiet = trace.clock.elapsed() - trace.lastMessage;
        if (trace.closed || (tapisim::timelineFinished(device) && quiet > 300))
            app.quit();
    });
    poll.start(50);
    app.exec();
    if (!trace.closed)
        lineClose(line);
    lineShutdown(session);
    if (module)
        FreeLibrary(module);
    return 0;
}
