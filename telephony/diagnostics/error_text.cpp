#include "telephony/diagnostics/error_text.h"

#include <array>
#include <string_view>

namespace {

// The LINEERR_ names from 0x80000001 on, by code. "~" marks a literal text, given without it.
constexpr std::array<std::string_view, 0x56> lineErrorTable = {"ALLOCATED",
                                                               "BADDEVICEID",
                                                               "BEARERMODEUNAVAIL",
                                                               "~Unknown",
                                                               "CALLUNAVAIL",
                                                               "COMPLETIONOVERRUN",
                                                               "CONFERENCEFULL",
                                                               "DIALBILLING",
                                                               "DIALDIALTONE",
                                                               "DIALPROMPT",
                                                               "DIALQUIET",
                                                               "INCOMPATIBLEAPIVERSION",
                                                               "INCOMPATIBLEEXTVERSION",
                                                               "INIFILECORRUPT",
                                                               "INUSE",
                                                               "INVALADDRESS",
                                                               "INVALADDRESSID",
                                                               "INVALADDRESSMODE",
                                                               "INVALADDRESSSTATE",
                                                               "INVALAPPHANDLE",
                                                               "INVALAPPNAME",
                                                               "INVALBEARERMODE",
                                                               "INVALCALLCOMPLMODE",
                                                               "INVALCALLHANDLE",
                                                               "INVALCALLPARAMS",
                                                               "INVALCALLPRIVILEGE",
                                                               "INVALCALLSELECT",
                                                               "INVALCALLSTATE",
                                                               "INVALCALLSTATELIST",
                                                               "INVALCARD",
                                                               "INVALCOMPLETIONID",
                                                               "INVALCONFCALLHANDLE",
                                                               "INVALCONSULTCALLHANDLE",
                                                               "INVALCOUNTRYCODE",
                                                               "INVALDEVICECLASS",
                                                               "INVALDEVICEHANDLE",
                                                               "INVALDIALPARAMS",
                                                               "INVALDIGITLIST",
                                                               "INVALDIGITMODE",
                                                               "INVALDIGITS",
                                                               "INVALEXTVERSION",
                                                               "INVALGROUPID",
                                                               "INVALLINEHANDLE",
                                                               "INVALLINESTATE",
                                                               "INVALLOCATION",
                                                               "INVALMEDIALIST",
                                                               "INVALMEDIAMODE",
                                                               "INVALMESSAGEID",
                                                               "~Unknown",
                                                               "INVALPARAM",
                                                               "INVALPARKID",
                                                               "INVALPARKMODE",
                                                               "INVALPOINTER",
                                                               "INVALPRIVSELECT",
                                                               "INVALRATE",
                                                               "INVALREQUESTMODE",
                                                               "INVALTERMINALID",
                                                               "INVALTERMINALMODE",
                                                               "INVALTIMEOUT",
                                                               "INVALTONE",
                                                               "INVALTONELIST",
                                                               "INVALTONEMODE",
                                                               "INVALTRANSFERMODE",
                                                               "LINEMAPPERFAILED",
                                                               "NOCONFERENCE",
                                                               "NODEVICE",
                                                               "NODRIVER",
                                                               "NOMEM",
                                                               "NOREQUEST",
                                                               "NOTOWNER",
                                                               "NOTREGISTERED",
                                                               "OPERATIONFAILED",
                                                               "OPERATIONUNAVAIL",
                                                               "RATEUNAVAIL",
                                                               "RESOURCEUNAVAIL",
                                                               "REQUESTOVERRUN",
                                                               "STRUCTURETOOSMALL",
                                                               "TARGETNOTFOUND",
                                                               "TARGETSELF",
                                                               "UNINITIALIZED",
                                                               "USERUSERINFOTOOBIG",
                                                               "REINIT",
                                                               "ADDRESSBLOCKED",
                                                               "BILLINGREJECTED",
                                                               "INVALFEATURE",
                                                               "NOMULTIPLEINSTANCE"};

QString FromEntry(std::string_view entry) {
    if (entry.starts_with('~'))
        return QString::fromLatin1(entry.substr(1));
    return QStringLiteral("LINEERR_") + QString::fromLatin1(entry);
}

} // namespace

QString ErrorText(int32_t code) {
    const auto raw = static_cast<uint32_t>(code);
    if (raw >= 0x80000001u && raw <= 0x80000056u)
        return FromEntry(lineErrorTable[raw - 0x80000001u]);
    switch (code) {
    case 0:
        return {};
    case -2:
        return FromEntry("~LINE_ERROR_DEVICE");
    case -3:
        return FromEntry("~TAPIREPLYTIMEOUT");
    case -985:
        return FromEntry("~Not 100% TAPI compliant");
    default:
        return FromEntry("~Unknown");
    }
}
