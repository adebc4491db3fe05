// The status page extraction on any page: the one-pass search must give exactly what a plain
// search of the page per element gives.

#include "app/core/status_page_parser.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The values of one line by one whole-page search per element.
PageLineValues reference(QStringView page, int phoneType, int n) {
    const QString group = QStringLiteral("Info/Line_%1_Call_1_Status").arg(n);
    const QString user = QStringLiteral("User_ID_%1_").arg(n);
    const auto get = [&](const QString& name, const QString& g, const QString& end, qsizetype lo,
                         qsizetype hi) {
        return StatusPageParser::extract(page, StatusPageParser::startTag(name, g), end, lo, hi);
    };
    PageLineValues v;
    const auto name =
        get(QStringLiteral("Peer_Name"), group, QStringLiteral("</Peer_Name>"), 0, 18);
    if (phoneType == 1)
        v.name = name ? name->toString() : NoValueMarker;
    const auto phone =
        get(QStringLiteral("Peer_Phone"), group, QStringLiteral("</Peer_Phone>"), 0, 18);
    v.phone = phone ? phone->toString() : NoValueMarker;
    const auto id = get(user, QStringLiteral("Ext_%1/Subscriber_Information").arg(n),
                        QStringLiteral("</") + user + QStringLiteral(">"), 1,
                        std::numeric_limits<qsizetype>::max());
    v.userId = id ? id->first(std::min<qsizetype>(id->size(), 255)).toString() : NoValueMarker;
    const auto state =
        get(QStringLiteral("Call_State"), group, QStringLiteral("</Call_State>"), 0, 28);
    v.callState = state ? state->toString() : QString();
    const auto type = get(QStringLiteral("Type"), group, QStringLiteral("</Type>"), 0, 28);
    if (type) {
        QString t = type->toString();
        for (QChar& c : t) {
            if (c >= u'a' && c <= u'z')
                c = QChar(c.unicode() - 32);
        }
        qsizetype b = 0, e = t.size();
        while (b < e && t[b].unicode() <= 32)
            ++b;
        while (e > b && t[e - 1].unicode() <= 32)
            --e;
        v.type = t.sliced(b, e - b);
    }
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const int phoneType = data[0] % 3;
    const int lineCount = 1 + data[1] % 8;
    const QString page = QString::fromLatin1(reinterpret_cast<const char*>(data + 2),
                                             static_cast<qsizetype>(size - 2));
    std::array<bool, 8> enabled{};
    for (int i = 0; i < 8; ++i)
        enabled[static_cast<std::size_t>(i)] = ((data[0] >> 2) + i) % 4 != 0;
    LineStateTable table;
    const QStringList trace =
        StatusPageParser::parse(page, phoneType, lineCount, enabled, table, 0);
    if (phoneType > 1) {
        if (!trace.isEmpty())
            std::abort();
        return 0;
    }
    for (int n = 1; n <= lineCount; ++n) {
        if (!enabled[static_cast<std::size_t>(n - 1)])
            continue;
        const PageLineValues want = reference(page, phoneType, n);
        if (table.CurName[n].text() != want.name || table.CurPhone[n].text() != want.phone ||
            table.CurUserId[n].text() != want.userId ||
            table.CurCallState[n].text() != want.callState || table.CurType[n].text() != want.type)
            std::abort();
    }
    return 0;
}
