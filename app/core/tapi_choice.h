#pragma once

// The record of the TAPI choices shared by the main window, the settings and the line selection
// dialog. The window owns the one global instance.

#include <QString>

struct TTApi {
    bool Connect = false;   // the TAPI source is switched on
    QString DeviceName;     // name of the chosen line device
    qint32 DeviceIndex = 0; // position of that name in the device name list
    bool Offering = false;  // an offered call counts as a caller-ID event

    friend bool operator==(const TTApi&, const TTApi&) = default;
};
