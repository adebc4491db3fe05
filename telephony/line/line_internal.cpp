// Construction, destruction, Enabled, the TAPI callback and the idle timer of the line component.

#include "telephony/line/line_internal.h"

#include <set>

#include <QCoreApplication>
#include <QTimer>

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/terminal.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/line/dispatch.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"

namespace {
// Components alive in this process. TAPI hands the callback the instance value given to lineOpen;
// a message still queued for a component that is gone must not reach freed memory.
std::set<const TetLineInternal*>& LiveComponents() {
    static std::set<const TetLineInternal*> live;
    return live;
}
} // namespace

TetLineInternal::TetLineInternal(QObject* owner) : TetSharedControl(owner) {
    SetComponentKind(1); // writes the two opening lines
    enabled_ = false;
    sessionOpen_ = false;

    idleTimer_ = std::make_unique<QTimer>();
    QObject::connect(idleTimer_.get(), &QTimer::timeout, [this] { FireIdleFromTimer(); });

    call_ = std::make_unique<TetCall>(this);
    transfer_ = std::make_unique<TetTransfer>(this);
    conference_ = std::make_unique<TetConference>(this);
    address_ = std::make_unique<TetAddress>(this);
    comm_ = std::make_unique<TetRelatedCommDevice>(this);
    device_ = std::make_unique<TetLineDevice>(this);
    line_ = std::make_unique<TetLineLine>(this);
    phone_ = std::make_unique<TetRelatedPhoneDevice>(this);
    popup_ = std::make_unique<TetPopup>(this);
    SetPopupFlags(popup_.get());
    privilege_ = std::make_unique<TetPrivilege>(this);
    tapi_ = std::make_unique<TetTAPI>(this);
    wavePlay_ = std::make_unique<TetRelatedWaveDevice>(this, QStringLiteral("WavePlay"),
                                                       QStringLiteral("wave/out"));
    waveRecord_ = std::make_unique<TetRelatedWaveDevice>(this, QStringLiteral("WaveRecord"),
                                                         QStringLiteral("wave/in"));
    terminal_ = std::make_unique<TetTerminal>(this);
    dispatch_ = std::make_unique<TetLineDispatch>(this);

    ClearParties();
    LiveComponents().insert(this);
}

TetLineInternal::~TetLineInternal() {
    Vigil()->setEvents(false); // no application handler runs from here on
    if (device_->Active())
        CloseLine(false);
    ShutdownSession();
    Vigil()->setVisible(false);
    idleTimer_->stop();
    // A message that was already queued is still dispatched here, with the events switched off.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    // Anything later finds the component unknown instead of freed memory.
    LiveComponents().erase(this);
}

void TetLineInternal::Loaded() {
    if (!enabled_)
        return;
    // A session opened when Enabled was applied is kept: a second one would orphan the first.
    if (!sessionOpen_)
        InitializeSession(device_->count_);
    ReadDeviceData();
    if (activationRequested_)
        device_->setActive(true);
}

bool TetLineInternal::EventsOn() const {
    return Vigil()->Events();
}

void TetLineInternal::setEnabled(bool value) {
    if (value == enabled_)
        return;
    if (value) {
        InitializeSession(device_->count_);
        device_->list_.clear();
        ReadDeviceData();
    } else {
        if (device_->Active())
            SetDeviceActive(false);
        ShutdownSession();
        if (!sessionOpen_)
            ResetSession();
    }
    enabled_ = sessionOpen_;
}

void TetLineInternal::SetDeviceActive(bool value) {
    if (value == device_->active_)
        return;
    activationRequested_ = value;
    Stamped(QStringLiteral("Device.Active := ") + Bool(value));
    if (value) {
        Detail(QStringLiteral("\tDevice.Count = %1").arg(device_->count_));
        Detail(QStringLiteral("\tDevice.ID = %1").arg(device_->id_));
        Detail(QStringLiteral("\tDevice.Name = '%1'").arg(device_->name_));
        OpenLine(device_->mediaModes_.active_);
        SelectTerminalsOfDevice();
    } else {
        CloseLine(false);
    }
}

void TetLineInternal::SelectTerminalsOfDevice() {
    // Each terminal in turn, ending with the last one.
    const int32_t count = terminal_->Count();
    for (int32_t t = 0; t < count; ++t)
        terminal_->setID(t);
}

void TetLineInternal::SetDeviceID(int32_t n) {
    ClearError();
    if (n < 0 || n >= device_->count_) {
        Stamped(QStringLiteral("Device.ID := %1").arg(n));
        Report(LINEERR_BADDEVICEID);
        Detail(QStringLiteral("\tDevice.Count = %1").arg(device_->count_));
        Detail(QStringLiteral("\tDevice.Name = '%1'").arg(device_->name_));
        return;
    }
    if (n == device_->id_)
        return;
    if (sessionOpen_ && device_->active_) {
        SetDeviceActive(false);
        if (device_->active_)
            return;
    }
    Stamped(QStringLiteral("Device.ID := %1").arg(n));
    Detail(QStringLiteral("\tDevice.Count = %1").arg(device_->count_));
    device_->id_ = n;
    ReadDeviceData();
    Detail(QStringLiteral("\tDevice.Name = '%1'").arg(device_->name_));
}

void TetLineInternal::StartIdleTimer(int32_t interval) {
    idleTimer_->setInterval(std::max(0, interval));
    idleInterval_ = interval;
    idleTimer_->start();
}

bool TetLineInternal::IdleTimerActive() const {
    return idleTimer_->isActive();
}

void TetLineInternal::FireIdleFromTimer() {
    idleTimer_->stop();
    if (idleInterval_ != 0)
        Stamped(QStringLiteral("\tetLine.Device.IdleDelay - Complete "));
    const auto handle = static_cast<int32_t>(SelectedCallHandle());
    if (OnIdle && EventsOn())
        OnIdle(this, handle);
    Vigil()->ShowOnEvent(popup_->OnIdle());
}

void TetLineInternal::LineCallback(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwCallbackInstance,
                                   DWORD_PTR dwParam1, DWORD_PTR dwParam2, DWORD_PTR dwParam3) {
    auto* self = reinterpret_cast<TetLineInternal*>(dwCallbackInstance);
    if (!self || LiveComponents().count(self) == 0)
        return;
    // A forwarding request belongs to no call record, so the reply lookup of the dispatch cannot
    // find it; its slot is marked here before the dispatch reports the reply as usual.
    int32_t& forward = self->address_->Forward()->PendingRequest();
    if (dwMessage == LINE_REPLY && forward > 0 && static_cast<DWORD_PTR>(forward) == dwParam1)
        forward = -1;
    self->dispatch_->Dispatch(hDevice, dwMessage, dwParam1, dwParam2, dwParam3);
}
