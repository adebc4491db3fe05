// The run-time look-up that stands for loading the telephony library and finding its
// functions by name.

#include <QByteArray>

#include <atomic>
#include <cstring>
#include <mutex>

#include "telephony/tapi/service.h"
#include "telephony/tapi/tapi_functions.h"

namespace tapi::detail {
LONG initializeExA(LPHLINEAPP app, HINSTANCE instance, LINECALLBACK callback, LPCSTR appName,
                   LPDWORD numDevs, LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params);
}

namespace {

// A module handle is the address of this marker; the load count keeps FreeLibrary honest.
char telephonyModule;
std::atomic<int> loadCount{0};

struct Symbol {
    const char* name;
    FARPROC address;
};

template <class F> FARPROC symbol(F f) {
    return reinterpret_cast<FARPROC>(f);
}

const Symbol Symbols[] = {
    {"lineInitializeExA", symbol(&tapi::detail::initializeExA)},
    {"lineInitialize", symbol(&lineInitialize)},
    {"lineShutdown", symbol(&lineShutdown)},
    {"lineNegotiateAPIVersion", symbol(&lineNegotiateAPIVersion)},
    {"lineNegotiateExtVersion", symbol(&lineNegotiateExtVersion)},
    {"lineGetDevCaps", symbol(&lineGetDevCaps)},
    {"lineGetAddressCaps", symbol(&lineGetAddressCaps)},
    {"lineGetLineDevStatus", symbol(&lineGetLineDevStatus)},
    {"lineGetAddressStatus", symbol(&lineGetAddressStatus)},
    {"lineGetID", symbol(&lineGetID)},
    {"lineOpen", symbol(&lineOpen)},
    {"lineClose", symbol(&lineClose)},
    {"lineSetStatusMessages", symbol(&lineSetStatusMessages)},
    {"lineGetNewCalls", symbol(&lineGetNewCalls)},
    {"lineDeallocateCall", symbol(&lineDeallocateCall)},
    {"lineConfigDialog", symbol(&lineConfigDialog)},
    {"lineTranslateDialog", symbol(&lineTranslateDialog)},
    {"lineTranslateAddress", symbol(&lineTranslateAddress)},
    {"lineGetCallInfo", symbol(&lineGetCallInfo)},
    {"lineGetCallStatus", symbol(&lineGetCallStatus)},
    {"lineSetCallPrivilege", symbol(&lineSetCallPrivilege)},
    {"lineSetMediaMode", symbol(&lineSetMediaMode)},
    {"lineHandoff", symbol(&lineHandoff)},
    {"lineMakeCall", symbol(&lineMakeCall)},
    {"lineDial", symbol(&lineDial)},
    {"lineAnswer", symbol(&lineAnswer)},
    {"lineDrop", symbol(&lineDrop)},
    {"lineHold", symbol(&lineHold)},
    {"lineUnhold", symbol(&lineUnhold)},
    {"lineRedirect", symbol(&lineRedirect)},
    {"lineBlindTransfer", symbol(&lineBlindTransfer)},
    {"linePark", symbol(&linePark)},
    {"lineUnpark", symbol(&lineUnpark)},
    {"linePickup", symbol(&linePickup)},
    {"lineSetupTransfer", symbol(&lineSetupTransfer)},
    {"lineCompleteTransfer", symbol(&lineCompleteTransfer)},
    {"lineSwapHold", symbol(&lineSwapHold)},
    {"lineSetupConference", symbol(&lineSetupConference)},
    {"linePrepareAddToConference", symbol(&linePrepareAddToConference)},
    {"lineAddToConference", symbol(&lineAddToConference)},
    {"lineRemoveFromConference", symbol(&lineRemoveFromConference)},
    {"lineForward", symbol(&lineForward)},
    {"lineSetTerminal", symbol(&lineSetTerminal)},
    {"lineGatherDigits", symbol(&lineGatherDigits)},
    {"lineMonitorDigits", symbol(&lineMonitorDigits)},
    {"lineMonitorMedia", symbol(&lineMonitorMedia)},
    {"lineMonitorTones", symbol(&lineMonitorTones)},
    {"lineGenerateDigits", symbol(&lineGenerateDigits)},
    {"lineGenerateTone", symbol(&lineGenerateTone)},
};

} // namespace

HMODULE LoadLibraryA(LPCSTR lpLibFileName) {
    if (!lpLibFileName)
        return nullptr;
    const QByteArray name = QByteArray(lpLibFileName).trimmed().toUpper();
    if (name != "TAPI32.DLL" && name != "TAPI32")
        return nullptr;
    ++loadCount;
    return &telephonyModule;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    if (hModule != &telephonyModule || loadCount.load() <= 0 || !lpProcName)
        return nullptr;
    if (std::strcmp(lpProcName, "lineInitializeExA") == 0) {
        auto& s = tapi::detail::Service::instance();
        std::lock_guard lock(s.mutex);
        if (!s.offersInitializeEx())
            return nullptr;
    }
    for (const Symbol& s : Symbols)
        if (std::strcmp(s.name, lpProcName) == 0)
            return s.address;
    return nullptr;
}

BOOL FreeLibrary(HMODULE hLibModule) {
    if (hLibModule != &telephonyModule)
        return 0;
    int count = loadCount.load();
    while (count > 0 && !loadCount.compare_exchange_weak(count, count - 1)) {
    }
    return count > 0 ? 1 : 0;
}
