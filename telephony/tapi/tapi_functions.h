#pragma once

// The line functions of the telephony interface. Every function answers 0 on success or a
// negative LINEERR_ code; the asynchronous ones (marked "async") answer a positive request ID
// instead and report the final result later in a LINE_REPLY (dwParam1 the request ID, dwParam2
// 0 or the LINEERR_ code). Handles written through an LPHCALL become valid at that reply.

#include "telephony/tapi/tapi_structures.h"

// Session.
LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                    LPCSTR lpszAppName, LPDWORD lpdwNumDevs);
// Not exported by name to the linker on purpose: callers find it with GetProcAddress (below),
// as a provider configuration may leave it out.
using PFN_lineInitializeExA = LONG (*)(LPHLINEAPP lphLineApp, HINSTANCE hInstance,
                                       LINECALLBACK lpfnCallback, LPCSTR lpszFriendlyAppName,
                                       LPDWORD lpdwNumDevs, LPDWORD lpdwAPIVersion,
                                       LPLINEINITIALIZEEXPARAMS lpLineInitializeExParams);
LONG lineShutdown(HLINEAPP hLineApp);
LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                             DWORD dwAPIHighVersion, LPDWORD lpdwAPIVersion,
                             LPLINEEXTENSIONID lpExtensionID);
LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                             DWORD dwExtLowVersion, DWORD dwExtHighVersion, LPDWORD lpdwExtVersion);

// Device and address data.
LONG lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtVersion,
                    LPLINEDEVCAPS lpLineDevCaps);
LONG lineGetAddressCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAddressID, DWORD dwAPIVersion,
                        DWORD dwExtVersion, LPLINEADDRESSCAPS lpAddressCaps);
LONG lineGetLineDevStatus(HLINE hLine, LPLINEDEVSTATUS lpLineDevStatus);
LONG lineGetAddressStatus(HLINE hLine, DWORD dwAddressID, LPLINEADDRESSSTATUS lpAddressStatus);
// "comm/datamodem" (call selected) answers a HANDLE followed by the NUL-ended device name; the
// caller owns the handle and closes it with CloseHandle. Other classes answer a DWORD device ID.
LONG lineGetID(HLINE hLine, DWORD dwAddressID, HCALL hCall, DWORD dwSelect, LPVARSTRING lpDeviceID,
               LPCSTR lpszDeviceClass);

// Line.
LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion,
              DWORD dwExtVersion, DWORD_PTR dwCallbackInstance, DWORD dwPrivileges,
              DWORD dwMediaModes, const LINECALLPARAMS* lpCallParams);
LONG lineClose(HLINE hLine);
LONG lineSetStatusMessages(HLINE hLine, DWORD dwLineStates, DWORD dwAddressStates);
LONG lineGetNewCalls(HLINE hLine, DWORD dwAddressID, DWORD dwSelect, LPLINECALLLIST lpCallList);
LONG lineDeallocateCall(HCALL hCall);
LONG lineConfigDialog(DWORD dwDeviceID, HWND hwndOwner, LPCSTR lpszDeviceClass);
LONG lineTranslateDialog(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, HWND hwndOwner,
                         LPCSTR lpszAddressIn);
LONG lineTranslateAddress(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                          LPCSTR lpszAddressIn, DWORD dwCard, DWORD dwTranslateOptions,
                          LPLINETRANSLATEOUTPUT lpTranslateOutput);

// Call data.
LONG lineGetCallInfo(HCALL hCall, LPLINECALLINFO lpCallInfo);
LONG lineGetCallStatus(HCALL hCall, LPLINECALLSTATUS lpCallStatus);
LONG lineSetCallPrivilege(HCALL hCall, DWORD dwCallPrivilege);
LONG lineSetMediaMode(HCALL hCall, DWORD dwMediaModes);
LONG lineHandoff(HCALL hCall, LPCSTR lpszFileName, DWORD dwMediaMode);

// Asynchronous call control (async).
LONG lineMakeCall(HLINE hLine, LPHCALL lphCall, LPCSTR lpszDestAddress, DWORD dwCountryCode,
                  const LINECALLPARAMS* lpCallParams);
