#pragma once

// The telephony layer's two dialogs, shown with Qt: the provider's settings of a line device and
// the dialling location that lineTranslateAddress works with. The application installs
// QtLineDialogPresenter into the layer at start-up.

#include <QDialog>

#include "telephony/tapi/dialog_presenter.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The device's name, provider and the class asked for; read-only.
class DeviceSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceSettingsDialog(const tapi::DeviceDescription& device, QWidget* parent = nullptr);
};

// Where the user dials from: country code, area code and the prefix for an outside line.
class DialingLocationDialog : public QDialog {
    Q_OBJECT
public:
    DialingLocationDialog(const tapi::DialingLocation& location, const QString& address,
                          QWidget* parent = nullptr);

    // The location with the edited fields; the fields not shown keep their values.
    tapi::DialingLocation Location() const;

private:
    void UpdateAcceptable();

    tapi::DialingLocation location_;
    QSpinBox* countryCode_;
    QLineEdit* areaCode_;
    QLineEdit* outsideLinePrefix_;
    QDialogButtonBox* buttons_;
};

class QtLineDialogPresenter : public tapi::DialogPresenter {
public:
    LONG configureDevice(HWND owner, const tapi::DeviceDescription& device) override;
    LONG editLocation(HWND owner, const tapi::DeviceDescription& device, const QString& address,
                      tapi::DialingLocation& location) override;
};
