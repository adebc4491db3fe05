#include "app/core/status_page_parser.h"

#include "app/core/handig.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

QString lineGroup(int line) {
    return QStringLiteral("Info/Line_") + QString::number(line) + QStringLiteral("_Call_1_Status");
}

// Letters a to z upper-cased; other characters unchanged.
QString upperAscii(QStringView text) {
    QString result = text.toString();
    for (QChar& c : result) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return result;
}

} // namespace

int StatusPageParser::lineCountForIndex(int lijnenIndex) {
    return lijnenIndex == 1 ? 8 : 4;
}

std::optional<QStringView> StatusPageParser::extract(QStringView page, QStringView startTag,
                                                     QStringView endTag, qsizetype minLength,
                                                     qsizetype maxLength) {
    const qsizetype start = page.indexOf(startTag);
    if (start < 0)
        return std::nullopt;
    const QStringView rest = page.sliced(start + startTag.size());
    const qsizetype end = rest.indexOf(endTag);
    if (end < 0 || end < minLength || end > maxLength)
        return std::nullopt;
    return rest.first(end);
}

QString StatusPageParser::startTag(QStringView name, QStringView group) {
    QString tag;
    tag.reserve(name.size() + group.size() + 11);
    tag.append(u'<')
        .append(name)
        .append(QStringLiteral(" group=\""))
        .append(group)
        .append(QStringLiteral("\">"));
    return tag;
}

namespace {

// The five start and end tags of one line and the value limits, in extraction order.
struct LineTags {
    std::array<QString, 5> start;
    std::array<QString, 5> end;
    static constexpr std::array<qsizetype, 5> MinLength{0, 0, 1, 0, 0};
    static constexpr std::array<qsizetype, 5> MaxLength{
        18, 18, std::numeric_limits<qsizetype>::max(), 28, 28};

    explicit LineTags(int line) {
        const QString group = lineGroup(line);
        const QString n = QString::number(line);
        const QString user = QStringLiteral("User_ID_") + n + QLatin1Char('_');
        start = {StatusPageParser::startTag(u"Peer_Name", group),
                 StatusPageParser::startTag(u"Peer_Phone", group),
                 StatusPageParser::startTag(user, QStringLiteral("Ext_") + n +
                                                      QStringLiteral("/Subscriber_Information")),
                 StatusPageParser::startTag(u"Call_State", group),
                 StatusPageParser::startTag(u"Type", group)};
        end = {QStringLiteral("</Peer_Name>"), QStringLiteral("</Peer_Phone>"),
               QStringLiteral("</") + user + QLatin1Char('>'), QStringLiteral("</Call_State>"),
               QStringLiteral("</Type>")};
    }
};

// The first position of each tag in the page, found in one pass over the page's "<" instead
// of one search of the whole page per tag.
std::vector<qsizetype> firstPositions(QStringView page, const std::vector<const QString*>& tags) {
    std::vector<qsizetype> found(tags.size(), -1);
    std::size_t missing = tags.size();
    for (qsizetype i = page.indexOf(u'<'); i >= 0 && missing > 0; i = page.indexOf(u'<', i + 1)) {
        if (i + 1 >= page.size())
            break;
        const QChar second = page[i + 1];
        const QStringView rest = page.sliced(i);
        for (std::size_t k = 0; k < tags.size(); ++k) {
            if (found[k] < 0 && (*tags[k])[1] == second && rest.startsWith(*tags[k])) {
                found[k] = i;
                --missing;
            }
        }
    }
    return found;
}

std::optional<QStringView> valueAt(QStringView page, qsizetype start, const QString& startTag,
                                   const QString& endTag, qsizetype minLength,
                                   qsizetype maxLength) {
    if (start < 0)
        return std::nullopt;
    const QStringView rest = page.sliced(start + startTag.size());
    const qsizetype end = rest.indexOf(endTag);
    if (end < 0 || end < minLength || end > maxLength)
        return std::nullopt;
    return rest.first(end);
}

PageLineValues storedValues(QStringView page, int phoneType, const LineTags& tags,
                            const qsizetype* starts) {
    std::array<std::optional<QStringView>, 5> raw;
    for (std::size_t k = 0; k < 5; ++k)
        raw[k] = valueAt(page, starts[k], tags.start[k], tags.end[k], LineTags::MinLength[k],
                         LineTags::MaxLength[k]);
    PageLineValues v;
    if (phoneType == 1)
        v.name = raw[0] ? raw[0]->toString() : NoValueMarker;
    v.phone = raw[1] ? raw[1]->toString() : NoValueMarker;
    v.userId =
        raw[2] ? raw[2]->first(std::min<qsizetype>(raw[2]->size(), ShortText::Capacity)).toString()
               : NoValueMarker;
    v.callState = raw[3] ? raw[3]->toString() : QString();
    v.type = raw[4] ? TrimBlanks(upperAscii(*raw[4])) : QString();
    return v;
}

} // namespace

PageLineValues StatusPageParser::extractLine(QStringView page, int phoneType, int line) {
    const LineTags tags(line);
    std::vector<const QString*> wanted;
    for (const QString& t : tags.start)
        wanted.push_back(&t);
    const std::vector<qsizetype> starts = firstPositions(page, wanted);
    return storedValues(page, phoneType, tags, starts.data());
}

QString StatusPageParser::traceLine(int sampleNumber, int line, const PageLineValues& values) {
    const QChar tab(u'\t');
    return QString::number(sampleNumber) + tab + QStringLiteral("line") + QString::number(line) +
           tab + values.callState + tab + values.name + tab + values.phone + tab + values.type;
}

QStringList StatusPageParser::parse(QStringView page, int phoneType, int lineCount,
                                    const std::array<bool, 8>& enabled, LineStateTable& table,
                                    int sampleNumber) {
    QStringList trace;
    if (phoneType != 0 && phoneType != 1)
        return trace;
    lineCount = std::clamp(lineCount, 0, LineStateTable::Lines);
    std::vector<int> lines;
    std::vector<LineTags> tags;
    std::vector<const QString*> wanted;
    tags.reserve(static_cast<std::size_t>(lineCount));
    for (int n = 1; n <= lineCount; ++n) {
        if (!enabled[static_cast<std::size_t>(n - 1)])
            continue;
        lines.push_back(n);
        tags.emplace_back(n);
    }
    for (const LineTags& t : tags) {
        for (const QString& s : t.start)
            wanted.push_back(&s);
    }
    const std::vector<qsizetype> starts = firstPositions(page, wanted);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int n = lines[k];
        const PageLineValues v = storedValues(page, phoneType, tags[k], starts.data() + 5 * k);
        table.CurName[n] = v.name;
        table.CurPhone[n] = v.phone;
        table.CurUserId[n] = v.userId;
        table.CurCallState[n] = v.callState;
        table.CurType[n] = v.type;
        // The trace shows the values as stored.
        const PageLineValues stored{table.CurName[n], table.CurPhone[n], table.CurUserId[n],
                                    table.CurCallState[n], table.CurType[n]};
        trace.append(traceLine(sampleNumber, n, stored));
    }
    return trace;
}
