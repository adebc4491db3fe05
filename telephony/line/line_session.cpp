// The TAPI session of the component: initialisation, shutdown, reset and reading the devices.

#include <QCoreApplication>
#include <QTimer>

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"

LONG TetLineInternal::InitializeSession(int32_t& deviceCount) {
    line_->appHandle_ = 0;
    DWORD count = 0;
    LONG result = LINEERR_OPERATIONFAILED;
    bool useFallback = true;

    // Looked up at run time: a platform without lineInitializeExA still has lineInitialize.
    if (HMODULE library = LoadLibraryA("TAPI32.DLL")) {
        if (auto address = GetProcAddress(library, "lineInitializeExA")) {
            const auto initializeEx = reinterpret_cast<PFN_lineInitializeExA>(address);
            DWORD apiVersion = tapi_->highVersion_;
            LINEINITIALIZEEXPARAMS params{};
            params.dwTotalSize = sizeof(LINEINITIALIZEEXPARAMS);
            params.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
            result = initializeEx(&line_->appHandle_, nullptr, &TetLineInternal::LineCallback,
                                  nullptr, &count, &apiVersion, &params);
            useFallback = result == LINEERR_OPERATIONFAILED;
        }
    }
    if (useFallback)
        result = lineInitialize(&line_->appHandle_, nullptr, &TetLineInternal::LineCallback,
                                nullptr, &count);

    deviceCount = static_cast<int32_t>(count);
    if (result == 0) {
        sessionOpen_ = true;
        ClearError();
    } else {
        Report(result);
        sessionOpen_ = false;
        line_->appHandle_ = 0;
        line_->handle_ = 0;
        deviceCount = 0; // no session, no devices
    }
    return result;
}

void TetLineInternal::ShutdownSession() {
    if (lineShutdown(line_->appHandle_) == 0) {
        line_->appHandle_ = 0;
        sessionOpen_ = false;
    }
}

void TetLineInternal::ResetSession() {
    idleTimer_->stop();
    ResetCallState();
    transfer_->Reset();
    conference_->Reset();
    address_->Reset();
    device_->active_ = false;
    device_->name_.clear();
    device_->list_.clear();
    device_->id_ = 0;
    device_->count_ = 0;
    device_->mediaModes_.active_ = 0;
    device_->mediaModes_.available_ = 0;
    device_->mediaModes_.open_ = 0;
    device_->capabilities_.Clear();
    device_->openCount_ = 0;
    device_->activeCalls_ = 0;
    device_->onHoldCalls_ = 0;
    device_->onHoldPendCalls_ = 0;
    device_->ringMode_ = 0;
    line_->handle_ = 0;
    line_->appHandle_ = 0;
    phone_->available_ = false;
    phone_->id_ = 0;
    for (uint32_t& part : tapi_->extensionID_)
        part = 0;
    tapi_->tsp_.clear();
    tapi_->version_ = 0;
    tapi_->extensionVersion_ = 0;
    tapi_->extensionHighVersion_ = 0;
    wavePlay_->available_ = false;
    wavePlay_->id_ = 0;
    waveRecord_->available_ = false;
    waveRecord_->id_ = 0;
    terminal_->Reset();
}

LONG TetLineInternal::GetDevCaps(uint32_t deviceID, TapiBuffer& buffer) {
    return buffer.Fill(sizeof(LINEDEVCAPS), [&](std::byte* data) {
        return lineGetDevCaps(line_->appHandle_, deviceID, tapi_->version_, 0,
                              reinterpret_cast<LINEDEVCAPS*>(data));
    });
}

QString TetLineInternal::UnavailableDeviceEntry(LONG code) {
    return FormatSyntax(QStringLiteral("Device.Name unavailable: [%1]  %2")
                            .arg(Hex8(static_cast<uint32_t>(code)), ErrorTextOf(code)));
}

void TetLineInternal::ReadDeviceList() {
    for (int32_t i = 0; i < device_->count_; ++i) {
        LINEEXTENSIONID scratch{};
        const auto id = static_cast<DWORD>(i);
        LONG result = lineNegotiateAPIVersion(line_->appHandle_, id, tapi_->lowVersion_,
                                              tapi_->highVersion_, &tapi_->version_, &scratch);
        QString entry;
        if (result != 0) {
            entry = UnavailableDeviceEntry(result);
        } else {
            TapiBuffer caps;
            result = GetDevCaps(id, caps);
            const auto* c = caps.As<LINEDEVCAPS>();
            if (result != 0 || static_cast<int32_t>(c->dwLineNameSize) <= 0)
                entry = UnavailableDeviceEntry(result);
            else
                entry = StructText(caps, c->dwLineNameOffset, c->dwLineNameSize);
        }
        device_->list_.append(entry);
    }
}

