// The phone, wave and comm devices related to the open line, and the dialling-location dialog.

#include "telephony/line/related_devices.h"

#include <cstring>

#include "telephony/call/call.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"

namespace {
const QString CommClass = QStringLiteral("comm/datamodem");

// Every related device's class may only change while the line is closed.
bool ClassRefused(TetLineInternal* owner, const QString& path, const QString& value) {
    owner->Stamped(path + QStringLiteral(".DeviceClass := \"") + value + QLatin1Char('"'));
    owner->ClearError();
    if (!owner->Device()->Active())
        return false;
    owner->Report(LINEERR_INVALLINESTATE);
    return true;
}
} // namespace

void TetRelatedPhoneDevice::setDeviceClass(const QString& value) {
    if (!ClassRefused(owner_, QStringLiteral("Phone"), value))
        deviceClass_ = value;
}

void TetRelatedWaveDevice::setDeviceClass(const QString& value) {
    if (!ClassRefused(owner_, name_, value))
        deviceClass_ = value;
}

void TetRelatedCommDevice::setDeviceClass(const QString& value) {
    if (!ClassRefused(owner_, QStringLiteral("Comm"), value))
        deviceClass_ = value;
}

void TetRelatedCommDevice::setEnabled(bool value) {
    owner_->Stamped(QStringLiteral("Comm.Enabled := ") + TetLineInternal::Bool(value));
    enabled_ = value;
    const uint32_t selected = owner_->SelectedCallHandle();
    if (selected == 0)
        return;
    if (value) {
        owner_->LookupCommHandle(selected);
    } else {
        if (available_)
            CloseHandle(reinterpret_cast<HANDLE>(handle_));
        available_ = false;
        handle_ = 0;
    }
}

namespace {
// lineGetID into a VARSTRING; the string data (at least minimum bytes of it) goes to out.
bool QueryID(HLINE line, HCALL call, DWORD select, const QString& deviceClass, void* out,
             std::size_t minimum) {
    const QByteArray name = TetLineInternal::TapiText(deviceClass);
    TapiBuffer buffer;
    const LONG result = buffer.Fill(sizeof(VARSTRING), [&](std::byte* data) {
        return lineGetID(line, 0, call, select, reinterpret_cast<VARSTRING*>(data),
                         name.constData());
    });
    if (result != 0)
        return false;
    const auto* v = buffer.As<VARSTRING>();
    if (v->dwStringSize == 0)
        return false;
    const auto [bytes, size] = buffer.Bytes(v->dwStringOffset, v->dwStringSize);
    if (!bytes || size < minimum)
        return false;
    std::memcpy(out, bytes, minimum);
    return true;
}
} // namespace

bool TetLineInternal::GetRelatedDeviceID(const QString& deviceClass, uint32_t handle, int32_t& id) {
    if (deviceClass == CommClass) {
        intptr_t comm = 0;
        if (!GetRelatedCommHandle(handle, comm))
            return false;
        id = static_cast<int32_t>(comm);
        return true;
    }
    DWORD value = 0;
    if (!QueryID(handle, 0, LINECALLSELECT_LINE, deviceClass, &value, sizeof value))
        return false;
    id = static_cast<int32_t>(value);
    return true;
}

bool TetLineInternal::GetRelatedCommHandle(uint32_t callHandle, intptr_t& handle) {
    // The handle is pointer sized; reading only its first 32 bits would lose it.
    HANDLE value = nullptr;
    if (!QueryID(0, callHandle, LINECALLSELECT_CALL, comm_->deviceClass_, &value, sizeof value))
        return false;
    handle = reinterpret_cast<intptr_t>(value);
    return true;
}

void TetLineInternal::LookupRelatedDevices() {
    if (privilege_->None()) {
        for (TetRelatedWaveDevice* w : {wavePlay_.get(), waveRecord_.get()}) {
            w->available_ = false;
            w->id_ = 0;
        }
        phone_->available_ = false;
        phone_->id_ = 0;
        return;
    }
    if (!phone_->deviceClass_.isEmpty())
        phone_->available_ = GetRelatedDeviceID(phone_->deviceClass_, line_->handle_, phone_->id_);

    auto lookup = [this](TetRelatedWaveDevice& wave, bool allowed) {
        if (!allowed)
            wave.id_ = -2;
        else if (!wave.deviceClass_.isEmpty())
            wave.available_ = GetRelatedDeviceID(wave.deviceClass_, line_->handle_, wave.id_);
    };
    lookup(*waveRecord_, privilege_->Monitor() || privilege_->Owner());
    lookup(*wavePlay_, privilege_->Owner());
}

void TetLineInternal::ForgetRelatedDevices() {
    // A handle still held from an earlier call is closed rather than leaked.
    if (comm_->available_)
        CloseHandle(reinterpret_cast<HANDLE>(comm_->handle_));
    comm_->available_ = false;
    comm_->handle_ = 0;
    for (TetRelatedWaveDevice* w : {wavePlay_.get(), waveRecord_.get()}) {
        w->available_ = false;
        w->id_ = 0;
    }
    phone_->available_ = false;
    phone_->id_ = 0;
}

void TetLineInternal::LookupCommHandle(uint32_t callHandle) {
    constexpr uint32_t DataOrFax =
        LINEMEDIAMODE_DATAMODEM | LINEMEDIAMODE_G3FAX | LINEMEDIAMODE_G4FAX;
    if (!comm_->enabled_ || (SelectedCallMediaMode() & DataOrFax) == 0 || comm_->available_)
        return;
    comm_->available_ = GetRelatedCommHandle(callHandle, comm_->handle_);
}

void TetLineInternal::ReleaseCommHandle() {
    // The handle is ours whenever one is held, whether or not Comm is still enabled.
    if (comm_->available_)
        CloseHandle(reinterpret_cast<HANDLE>(comm_->handle_));
    comm_->available_ = false;
    comm_->handle_ = 0;
}

bool TetLineInternal::SetLocation() {
    LONG result = -1;
    if (sessionOpen_) {
        Stamped(QStringLiteral("SetLocation"));
        ClearError();
        QString number = SelectedCallPhoneNumber();
        if (device_->UnformatPhoneNumber())
            number = StripPunctuationText(number);
        const QByteArray text = TapiText(number);
        result = lineTranslateDialog(line_->appHandle_, static_cast<DWORD>(device_->id_),
                                     tapi_->version_, nullptr, text.constData());
        if (result == 0 && number != SelectedCallPhoneNumber())
            SetSelectedCallPhoneNumber(number);
    }
    if (result < 0)
        Report(result);
    else
        ClearError();
    const bool outcome = result >= 0;
    Stamped(QStringLiteral("\tSetLocation - Returned = ") + Bool(outcome));
    return outcome;
}
