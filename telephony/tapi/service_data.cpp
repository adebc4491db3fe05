// Structures the service fills from the devices' capabilities and the calls' data, and the
// synchronous call and line settings.

#include <QDateTime>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

#include "telephony/tapi/call_info_parties.h"
#include "telephony/tapi/service.h"
#include "telephony/tapi/struct_writer.h"

namespace tapi::detail {

namespace {

constexpr DWORD AllCallStates = 0xFFFF;

bool versionInRange(DWORD v) {
    return v >= TAPI_VERSION1_0 && v <= TAPI_VERSION2_2;
}

std::string deviceClasses(const DeviceInfo& info) {
    std::string list("tapi/line");
    list.push_back('\0');
    if (info.phoneId) {
        list += "tapi/phone";
        list.push_back('\0');
    }
    if (info.waveInId) {
        list += "wave/in";
        list.push_back('\0');
    }
    if (info.waveOutId) {
        list += "wave/out";
        list.push_back('\0');
    }
    if (info.commPort) {
        list += "comm";
        list.push_back('\0');
        list += "comm/datamodem";
        list.push_back('\0');
    }
    return list; // the writer adds the final NUL
}

struct HandedOutFds {
    std::mutex mutex;
    std::set<int> fds;
};

HandedOutFds& handedOut() {
    static HandedOutFds h;
    return h;
}

} // namespace

DWORD Service::lineFeatures(const Device& d) const {
    const DeviceInfo& info = d.provider->info();
    DWORD f = LINEFEATURE_DEVSPECIFIC;
    if (!info.lacks(Operation::MakeCall))
        f |= LINEFEATURE_MAKECALL;
    if (!info.lacks(Operation::Forward))
        f |= LINEFEATURE_FORWARD | LINEFEATURE_FORWARDFWD | LINEFEATURE_FORWARDDND;
    if (!info.lacks(Operation::SetTerminal) && !info.terminals.empty())
        f |= LINEFEATURE_SETTERMINAL;
    return f;
}

DWORD Service::addressFeatures(const Device& d) const {
    const DeviceInfo& info = d.provider->info();
    DWORD f = 0;
    if (!info.lacks(Operation::MakeCall))
        f |= LINEADDRFEATURE_MAKECALL;
    if (!info.lacks(Operation::Pickup))
        f |= LINEADDRFEATURE_PICKUP | LINEADDRFEATURE_PICKUPDIRECT;
    if (!info.lacks(Operation::Unpark))
        f |= LINEADDRFEATURE_UNPARK;
    if (!info.lacks(Operation::Forward))
        f |= LINEADDRFEATURE_FORWARD | LINEADDRFEATURE_FORWARDFWD | LINEADDRFEATURE_FORWARDDND;
    if (!info.lacks(Operation::SetTerminal) && !info.terminals.empty())
        f |= LINEADDRFEATURE_SETTERMINAL;
    return f;
}

// What the owner may do with the call in its present state; monitors may only watch.
DWORD Service::callFeatures(const Call& c, const AppCall& a) const {
    if (c.state == LINECALLSTATE_IDLE)
        return 0;
    constexpr DWORD watch =
        LINECALLFEATURE_MONITORDIGITS | LINECALLFEATURE_MONITORMEDIA | LINECALLFEATURE_MONITORTONES;
    if (a.privilege != LINECALLPRIVILEGE_OWNER)
        return c.state == LINECALLSTATE_DISCONNECTED ? 0 : watch;
    constexpr DWORD media = watch | LINECALLFEATURE_GATHERDIGITS | LINECALLFEATURE_GENERATEDIGITS |
                            LINECALLFEATURE_GENERATETONE | LINECALLFEATURE_SETTERMINAL;
    const Call* related = call(c.data.relatedCallId);
    const DWORD relatedState = related ? related->state : 0;
    DWORD f = 0;
    switch (c.state) {
    case LINECALLSTATE_OFFERING:
        f = LINECALLFEATURE_ACCEPT | LINECALLFEATURE_ANSWER | LINECALLFEATURE_DROP |
            LINECALLFEATURE_REDIRECT | watch;
        break;
    case LINECALLSTATE_ACCEPTED:
        f = LINECALLFEATURE_ANSWER | LINECALLFEATURE_DROP | LINECALLFEATURE_REDIRECT | watch;
        break;
    case LINECALLSTATE_DIALTONE:
    case LINECALLSTATE_DIALING:
        f = LINECALLFEATURE_DIAL | LINECALLFEATURE_DROP | watch;
        break;
    case LINECALLSTATE_PROCEEDING:
    case LINECALLSTATE_RINGBACK:
    case LINECALLSTATE_BUSY:
    case LINECALLSTATE_SPECIALINFO:
        f = LINECALLFEATURE_DROP | watch;
        break;
    case LINECALLSTATE_CONNECTED:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_HOLD | LINECALLFEATURE_BLINDTRANSFER |
            LINECALLFEATURE_PARK | LINECALLFEATURE_SETUPTRANSFER | LINECALLFEATURE_SETUPCONF |
            LINECALLFEATURE_SETMEDIACONTROL | media;
        if (c.data.origin == LINECALLORIGIN_CONFERENCE)
            f = (f & ~(LINECALLFEATURE_SETUPCONF | LINECALLFEATURE_SETUPTRANSFER)) |
                LINECALLFEATURE_PREPAREADDCONF;
        if (relatedState == LINECALLSTATE_ONHOLDPENDTRANSF)
            f |= LINECALLFEATURE_COMPLETETRANSF | LINECALLFEATURE_SWAPHOLD;
        if (relatedState == LINECALLSTATE_ONHOLDPENDCONF)
            f |= LINECALLFEATURE_ADDTOCONF | LINECALLFEATURE_SWAPHOLD;
        break;
    case LINECALLSTATE_ONHOLD:
        f = LINECALLFEATURE_UNHOLD | LINECALLFEATURE_DROP | watch;
        break;
    case LINECALLSTATE_ONHOLDPENDTRANSF:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_SWAPHOLD | LINECALLFEATURE_COMPLETETRANSF;
        break;
    case LINECALLSTATE_ONHOLDPENDCONF:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_SWAPHOLD | LINECALLFEATURE_ADDTOCONF;
        break;
    case LINECALLSTATE_CONFERENCED:
        f = LINECALLFEATURE_REMOVEFROMCONF | LINECALLFEATURE_DROP;
        break;
    default:
        f = LINECALLFEATURE_DROP;
        break;
    }
    const DeviceInfo& info = devices_[c.deviceId].provider->info();
    const std::pair<Operation, DWORD> needs[] = {
        {Operation::Answer, LINECALLFEATURE_ANSWER | LINECALLFEATURE_ACCEPT},
        {Operation::Drop, LINECALLFEATURE_DROP},
        {Operation::Redirect, LINECALLFEATURE_REDIRECT},
        {Operation::Dial, LINECALLFEATURE_DIAL},
        {Operation::Hold, LINECALLFEATURE_HOLD},
        {Operation::Unhold, LINECALLFEATURE_UNHOLD},
        {Operation::BlindTransfer, LINECALLFEATURE_BLINDTRANSFER},
        {Operation::Park, LINECALLFEATURE_PARK},
        {Operation::SetupTransfer, LINECALLFEATURE_SETUPTRANSFER},
        {Operation::CompleteTransfer, LINECALLFEATURE_COMPLETETRANSF},
        {Operation::SwapHold, LINECALLFEATURE_SWAPHOLD},
        {Operation::SetupConference, LINECALLFEATURE_SETUPCONF},
        {Operation::PrepareAddToConference, LINECALLFEATURE_PREPAREADDCONF},
        {Operation::AddToConference, LINECALLFEATURE_ADDTOCONF},
        {Operation::RemoveFromConference, LINECALLFEATURE_REMOVEFROMCONF},
        {Operation::GatherDigits, LINECALLFEATURE_GATHERDIGITS},
        {Operation::GenerateDigits, LINECALLFEATURE_GENERATEDIGITS},
        {Operation::GenerateTone, LINECALLFEATURE_GENERATETONE},
        {Operation::MonitorDigits, LINECALLFEATURE_MONITORDIGITS},
        {Operation::MonitorMedia, LINECALLFEATURE_MONITORMEDIA},
        {Operation::MonitorTones, LINECALLFEATURE_MONITORTONES},
        {Operation::SetTerminal, LINECALLFEATURE_SETTERMINAL},
        {Operation::SetMediaMode, LINECALLFEATURE_SETMEDIACONTROL},
    };
    for (const auto& [op, bits] : needs)
        if (info.lacks(op))
            f &= ~bits;
    if (info.terminals.empty())
        f &= ~LINECALLFEATURE_SETTERMINAL;
    return f;
}

LONG Service::getDevCaps(HLINEAPP app, DWORD deviceId, DWORD apiVersion, LPLINEDEVCAPS caps) {
    if (const LONG rc = checkDevice(app, deviceId))
        return rc;
    if (!versionInRange(apiVersion))
        return LINEERR_INCOMPATIBLEAPIVERSION;
    StructWriter<LINEDEVCAPS> w(caps);
    if (const LONG rc = w.check())
        return rc;
    const Device& d = devices_[deviceId];
    const DeviceInfo& info = d.provider->info();
    LINEDEVCAPS& f = w.fixed();
    w.addText(&LINEDEVCAPS::dwProviderInfoSize, &LINEDEVCAPS::dwProviderInfoOffset,
              info.providerInfo);
    w.addText(&LINEDEVCAPS::dwSwitchInfoSize, &LINEDEVCAPS::dwSwitchInfoOffset, info.switchInfo);
    f.dwPermanentLineID = info.permanentLineId;
    w.addText(&LINEDEVCAPS::dwLineNameSize, &LINEDEVCAPS::dwLineNameOffset, info.name);
    f.dwStringFormat = STRINGFORMAT_ASCII;
    f.dwAddressModes = LINEADDRESSMODE_ADDRESSID;
    f.dwNumAddresses = static_cast<DWORD>(info.addresses.size());
    f.dwBearerModes = info.bearerModes;
    f.dwMaxRate = (info.mediaModes & LINEMEDIAMODE_DATAMODEM) ? 56000 : 0;
    f.dwMediaModes = info.reportedMediaModes ? info.reportedMediaModes : info.mediaModes;
    if (!info.lacks(Operation::GenerateTone)) {
        f.dwGenerateToneModes = info.generateToneModes;
        f.dwGenerateToneMaxNumFreq = 3;
    }
    if (!info.lacks(Operation::GenerateDigits))
        f.dwGenerateDigitModes = info.generateDigitModes;
    if (!info.lacks(Operation::MonitorTones)) {
        f.dwMonitorToneMaxNumFreq = info.monitorToneMaxNumFreq;
        f.dwMonitorToneMaxNumEntries = info.monitorToneMaxNumEntries;
    }
    if (!info.lacks(Operation::MonitorDigits))
        f.dwMonitorDigitModes = info.monitorDigitModes;
    f.dwGatherDigitsMinTimeout = 10;
    f.dwGatherDigitsMaxTimeout = 3600000;
    f.dwDevCapFlags = LINEDEVCAPFLAGS_CLOSEDROP | LINEDEVCAPFLAGS_DIALBILLING |
                      LINEDEVCAPFLAGS_DIALQUIET | LINEDEVCAPFLAGS_DIALDIALTONE;
    if (info.addresses.size() > 1)
        f.dwDevCapFlags |= LINEDEVCAPFLAGS_MULTIPLEADDR;
    f.dwMaxNumActiveCalls = info.maxActiveCalls;
    f.dwAnswerMode = LINEANSWERMODE_HOLD;
    f.dwRingModes = 1;
    f.dwLineStates = info.lineStates;
    f.MinDialParams = LINEDIALPARAMS{0, 50, 50, 0};
    f.MaxDialParams = LINEDIALPARAMS{10000, 1000, 1000, 60000};
    f.DefaultDialParams = LINEDIALPARAMS{2000, 95, 95, 30000};
    f.dwNumTerminals = static_cast<DWORD>(info.terminals.size());
    if (!info.terminals.empty()) {
        std::vector<LINETERMCAPS> termCaps;
        std::size_t entry = 1;
        for (const TerminalInfo& t : info.terminals) {
            termCaps.push_back(t.caps);
            entry = std::max(entry, t.name.size() + 1);
        }
        w.add(&LINEDEVCAPS::dwTerminalCapsSize, &LINEDEVCAPS::dwTerminalCapsOffset, termCaps.data(),
              termCaps.size() * sizeof(LINETERMCAPS));
        std::string text(entry * info.terminals.size(), '\0');
        for (std::size_t i = 0; i < info.terminals.size(); ++i)
            std::memcpy(text.data() + i * entry, info.terminals[i].name.data(),
                        info.terminals[i].name.size());
        f.dwTerminalTextEntrySize = static_cast<DWORD>(entry);
        w.add(&LINEDEVCAPS::dwTerminalTextSize, &LINEDEVCAPS::dwTerminalTextOffset, text.data(),
              text.size());
    }
    w.add(&LINEDEVCAPS::dwDevSpecificSize, &LINEDEVCAPS::dwDevSpecificOffset,
          info.devSpecific.data(), info.devSpecific.size());
    f.dwLineFeatures = lineFeatures(d);
    if (apiVersion >= TAPI_VERSION2_0)
        w.addText(&LINEDEVCAPS::dwDeviceClassesSize, &LINEDEVCAPS::dwDeviceClassesOffset,
                  deviceClasses(info));
    return w.finish();
}

LONG Service::getAddressCaps(HLINEAPP app, DWORD deviceId, DWORD addressId, DWORD apiVersion,
                             LPLINEADDRESSCAPS caps) {
    if (const LONG rc = checkDevice(app, deviceId))
        return rc;
    if (!versionInRange(apiVersion))
        return LINEERR_INCOMPATIBLEAPIVERSION;
    const Device& d = devices_[deviceId];
    const DeviceInfo& info = d.provider->info();
    if (addressId >= info.addresses.size())
        return LINEERR_INVALADDRESSID;
    StructWriter<LINEADDRESSCAPS> w(caps);
    if (const LONG rc = w.check())
        return rc;
    LINEADDRESSCAPS& f = w.fixed();
    f.dwLineDeviceID = deviceId;
    w.addText(&LINEADDRESSCAPS::dwAddressSize, &LINEADDRESSCAPS::dwAddressOffset,
              info.addresses[addressId]);
    f.dwAddressSharing = LINEADDRESSSHARING_PRIVATE;
    f.dwAddressStates = info.addressStates;
    f.dwCallInfoStates = 0x7FFFFFFF & ~LINECALLINFOSTATE_DEVSPECIFIC;
    f.dwCallerIDFlags = info.callerIdFlags;
    f.dwCalledIDFlags = info.callerIdFlags;
    f.dwConnectedIDFlags = info.callerIdFlags;
    f.dwRedirectionIDFlags = info.callerIdFlags;
    f.dwRedirectingIDFlags = info.callerIdFlags;
    f.dwCallStates = AllCallStates;
    f.dwDialToneModes = LINEDIALTONEMODE_NORMAL | LINEDIALTONEMODE_UNAVAIL;
    f.dwBusyModes = LINEBUSYMODE_STATION | LINEBUSYMODE_UNAVAIL;
    f.dwSpecialInfo = LINESPECIALINFO_NOCIRCUIT | LINESPECIALINFO_REORDER | LINESPECIALINFO_UNAVAIL;
    f.dwDisconnectModes = 0xFFFFF;
    f.dwMaxNumActiveCalls = info.maxActiveCalls;
    f.dwMaxNumOnHoldCalls = info.lacks(Operation::Hold) ? 0 : info.maxActiveCalls;
    f.dwMaxNumOnHoldPendingCalls = 1;
    f.dwMaxNumConference = info.lacks(Operation::SetupConference) ? 0 : 8;
    f.dwMaxNumTransConf = info.lacks(Operation::CompleteTransfer) ? 0 : 3;
    f.dwAddrCapFlags = LINEADDRCAPFLAGS_DIALED | LINEADDRCAPFLAGS_PARTIALDIAL |
                       LINEADDRCAPFLAGS_TRANSFERHELD | LINEADDRCAPFLAGS_CONFERENCEHELD |
                       LINEADDRCAPFLAGS_FWDSTATUSVALID;
    f.dwCallFeatures = 0xFFFFFFFF;
    {
        // Everything a call on this address may ever offer.
        Call probe;
        probe.deviceId = deviceId;
        AppCall owner;
        owner.privilege = LINECALLPRIVILEGE_OWNER;
        DWORD all = 0;
        for (DWORD s = 1; s <= 0x8000; s <<= 1) {
            probe.state = s;
            all |= callFeatures(probe, owner);
        }
        f.dwCallFeatures =
            all |
            (info.lacks(Operation::PrepareAddToConference) ? 0 : LINECALLFEATURE_PREPAREADDCONF);
    }
    f.dwRemoveFromConfCaps = info.lacks(Operation::RemoveFromConference) ? LINEREMOVEFROMCONF_NONE
                                                                         : LINEREMOVEFROMCONF_ANY;
    f.dwRemoveFromConfState = LINECALLSTATE_IDLE;
    f.dwTransferModes = info.lacks(Operation::CompleteTransfer)
                            ? 0
                            : LINETRANSFERMODE_TRANSFER | LINETRANSFERMODE_CONFERENCE;
    f.dwParkModes =
        info.lacks(Operation::Park) ? 0 : LINEPARKMODE_DIRECTED | LINEPARKMODE_NONDIRECTED;
    if (!info.lacks(Operation::Forward)) {
        f.dwForwardModes = LINEFORWARDMODE_UNCOND | LINEFORWARDMODE_BUSY | LINEFORWARDMODE_NOANSW |
                           LINEFORWARDMODE_BUSYNA;
        f.dwMaxForwardEntries = 4;
        f.dwMaxSpecificEntries = 0;
        f.dwMinFwdNumRings = 1;
        f.dwMaxFwdNumRings = 10;
    }
    f.dwAddressFeatures = addressFeatures(d);
    if (apiVersion >= TAPI_VERSION2_0) {
        w.addText(&LINEADDRESSCAPS::dwDeviceClassesSize, &LINEADDRESSCAPS::dwDeviceClassesOffset,
                  deviceClasses(info));
        f.dwCallFeatures2 = 0;
        if (!info.lacks(Operation::CompleteTransfer))
            f.dwCallFeatures2 |= LINECALLFEATURE2_TRANSFERNORM | LINECALLFEATURE2_TRANSFERCONF;
        if (!info.lacks(Operation::Park))
            f.dwCallFeatures2 |= LINECALLFEATURE2_PARKDIRECT | LINECALLFEATURE2_PARKNONDIRECT;
        f.dwMaxNoAnswerTimeout = 0;
        f.dwConnectedModes = LINECONNECTEDMODE_ACTIVE | LINECONNECTEDMODE_INACTIVE;
        f.dwOfferingModes = LINEOFFERINGMODE_ACTIVE | LINEOFFERINGMODE_INACTIVE;
        f.dwAvailableMediaModes = info.mediaModes;
    }
    return w.finish();
}

LONG Service::getLineDevStatus(HLINE handle, LPLINEDEVSTATUS status) {
    const Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    StructWriter<LINEDEVSTATUS> w(status);
    if (const LONG rc = w.check())
        return rc;
    const Device& d = devices_[l->deviceId];
    const DeviceInfo& info = d.provider->info();
    LINEDEVSTATUS& f = w.fixed();
    f.dwNumOpens = static_cast<DWORD>(d.lines.size());
    for (HLINE h : d.lines)
        if (const auto it = lines_.find(h); it != lines_.end())
            f.dwOpenMediaModes |= it->second.mediaModes;
    for (const auto& [id, c] : calls_) {
        if (c.deviceId != l->deviceId)
            continue;
        if (c.state == LINECALLSTATE_ONHOLD)
            ++f.dwNumOnHoldCalls;
        else if (c.state == LINECALLSTATE_ONHOLDPENDCONF ||
                 c.state == LINECALLSTATE_ONHOLDPENDTRANSF)
            ++f.dwNumOnHoldPendCalls;
        else if (c.state != LINECALLSTATE_IDLE && c.state != LINECALLSTATE_CONFERENCED)
            ++f.dwNumActiveCalls;
    }
    f.dwLineFeatures = lineFeatures(d);
    f.dwRingMode = d.ringMode;
    f.dwSignalLevel = 0xFFFF;
    f.dwBatteryLevel = 0xFFFF;
    f.dwRoamMode = LINEROAMMODE_UNAVAIL;
    f.dwDevStatusFlags = LINEDEVSTATUSFLAGS_INSERVICE;
    if (d.connected)
        f.dwDevStatusFlags |= LINEDEVSTATUSFLAGS_CONNECTED;
    if (!d.terminalModes.empty())
        w.add(&LINEDEVSTATUS::dwTerminalModesSize, &LINEDEVSTATUS::dwTerminalModesOffset,
              d.terminalModes.data(), d.terminalModes.size() * sizeof(DWORD));
    w.add(&LINEDEVSTATUS::dwDevSpecificSize, &LINEDEVSTATUS::dwDevSpecificOffset,
          info.devSpecific.data(), info.devSpecific.size());
    f.dwAvailableMediaModes = info.mediaModes;
    return w.finish();
}

LONG Service::getAddressStatus(HLINE handle, DWORD addressId, LPLINEADDRESSSTATUS status) {
    const Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    const Device& d = devices_[l->deviceId];
    if (addressId >= d.provider->info().addresses.size())
        return LINEERR_INVALADDRESSID;
    StructWriter<LINEADDRESSSTATUS> w(status);
    if (const LONG rc = w.check())
        return rc;
    LINEADDRESSSTATUS& f = w.fixed();
    for (const auto& [id, c] : calls_) {
        if (c.deviceId != l->deviceId || c.data.addressId != addressId ||
            c.state == LINECALLSTATE_IDLE)
            continue;
        f.dwNumInUse = 1;
        if (c.state == LINECALLSTATE_ONHOLD)
            ++f.dwNumOnHoldCalls;
        else if (c.state == LINECALLSTATE_ONHOLDPENDCONF ||
                 c.state == LINECALLSTATE_ONHOLDPENDTRANSF)
            ++f.dwNumOnHoldPendCalls;
        else if (c.state != LINECALLSTATE_CONFERENCED)
            ++f.dwNumActiveCalls;
    }
    f.dwAddressFeatures = addressFeatures(d);
    if (const auto fw = d.forwards.find(addressId); fw != d.forwards.end()) {
        f.dwNumRingsNoAnswer = fw->second.numRings;
        f.dwForwardNumEntries = static_cast<DWORD>(fw->second.entries.size());
        // Entries first, their texts after them; offsets count from the structure's start.
        std::vector<LINEFORWARD> entries = fw->second.entries;
        const DWORD entryBytes = static_cast<DWORD>(entries.size() * sizeof(LINEFORWARD));
        const DWORD at = w.append(entries.data(), entryBytes);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string& caller = fw->second.callers[i];
            const std::string& dest = fw->second.destinations[i];
            entries[i].dwCallerAddressSize = 0;
            entries[i].dwCallerAddressOffset = 0;
            entries[i].dwDestAddressSize = 0;
            entries[i].dwDestAddressOffset = 0;
            if (!caller.empty())
                if (const DWORD o = w.appendText(caller)) {
                    entries[i].dwCallerAddressSize = static_cast<DWORD>(caller.size() + 1);
                    entries[i].dwCallerAddressOffset = o;
                }
            if (!dest.empty())
                if (const DWORD o = w.appendText(dest)) {
                    entries[i].dwDestAddressSize = static_cast<DWORD>(dest.size() + 1);
                    entries[i].dwDestAddressOffset = o;
                }
        }
        if (at != 0) {
            std::memcpy(reinterpret_cast<std::byte*>(status) + at, entries.data(), entryBytes);
            f.dwForwardSize = entryBytes;
            f.dwForwardOffset = at;
        }
    }
    if (!d.terminalModes.empty())
        w.add(&LINEADDRESSSTATUS::dwTerminalModesSize, &LINEADDRESSSTATUS::dwTerminalModesOffset,
              d.terminalModes.data(), d.terminalModes.size() * sizeof(DWORD));
    return w.finish();
}

