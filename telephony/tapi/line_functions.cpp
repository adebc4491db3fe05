// The line functions: argument checks that need no state, then the service under its lock.

#include <QByteArray>

#include <cstring>
#include <mutex>
#include <string>

#include "telephony/tapi/service.h"
#include "telephony/tapi/tapi_functions.h"

using tapi::Operation;
using tapi::Request;
using tapi::detail::Service;

namespace {

Service& service() {
    return Service::instance();
}

#define LOCKED std::lock_guard lock_(service().mutex)

std::string text(LPCSTR s) {
    return s ? std::string(s) : std::string();
}

Request request(Operation op) {
    Request r;
    r.op = op;
    return r;
}

} // namespace

namespace tapi::detail {

LONG initializeExA(LPHLINEAPP app, HINSTANCE, LINECALLBACK callback, LPCSTR appName,
                   LPDWORD numDevs, LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params) {
    LOCKED;
    return service().initialize(app, callback, appName, numDevs, apiVersion, params, true);
}

} // namespace tapi::detail

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE, LINECALLBACK lpfnCallback, LPCSTR lpszAppName,
                    LPDWORD lpdwNumDevs) {
    LOCKED;
    return service().initialize(lphLineApp, lpfnCallback, lpszAppName, lpdwNumDevs, nullptr,
                                nullptr, false);
}

LONG lineShutdown(HLINEAPP hLineApp) {
    LOCKED;
    return service().shutdown(hLineApp);
}

LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                             DWORD dwAPIHighVersion, LPDWORD lpdwAPIVersion,
                             LPLINEEXTENSIONID lpExtensionID) {
    LOCKED;
    return service().negotiateApiVersion(hLineApp, dwDeviceID, dwAPILowVersion, dwAPIHighVersion,
                                         lpdwAPIVersion, lpExtensionID);
}

LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                             DWORD dwExtLowVersion, DWORD dwExtHighVersion,
                             LPDWORD lpdwExtVersion) {
    LOCKED;
    return service().negotiateExtVersion(hLineApp, dwDeviceID, dwAPIVersion, dwExtLowVersion,
                                         dwExtHighVersion, lpdwExtVersion);
}

LONG lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD,
                    LPLINEDEVCAPS lpLineDevCaps) {
    LOCKED;
    return service().getDevCaps(hLineApp, dwDeviceID, dwAPIVersion, lpLineDevCaps);
}

LONG lineGetAddressCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAddressID, DWORD dwAPIVersion,
                        DWORD, LPLINEADDRESSCAPS lpAddressCaps) {
    LOCKED;
    return service().getAddressCaps(hLineApp, dwDeviceID, dwAddressID, dwAPIVersion, lpAddressCaps);
}

LONG lineGetLineDevStatus(HLINE hLine, LPLINEDEVSTATUS lpLineDevStatus) {
    LOCKED;
    return service().getLineDevStatus(hLine, lpLineDevStatus);
}

LONG lineGetAddressStatus(HLINE hLine, DWORD dwAddressID, LPLINEADDRESSSTATUS lpAddressStatus) {
    LOCKED;
    return service().getAddressStatus(hLine, dwAddressID, lpAddressStatus);
}

LONG lineGetID(HLINE hLine, DWORD dwAddressID, HCALL hCall, DWORD dwSelect, LPVARSTRING lpDeviceID,
               LPCSTR lpszDeviceClass) {
    LOCKED;
    return service().getId(hLine, dwAddressID, hCall, dwSelect, lpDeviceID, lpszDeviceClass);
}

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion,
              DWORD dwExtVersion, DWORD_PTR dwCallbackInstance, DWORD dwPrivileges,
              DWORD dwMediaModes, const LINECALLPARAMS* lpCallParams) {
    LOCKED;
    return service().open(hLineApp, dwDeviceID, lphLine, dwAPIVersion, dwExtVersion,
                          dwCallbackInstance, dwPrivileges, dwMediaModes, lpCallParams);
}

LONG lineClose(HLINE hLine) {
    LOCKED;
    return service().close(hLine);
}

LONG lineSetStatusMessages(HLINE hLine, DWORD dwLineStates, DWORD dwAddressStates) {
    LOCKED;
    return service().setStatusMessages(hLine, dwLineStates, dwAddressStates);
}

