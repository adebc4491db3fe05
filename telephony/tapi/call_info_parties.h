#pragma once

// Where the five parties of a call sit in LINECALLINFO, in the order of the
// LINECALLINFOSTATE_CALLERID ... REDIRECTINGID bits: caller, called, connected, redirection,
// redirecting. The layer fills them and the line component reads them from the same table.

#include <array>

#include "telephony/tapi/tapi_structures.h"

namespace tapi {

struct CallInfoPartyFields {
    DWORD LINECALLINFO::*flags;
    DWORD LINECALLINFO::*numberSize;
    DWORD LINECALLINFO::*numberOffset;
    DWORD LINECALLINFO::*nameSize;
    DWORD LINECALLINFO::*nameOffset;
};

inline constexpr std::array<CallInfoPartyFields, 5> CallInfoParties = {{
    {&LINECALLINFO::dwCallerIDFlags, &LINECALLINFO::dwCallerIDSize, &LINECALLINFO::dwCallerIDOffset,
     &LINECALLINFO::dwCallerIDNameSize, &LINECALLINFO::dwCallerIDNameOffset},
    {&LINECALLINFO::dwCalledIDFlags, &LINECALLINFO::dwCalledIDSize, &LINECALLINFO::dwCalledIDOffset,
     &LINECALLINFO::dwCalledIDNameSize, &LINECALLINFO::dwCalledIDNameOffset},
    {&LINECALLINFO::dwConnectedIDFlags, &LINECALLINFO::dwConnectedIDSize,
     &LINECALLINFO::dwConnectedIDOffset, &LINECALLINFO::dwConnectedIDNameSize,
     &LINECALLINFO::dwConnectedIDNameOffset},
    {&LINECALLINFO::dwRedirectionIDFlags, &LINECALLINFO::dwRedirectionIDSize,
     &LINECALLINFO::dwRedirectionIDOffset, &LINECALLINFO::dwRedirectionIDNameSize,
     &LINECALLINFO::dwRedirectionIDNameOffset},
    {&LINECALLINFO::dwRedirectingIDFlags, &LINECALLINFO::dwRedirectingIDSize,
     &LINECALLINFO::dwRedirectingIDOffset, &LINECALLINFO::dwRedirectingIDNameSize,
     &LINECALLINFO::dwRedirectingIDNameOffset},
}};

} // namespace tapi
