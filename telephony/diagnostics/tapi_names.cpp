#include "telephony/diagnostics/tapi_names.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#include "telephony/tapi/tapi_constants.h"

namespace {

using namespace std::string_view_literals;

// Number of single bits from first to last, both included.
constexpr std::size_t BitSpan(uint32_t first, uint32_t last) {
    return static_cast<std::size_t>(std::countr_zero(last) - std::countr_zero(first) + 1);
}

QString Named(const char* prefix, std::string_view name) {
    return QString::fromLatin1(prefix) + QString::fromLatin1(name);
}

// A flag family: names[i] stands at first << i; an empty name leaves that bit unnamed.
template <std::size_t N>
QString FlagName(const char* prefix, uint32_t first, const std::array<std::string_view, N>& names,
                 uint32_t value) {
    if (std::has_single_bit(value) && value >= first) {
        const auto index =
            static_cast<std::size_t>(std::countr_zero(value) - std::countr_zero(first));
        if (index < N && !names[index].empty())
            return Named(prefix, names[index]);
    }
    return Named(prefix, "???");
}

// A family of plain values: names[i] stands at first + i.
template <std::size_t N>
QString ValueName(const char* prefix, uint32_t first, const std::array<std::string_view, N>& names,
                  uint32_t value) {
    if (value >= first && value - first < N)
        return Named(prefix, names[value - first]);
    return Named(prefix, "???");
}

constexpr std::array bearerModes = {"VOICE"sv,       "SPEECH"sv,        "MULTIUSE"sv,
                                    "DATA"sv,        "ALTSPEECHDATA"sv, "NONCALLSIGNALING"sv,
                                    "PASSTHROUGH"sv, "RESTRICTEDDATA"sv};
static_assert(bearerModes.size() == BitSpan(0x1, 0x80));

constexpr std::array toneModes = {"CUSTOM"sv, "RINGBACK"sv, "BUSY"sv, "BEEP"sv, "BILLING"sv};
static_assert(toneModes.size() == BitSpan(0x1, 0x10));

constexpr std::array addressCapFlags = {
    "FWDNUMRINGS"sv,     "PICKUPGROUPID"sv,  "SECURE"sv,         "BLOCKIDDEFAULT"sv,
    "BLOCKIDOVERRIDE"sv, "DIALED"sv,         "ORIGOFFHOOK"sv,    "DESTOFFHOOK"sv,
    "FWDCONSULT"sv,      "SETUPCONFNULL"sv,  "AUTORECONNECT"sv,  "COMPLETIONID"sv,
    "TRANSFERHELD"sv,    "TRANSFERMAKE"sv,   "CONFERENCEHELD"sv, "CONFERENCEMAKE"sv,
    "PARTIALDIAL"sv,     "FWDSTATUSVALID"sv, "FWDINTEXTADDR"sv,  "FWDBUSYNAADDR"sv,
    "ACCEPTTOALERT"sv,   "CONFDROP"sv,       "PICKUPCALLWAIT"sv, "PREDICTIVEDIALER"sv,
    "QUEUE"sv,           "ROUTEPOINT"sv,     "HOLDMAKESNEW"sv,   "NOINTERNALCALLS"sv,
    "NOEXTERNALCALLS"sv, "SETCALLINGID"sv,   "ACDGROUP"sv};
static_assert(addressCapFlags.size() == BitSpan(0x1, 0x40000000));

constexpr std::array partyIDFlags = {"BLOCKED"sv, "OUTOFAREA"sv, "NAME"sv,   "ADDRESS"sv,
                                     "PARTIAL"sv, "UNKNOWN"sv,   "UNAVAIL"sv};
static_assert(partyIDFlags.size() == BitSpan(0x1, 0x40));

constexpr std::array callInfoStates = {
    "OTHER"sv,        "DEVSPECIFIC"sv,  "BEARERMODE"sv,    "RATE"sv,          "MEDIAMODE"sv,
    "APPSPECIFIC"sv,  "CALLID"sv,       "RELATEDCALLID"sv, "ORIGIN"sv,        "REASON"sv,
    "COMPLETIONID"sv, "NUMOWNERINCR"sv, "NUMOWNERDECR"sv,  "NUMMONITORS"sv,   "TRUNK"sv,
    "CALLERID"sv,     "CALLEDID"sv,     "CONNECTEDID"sv,   "REDIRECTIONID"sv, "REDIRECTINGID"sv,
    "DISPLAY"sv,      "USERUSERINFO"sv, "HIGHLEVELCOMP"sv, "LOWLEVELCOMP"sv,  "CHARGINGINFO"sv,
    "TERMINAL"sv,     "DIALPARAMS"sv,   "MONITORMODES"sv,  "TREATMENT"sv,     "QOS"sv,
    "CALLDATA"sv};
static_assert(callInfoStates.size() == BitSpan(0x1, 0x40000000));

constexpr std::array callStates = {
    "IDLE"sv,           "OFFERING"sv,         "ACCEPTED"sv,     "DIALTONE"sv,
    "DIALING"sv,        "RINGBACK"sv,         "BUSY"sv,         "SPECIALINFO"sv,
    "CONNECTED"sv,      "PROCEEDING"sv,       "ONHOLD"sv,       "CONFERENCED"sv,
    "ONHOLDPENDCONF"sv, "ONHOLDPENDTRANSF"sv, "DISCONNECTED"sv, "UNKNOWN"sv};
static_assert(callStates.size() == BitSpan(0x1, 0x8000));

constexpr std::array callFeatures = {"ACCEPT"sv,
                                     "ADDTOCONF"sv,
                                     "ANSWER"sv,
                                     "BLINDTRANSFER"sv,
                                     "COMPLETECALL"sv,
                                     "COMPLETETRANSF"sv,
                                     "DIAL"sv,
                                     "DROP"sv,
                                     "GATHERDIGITS"sv,
                                     "GENERATEDIGITS"sv,
                                     "GENERATETONE"sv,
                                     "HOLD"sv,
                                     "MONITORDIGITS"sv,
                                     "MONITORMEDIA"sv,
                                     "MONITORTONES"sv,
                                     "PARK"sv,
                                     "PREPAREADDCONF"sv,
                                     "REDIRECT"sv,
                                     "REMOVEFROMCONF"sv,
                                     "SECURECALL"sv,
                                     "SENDUSERUSER"sv,
                                     "SETCALLPARAMS"sv,
                                     "SETMEDIACONTROL"sv,
                                     "SETTERMINAL"sv,
                                     "SETUPCONF"sv,
                                     "SETUPTRANSFER"sv,
                                     "SWAPHOLD"sv,
                                     "UNHOLD"sv,
                                     "RELEASEUSERUSERINFO"sv,
                                     "SETTREATMENT"sv,
                                     "SETQOS"sv,
                                     "SETCALLDATA"sv};
static_assert(callFeatures.size() == BitSpan(0x1, 0x80000000));

constexpr std::array callFeatures2 = {"NOHOLDCONFERENCE"sv, "ONESTEPTRANSFER"sv, "COMPLCAMPON"sv,
                                      "COMPLCALLBACK"sv,    "COMPLINTRUDE"sv,    "COMPLMESSAGE"sv,
                                      "TRANSFERNORM"sv,     "TRANSFERCONF"sv,    "PARKDIRECT"sv,
                                      "PARKNONDIRECT"sv};
static_assert(callFeatures2.size() == BitSpan(0x1, 0x200));

constexpr std::array busyModes = {"STATION"sv, "TRUNK"sv, "UNKNOWN"sv, "UNAVAIL"sv};
static_assert(busyModes.size() == BitSpan(0x1, 0x8));

constexpr std::array dialToneModes = {"NORMAL"sv,   "SPECIAL"sv, "INTERNAL"sv,
                                      "EXTERNAL"sv, "UNKNOWN"sv, "UNAVAIL"sv};
static_assert(dialToneModes.size() == BitSpan(0x1, 0x20));

constexpr std::array disconnectModes = {
    "NORMAL"sv,       "UNKNOWN"sv,    "REJECT"sv,     "PICKUP"sv,        "FORWARDED"sv,
    "BUSY"sv,         "NOANSWER"sv,   "BADADDRESS"sv, "UNREACHABLE"sv,   "CONGESTION"sv,
    "INCOMPATIBLE"sv, "UNAVAIL"sv,    "NODIALTONE"sv, "NUMBERCHANGED"sv, "OUTOFORDER"sv,
    "TEMPFAILURE"sv,  "QOSUNAVAIL"sv, "BLOCKED"sv,    "DONOTDISTURB"sv,  "CANCELLED"sv};
static_assert(disconnectModes.size() == BitSpan(0x1, 0x80000));

constexpr std::array specialInfos = {"NOCIRCUIT"sv, "CUSTIRREG"sv, "REORDER"sv, "UNKNOWN"sv,
                                     "UNAVAIL"sv};
static_assert(specialInfos.size() == BitSpan(0x1, 0x10));

// 0x8 has no name.
constexpr std::array callOrigins = {"OUTBOUND"sv, "INTERNAL"sv, "EXTERNAL"sv,   ""sv,
                                    "UNKNOWN"sv,  "UNAVAIL"sv,  "CONFERENCE"sv, "INBOUND"sv};
static_assert(callOrigins.size() == BitSpan(0x1, 0x80));

constexpr std::array callReasons = {"DIRECT"sv,   "FWDBUSY"sv,  "FWDNOANSWER"sv, "FWDUNCOND"sv,
                                    "PICKUP"sv,   "UNPARK"sv,   "REDIRECT"sv,    "CALLCOMPLETION"sv,
                                    "TRANSFER"sv, "REMINDER"sv, "UNKNOWN"sv,     "UNAVAIL"sv,
                                    "INTRUDE"sv,  "PARKED"sv,   "CAMPEDON"sv,    "ROUTEREQUEST"sv};
static_assert(callReasons.size() == BitSpan(0x1, 0x8000));

// Starts at 0x2: 0x1 has no name.
constexpr std::array mediaModes = {
    "UNKNOWN"sv, "INTERACTIVEVOICE"sv, "AUTOMATEDVOICE"sv, "DATAMODEM"sv, "G3FAX"sv, "TDD"sv,
    "G4FAX"sv,   "DIGITALDATA"sv,      "TELETEX"sv,        "VIDEOTEX"sv,  "TELEX"sv, "MIXED"sv,
    "ADSI"sv,    "VOICEVIEW"sv,        "VIDEO"sv};
static_assert(mediaModes.size() == BitSpan(0x2, 0x8000));

constexpr std::array termDevs = {"PHONE"sv, "HEADSET"sv, "SPEAKER"sv};
static_assert(termDevs.size() == BitSpan(0x1, 0x4));

constexpr std::array termModes = {"BUTTONS"sv,       "LAMPS"sv,        "DISPLAY"sv,
                                  "RINGER"sv,        "HOOKSWITCH"sv,   "MEDIATOLINE"sv,
                                  "MEDIAFROMLINE"sv, "MEDIABIDIRECT"sv};
static_assert(termModes.size() == BitSpan(0x1, 0x80));

constexpr std::array termSharings = {"PRIVATE"sv, "SHAREDEXCL"sv, "SHAREDCONF"sv};
static_assert(termSharings.size() == BitSpan(0x1, 0x4));

constexpr std::array addressStates = {"OTHER"sv,    "DEVSPECIFIC"sv, "INUSEZERO"sv,
                                      "INUSEONE"sv, "INUSEMANY"sv,   "NUMCALLS"sv,
                                      "FORWARD"sv,  "TERMINALS"sv,   "CAPSCHANGE"sv};
static_assert(addressStates.size() == BitSpan(0x1, 0x100));

constexpr std::array devCapFlags = {
    "CROSSADDRCONF"sv,   "HIGHLEVCOMP"sv, "LOWLEVCOMP"sv,      "MEDIACONTROL"sv,  "MULTIPLEADDR"sv,
    "CLOSEDROP"sv,       "DIALBILLING"sv, "DIALQUIET"sv,       "DIALDIALTONE"sv,  "MSP"sv,
    "PARTICIPANTINFO"sv, "CALLHUB"sv,     "CALLHUBTRACKING"sv, "PRIVATEOBJECTS"sv};
static_assert(devCapFlags.size() == BitSpan(0x1, 0x2000));

constexpr std::array lineDevStates = {
    "OTHER"sv,      "RINGING"sv,      "CONNECTED"sv,       "DISCONNECTED"sv, "MSGWAITON"sv,
    "MSGWAITOFF"sv, "INSERVICE"sv,    "OUTOFSERVICE"sv,    "MAINTENANCE"sv,  "OPEN"sv,
    "CLOSE"sv,      "NUMCALLS"sv,     "NUMCOMPLETIONS"sv,  "TERMINALS"sv,    "ROAMMODE"sv,
    "BATTERY"sv,    "SIGNAL"sv,       "DEVSPECIFIC"sv,     "REINIT"sv,       "LOCK"sv,
    "CAPSCHANGE"sv, "CONFIGCHANGE"sv, "TRANSLATECHANGE"sv, "COMPLCANCEL"sv,  "REMOVED"sv};
static_assert(lineDevStates.size() == BitSpan(0x1, 0x1000000));

constexpr std::array removeFromConf = {"NONE"sv, "LAST"sv, "ANY"sv};
constexpr std::array transferModes = {"TRANSFER"sv, "CONFERENCE"sv};
constexpr std::array parkModes = {"DIRECTED"sv, "NONDIRECTED"sv};

constexpr std::array lineFeatures = {"DEVSPECIFIC"sv,  "DEVSPECIFICFEAT"sv, "FORWARD"sv,
                                     "MAKECALL"sv,     "SETMEDIACONTROL"sv, "SETTERMINAL"sv,
                                     "SETDEVSTATUS"sv, "FORWARDFWD"sv,      "FORWARDDND"sv};
static_assert(lineFeatures.size() == BitSpan(0x1, 0x100));

constexpr std::array callParamFlags = {"SECURE"sv,         "IDLE"sv,           "BLOCKID"sv,
                                       "ORIGOFFHOOK"sv,    "DESTOFFHOOK"sv,    "NOHOLDCONFERENCE"sv,
                                       "PREDICTIVEDIAL"sv, "ONESTEPTRANSFER"sv};
static_assert(callParamFlags.size() == BitSpan(0x1, 0x80));

constexpr std::array forwardModes = {"UNCOND"sv,         "UNCONDINTERNAL"sv, "UNCONDEXTERNAL"sv,
                                     "UNCONDSPECIFIC"sv, "BUSY"sv,           "BUSYINTERNAL"sv,
                                     "BUSYEXTERNAL"sv,   "BUSYSPECIFIC"sv,   "NOANSW"sv,
                                     "NOANSWINTERNAL"sv, "NOANSWEXTERNAL"sv, "NOANSWSPECIFIC"sv,
                                     "BUSYNA"sv,         "BUSYNAINTERNAL"sv, "BUSYNAEXTERNAL"sv,
                                     "BUSYNASPECIFIC"sv, "UNKNOWN"sv,        "UNAVAIL"sv};
static_assert(forwardModes.size() == BitSpan(0x1, 0x20000));

constexpr std::array addressFeatures = {
    "FORWARD"sv,      "MAKECALL"sv,       "PICKUP"sv,     "SETMEDIACONTROL"sv, "SETTERMINAL"sv,
    "SETUPCONF"sv,    "UNCOMPLETECALL"sv, "UNPARK"sv,     "PICKUPHELD"sv,      "PICKUPGROUP"sv,
    "PICKUPDIRECT"sv, "PICKUPWAITING"sv,  "FORWARDFWD"sv, "FORWARDDND"sv};
static_assert(addressFeatures.size() == BitSpan(0x1, 0x2000));

constexpr std::array answerModes = {"NONE"sv, "DROP"sv, "HOLD"sv};
static_assert(answerModes.size() == BitSpan(0x1, 0x4));

constexpr std::array connectedModes = {"ACTIVE"sv, "INACTIVE"sv, "ACTIVEHELD"sv, "INACTIVEHELD"sv,
                                       "CONFIRMED"sv};
static_assert(connectedModes.size() == BitSpan(0x1, 0x10));

constexpr std::array offeringModes = {"ACTIVE"sv, "INACTIVE"sv};
static_assert(offeringModes.size() == BitSpan(0x1, 0x2));

constexpr std::array messages = {
    "LINE_ADDRESSSTATE"sv,  "LINE_CALLINFO"sv,      "LINE_CALLSTATE"sv,
    "LINE_CLOSE"sv,         "LINE_DEVSPECIFIC"sv,   "LINE_DEVSPECIFICFEATURE"sv,
    "LINE_GATHERDIGITS"sv,  "LINE_GENERATE"sv,      "LINE_LINEDEVSTATE"sv,
    "LINE_MONITORDIGITS"sv, "LINE_MONITORMEDIA"sv,  "LINE_MONITORTONE"sv,
    "LINE_REPLY"sv,         "LINE_REQUEST"sv,       "PHONE_BUTTON"sv,
    "PHONE_CLOSE"sv,        "PHONE_DEVSPECIFIC"sv,  "PHONE_REPLY"sv,
    "PHONE_STATE"sv,        "LINE_CREATE"sv,        "PHONE_CREATE"sv,
    "LINE_AGENTSPECIFIC"sv, "LINE_AGENTSTATUS"sv,   "LINE_APPNEWCALL"sv,
    "LINE_PROXYREQUEST"sv,  "LINE_REMOVE"sv,        "PHONE_REMOVE"sv,
    "LINE_APPNEWCALLHUB"sv, "LINE_CALLHUBCLOSE"sv,  "LINE_AGENTSESSIONSTATUS"sv,
    "LINE_QUEUESTATUS"sv,   "LINE_DEVSPECIFICEX"sv, "LINE_AGENTSTATUSEX"sv,
    "LINE_GROUPSTATUS"sv,   "LINE_PROXYSTATUS"sv};
static_assert(messages.size() == 35);

} // namespace

