#include "app/platform/line_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QLabel* ReadOnlyLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

DeviceSettingsDialog::DeviceSettingsDialog(const tapi::DeviceDescription& device, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DeviceSettingsDialog"));
    setWindowTitle(tr("Line device settings"));
    auto* form = new QFormLayout;
    form->addRow(tr("Device:"), ReadOnlyLabel(device.name, "deviceName", this));
    form->addRow(tr("Device ID:"),
                 ReadOnlyLabel(QString::number(device.deviceId), "deviceId", this));
    form->addRow(tr("Provider:"), ReadOnlyLabel(device.providerInfo, "providerInfo", this));
    if (!device.deviceClass.isEmpty())
        form->addRow(tr("Device class:"), ReadOnlyLabel(device.deviceClass, "deviceClass", this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

DialingLocationDialog::DialingLocationDialog(const tapi::DialingLocation& location,
                                             const QString& address, QWidget* parent)
    : QDialog(parent), location_(location) {
    setObjectName(QStringLiteral("DialingLocationDialog"));
    setWindowTitle(tr("Dialling location"));

    countryCode_ = new QSpinBox(this);
    countryCode_->setObjectName(QStringLiteral("countryCode"));
    countryCode_->setRange(1, 999); // ITU country codes have one to three digits
    countryCode_->setValue(static_cast<int>(location.countryCode));

    // Area codes are digits; an outside-line prefix may also hold the dial pause "," and "*"/"#".
    areaCode_ = new QLineEdit(location.areaCode, this);
    areaCode_->setObjectName(QStringLiteral("areaCode"));
    areaCode_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,8}")), areaCode_));
    outsideLinePrefix_ = new QLineEdit(location.outsideLinePrefix, this);
    outsideLinePrefix_->setObjectName(QStringLiteral("outsideLinePrefix"));
    outsideLinePrefix_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9*#,]{0,8}")), outsideLinePrefix_));

    auto* form = new QFormLayout;
    if (!address.isEmpty())
        form->addRow(tr("Number:"), ReadOnlyLabel(address, "address", this));
    form->addRow(tr("Country code:"), countryCode_);
    form->addRow(tr("Area code:"), areaCode_);
    form->addRow(tr("Outside-line prefix:"), outsideLinePrefix_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(areaCode_, &QLineEdit::textChanged, this, [this] { UpdateAcceptable(); });
    connect(outsideLinePrefix_, &QLineEdit::textChanged, this, [this] { UpdateAcceptable(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    UpdateAcceptable();
}

void DialingLocationDialog::UpdateAcceptable() {
    // A number cannot be translated without an area code; refuse OK until there is one.
    buttons_->button(QDialogButtonBox::Ok)
        ->setEnabled(areaCode_->hasAcceptableInput() && !areaCode_->text().isEmpty() &&
                     outsideLinePrefix_->hasAcceptableInput());
}

tapi::DialingLocation DialingLocationDialog::Location() const {
    tapi::DialingLocation edited = location_;
    edited.countryCode = static_cast<DWORD>(countryCode_->value());
    edited.areaCode = areaCode_->text();
    edited.outsideLinePrefix = outsideLinePrefix_->text();
    return edited;
}

LONG QtLineDialogPresenter::configureDevice(HWND, const tapi::DeviceDescription& device) {
    DeviceSettingsDialog dialog(device, QApplication::activeWindow());
    dialog.exec();
    return 0;
}

LONG QtLineDialogPresenter::editLocation(HWND, const tapi::DeviceDescription&,
                                         const QString& address, tapi::DialingLocation& location) {
    DialingLocationDialog dialog(location, address, QApplication::activeWindow());
    if (dialog.exec() == QDialog::Accepted)
        location = dialog.Location();
    return 0;
}
