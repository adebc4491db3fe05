// Property writes of the device, privilege and TAPI objects, and the device capabilities.

#include "telephony/line/line_device.h"

#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/tapi_buffer.h"

namespace {
QByteArray CopyBytes(const TapiBuffer& buffer, uint32_t offset, uint32_t size) {
    const auto [bytes, length] = buffer.Bytes(offset, size);
    return bytes ? QByteArray(bytes, static_cast<qsizetype>(length)) : QByteArray();
}
} // namespace

// ---- TetLineDeviceCaps

void TetLineDeviceCaps::Assign(const TapiBuffer& buffer) {
    const auto* c = buffer.As<LINEDEVCAPS>();
    flags_ = c->dwDevCapFlags;
    maxNumActiveCalls_ = c->dwMaxNumActiveCalls;
    answerMode_ = c->dwAnswerMode;
    states_ = c->dwLineStates;
    lineFeatures_ = c->dwLineFeatures;
    bearerModes_ = c->dwBearerModes;
    ringModes_ = c->dwRingModes;
    tones_ = c->dwGenerateToneModes;
    AssignDevSpecific(buffer);
}

void TetLineDeviceCaps::AssignDevSpecific(const TapiBuffer& buffer) {
    const auto* c = buffer.As<LINEDEVCAPS>();
    devSpecific_ = CopyBytes(buffer, c->dwDevSpecificOffset, c->dwDevSpecificSize);
}

void TetLineDeviceCaps::Clear() {
    flags_ = maxNumActiveCalls_ = answerMode_ = states_ = lineFeatures_ = bearerModes_ =
        ringModes_ = tones_ = 0;
    devSpecific_.clear();
}

// ---- TetLineDevice

TetLineDevice::TetLineDevice(TetLineInternal* owner)
    : TetSharedDevice(owner), capabilities_(owner), mediaModes_(owner) {}

void TetLineDevice::setActive(bool value) {
    owner_->SetDeviceActive(value);
}

void TetLineDevice::setID(int32_t n) {
    owner_->SetDeviceID(n);
}

void TetLineDevice::setIdleDelay(int32_t milliseconds) {
    owner_->Stamped(QStringLiteral("Device.IdleDelay := [%1] //milliseconds").arg(milliseconds));
    owner_->ClearError();
    if (active_) {
        owner_->Report(LINEERR_INVALLINESTATE);
        return;
    }
    idleDelay_ = milliseconds;
}

bool TetLineDevice::Configure() {
    owner_->Stamped(QStringLiteral("Device.Configure"));
    owner_->ClearError();
    LONG result = -1;
    if (owner_->SessionOpen())
        result = lineConfigDialog(static_cast<DWORD>(id_), nullptr, nullptr);
    if (result < 0)
        owner_->Report(result);
    const bool outcome = result >= 0;
    owner_->Stamped(QStringLiteral("\tDevice.Configure - Returned = ") +
                    TetLineInternal::Bool(outcome));
    return outcome;
}

// ---- TetPrivilege

uint32_t TetPrivilege::Bits() const {
    return (none_ ? LINECALLPRIVILEGE_NONE : 0) + (monitor_ ? LINECALLPRIVILEGE_MONITOR : 0) +
           (owner__ ? LINECALLPRIVILEGE_OWNER : 0);
}

bool TetPrivilege::Refused(const QString& line) {
    owner_->Stamped(line);
    owner_->ClearError();
    if (!owner_->Device()->Active())
        return false;
    owner_->Report(LINEERR_INVALLINESTATE);
    return true;
}

void TetPrivilege::setNone(bool value) {
    if (Refused(QStringLiteral("Device.Privilege.None := ") + TetLineInternal::Bool(value)))
        return;
    if (value) {
        monitor_ = false;
        owner__ = false;
    }
    none_ = value;
}

void TetPrivilege::setMonitor(bool value) {
    if (Refused(QStringLiteral("Device.Privilege.Monitor := ") + TetLineInternal::Bool(value)))
        return;
    monitor_ = value;
    if (value)
        none_ = false;
}

void TetPrivilege::setOwner(bool value) {
    if (Refused(QStringLiteral("Device.Privilege.Owner := ") + TetLineInternal::Bool(value)))
        return;
    owner__ = value;
    if (value)
        none_ = false;
}