LONG Service::getId(HLINE lineHandle, DWORD addressId, HCALL callHandle, DWORD select,
                    LPVARSTRING id, LPCSTR deviceClass) {
    DWORD deviceId = 0;
    if (select == LINECALLSELECT_LINE || select == LINECALLSELECT_ADDRESS) {
        const Line* l = line(lineHandle);
        if (!l)
            return LINEERR_INVALLINEHANDLE;
        deviceId = l->deviceId;
        if (select == LINECALLSELECT_ADDRESS &&
            addressId >= devices_[deviceId].provider->info().addresses.size())
            return LINEERR_INVALADDRESSID;
    } else if (select == LINECALLSELECT_CALL) {
        const AppCall* a = appCall(callHandle);
        if (!a)
            return LINEERR_INVALCALLHANDLE;
        deviceId = call(a->callId)->deviceId;
    } else {
        return LINEERR_INVALCALLSELECT;
    }
    if (!deviceClass)
        return LINEERR_INVALPOINTER;
    StructWriter<VARSTRING> w(id);
    if (const LONG rc = w.check())
        return rc;
    const DeviceInfo& info = devices_[deviceId].provider->info();
    const QString cls = QString::fromLatin1(deviceClass).trimmed().toLower();
    VARSTRING& f = w.fixed();
    const auto number = [&](std::optional<DWORD> value) -> LONG {
        if (!value)
            return LINEERR_INVALDEVICECLASS;
        f.dwStringFormat = STRINGFORMAT_BINARY;
        const DWORD v = *value;
        w.add(&VARSTRING::dwStringSize, &VARSTRING::dwStringOffset, &v, sizeof v);
        return w.finish();
    };
    if (cls == QLatin1String("tapi/line"))
        return number(deviceId);
    if (cls == QLatin1String("tapi/phone"))
        return number(info.phoneId);
    if (cls == QLatin1String("wave/in"))
        return number(info.waveInId);
    if (cls == QLatin1String("wave/out"))
        return number(info.waveOutId);
    if (cls == QLatin1String("comm")) {
        if (!info.commPort)
            return LINEERR_INVALDEVICECLASS;
        f.dwStringFormat = STRINGFORMAT_ASCII;
        w.addText(&VARSTRING::dwStringSize, &VARSTRING::dwStringOffset, info.name);
        return w.finish();
    }
    if (cls == QLatin1String("comm/datamodem")) {
        if (!info.commPort)
            return LINEERR_INVALDEVICECLASS;
        // The handle is opened only when it fits, so a too-small buffer leaks nothing.
        const std::size_t size = sizeof(HANDLE) + info.name.size() + 1;
        if (id->dwTotalSize < sizeof(VARSTRING) + size) {
            w.count(size);
            return w.finish();
        }
        const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return LINEERR_RESOURCEUNAVAIL;
        {
            std::lock_guard lock(handedOut().mutex);
            handedOut().fds.insert(fd);
        }
        std::string data(size, '\0');
        const auto handle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
        std::memcpy(data.data(), &handle, sizeof handle);
        std::memcpy(data.data() + sizeof handle, info.name.data(), info.name.size());
        f.dwStringFormat = STRINGFORMAT_BINARY;
        w.add(&VARSTRING::dwStringSize, &VARSTRING::dwStringOffset, data.data(), data.size());
        return w.finish();
    }
    return LINEERR_INVALDEVICECLASS;
}

