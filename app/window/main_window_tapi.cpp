// The TAPI source of the window: the line component with its stored settings, opening the chosen
// device, the "Actief" box, the device link with the line selection dialog, and the component's
// events: caller identification makes a log row, the others a text in the right status pane.

#include "app/window/main_window.h"

#include "app/window/dialog_service.h"
#include "app/window/line_selection_dialog.h"
#include "app/window/tapi_record.h"

#include "app/core/caller_id_row.h"

#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/line/line.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"
#include "telephony/tapi/tapi_constants.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTime>

#include <exception>
#include <functional>

namespace {

// A plain label has no click signal; this turns a left-button release on it into one.
class LabelClickFilter final : public QObject {
public:
    LabelClickFilter(QObject* parent, std::function<void()> onClick)
        : QObject(parent), m_onClick(std::move(onClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_onClick();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

void ApplyParameterDefaults(TetCallParameters* parameters) {
    parameters->setAddressID(0);
    parameters->setBearerMode(1);
    parameters->setDefaults(true);
    parameters->setFlags(0);
    parameters->setMediaMode(4);
    parameters->setNoAnswerTimeout(0);
}

// The settings the window keeps for its line component. The gather-digits values (5, "#*",
// 5000), the monitored media modes and the silence duration (0, 0) are the component's own
// starting values, which it offers no way to write.
void ApplyStoredSettings(TetLine& line) {
    line.Privilege()->setMonitor(true);
    line.Privilege()->setOwner(true);
    line.Privilege()->setNone(false);
    line.TAPI()->setLowVersion(65539);
    line.TAPI()->setHighVersion(131074);
    line.TAPI()->setExtensionLowVersion(0);
    line.TAPI()->setExtensionHighVersion(0);
    line.TAPI()->setReplyTimeout(60000);
    line.Device()->setIdleDelay(0);
    line.Device()->setTranslatePhoneNumber(false);
    line.Device()->setUnformatPhoneNumber(false);
    for (std::size_t party = 0; party < 5; ++party) {
        TetCallerID* id = line.Call()->Party(party);
        id->setMaskNumber(QStringLiteral("000-000-0000;0"));
        id->setFormatName(true);
        id->setEventFilter(true);
    }
    ApplyParameterDefaults(line.Call()->Parameters());
    ApplyParameterDefaults(line.Conference()->Parameters());
    ApplyParameterDefaults(line.Transfer()->Parameters());
    ApplyParameterDefaults(line.Address()->Forward()->Parameters());
    line.Comm()->setDeviceClass(QStringLiteral("comm/datamodem"));
    line.Phone()->setDeviceClass(QStringLiteral("tapi/phone"));
    line.WavePlay()->setDeviceClass(QStringLiteral("wave/out"));
    line.WaveRecord()->setDeviceClass(QStringLiteral("wave/in"));
    line.Log()->setActive(false);
    line.Log()->setCount(50);
    line.Log()->setTimeStamp(false);
    line.Vigil()->setStayOnTop(false);
    line.Vigil()->setVisible(false);
}

} // namespace

void TForm1::SetupTapiSource() {
    etLine1 = std::make_unique<TetLine>(this);
    TetLine& line = *etLine1;
    ApplyStoredSettings(line);

    using namespace std::placeholders;
    line.OnBusy = std::bind(&TForm1::etLine1Busy, this, _1, _2);
    line.OnCallBegin = std::bind(&TForm1::etLine1CallBegin, this, _1, _2);
    line.OnCallEnd = std::bind(&TForm1::etLine1CallEnd, this, _1, _2);
    line.OnCallerID = std::bind(&TForm1::etLine1CallerID, this, _1, _2);
    line.OnConnected = std::bind(&TForm1::etLine1Connected, this, _1, _2);
    line.OnDisconnected = std::bind(&TForm1::etLine1Disconnected, this, _1, _2);
    line.OnError = std::bind(&TForm1::etLine1Error, this, _1);
    line.OnIdle = std::bind(&TForm1::etLine1Idle, this, _1, _2);
    line.OnLineState = std::bind(&TForm1::etLine1LineState, this, _1, _2, _3, _4);
    line.OnOffering = std::bind(&TForm1::etLine1Offering, this, _1, _2);
    line.OnRing = std::bind(&TForm1::etLine1Ring, this, _1, _2, _3);

    connect(RzCheckBox10, &QCheckBox::clicked, this, &TForm1::RzCheckBox10Click);
    Label9->installEventFilter(new LabelClickFilter(Label9, [this] { Label9Click(); }));
}

void TForm1::OpenTapiDevice() {
    TetLine& line = *etLine1;
    line.Device()->setActive(false);
    line.setEnabled(true);

    const QStringList devices = line.Device()->List();
    Tapi.DeviceIndex = DeviceIndexOf(devices, Tapi.DeviceName);

    // The component reports a refused index through OnError; only an exception lands here.
    try {
        line.Device()->setID(Tapi.DeviceIndex);
    } catch (const std::exception& e) {
        m_dialogs->information(this, QStringLiteral("VORBEL"),
                               QStringLiteral("ID Error: ") + QString::fromLocal8Bit(e.what()));
    }

    Label9->setText(Tapi.DeviceName.isEmpty() ? QStringLiteral("<select>") : Tapi.DeviceName);

    // Always owner and monitor, whatever was stored or chosen for offering.
    line.Privilege()->setMonitor(true);
    line.Privilege()->setOwner(true);

    line.Device()->setActive(Tapi.Connect);
    if (line.Device()->Active() == Tapi.Connect)
        return;
    if (line.Error()->Number() == LINEERR_INVALMEDIAMODE) {
        m_dialogs->information(this, QStringLiteral("Limited Functionality Device"),
                               LimitedFunctionalityText(line.Device()->Name()));
    } else {
        m_dialogs->error(this, QStringLiteral("Error"),
                         QStringLiteral("Error opening line device: ") + line.Error()->Text());
    }
}

void TForm1::RzCheckBox10Click() {
    Tapi.Connect = RzCheckBox10->isChecked();
    OpenTapiDevice();
}

void TForm1::Label9Click() {
    // Owned by the window so it is centred over it and stays in front; freed in every case.
    TFormDlgLineSelection dialog(this);
    dialog.LineComponent = etLine1.get();
    dialog.FillLines();
    const int result = m_lineSelectionRunner ? m_lineSelectionRunner(dialog) : dialog.exec();
    if (result == QDialog::Accepted)
        OpenTapiDevice();
}

void TForm1::setLineSelectionRunner(std::function<int(TFormDlgLineSelection&)> runner) {
    m_lineSelectionRunner = std::move(runner);
}

TetLine* TForm1::lineComponent() const {
    return etLine1.get();
}

void TForm1::etLine1CallerID(TetSharedControl*, int32_t CallHandle) {
    TetCall* calls = etLine1->Call();
    // The party objects describe the selected call. A call offered while another one stays
    // selected would be logged with that other call's caller, so its own caller is read by
    // selecting it for the moment; the component's selection is then put back.
    const auto handle = static_cast<uint32_t>(CallHandle);
    const uint32_t selected = calls->Handle();
    const bool other = handle != 0 && handle != selected && calls->IndexOfCall(handle) > 0;
    if (other)
        calls->setHandle(handle);
    const TetCallerID* id = calls->CallerID();
    CallerIdReading reading;
    reading.hasAddress = (id->Flags() & LINECALLPARTYID_ADDRESS) != 0;
    reading.number = reading.hasAddress ? id->Number() : QString();
    reading.blocked = id->Blocked();
    reading.outOfArea = id->OutOfArea();
    if (other && calls->IndexOfCall(selected) >= 0)
        calls->setHandle(selected);

    const CallerIdOutcome outcome = CallerIdRow(reading, QTime::currentTime());
    RzStatusPane1->setText(outcome.status);
    addLogRow(outcome.row);
}

void TForm1::etLine1Offering(TetSharedControl* sender, int32_t callHandle) {
    if (Tapi.Offering)
        etLine1CallerID(sender, callHandle);
}

void TForm1::etLine1Busy(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("Busy"));
}

void TForm1::etLine1CallBegin(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("Begin call"));
}

void TForm1::etLine1CallEnd(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("End call"));
}

void TForm1::etLine1Connected(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("Connected"));
}

void TForm1::etLine1Disconnected(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("Disconnected"));
}

void TForm1::etLine1Error(TetSharedControl*) {
    RzStatusPane1->setText(QStringLiteral("Error"));
}

void TForm1::etLine1Idle(TetSharedControl*, int32_t) {
    RzStatusPane1->setText(QStringLiteral("Idle"));
}

void TForm1::etLine1Ring(TetSharedControl*, uint32_t, uint32_t) {
    RzStatusPane1->setText(QStringLiteral("Ring..."));
}

void TForm1::etLine1LineState(TetSharedControl*, uint32_t State, uint32_t Param2, uint32_t Param3) {
    const auto text = [](uint32_t value) { return QString::number(static_cast<int32_t>(value)); };
    RzStatusPane1->setText(text(State) + QLatin1Char('-') + text(Param2) + QLatin1Char('-') +
                           text(Param3));
}