LONG lineGetNewCalls(HLINE hLine, DWORD dwAddressID, DWORD dwSelect, LPLINECALLLIST lpCallList) {
    LOCKED;
    return service().getNewCalls(hLine, dwAddressID, dwSelect, lpCallList);
}

LONG lineDeallocateCall(HCALL hCall) {
    LOCKED;
    return service().deallocateCall(hCall);
}

LONG lineConfigDialog(DWORD dwDeviceID, HWND hwndOwner, LPCSTR lpszDeviceClass) {
    return service().configDialog(dwDeviceID, hwndOwner, lpszDeviceClass);
}

LONG lineTranslateDialog(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD, HWND hwndOwner,
                         LPCSTR lpszAddressIn) {
    return service().translateDialog(hLineApp, dwDeviceID, hwndOwner, lpszAddressIn);
}

LONG lineTranslateAddress(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD, LPCSTR lpszAddressIn,
                          DWORD dwCard, DWORD dwTranslateOptions,
                          LPLINETRANSLATEOUTPUT lpTranslateOutput) {
    return service().translateAddress(hLineApp, dwDeviceID, lpszAddressIn, dwCard,
                                      dwTranslateOptions, lpTranslateOutput);
}

LONG lineGetCallInfo(HCALL hCall, LPLINECALLINFO lpCallInfo) {
    LOCKED;
    return service().getCallInfo(hCall, lpCallInfo);
}

LONG lineGetCallStatus(HCALL hCall, LPLINECALLSTATUS lpCallStatus) {
    LOCKED;
    return service().getCallStatus(hCall, lpCallStatus);
}

LONG lineSetCallPrivilege(HCALL hCall, DWORD dwCallPrivilege) {
    LOCKED;
    return service().setCallPrivilege(hCall, dwCallPrivilege);
}

LONG lineSetMediaMode(HCALL hCall, DWORD dwMediaModes) {
    LOCKED;
    return service().setMediaMode(hCall, dwMediaModes);
}

LONG lineHandoff(HCALL hCall, LPCSTR lpszFileName, DWORD dwMediaMode) {
    LOCKED;
    return service().handoff(hCall, lpszFileName, dwMediaMode);
}

LONG lineMakeCall(HLINE hLine, LPHCALL lphCall, LPCSTR lpszDestAddress, DWORD dwCountryCode,
                  const LINECALLPARAMS* lpCallParams) {
    if (!lphCall)
        return LINEERR_INVALPOINTER;
    if (lpCallParams && lpCallParams->dwTotalSize < sizeof(LINECALLPARAMS))
        return LINEERR_STRUCTURETOOSMALL;
    Request r = request(Operation::MakeCall);
    r.address = text(lpszDestAddress);
    r.count = dwCountryCode;
    r.callParams = lpCallParams;
    r.addressId = lpCallParams && lpCallParams->dwAddressMode == LINEADDRESSMODE_ADDRESSID
                      ? lpCallParams->dwAddressID
                      : 0;
    LOCKED;
    return service().lineRequest(hLine, r, lphCall);
}

LONG lineDial(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode) {
    if (!lpszDestAddress)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::Dial);
    r.address = lpszDestAddress;
    r.count = dwCountryCode;
    LOCKED;
    return service().callRequest(hCall, r);
}

LONG lineAnswer(HCALL hCall, LPCSTR, DWORD) {
    LOCKED;
    return service().callRequest(hCall, request(Operation::Answer));
}

LONG lineDrop(HCALL hCall, LPCSTR, DWORD) {
    LOCKED;
    return service().callRequest(hCall, request(Operation::Drop));
}

LONG lineHold(HCALL hCall) {
    LOCKED;
    return service().callRequest(hCall, request(Operation::Hold));
}

LONG lineUnhold(HCALL hCall) {
    LOCKED;
    return service().callRequest(hCall, request(Operation::Unhold));
}

LONG lineRedirect(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode) {
    if (!lpszDestAddress)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::Redirect);
    r.address = lpszDestAddress;
    r.count = dwCountryCode;
    LOCKED;
    return service().callRequest(hCall, r);
}