QString BearerModeName(uint32_t value) {
    return FlagName("LINEBEARERMODE_", 0x1, bearerModes, value);
}

QString ToneModeName(uint32_t value) {
    if (value == 0)
        return QStringLiteral("LINETONEMODE_NONE");
    return FlagName("LINETONEMODE_", 0x1, toneModes, value);
}

QString AddressCapFlagName(uint32_t value) {
    return FlagName("LINEADDRCAPFLAGS_", 0x1, addressCapFlags, value);
}

QString PartyIDFlagName(uint32_t value) {
    return FlagName("LINECALLPARTYID_", 0x1, partyIDFlags, value);
}

QString CallInfoStateName(uint32_t value) {
    return FlagName("LINECALLINFOSTATE_", 0x1, callInfoStates, value);
}

QString CallStateName(uint32_t value) {
    return FlagName("LINECALLSTATE_", 0x1, callStates, value);
}

QString CallFeatureName(uint32_t value) {
    return FlagName("LINECALLFEATURE_", 0x1, callFeatures, value);
}

QString CallFeature2Name(uint32_t value) {
    return FlagName("LINECALLFEATURE2_", 0x1, callFeatures2, value);
}

QString BusyModeName(uint32_t value) {
    return FlagName("LINEBUSYMODE_", 0x1, busyModes, value);
}

