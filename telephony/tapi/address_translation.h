#pragma once

// Turns a canonical number ("+CC (AREA) SUBSCRIBER") into what to dial from a location.

#include <QString>

#include <optional>

#include "telephony/tapi/dialog_presenter.h"

namespace tapi {

struct Translation {
    QString dialable;
    QString displayable;
    DWORD destCountry = 0;
    DWORD results = 0; // LINETRANSLATERESULT_
};

// nullopt for a number that starts canonical but is malformed. A number without the leading
// "+" is passed through unchanged (LINETRANSLATERESULT_NOTRANSLATION).
std::optional<Translation> translateAddress(const QString& address, const DialingLocation& from,
                                            DWORD options);

} // namespace tapi
