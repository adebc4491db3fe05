// Digit gathering, digit/media/tone monitoring and digit/tone generation on calls.

#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cstring>

#include "telephony/tapi/service.h"

namespace tapi::detail {

namespace {

constexpr DWORD DefaultToneDuration = 200; // ms, when the caller gives 0

bool validDigits(const char* digits, DWORD mode) {
    const char* allowed = mode == LINEDIGITMODE_PULSE ? "0123456789" : "0123456789ABCDabcd*#";
    for (const char* p = digits; *p; ++p)
        if (!std::strchr(allowed, *p) && *p != '!' && *p != ',')
            return false;
    return true;
}

} // namespace

void Service::finishGather(AppCall& a, DWORD reason) {
    a.gather.buffer = nullptr;
    ++a.gather.generation;
    postToCall(a, LINE_GATHERDIGITS, reason, 0, tickCount());
}

LONG Service::gatherDigits(HCALL handle, DWORD modes, LPSTR digits, DWORD numDigits,
                           LPCSTR terminators, DWORD firstTimeout, DWORD interTimeout) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    Call& c = *call(a->callId);
    Device& d = devices_[c.deviceId];
    const DeviceInfo& info = d.provider->info();
    if (info.lacks(Operation::GatherDigits))
        return LINEERR_OPERATIONUNAVAIL;
    if (!digits) { // cancels a running gather
        if (a->gather.buffer)
            finishGather(*a, LINEGATHERTERM_CANCEL);
        return 0;
    }
    if (modes == 0 || (modes & ~(LINEDIGITMODE_PULSE | LINEDIGITMODE_DTMF)) != 0 ||
        (modes & ~info.monitorDigitModes) != 0)
        return LINEERR_INVALDIGITMODE;
    if (numDigits == 0)
        return LINEERR_INVALPARAM;
    if (c.state == LINECALLSTATE_IDLE || c.state == LINECALLSTATE_DISCONNECTED)
        return LINEERR_INVALCALLSTATE;
    if (a->gather.buffer)
        finishGather(*a, LINEGATHERTERM_CANCEL);
    Gather& g = a->gather;
    g.buffer = digits;
    g.size = numDigits;
    g.filled = 0;
    g.modes = modes;
    g.terminators = terminators ? terminators : "";
    g.firstTimeout = firstTimeout;
    g.interTimeout = interTimeout;
    const unsigned generation = ++g.generation;
    if (firstTimeout != 0 && d.clock)
        QTimer::singleShot(std::chrono::milliseconds(firstTimeout), d.clock.data(),
                           [this, handle, generation] {
                               std::lock_guard lock(mutex);
                               AppCall* ac = appCall(handle);
                               if (ac && ac->gather.buffer && ac->gather.generation == generation)
                                   finishGather(*ac, LINEGATHERTERM_FIRSTTIMEOUT);
                           });
    return 0;
}

LONG Service::monitorDigits(HCALL handle, DWORD modes) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    const Call& c = *call(a->callId);
    const DeviceInfo& info = devices_[c.deviceId].provider->info();
    if (info.lacks(Operation::MonitorDigits))
        return LINEERR_OPERATIONUNAVAIL;
    if ((modes & ~info.monitorDigitModes) != 0)
        return LINEERR_INVALDIGITMODE;
    if (c.state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCALLSTATE;
    a->monitorDigitModes = modes;
    return 0;
}

LONG Service::monitorMedia(HCALL handle, DWORD modes) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    const Call& c = *call(a->callId);
    const DeviceInfo& info = devices_[c.deviceId].provider->info();
    if (info.lacks(Operation::MonitorMedia))
        return LINEERR_OPERATIONUNAVAIL;
    if ((modes & 1) || (modes & ~LINEMEDIAMODE_UNKNOWN & ~info.mediaModes) != 0)
        return LINEERR_INVALMEDIAMODE;
    if (c.state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCALLSTATE;
    a->monitorMediaModes = modes;
    return 0;
}