QString DialToneModeName(uint32_t value) {
    return FlagName("LINEDIALTONEMODE_", 0x1, dialToneModes, value);
}

QString DisconnectModeName(uint32_t value) {
    return FlagName("LINEDISCONNECTMODE_", 0x1, disconnectModes, value);
}

QString SpecialInfoName(uint32_t value) {
    return FlagName("LINESPECIALINFO_", 0x1, specialInfos, value);
}

QString CallOriginName(uint32_t value) {
    return FlagName("LINECALLORIGIN_", 0x1, callOrigins, value);
}

QString CallReasonName(uint32_t value) {
    return FlagName("LINECALLREASON_", 0x1, callReasons, value);
}

QString MediaModeName(uint32_t value) {
    return FlagName("LINEMEDIAMODE_", 0x2, mediaModes, value);
}

QString TermDevName(uint32_t value) {
    return FlagName("LINETERMDEV_", 0x1, termDevs, value);
}

QString TermModeName(uint32_t value) {
    return FlagName("LINETERMMODE_", 0x1, termModes, value);
}

QString TermSharingName(uint32_t value) {
    return FlagName("LINETERMSHARING_", 0x1, termSharings, value);
}

QString AddressStateName(uint32_t value) {
    return FlagName("LINEADDRESSSTATE_", 0x1, addressStates, value);
}