bool closeHandedOutHandle(HANDLE handle) {
    const auto fd = static_cast<int>(reinterpret_cast<intptr_t>(handle));
    {
        std::lock_guard lock(handedOut().mutex);
        if (!handedOut().fds.erase(fd))
            return false; // never close what the layer did not hand out
    }
    return ::close(fd) == 0;
}

LONG Service::getNewCalls(HLINE handle, DWORD addressId, DWORD select, LPLINECALLLIST list) {
    Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    if (select != LINECALLSELECT_LINE && select != LINECALLSELECT_ADDRESS)
        return LINEERR_INVALCALLSELECT;
    if (select == LINECALLSELECT_ADDRESS &&
        addressId >= devices_[l->deviceId].provider->info().addresses.size())
        return LINEERR_INVALADDRESSID;
    StructWriter<LINECALLLIST> w(list);
    if (const LONG rc = w.check())
        return rc;
    std::vector<DWORD> fresh;
    for (DWORD id : deviceCalls(l->deviceId)) {
        const Call& c = calls_.at(id);
        if (c.state == LINECALLSTATE_IDLE ||
            (select == LINECALLSELECT_ADDRESS && c.data.addressId != addressId))
            continue;
        const bool known = std::any_of(c.handles.begin(), c.handles.end(),
                                       [&](HCALL h) { return appCalls_.at(h).line == handle; });
        if (!known)
            fresh.push_back(id);
    }
    // Handles are made only when the list can carry them all: a too-small buffer must not
    // leave the caller with handles it never learns of.
    if (list->dwTotalSize < sizeof(LINECALLLIST) + fresh.size() * sizeof(HCALL)) {
        w.count(fresh.size() * sizeof(HCALL));
        return w.finish();
    }
    std::vector<HCALL> handles;
    for (DWORD id : fresh) {
        Call& c = calls_.at(id);
        const HCALL h = addHandle(c, *l, LINECALLPRIVILEGE_MONITOR);
        appCalls_.at(h).announced = true;
        handles.push_back(h);
    }
    w.fixed().dwCallsNumEntries = static_cast<DWORD>(handles.size());
    w.add(&LINECALLLIST::dwCallsSize, &LINECALLLIST::dwCallsOffset, handles.data(),
          handles.size() * sizeof(HCALL));
    return w.finish();
}

