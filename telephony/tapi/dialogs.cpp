// The two dialogs of the layer and the dialling location they edit.

#include <mutex>

#include "telephony/tapi/address_translation.h"
#include "telephony/tapi/dialog_presenter.h"
#include "telephony/tapi/service.h"
#include "telephony/tapi/struct_writer.h"

namespace tapi {

namespace {

struct DialogState {
    std::mutex mutex;
    DialogPresenter* presenter = nullptr;
    DialingLocation location;
};

DialogState& state() {
    static DialogState s;
    return s;
}

} // namespace

void setDialogPresenter(DialogPresenter* presenter) {
    std::lock_guard lock(state().mutex);
    state().presenter = presenter;
}

DialogPresenter* dialogPresenter() {
    std::lock_guard lock(state().mutex);
    return state().presenter;
}

DialingLocation currentLocation() {
    std::lock_guard lock(state().mutex);
    return state().location;
}

void setCurrentLocation(const DialingLocation& location) {
    std::lock_guard lock(state().mutex);
    state().location = location;
}

namespace detail {

namespace {

// The device's description, read under the service's lock; nullopt for a bad ID.
std::optional<DeviceDescription> describe(Service& s, DWORD deviceId, LPCSTR deviceClass) {
    std::lock_guard lock(s.mutex);
    ProviderDevice* d = nullptr;
    if (deviceId >= s.deviceCount())
        return std::nullopt;
    d = s.providerDevice(deviceId);
    DeviceDescription desc;
    desc.deviceId = deviceId;
    desc.name = QString::fromStdString(d->info().name);
    desc.providerInfo = QString::fromStdString(d->info().providerInfo);
    desc.deviceClass = deviceClass ? QString::fromLatin1(deviceClass) : QString();
    return desc;
}

} // namespace

// The presenter runs without the service's lock: a dialog may spin an event loop that delivers
// messages into callbacks which call back into the layer.
LONG Service::configDialog(DWORD deviceId, HWND owner, LPCSTR deviceClass) {
    const auto desc = describe(*this, deviceId, deviceClass);
    if (!desc)
        return LINEERR_BADDEVICEID;
    DialogPresenter* presenter = dialogPresenter();
    if (!presenter)
        return LINEERR_OPERATIONFAILED;
    return presenter->configureDevice(owner, *desc);
}

LONG Service::translateDialog(HLINEAPP app, DWORD deviceId, HWND owner, LPCSTR address) {
    {
        std::lock_guard lock(mutex);
        if (app != 0 && !session(app))
            return LINEERR_INVALAPPHANDLE;
    }
    const auto desc = describe(*this, deviceId, nullptr);
    if (!desc)
        return LINEERR_BADDEVICEID;
    DialogPresenter* presenter = dialogPresenter();
    if (!presenter)
        return LINEERR_OPERATIONFAILED;
    DialingLocation location = currentLocation();
    const LONG rc = presenter->editLocation(
        owner, *desc, address ? QString::fromLatin1(address) : QString(), location);
    if (rc == 0)
        setCurrentLocation(location);
    return rc;
}

LONG Service::translateAddress(HLINEAPP app, DWORD deviceId, LPCSTR address, DWORD /*card*/,
                               DWORD options, LPLINETRANSLATEOUTPUT output) {
    {
        std::lock_guard lock(mutex);
        if (app != 0 && !session(app))
            return LINEERR_INVALAPPHANDLE;
        if (deviceId >= deviceCount())
            return LINEERR_BADDEVICEID;
    }
    if (!address)
        return LINEERR_INVALPOINTER;
    if (options & LINETRANSLATEOPTION_CARDOVERRIDE)
        return LINEERR_INVALCARD; // no calling cards are kept
    if ((options & LINETRANSLATEOPTION_FORCELOCAL) && (options & LINETRANSLATEOPTION_FORCELD))
        return LINEERR_INVALPARAM;
    StructWriter<LINETRANSLATEOUTPUT> w(output);
    if (const LONG rc = w.check())
        return rc;
    const DialingLocation location = currentLocation();
    const auto t = tapi::translateAddress(QString::fromLatin1(address), location, options);
    if (!t)
        return LINEERR_INVALADDRESS;
    LINETRANSLATEOUTPUT& f = w.fixed();
    const QByteArray dialable = t->dialable.toLatin1();
    const QByteArray displayable = t->displayable.toLatin1();
    // Both strings are always present, even when empty.
    if (const DWORD at = w.appendText(std::string_view(dialable.constData(), dialable.size()))) {
        f.dwDialableStringSize = static_cast<DWORD>(dialable.size() + 1);
        f.dwDialableStringOffset = at;
    }
    if (const DWORD at =
            w.appendText(std::string_view(displayable.constData(), displayable.size()))) {
        f.dwDisplayableStringSize = static_cast<DWORD>(displayable.size() + 1);
        f.dwDisplayableStringOffset = at;
    }
    f.dwCurrentCountry = location.countryCode;
    f.dwDestCountry = t->destCountry;
    f.dwTranslateResults = t->results;
    return w.finish();
}

} // namespace detail
} // namespace tapi