LONG Service::monitorTones(HCALL handle, const LINEMONITORTONE* tones, DWORD count) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    const Call& c = *call(a->callId);
    const DeviceInfo& info = devices_[c.deviceId].provider->info();
    if (info.lacks(Operation::MonitorTones))
        return LINEERR_OPERATIONUNAVAIL;
    if (c.state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCALLSTATE;
    if (!tones || count == 0) {
        a->tones.clear();
        return 0;
    }
    if (count > info.monitorToneMaxNumEntries)
        return LINEERR_INVALTONELIST;
    for (DWORD i = 0; i < count; ++i) {
        const LINEMONITORTONE& t = tones[i];
        const DWORD freqs = (t.dwFrequency1 != 0) + (t.dwFrequency2 != 0) + (t.dwFrequency3 != 0);
        if (freqs > info.monitorToneMaxNumFreq)
            return LINEERR_INVALTONE;
    }
    a->tones.assign(tones, tones + count);
    return 0;
}

LONG Service::generateDigits(HCALL handle, DWORD mode, LPCSTR digits, DWORD duration) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const Call& c = *call(a->callId);
    Device& d = devices_[c.deviceId];
    const DeviceInfo& info = d.provider->info();
    if (info.lacks(Operation::GenerateDigits))
        return LINEERR_OPERATIONUNAVAIL;
    if (a->generating) { // a new request, or none, ends the running one
        a->generating = false;
        ++a->generateGeneration;
        postToCall(*a, LINE_GENERATE, LINEGENERATETERM_CANCEL, 0, tickCount());
    }
    if (!digits)
        return 0;
    if ((mode != LINEDIGITMODE_DTMF && mode != LINEDIGITMODE_PULSE) ||
        (mode & info.generateDigitModes) == 0)
        return LINEERR_INVALDIGITMODE;
    if (!validDigits(digits, mode))
        return LINEERR_INVALDIGITS;
    if (c.state == LINECALLSTATE_IDLE || c.state == LINECALLSTATE_DISCONNECTED)
        return LINEERR_INVALCALLSTATE;
    a->generating = true;
    const unsigned generation = ++a->generateGeneration;
    const auto total =
        std::chrono::milliseconds(std::strlen(digits) * std::min<DWORD>(duration, 1000));
    if (d.clock)
        QTimer::singleShot(total, d.clock.data(), [this, handle, generation] {
            std::lock_guard lock(mutex);
            AppCall* ac = appCall(handle);
            if (ac && ac->generating && ac->generateGeneration == generation) {
                ac->generating = false;
                postToCall(*ac, LINE_GENERATE, LINEGENERATETERM_DONE, 0, tickCount());
            }
        });
    return 0;
}

