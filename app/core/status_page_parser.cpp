#include "app/core/status_page_parser.h"

#include "app/core/handig.h"

#include <algorithm>
#include <limits>

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

PageLineValues StatusPageParser::extractLine(QStringView page, int phoneType, int line) {
    PageLineValues v;
    const QString group = lineGroup(line);
    const QString n = QString::number(line);

    const auto name = extract(page, startTag(u"Peer_Name", group), u"</Peer_Name>", 0, 18);
    if (phoneType == 1)
        v.name = name ? name->toString() : NoValueMarker;

    const auto phone = extract(page, startTag(u"Peer_Phone", group), u"</Peer_Phone>", 0, 18);
    v.phone = phone ? phone->toString() : NoValueMarker;

    const QString userTag = QStringLiteral("User_ID_") + n + QLatin1Char('_');
    const auto user = extract(
        page,
        startTag(userTag, QStringLiteral("Ext_") + n + QStringLiteral("/Subscriber_Information")),
        QString(QStringLiteral("</") + userTag + QLatin1Char('>')), 1,
        std::numeric_limits<qsizetype>::max());
    v.userId =
        user ? user->first(std::min<qsizetype>(user->size(), 255)).toString() : NoValueMarker;

    const auto state = extract(page, startTag(u"Call_State", group), u"</Call_State>", 0, 28);
    v.callState = state ? state->toString() : QString();

    const auto type = extract(page, startTag(u"Type", group), u"</Type>", 0, 28);
    v.type = type ? TrimBlanks(upperAscii(*type)) : QString();
    return v;
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
    for (int n = 1; n <= lineCount; ++n) {
        if (!enabled[static_cast<std::size_t>(n - 1)])
            continue;
        const PageLineValues v = extractLine(page, phoneType, n);
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