QString DevCapFlagName(uint32_t value) {
    return FlagName("LINEDEVCAPFLAGS_", 0x1, devCapFlags, value);
}

QString LineDevStateName(uint32_t value) {
    return FlagName("LINEDEVSTATE_", 0x1, lineDevStates, value);
}

QString RemoveFromConfName(uint32_t value) {
    return ValueName("LINEREMOVEFROMCONF_", 1, removeFromConf, value);
}

QString TransferModeName(uint32_t value) {
    return ValueName("LINETRANSFERMODE_", 1, transferModes, value);
}

QString ParkModeName(uint32_t value) {
    return ValueName("LINEPARKMODE_", 1, parkModes, value);
}

QString LineFeatureName(uint32_t value) {
    return FlagName("LINEFEATURE_", 0x1, lineFeatures, value);
}

QString CallParamFlagName(uint32_t value) {
    return FlagName("LINECALLPARAMFLAGS_", 0x1, callParamFlags, value);
}

QString ForwardModeName(uint32_t value) {
    return FlagName("LINEFORWARDMODE_", 0x1, forwardModes, value);
}

QString AddressFeatureName(uint32_t value) {
    return FlagName("LINEADDRFEATURE_", 0x1, addressFeatures, value);
}

QString AnswerModeName(uint32_t value) {
    return FlagName("LINEANSWERMODE_", 0x1, answerModes, value);
}