LONG Service::generateTone(HCALL handle, DWORD mode, DWORD duration, DWORD numTones,
                           const LINEGENERATETONE* tones) {
    AppCall* a = appCall(handle);
    if (!a)
        return LINEERR_INVALCALLHANDLE;
    if (a->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const Call& c = *call(a->callId);
    Device& d = devices_[c.deviceId];
    const DeviceInfo& info = d.provider->info();
    if (info.lacks(Operation::GenerateTone))
        return LINEERR_OPERATIONUNAVAIL;
    if (a->generating) {
        a->generating = false;
        ++a->generateGeneration;
        postToCall(*a, LINE_GENERATE, LINEGENERATETERM_CANCEL, 0, tickCount());
    }
    if (mode == 0)
        return 0; // LINETONEMODE 0 only cancels
    if ((mode & (mode - 1)) != 0 || (mode & info.generateToneModes) == 0)
        return LINEERR_INVALTONEMODE;
    if (mode == LINETONEMODE_CUSTOM && (!tones || numTones == 0 || numTones > 3))
        return LINEERR_INVALTONE;
    if (c.state == LINECALLSTATE_IDLE || c.state == LINECALLSTATE_DISCONNECTED)
        return LINEERR_INVALCALLSTATE;
    a->generating = true;
    const unsigned generation = ++a->generateGeneration;
    const DWORD ms = duration == 0 ? DefaultToneDuration : std::min<DWORD>(duration, 600000);
    if (d.clock)
        QTimer::singleShot(
            std::chrono::milliseconds(ms), d.clock.data(), [this, handle, generation] {
                std::lock_guard lock(mutex);
                AppCall* ac = appCall(handle);
                if (ac && ac->generating && ac->generateGeneration == generation) {
                    ac->generating = false;
                    postToCall(*ac, LINE_GENERATE, LINEGENERATETERM_DONE, 0, tickCount());
                }
            });
    return 0;
}

void Service::digitReceived(DWORD callId, char digit, DWORD digitMode) {
    Call* c = call(callId);
    if (!c)
        return;
    Device& d = devices_[c->deviceId];
    const std::vector<HCALL> handles = c->handles;
    for (HCALL h : handles) {
        AppCall& a = appCalls_.at(h);
        if (a.monitorDigitModes & digitMode)
            postToCall(a, LINE_MONITORDIGITS, static_cast<unsigned char>(digit), digitMode,
                       tickCount());
        if (digitMode == LINEDIGITMODE_DTMF && (a.monitorDigitModes & LINEDIGITMODE_DTMFEND))
            postToCall(a, LINE_MONITORDIGITS, static_cast<unsigned char>(digit),
                       LINEDIGITMODE_DTMFEND, tickCount());
        Gather& g = a.gather;
        if (!g.buffer || !(g.modes & digitMode))
            continue;
        g.buffer[g.filled++] = digit;
        if (g.terminators.find(digit) != std::string::npos) {
            finishGather(a, LINEGATHERTERM_TERMDIGIT);
        } else if (g.filled >= g.size) {
            finishGather(a, LINEGATHERTERM_BUFFERFULL);
        } else if (g.interTimeout != 0 && d.clock) {
            const unsigned generation = ++g.generation;
            QTimer::singleShot(
                std::chrono::milliseconds(g.interTimeout), d.clock.data(), [this, h, generation] {
                    std::lock_guard lock(mutex);
                    AppCall* ac = appCall(h);
                    if (ac && ac->gather.buffer && ac->gather.generation == generation)
                        finishGather(*ac, LINEGATHERTERM_INTERTIMEOUT);
                });
        } else {
            ++g.generation; // a digit cancels the first-digit time-out
        }
    }
}

void Service::toneDetected(DWORD callId, DWORD f1, DWORD f2, DWORD f3) {
    Call* c = call(callId);
    if (!c)
        return;
    DWORD heard[3] = {f1, f2, f3};
    std::sort(std::begin(heard), std::end(heard));
    for (HCALL h : c->handles) {
        AppCall& a = appCalls_.at(h);
        for (const LINEMONITORTONE& t : a.tones) {
            DWORD wanted[3] = {t.dwFrequency1, t.dwFrequency2, t.dwFrequency3};
            std::sort(std::begin(wanted), std::end(wanted));
            if (std::equal(std::begin(heard), std::end(heard), std::begin(wanted)))
                postToCall(a, LINE_MONITORTONE, t.dwAppSpecific, 0, tickCount());
        }
    }
}

void Service::mediaDetected(DWORD callId, DWORD mediaMode) {
    Call* c = call(callId);
    if (!c)
        return;
    const bool changed = c->data.mediaMode != mediaMode;
    c->data.mediaMode = mediaMode;
    for (HCALL h : c->handles) {
        AppCall& a = appCalls_.at(h);
        if (changed)
            postToCall(a, LINE_CALLINFO, LINECALLINFOSTATE_MEDIAMODE, 0, 0);
        if (a.monitorMediaModes & mediaMode)
            postToCall(a, LINE_MONITORMEDIA, mediaMode, 0, tickCount());
    }
}

} // namespace tapi::detail