LONG Service::getCallInfo(HCALL handle, LPLINECALLINFO info) {
    const AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    StructWriter<LINECALLINFO> w(info);
    if (const LONG rc = w.check())
        return rc;
    const Call& c = *call(a->callId);
    const Line* l = line(a->line);
    LINECALLINFO& f = w.fixed();
    f.hLine = a->line;
    f.dwLineDeviceID = c.deviceId;
    f.dwAddressID = c.data.addressId;
    f.dwBearerMode = c.data.bearerMode;
    f.dwMediaMode = c.data.mediaMode;
    f.dwCallID = c.callId;
    f.dwRelatedCallID = c.data.relatedCallId;
    f.dwCallParamFlags = c.data.callParamFlags;
    f.dwCallStates = AllCallStates;
    f.dwMonitorDigitModes = a->monitorDigitModes;
    f.dwMonitorMediaModes = a->monitorMediaModes;
    f.DialParams = LINEDIALPARAMS{2000, 95, 95, 30000};
    f.dwOrigin = c.data.origin;
    f.dwReason = c.data.reason;
    for (HCALL h : c.handles) {
        if (appCalls_.at(h).privilege == LINECALLPRIVILEGE_OWNER)
            ++f.dwNumOwners;
        else
            ++f.dwNumMonitors;
    }
    f.dwTrunk = 0xFFFFFFFF;
    static_assert(CallInfoParties.size() == PartyCount);
    for (int p = 0; p < PartyCount; ++p) {
        const PartyData& party = c.data.parties[p];
        const CallInfoPartyFields& at = CallInfoParties[p];
        f.*at.flags = party.flags;
        w.addText(at.numberSize, at.numberOffset, party.number);
        w.addText(at.nameSize, at.nameOffset, party.name);
    }
    if (l) {
        const auto s = sessions_.find(l->session);
        if (s != sessions_.end())
            w.addText(&LINECALLINFO::dwAppNameSize, &LINECALLINFO::dwAppNameOffset,
                      s->second.appName);
    }
    w.addText(&LINECALLINFO::dwDisplayableAddressSize, &LINECALLINFO::dwDisplayableAddressOffset,
              c.data.displayableAddress);
    w.addText(&LINECALLINFO::dwCalledPartySize, &LINECALLINFO::dwCalledPartyOffset,
              c.data.calledParty);
    w.addText(&LINECALLINFO::dwCommentSize, &LINECALLINFO::dwCommentOffset, c.data.comment);
    const Device& d = devices_[c.deviceId];
    if (!d.terminalModes.empty())
        w.add(&LINECALLINFO::dwTerminalModesSize, &LINECALLINFO::dwTerminalModesOffset,
              d.terminalModes.data(), d.terminalModes.size() * sizeof(DWORD));
    return w.finish();
}