LONG lineBlindTransfer(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode) {
    if (!lpszDestAddress)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::BlindTransfer);
    r.address = lpszDestAddress;
    r.count = dwCountryCode;
    LOCKED;
    return service().callRequest(hCall, r);
}

LONG linePark(HCALL hCall, DWORD dwParkMode, LPCSTR lpszDirAddress, LPVARSTRING lpNonDirAddress) {
    Request r = request(Operation::Park);
    r.mode = dwParkMode;
    if (dwParkMode == LINEPARKMODE_DIRECTED) {
        if (!lpszDirAddress)
            return LINEERR_INVALPOINTER;
        r.address = lpszDirAddress;
    } else if (dwParkMode == LINEPARKMODE_NONDIRECTED) {
        if (!lpNonDirAddress)
            return LINEERR_INVALPOINTER;
        if (lpNonDirAddress->dwTotalSize < sizeof(VARSTRING))
            return LINEERR_STRUCTURETOOSMALL;
        r.nonDirAddress = lpNonDirAddress;
    } else {
        return LINEERR_INVALPARKMODE;
    }
    LOCKED;
    return service().callRequest(hCall, r);
}

LONG lineUnpark(HLINE hLine, DWORD dwAddressID, LPHCALL lphCall, LPCSTR lpszDestAddress) {
    if (!lphCall || !lpszDestAddress)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::Unpark);
    r.addressId = dwAddressID;
    r.address = lpszDestAddress;
    LOCKED;
    return service().lineRequest(hLine, r, lphCall);
}

LONG linePickup(HLINE hLine, DWORD dwAddressID, LPHCALL lphCall, LPCSTR lpszDestAddress,
                LPCSTR lpszGroupID) {
    if (!lphCall)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::Pickup);
    r.addressId = dwAddressID;
    r.address = text(lpszDestAddress);
    r.extra = text(lpszGroupID);
    LOCKED;
    return service().lineRequest(hLine, r, lphCall);
}

LONG lineSetupTransfer(HCALL hCall, LPHCALL lphConsultCall, const LINECALLPARAMS* lpCallParams) {
    if (!lphConsultCall)
        return LINEERR_INVALPOINTER;
    if (lpCallParams && lpCallParams->dwTotalSize < sizeof(LINECALLPARAMS))
        return LINEERR_STRUCTURETOOSMALL;
    Request r = request(Operation::SetupTransfer);
    r.callParams = lpCallParams;
    LOCKED;
    return service().callRequest(hCall, r, lphConsultCall);
}

LONG lineCompleteTransfer(HCALL hCall, HCALL hConsultCall, LPHCALL lphConfCall,
                          DWORD dwTransferMode) {
    if (dwTransferMode != LINETRANSFERMODE_TRANSFER &&
        dwTransferMode != LINETRANSFERMODE_CONFERENCE)
        return LINEERR_INVALTRANSFERMODE;
    if (dwTransferMode == LINETRANSFERMODE_CONFERENCE && !lphConfCall)
        return LINEERR_INVALPOINTER;
    Request r = request(Operation::CompleteTransfer);
    r.mode = dwTransferMode;
    LOCKED;
    return service().twoCallRequest(hCall, hConsultCall, r,
                                    dwTransferMode == LINETRANSFERMODE_CONFERENCE ? lphConfCall
                                                                                  : nullptr);
}

LONG lineSwapHold(HCALL hActiveCall, HCALL hHeldCall) {
    LOCKED;
    return service().twoCallRequest(hActiveCall, hHeldCall, request(Operation::SwapHold));
}

LONG lineSetupConference(HCALL hCall, HLINE hLine, LPHCALL lphConfCall, LPHCALL lphConsultCall,
                         DWORD dwNumParties, const LINECALLPARAMS* lpCallParams) {
    if (!lphConfCall || !lphConsultCall)
        return LINEERR_INVALPOINTER;
    if (lpCallParams && lpCallParams->dwTotalSize < sizeof(LINECALLPARAMS))
        return LINEERR_STRUCTURETOOSMALL;
    Request r = request(Operation::SetupConference);
    r.count = dwNumParties;
    r.callParams = lpCallParams;
    LOCKED;
    if (hCall != 0)
        return service().callRequest(hCall, r, lphConfCall, lphConsultCall);
    // Without a call the conference starts from scratch on the line.
    return service().lineRequest(hLine, r, lphConfCall, lphConsultCall);
}