QString ConnectedModeName(uint32_t value) {
    return FlagName("LINECONNECTEDMODE_", 0x1, connectedModes, value);
}

QString OfferingModeName(uint32_t value) {
    return FlagName("LINEOFFERINGMODE_", 0x1, offeringModes, value);
}

QString StateModeName(uint32_t callState, uint32_t mode) {
    switch (callState) {
    case LINECALLSTATE_DIALTONE:
        return DialToneModeName(mode);
    case LINECALLSTATE_BUSY:
        return BusyModeName(mode);
    case LINECALLSTATE_SPECIALINFO:
        return SpecialInfoName(mode);
    case LINECALLSTATE_DISCONNECTED:
        return DisconnectModeName(mode);
    default:
        return QStringLiteral("Not applicable");
    }
}

QString MessageName(uint32_t message) {
    if (message < messages.size())
        return QString::fromLatin1(messages[message]);
    return QStringLiteral("???");
}

QString HandleName(uint32_t message) {
    switch (message) {
    case 0:
    case 3:
    case 8:
    case 21:
    case 22:
    case 23:
    case 24:
    case 29:
    case 30:
    case 32:
    case 33:
    case 34:
        return QStringLiteral("Line.Handle");
    case 1:
    case 2:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 27:
    case 28:
        return QStringLiteral("Call.Handle");
    case 4:
    case 5:
    case 31:
        return QStringLiteral("Line.Handle or Call.Handle");
    case 14:
    case 15:
    case 16:
    case 18:
    case 20:
        return QStringLiteral("Phone.Handle");
    default:
        return QStringLiteral("Undefined");
    }
}

