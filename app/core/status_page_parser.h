#pragma once

// Cuts the five values per line out of the IP phone's status page by plain text search, stores
// them in the per-line state table and gives the trace lines of the poll.

#include "app/core/line_state_table.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

struct PageLineValues {
    QString name;      // Peer_Name
    QString phone;     // Peer_Phone
    QString userId;    // User_ID_n_
    QString callState; // Call_State
    QString type;      // Type, upper-cased and trimmed
};

class StatusPageParser {
public:
    // Line count for the "Aantal lijnen:" index: 8 for index 1, otherwise 4.
    static int lineCountForIndex(int lijnenIndex);

    // The text between startTag and the first endTag after it, when its length is within
    // minLength..maxLength; nullopt otherwise (no start tag, no end tag, length out of range).
    static std::optional<QStringView> extract(QStringView page, QStringView startTag,
                                              QStringView endTag, qsizetype minLength,
                                              qsizetype maxLength);

    // "<" name " group=\"" group "\">".
    static QString startTag(QStringView name, QStringView group);

    // The five values of line n as they are stored for phone type 0 or 1.
    static PageLineValues extractLine(QStringView page, int phoneType, int line);

    // The trace line of one polled line.
    static QString traceLine(int sampleNumber, int line, const PageLineValues& values);

    // For phone type 0 or 1, every line 1..lineCount whose entry in enabled is set: stores the
    // five values in the Cur... tables and appends its trace line to the result. Any other
    // phone type parses nothing. Lines not parsed keep their values.
    static QStringList parse(QStringView page, int phoneType, int lineCount,
                             const std::array<bool, 8>& enabled, LineStateTable& table,
                             int sampleNumber);
};
