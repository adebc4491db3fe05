#pragma once

// The layer's two dialogs (device configuration and dialling location) are shown by the
// application: it installs a presenter, the layer asks it. Without a presenter lineConfigDialog
// and lineTranslateDialog answer LINEERR_OPERATIONFAILED.

#include <QString>

#include "telephony/tapi/tapi_types.h"

namespace tapi {

// Where the user dials from; lineTranslateAddress turns canonical numbers into dialable ones
// with it.
struct DialingLocation {
    QString name = QStringLiteral("Default Location");
    DWORD countryCode = 31;
    QString areaCode = QStringLiteral("20");
    QString outsideLinePrefix;                        // dialled first on every call, e.g. "0"
    QString longDistancePrefix = QStringLiteral("0"); // before an area code of the same country
    QString internationalPrefix = QStringLiteral("00");
    QString cancelCallWaiting; // dialled first with LINETRANSLATEOPTION_CANCELCALLWAITING

    bool operator==(const DialingLocation&) const = default;
};

struct DeviceDescription {
    DWORD deviceId = 0;
    QString name;
    QString providerInfo;
    QString deviceClass; // the class the caller named, may be empty
};

class DialogPresenter {
public:
    virtual ~DialogPresenter() = default;

    // Shows the device's configuration. Returns 0 (also when the user cancels) or a LINEERR_ code.
    virtual LONG configureDevice(HWND owner, const DeviceDescription& device) = 0;

    // Lets the user edit the location; address is the number the caller passed (may be empty).
    // Returns 0 and the edited location, or a LINEERR_ code (the location then stays unchanged).
    virtual LONG editLocation(HWND owner, const DeviceDescription& device, const QString& address,
                              DialingLocation& location) = 0;
};

// The presenter stays owned by the application; pass nullptr before destroying it.
void setDialogPresenter(DialogPresenter* presenter);
DialogPresenter* dialogPresenter();

DialingLocation currentLocation();
void setCurrentLocation(const DialingLocation& location);

} // namespace tapi