TetNameFunction MessageParam1NameFunction(uint32_t message) {
    switch (message) {
    case LINE_CALLINFO:
        return &CallInfoStateName;
    case LINE_CALLSTATE:
        return &CallStateName;
    case LINE_LINEDEVSTATE:
        return &LineDevStateName;
    case LINE_MONITORMEDIA:
        return &MediaModeName;
    default:
        return nullptr;
    }
}

TetNameFunction MessageParam2NameFunction(uint32_t message, uint32_t param1) {
    if (message == LINE_ADDRESSSTATE)
        return &AddressStateName;
    if (message != LINE_CALLSTATE)
        return nullptr;
    switch (param1) {
    case LINECALLSTATE_OFFERING:
        return &OfferingModeName;
    case LINECALLSTATE_DIALTONE:
        return &DialToneModeName;
    case LINECALLSTATE_BUSY:
        return &BusyModeName;
    case LINECALLSTATE_SPECIALINFO:
        return &SpecialInfoName;
    case LINECALLSTATE_CONNECTED:
        return &ConnectedModeName;
    case LINECALLSTATE_DISCONNECTED:
        return &DisconnectModeName;
    default:
        return nullptr;
    }
}

QString TapiString(const char* first, int32_t size) {
    if (first == nullptr || size <= 0)
        return {};
    const auto limit = static_cast<std::size_t>(size);
    const void* nul = std::memchr(first, 0, limit);
    std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - first) : limit;
    std::size_t begin = 0;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (begin < end && blank(first[begin]))
        ++begin;
    while (end > begin && blank(first[end - 1]))
        --end;
    return QString::fromLatin1(first + begin, static_cast<qsizetype>(end - begin));
}

QString TapiString(const void* structure, std::size_t available, uint32_t offset, int32_t size) {
    if (structure == nullptr || size <= 0 || available < sizeof(uint32_t))
        return {};
    uint32_t totalSize = 0;
    std::memcpy(&totalSize, structure, sizeof totalSize);
    const std::size_t bound = std::min<std::size_t>(totalSize, available);
    if (offset >= bound)
        return {};
    const std::size_t length =
        std::min<std::size_t>(static_cast<std::size_t>(size), bound - offset);
    return TapiString(static_cast<const char*>(structure) + offset, static_cast<int32_t>(length));
}
