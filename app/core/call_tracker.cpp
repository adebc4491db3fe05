#include "app/core/call_tracker.h"

#include "app/core/handig.h"

QString CallTracker::timeText(const QTime& time) {
    return time.toString(QStringLiteral("hh:mm"));
}

std::vector<LogRow> CallTracker::TrackCalls(LineStateTable& table, int phoneType,
                                            const std::array<bool, 8>& enabled,
                                            const std::array<QString, 8>& descriptions,
                                            const QTime& now, const NameLookup& lookup) {
    std::vector<LogRow> rows;
    for (int n = 1; n <= LineStateTable::Lines; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (!enabled[i])
            continue;
        const QString& type = table.CurType[n];
        const bool changed = (phoneType == 1 && table.CurName[n] != table.PrevName[n]) ||
                             table.CurPhone[n] != table.PrevPhone[n] ||
                             table.CurType[n] != table.PrevType[n];
        if (changed && !type.isEmpty()) {
            LogRow row;
            row.number = phoneType == 1 ? table.CurName[n].text() : table.CurPhone[n].text();
            if (type == u"INBOUND") {
                row.direction = QStringLiteral("IN");
                row.line = TrimBlanks(descriptions[i]);
                // The poller stores two blanks for a missing user ID; that counts as none.
                if (row.line.isEmpty())
                    row.line = TrimBlanksView(table.CurUserId[n].text()).isEmpty()
                                   ? QStringLiteral("lijn ") + QString::number(n)
                                   : table.CurUserId[n].text();
            } else if (type == u"OUTBOUND") {
                row.direction = QStringLiteral("OUT");
            }
            row.time = timeText(now);
            if (lookup) {
                if (const auto name = lookup(row.number))
                    row.name = *name;
            }
            rows.push_back(std::move(row));
        }
        table.PrevName[n] = table.CurName[n].text();
        table.PrevPhone[n] = table.CurPhone[n].text();
        table.PrevType[n] = table.CurType[n].text();
    }
    return rows;
}