LONG Service::getCallStatus(HCALL handle, LPLINECALLSTATUS status) {
    const AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    StructWriter<LINECALLSTATUS> w(status);
    if (const LONG rc = w.check())
        return rc;
    const Call& c = *call(a->callId);
    LINECALLSTATUS& f = w.fixed();
    f.dwCallState = c.state;
    f.dwCallStateMode = c.stateMode;
    f.dwCallPrivilege = a->privilege;
    f.dwCallFeatures = callFeatures(c, *a);
    f.dwCallFeatures2 = 0;
    if (f.dwCallFeatures & LINECALLFEATURE_COMPLETETRANSF)
        f.dwCallFeatures2 |= LINECALLFEATURE2_TRANSFERNORM | LINECALLFEATURE2_TRANSFERCONF;
    if (f.dwCallFeatures & LINECALLFEATURE_PARK)
        f.dwCallFeatures2 |= LINECALLFEATURE2_PARKDIRECT | LINECALLFEATURE2_PARKNONDIRECT;
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(c.stateTime);
    f.tStateEntryTime.wYear = static_cast<WORD>(t.date().year());
    f.tStateEntryTime.wMonth = static_cast<WORD>(t.date().month());
    f.tStateEntryTime.wDayOfWeek = static_cast<WORD>(t.date().dayOfWeek() % 7);
    f.tStateEntryTime.wDay = static_cast<WORD>(t.date().day());
    f.tStateEntryTime.wHour = static_cast<WORD>(t.time().hour());
    f.tStateEntryTime.wMinute = static_cast<WORD>(t.time().minute());
    f.tStateEntryTime.wSecond = static_cast<WORD>(t.time().second());
    f.tStateEntryTime.wMilliseconds = static_cast<WORD>(t.time().msec());
    return w.finish();
}

