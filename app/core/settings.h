#pragma once

// All settings of the program, kept in config.cfg, section "Settings", 30 keys in a fixed order.

#include "app/core/tapi_choice.h"

#include <QString>
#include <QStringList>

#include <array>

struct Settings {
    static constexpr int LineCount = 8;
    static constexpr int IntervalMin = 1;
    static constexpr int IntervalMax = 100;

    QString URL;         // address of the IP phone
    int INTERVAL = 2;    // seconds between polls, 1 to 100
    QString Phonebook;   // path of the phonebook file
    bool Active = false; // IP-phone polling switched on
    int TypeTel = 0;     // phone type index; outside 0..1 means no selection
    int Lijnen = 0;      // line count index; outside 0..1 means no selection
    std::array<bool, LineCount> lijn{true, true, true, true, true, true, true, true};
    std::array<QString, LineCount> lijnomschr; // descriptions of lines 1 to 8
    TTApi tapi; // tapiconnect, tapidevice, tapideviceid, tapioffering
    int posleft = 10;
    int postop = 10;
    int poswidth = 600;
    int posheight = 430;

    // The 30 key names in the order in which they are written.
    static const QStringList& keyNames();
    static inline const QString SectionName = QStringLiteral("Settings");

    // Reads path with the defaults of a fresh machine for missing keys; the four TAPI keys
    // default to the values already in this->tapi. A missing file gives all defaults. INTERVAL
    // is clamped to 1..100; TypeTel and Lijnen are kept as read. Returns false only when the
    // file exists but cannot be read (all fields then keep their defaults).
    bool load(const QString& path, QString* error = nullptr);

    // Writes all 30 keys in order into section "Settings", keeping other sections and keys of
    // an existing file; Booleans as "1"/"0". Atomic: on failure the previous file stays whole.
    bool save(const QString& path, QString* error = nullptr) const;

    // A record with the defaults and the given TAPI defaults, read from path.
    static Settings fromFile(const QString& path, const TTApi& tapiDefaults);
};