LONG lineDial(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode);
LONG lineAnswer(HCALL hCall, LPCSTR lpsUserUserInfo, DWORD dwSize);
LONG lineDrop(HCALL hCall, LPCSTR lpsUserUserInfo, DWORD dwSize);
LONG lineHold(HCALL hCall);
LONG lineUnhold(HCALL hCall);
LONG lineRedirect(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode);
LONG lineBlindTransfer(HCALL hCall, LPCSTR lpszDestAddress, DWORD dwCountryCode);
LONG linePark(HCALL hCall, DWORD dwParkMode, LPCSTR lpszDirAddress, LPVARSTRING lpNonDirAddress);
LONG lineUnpark(HLINE hLine, DWORD dwAddressID, LPHCALL lphCall, LPCSTR lpszDestAddress);
LONG linePickup(HLINE hLine, DWORD dwAddressID, LPHCALL lphCall, LPCSTR lpszDestAddress,
                LPCSTR lpszGroupID);
LONG lineSetupTransfer(HCALL hCall, LPHCALL lphConsultCall, const LINECALLPARAMS* lpCallParams);
LONG lineCompleteTransfer(HCALL hCall, HCALL hConsultCall, LPHCALL lphConfCall,
                          DWORD dwTransferMode);
LONG lineSwapHold(HCALL hActiveCall, HCALL hHeldCall);
LONG lineSetupConference(HCALL hCall, HLINE hLine, LPHCALL lphConfCall, LPHCALL lphConsultCall,
                         DWORD dwNumParties, const LINECALLPARAMS* lpCallParams);
LONG linePrepareAddToConference(HCALL hConfCall, LPHCALL lphConsultCall,
                                const LINECALLPARAMS* lpCallParams);
LONG lineAddToConference(HCALL hConfCall, HCALL hConsultCall);
LONG lineRemoveFromConference(HCALL hCall);
LONG lineForward(HLINE hLine, DWORD bAllAddresses, DWORD dwAddressID,
                 const LINEFORWARDLIST* lpForwardList, DWORD dwNumRingsNoAnswer,
                 LPHCALL lphConsultCall, const LINECALLPARAMS* lpCallParams);
LONG lineSetTerminal(HLINE hLine, DWORD dwAddressID, HCALL hCall, DWORD dwSelect,
                     DWORD dwTerminalModes, DWORD dwTerminalID, DWORD bEnable);

// Monitoring and generation (synchronous; results arrive as LINE_GATHERDIGITS, LINE_GENERATE,
// LINE_MONITORDIGITS, LINE_MONITORMEDIA and LINE_MONITORTONE). lpsDigits of lineGatherDigits
// must stay valid until LINE_GATHERDIGITS arrives; it is not NUL-ended.
LONG lineGatherDigits(HCALL hCall, DWORD dwDigitModes, LPSTR lpsDigits, DWORD dwNumDigits,
                      LPCSTR lpszTerminationDigits, DWORD dwFirstDigitTimeout,
                      DWORD dwInterDigitTimeout);
LONG lineMonitorDigits(HCALL hCall, DWORD dwDigitModes);
LONG lineMonitorMedia(HCALL hCall, DWORD dwMediaModes);
LONG lineMonitorTones(HCALL hCall, const LINEMONITORTONE* lpToneList, DWORD dwNumEntries);
LONG lineGenerateDigits(HCALL hCall, DWORD dwDigitMode, LPCSTR lpszDigits, DWORD dwDuration);
LONG lineGenerateTone(HCALL hCall, DWORD dwToneMode, DWORD dwDuration, DWORD dwNumTones,
                      const LINEGENERATETONE* lpTones);

// The library look-up that stands for loading "TAPI32.DLL". Only that name loads (any case);
// GetProcAddress knows the line functions by their names, "lineInitializeExA" included unless
// the provider configuration leaves it out. FreeLibrary answers nonzero on success.
HMODULE LoadLibraryA(LPCSTR lpLibFileName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL FreeLibrary(HMODULE hLibModule);

// Closes a handle the layer handed out (the comm handle of lineGetID). Nonzero on success.
BOOL CloseHandle(HANDLE hObject);

// The reason of the last failed lineInitialize/lineInitializeExA of this process (a scenario that
// cannot be read names the file and the place), empty after a successful one.
LPCSTR tapiLastErrorText();
