#pragma once

// What the window makes of a TAPI caller identification: the text for the status pane and the
// log row. Kept apart from the window so the rules can be checked without a line device.

#include "app/core/call_tracker.h"

#include <QString>
#include <QStringList>
#include <QTime>

struct CallerIdReading {
    bool hasAddress = false; // LINECALLPARTYID_ADDRESS is among the party's flags
    QString number;          // the party's number as the line component shows it
    bool blocked = false;
    bool outOfArea = false;
};

struct CallerIdOutcome {
    QString status; // "Verborgen Nummer", "Out of area" or the number
    LogRow row;     // "IN", "Tapi", time, number; the name is left to the phonebook lookup
};

// The number is used only when the party carries an address, and only its digits and "+" are
// kept, so the separators of the component's number mask never reach the log.
CallerIdOutcome CallerIdRow(const CallerIdReading& reading, const QTime& now);

// Position of name in the device list, compared without regard to case; -1 when the name is
// empty or not there. The first of several equal names wins.
int DeviceIndexOf(const QStringList& devices, const QString& name);

// The message shown when the chosen device turns out to be a data-only modem.
QString LimitedFunctionalityText(const QString& deviceName);