LONG Service::setCallPrivilege(HCALL handle, DWORD privilege) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (privilege != LINECALLPRIVILEGE_MONITOR && privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_INVALCALLPRIVILEGE;
    Call& c = *call(a->callId);
    if (devices_[c.deviceId].provider->info().lacks(Operation::SetCallPrivilege))
        return LINEERR_OPERATIONUNAVAIL;
    if (a->privilege == privilege)
        return 0;
    const DWORD change = privilege == LINECALLPRIVILEGE_OWNER
                             ? LINECALLINFOSTATE_NUMOWNERINCR | LINECALLINFOSTATE_NUMMONITORS
                             : LINECALLINFOSTATE_NUMOWNERDECR | LINECALLINFOSTATE_NUMMONITORS;
    a->privilege = privilege;
    updateCall(c.callId, change, nullptr);
    return 0;
}

LONG Service::setMediaMode(HCALL handle, DWORD mediaModes) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    Call& c = *call(a->callId);
    const DeviceInfo& info = devices_[c.deviceId].provider->info();
    if (info.lacks(Operation::SetMediaMode))
        return LINEERR_OPERATIONUNAVAIL;
    if (mediaModes == 0 || (mediaModes & 1) ||
        (mediaModes & ~LINEMEDIAMODE_UNKNOWN & ~info.mediaModes) != 0)
        return LINEERR_INVALMEDIAMODE;
    if (c.data.mediaMode == mediaModes)
        return 0;
    updateCall(c.callId, LINECALLINFOSTATE_MEDIAMODE,
               [mediaModes](CallData& d) { d.mediaMode = mediaModes; });
    return 0;
}

