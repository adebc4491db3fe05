#pragma once

// The tracking pass after every poll: compares the current and previous values of each enabled
// line and gives the log rows to add, then moves the current values into the previous ones.

#include "app/core/line_state_table.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// One row of the call log, in column order.
struct LogRow {
    QString direction; // "IN", "OUT" or empty
    QString line;      // description of the line for incoming calls, "Tapi" for TAPI rows
    QString time;      // "hh:nn"
    QString number;
    QString name; // from the phonebook, or empty

    QStringList cells() const { return {direction, line, time, number, name}; }
};

using NameLookup = std::function<std::optional<QString>(const QString& number)>;

class CallTracker {
public:
    // "hh:nn": hours 00 to 23 and minutes.
    static QString timeText(const QTime& time);

    // For each line 1 to 8 whose entry in enabled is set: when it changed (type 1: the name,
    // any type: the phone or the type) and its type is not empty, a row for it; then its
    // previous values become the current ones. descriptions are the lines' description fields.
    static std::vector<LogRow> TrackCalls(LineStateTable& table, int phoneType,
                                          const std::array<bool, 8>& enabled,
                                          const std::array<QString, 8>& descriptions,
                                          const QTime& now, const NameLookup& lookup);
};
