// Opening and closing the line, the status refreshes and the wait for asynchronous replies.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstring>

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"

bool TetLineInternal::OpenLine(uint32_t mediaModes) {
    if (mediaModes == 0)
        mediaModes = device_->mediaModes_.active_;
    bool outcome = true;
    ClearError();

    if (!sessionOpen_) {
        device_->count_ = 0;
        Report(-1);
        device_->active_ = false;
        return false;
    }

    ForgetRelatedDevices();
    if (mediaModes == 0)
        mediaModes = device_->mediaModes_.available_;

    const auto instance = reinterpret_cast<DWORD_PTR>(this);
    const LONG opened = lineOpen(line_->appHandle_, static_cast<DWORD>(device_->id_),
                                 &line_->handle_, tapi_->version_, tapi_->extensionVersion_,
                                 instance, privilege_->Bits(), mediaModes, nullptr);
    if (opened != 0) {
        Stamped(QStringLiteral("\tlineOpen returned ") + ErrorTextOf(opened));
    } else {
        Stamped(QStringLiteral("\tCallBackInstance = ") + Hex8(static_cast<uint32_t>(instance)));
        lineSetStatusMessages(line_->handle_, device_->capabilities_.States(),
                              address_->capabilities_.States());
    }
    if (opened < 0) {
        Report(opened);
        device_->active_ = false;
        return false;
    }

    address_->setID(address_->id_);
    terminal_->setID(terminal_->id_);
    device_->active_ = true;
    StartCallList();

    for (int32_t a = 0; a < address_->count_; ++a) {
        TapiBuffer calls;
        const LONG result = calls.Fill(sizeof(LINECALLLIST), [&](std::byte* data) {
            return lineGetNewCalls(line_->handle_, static_cast<DWORD>(a), LINECALLSELECT_ADDRESS,
                                   reinterpret_cast<LINECALLLIST*>(data));
        });
        if (result != 0) {
            Report(result); // LINEERR_NOMEM as well when the list cannot be had
            outcome = false;
            continue;
        }
        const auto* list = calls.As<LINECALLLIST>();
        if (list->dwCallsNumEntries == 0)
            continue;
        ClearCallData();
        transfer_->Reset();
        conference_->Reset();
        const auto [bytes, size] = calls.Bytes(list->dwCallsOffset, list->dwCallsSize);
        const std::size_t entries =
            std::min<std::size_t>(list->dwCallsNumEntries, size / sizeof(HCALL));
        for (std::size_t i = 0; i < entries; ++i) {
            HCALL handle = 0;
            std::memcpy(&handle, bytes + i * sizeof(HCALL), sizeof handle);
            AppendExistingCall(handle);
        }
    }

    SelectNextCall();
    RefreshLineStatus();
    RefreshAddressStatus();
    TapiBuffer caps;
    if (GetDevCaps(static_cast<DWORD>(device_->id_), caps) == 0)
        device_->capabilities_.AssignDevSpecific(caps);

    LookupRelatedDevices();
    return outcome;
}

bool TetLineInternal::CloseLine(bool lineGone) {
    ClearError();
    if (!sessionOpen_) {
        device_->active_ = false;
        return true;
    }

    EndAllCalls(lineGone);

    bool outcome = true;
    if (!lineGone) {
        const LONG result = lineClose(line_->handle_);
        if (result < 0) {
            Report(result);
            return false; // the line stays open
        }
    }
    device_->active_ = false;
    ClearCallData();
    transfer_->Reset();
    conference_->Reset();
    ReleaseCommHandle();
    for (TetRelatedWaveDevice* w : {wavePlay_.get(), waveRecord_.get()}) {
        w->available_ = false;
        w->id_ = 0;
    }
    phone_->available_ = false;
    phone_->id_ = 0;
    return outcome;
}

void TetLineInternal::RefreshLineStatus() {
    TapiBuffer status;
    const LONG result = status.Fill(sizeof(LINEDEVSTATUS), [&](std::byte* data) {
        return lineGetLineDevStatus(line_->handle_, reinterpret_cast<LINEDEVSTATUS*>(data));
    });
    if (result != 0)
        return;
    const auto* s = status.As<LINEDEVSTATUS>();
    device_->openCount_ = s->dwNumOpens;
    device_->mediaModes_.open_ = s->dwOpenMediaModes;
    device_->activeCalls_ = s->dwNumActiveCalls;
    device_->onHoldCalls_ = s->dwNumOnHoldCalls;
    device_->onHoldPendCalls_ = s->dwNumOnHoldPendCalls;
    device_->ringMode_ = s->dwRingMode;

    uint32_t modes = 0;
    if (s->dwTerminalModesSize > 0 && terminal_->id_ >= 0) {
        const auto [bytes, size] =
            status.Bytes(s->dwTerminalModesOffset + static_cast<uint32_t>(terminal_->id_) * 4, 4);
        if (bytes) {
            DWORD entry = 0;
            std::memcpy(&entry, bytes, sizeof entry);
            modes = (entry & 0xFF) & terminal_->availableModes_;
        }
    }
    terminal_->activeModes_ = modes;
}

void TetLineInternal::RefreshAddressStatus() {
    TapiBuffer status;
    const LONG result = status.Fill(sizeof(LINEADDRESSSTATUS), [&](std::byte* data) {
        return lineGetAddressStatus(line_->handle_, static_cast<DWORD>(address_->id_),
                                    reinterpret_cast<LINEADDRESSSTATUS*>(data));
    });
    if (result == 0)
        address_->SetStatus(status);
}

LONG TetLineInternal::DeallocateCall(uint32_t callHandle) {
    LONG result = 0;
    if (!sessionOpen_)
        result = -1;
    else if (callHandle != 0)
        result = lineDeallocateCall(callHandle);
    RefreshLineStatus();
    RefreshAddressStatus();
    return result;
}

bool TetLineInternal::WaitForReply(int32_t& slot) {
    QElapsedTimer clock;
    clock.start();
    // Wakes the event wait below regularly, so the time-out is noticed without spinning.
    QTimer wake;
    wake.start(10);
    while (slot != -1 && tapi_->replyTimeout_ != 0) {
        if (clock.elapsed() >= tapi_->replyTimeout_)
            return true;
        // Delivers TAPI messages, LINE_REPLY among them.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return false;
}