LONG Service::handoff(HCALL handle, LPCSTR fileName, DWORD mediaMode) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    Call& c = *call(a->callId);
    const Device& d = devices_[c.deviceId];
    if (d.provider->info().lacks(Operation::Handoff))
        return LINEERR_OPERATIONUNAVAIL;
    const bool byName = fileName && *fileName;
    if (!byName && (mediaMode == 0 || (mediaMode & (mediaMode - 1)) != 0 ||
                    (mediaMode & ~d.provider->info().mediaModes) != 0))
        return LINEERR_INVALMEDIAMODE;
    // The most recently opened line that fits takes the call.
    Line* target = nullptr;
    for (auto it = d.lines.rbegin(); it != d.lines.rend(); ++it) {
        Line* l = line(*it);
        if (!l || !(l->privileges & LINECALLPRIVILEGE_OWNER))
            continue;
        const bool fits = byName ? sessions_.at(l->session).appName == fileName
                                 : (l->mediaModes & mediaMode) != 0;
        if (fits) {
            target = l;
            break;
        }
    }
    if (!target)
        return LINEERR_TARGETNOTFOUND;
    if (target->session == a->session)
        return LINEERR_TARGETSELF;
    HCALL existing = 0;
    for (HCALL h : c.handles)
        if (appCalls_.at(h).line == target->handle)
            existing = h;
    if (existing == 0) {
        existing = addHandle(c, *target, LINECALLPRIVILEGE_OWNER);
        if (target->apiVersion >= TAPI_VERSION2_0)
            postToLine(*target, LINE_APPNEWCALL, c.data.addressId, existing,
                       LINECALLPRIVILEGE_OWNER);
    } else {
        appCalls_.at(existing).privilege = LINECALLPRIVILEGE_OWNER;
    }
    AppCall& t = appCalls_.at(existing);
    postToCall(t, LINE_CALLSTATE, c.state, c.stateMode, LINECALLPRIVILEGE_OWNER);
    t.announced = true;
    return 0;
}