void TetLineInternal::ReadDeviceData() {
    ClearCallSelection();
    device_->name_.clear();
    device_->mediaModes_.available_ = 0;
    device_->mediaModes_.active_ = 0;
    address_->count_ = 0;
    address_->id_ = 0;
    address_->name_.clear();
    address_->capabilities_.Clear();
    tapi_->extensionVersion_ = 0;
    tapi_->version_ = 0;
    tapi_->tsp_.clear();
    ReleaseCommHandle(); // a held handle is closed, not dropped
    comm_->enabled_ = false;
    for (TetRelatedPhoneDevice* p : {phone_.get()}) {
        p->available_ = false;
        p->id_ = 0;
    }
    for (TetRelatedWaveDevice* w : {wavePlay_.get(), waveRecord_.get()}) {
        w->available_ = false;
        w->id_ = 0;
    }
    terminal_->pendingRequest_ = 0;

    LONG outcome = sessionOpen_ ? 0 : -1;
    if (outcome == 0 && device_->count_ > 0) {
        if (device_->list_.isEmpty())
            ReadDeviceList();

        const auto deviceID = static_cast<DWORD>(device_->id_);
        LINEEXTENSIONID extensionID{};
        outcome = lineNegotiateAPIVersion(line_->appHandle_, deviceID, tapi_->lowVersion_,
                                          tapi_->highVersion_, &tapi_->version_, &extensionID);
        if (outcome == 0) {
            tapi_->extensionVersion_ = 0;
            if (tapi_->extensionLowVersion_ != 0 || tapi_->extensionHighVersion_ != 0) {
                const LONG ext = lineNegotiateExtVersion(
                    line_->appHandle_, deviceID, tapi_->version_, tapi_->extensionLowVersion_,
                    tapi_->extensionHighVersion_, &tapi_->extensionVersion_);
                if (ext != 0) {
                    outcome = ext;
                    tapi_->extensionVersion_ = 0;
                    Stamped(QStringLiteral("\tlineNegotiateExtVersion returned ") +
                            ErrorTextOf(ext));
                }
            }

            TapiBuffer caps;
            if (GetDevCaps(deviceID, caps) == 0) {
                const auto* c = caps.As<LINEDEVCAPS>();
                address_->count_ = static_cast<int32_t>(c->dwNumAddresses);
                if (c->dwProviderInfoSize > 0)
                    tapi_->tsp_ = StructText(caps, c->dwProviderInfoOffset, c->dwProviderInfoSize);
                if (c->dwLineNameSize > 0)
                    device_->name_ = StructText(caps, c->dwLineNameOffset, c->dwLineNameSize);
                device_->mediaModes_.available_ = c->dwMediaModes;
                device_->mediaModes_.active_ = c->dwMediaModes;
                device_->capabilities_.Assign(caps);
                terminal_->LoadFromCaps(caps, 0);
            }

            ResetCallParameters();

            address_->list_.clear();
            for (int32_t a = 0; a < address_->count_; ++a) {
                TapiBuffer addressCaps;
                const LONG result = addressCaps.Fill(sizeof(LINEADDRESSCAPS), [&](std::byte* data) {
                    return lineGetAddressCaps(line_->appHandle_, deviceID, static_cast<DWORD>(a),
                                              tapi_->version_, 0,
                                              reinterpret_cast<LINEADDRESSCAPS*>(data));
                });
                if (result != 0) {
                    Report(result);
                    return;
                }
                const auto* ac = addressCaps.As<LINEADDRESSCAPS>();
                const QString entry =
                    ac->dwAddressSize > 0
                        ? StructText(addressCaps, ac->dwAddressOffset, ac->dwAddressSize)
                        : QStringLiteral("Address.ID = %1 <Name not available>").arg(a);
                address_->list_.append(entry);
                if (a == address_->id_)
                    address_->name_ = entry;
                outcome = 0;
            }
            address_->setID(address_->id_);

            tapi_->extensionID_[0] = extensionID.dwExtensionID0;
            tapi_->extensionID_[1] = extensionID.dwExtensionID1;
            tapi_->extensionID_[2] = extensionID.dwExtensionID2;
            tapi_->extensionID_[3] = extensionID.dwExtensionID3;
        }
    }
    Report(outcome);
}

void TetLineInternal::ResetCallParameters() {
    TetCallParameters defaults(this, QStringLiteral("Call"));
    defaults.ResetToDeviceDefaults();
    TetCallParameters* base = CallParameters() ? CallParameters() : &defaults;
    base->ResetToDeviceDefaults();
    address_->Forward()->Parameters()->CopyValuesFrom(*base);
    conference_->Parameters()->CopyValuesFrom(*base);
    transfer_->Parameters()->CopyValuesFrom(*base);
}