LONG linePrepareAddToConference(HCALL hConfCall, LPHCALL lphConsultCall,
                                const LINECALLPARAMS* lpCallParams) {
    if (!lphConsultCall)
        return LINEERR_INVALPOINTER;
    if (lpCallParams && lpCallParams->dwTotalSize < sizeof(LINECALLPARAMS))
        return LINEERR_STRUCTURETOOSMALL;
    Request r = request(Operation::PrepareAddToConference);
    r.callParams = lpCallParams;
    LOCKED;
    const LONG rc = service().callRequest(hConfCall, r, lphConsultCall);
    return rc == LINEERR_INVALCALLHANDLE ? LINEERR_INVALCONFCALLHANDLE : rc;
}

LONG lineAddToConference(HCALL hConfCall, HCALL hConsultCall) {
    LOCKED;
    const LONG rc =
        service().twoCallRequest(hConfCall, hConsultCall, request(Operation::AddToConference));
    return rc == LINEERR_INVALCALLHANDLE ? LINEERR_INVALCONFCALLHANDLE : rc;
}

LONG lineRemoveFromConference(HCALL hCall) {
    LOCKED;
    return service().callRequest(hCall, request(Operation::RemoveFromConference));
}

LONG lineForward(HLINE hLine, DWORD bAllAddresses, DWORD dwAddressID,
                 const LINEFORWARDLIST* lpForwardList, DWORD dwNumRingsNoAnswer,
                 LPHCALL lphConsultCall, const LINECALLPARAMS*) {
    LOCKED;
    return service().forward(hLine, bAllAddresses, dwAddressID, lpForwardList, dwNumRingsNoAnswer,
                             lphConsultCall);
}

LONG lineSetTerminal(HLINE hLine, DWORD dwAddressID, HCALL hCall, DWORD dwSelect,
                     DWORD dwTerminalModes, DWORD dwTerminalID, DWORD bEnable) {
    LOCKED;
    return service().setTerminal(hLine, dwAddressID, hCall, dwSelect, dwTerminalModes, dwTerminalID,
                                 bEnable);
}

LONG lineGatherDigits(HCALL hCall, DWORD dwDigitModes, LPSTR lpsDigits, DWORD dwNumDigits,
                      LPCSTR lpszTerminationDigits, DWORD dwFirstDigitTimeout,
                      DWORD dwInterDigitTimeout) {
    LOCKED;
    return service().gatherDigits(hCall, dwDigitModes, lpsDigits, dwNumDigits,
                                  lpszTerminationDigits, dwFirstDigitTimeout, dwInterDigitTimeout);
}

LONG lineMonitorDigits(HCALL hCall, DWORD dwDigitModes) {
    LOCKED;
    return service().monitorDigits(hCall, dwDigitModes);
}

LONG lineMonitorMedia(HCALL hCall, DWORD dwMediaModes) {
    LOCKED;
    return service().monitorMedia(hCall, dwMediaModes);
}

LONG lineMonitorTones(HCALL hCall, const LINEMONITORTONE* lpToneList, DWORD dwNumEntries) {
    LOCKED;
    return service().monitorTones(hCall, lpToneList, dwNumEntries);
}

LONG lineGenerateDigits(HCALL hCall, DWORD dwDigitMode, LPCSTR lpszDigits, DWORD dwDuration) {
    LOCKED;
    return service().generateDigits(hCall, dwDigitMode, lpszDigits, dwDuration);
}

LONG lineGenerateTone(HCALL hCall, DWORD dwToneMode, DWORD dwDuration, DWORD dwNumTones,
                      const LINEGENERATETONE* lpTones) {
    LOCKED;
    return service().generateTone(hCall, dwToneMode, dwDuration, dwNumTones, lpTones);
}

BOOL CloseHandle(HANDLE hObject) {
    return tapi::detail::closeHandedOutHandle(hObject) ? 1 : 0;
}

LPCSTR tapiLastErrorText() {
    // Kept per thread so the pointer stays valid while the caller reads it.
    thread_local std::string copy;
    LOCKED;
    copy = service().lastError;
    return copy.c_str();
}