LONG Service::forward(HLINE handle, DWORD allAddresses, DWORD addressId,
                      const LINEFORWARDLIST* list, DWORD numRings, LPHCALL consultCall) {
    Line* l = line(handle);
    if (!l)
        return LINEERR_INVALLINEHANDLE;
    Device& d = devices_[l->deviceId];
    const DeviceInfo& info = d.provider->info();
    if (!allAddresses && addressId >= info.addresses.size())
        return LINEERR_INVALADDRESSID;
    if (!consultCall)
        return LINEERR_INVALPOINTER;
    AddressForward fw;
    fw.numRings = numRings;
    if (list) {
        if (list->dwTotalSize < 8 ||
            (list->dwNumEntries > 0 &&
             list->dwTotalSize <
                 8 + static_cast<uint64_t>(list->dwNumEntries) * sizeof(LINEFORWARD)))
            return LINEERR_INVALPARAM;
        if (list->dwNumEntries > 4)
            return LINEERR_INVALPARAM;
        const auto* base = reinterpret_cast<const char*>(list);
        const auto text = [&](DWORD size, DWORD offset, std::string& out) {
            if (size == 0)
                return true;
            if (static_cast<uint64_t>(offset) + size > list->dwTotalSize || offset < 8)
                return false;
            out.assign(base + offset, strnlen(base + offset, size));
            return true;
        };
        for (DWORD i = 0; i < list->dwNumEntries; ++i) {
            const LINEFORWARD& e = list->ForwardList[i];
            if (e.dwForwardMode == 0 || (e.dwForwardMode & (e.dwForwardMode - 1)) != 0)
                return LINEERR_INVALPARAM;
            std::string caller, dest;
            if (!text(e.dwCallerAddressSize, e.dwCallerAddressOffset, caller) ||
                !text(e.dwDestAddressSize, e.dwDestAddressOffset, dest))
                return LINEERR_INVALPARAM;
            if (dest.empty())
                return LINEERR_INVALADDRESS;
            fw.entries.push_back(e);
            fw.callers.push_back(caller);
            fw.destinations.push_back(dest);
        }
    }
    Request r;
    r.op = Operation::Forward;
    r.addressId = allAddresses ? 0 : addressId;
    r.flag = allAddresses != 0;
    const LONG rc = submit(l->deviceId, r, l->session, handle, nullptr, nullptr);
    if (rc > 0) {
        *consultCall = 0; // no consultation call is needed to forward here
        for (DWORD a = 0; a < info.addresses.size(); ++a) {
            if (!allAddresses && a != addressId)
                continue;
            if (fw.entries.empty())
                d.forwards.erase(a);
            else
                d.forwards[a] = fw;
        }
    }
    return rc;
}

LONG Service::setTerminal(HLINE lineHandle, DWORD addressId, HCALL callHandle, DWORD select,
                          DWORD modes, DWORD terminalId, DWORD enable) {
    Request r;
    r.op = Operation::SetTerminal;
    r.mode = select;
    r.count = modes;
    r.flag = enable != 0;
    DWORD deviceId = 0;
    HLINEAPP s = 0;
    HLINE l = 0;
    if (select == LINECALLSELECT_CALL) {
        AppCall* a = appCall(callHandle);
        if (!a)
            return LINEERR_INVALCALLHANDLE;
        r.callId = a->callId;
        deviceId = call(a->callId)->deviceId;
        s = a->session;
        l = a->line;
    } else if (select == LINECALLSELECT_LINE || select == LINECALLSELECT_ADDRESS) {
        Line* ln = line(lineHandle);
        if (!ln)
            return LINEERR_INVALLINEHANDLE;
        deviceId = ln->deviceId;
        s = ln->session;
        l = lineHandle;
        if (select == LINECALLSELECT_ADDRESS &&
            addressId >= devices_[deviceId].provider->info().addresses.size())
            return LINEERR_INVALADDRESSID;
        r.addressId = addressId;
    } else {
        return LINEERR_INVALCALLSELECT;
    }
    Device& d = devices_[deviceId];
    const DeviceInfo& info = d.provider->info();
    if (terminalId >= info.terminals.size())
        return LINEERR_INVALTERMINALID;
    if (modes == 0 || (modes & ~info.terminals[terminalId].caps.dwTermModes) != 0)
        return LINEERR_INVALTERMINALMODE;
    const LONG rc = submit(deviceId, r, s, l, nullptr, nullptr);
    if (rc > 0) {
        if (enable)
            d.terminalModes[terminalId] |= modes;
        else
            d.terminalModes[terminalId] &= ~modes;
    }
    return rc;
}

} // namespace tapi::detail
