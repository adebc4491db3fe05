#include "app/core/status_page_parser.h"
#include "tests/app/core/status_page.h"

#include <QTest>

Q_DECLARE_METATYPE(PageLine)
Q_DECLARE_METATYPE(PageLineValues)

class TestStatusPageParser : public QObject {
    Q_OBJECT
private:
    static constexpr std::array<bool, 8> All{true, true, true, true, true, true, true, true};

private Q_SLOTS:
    void incomingCallBothTypes_data() {
        QTest::addColumn<int>("phoneType");
        QTest::addColumn<QString>("storedName");
        QTest::newRow("type 0 stores no name") << 0 << QString();
        QTest::newRow("type 1 stores the name") << 1 << u"Jan"_qs;
    }
    void incomingCallBothTypes() {
        QFETCH(int, phoneType);
        QFETCH(QString, storedName);
        const QString page = statusPage(
            {{2, {u"Jan"_qs, u"0612345678"_qs, u"201"_qs, u"Ringing"_qs, u" inbound\t"_qs}}});
        LineStateTable table;
        const QStringList trace = StatusPageParser::parse(page, phoneType, 4, All, table, 0);
        QCOMPARE(table.CurName[2].text(), storedName);
        QCOMPARE(table.CurPhone[2].text(), u"0612345678"_qs);
        QCOMPARE(table.CurUserId[2].text(), u"201"_qs);
        QCOMPARE(table.CurCallState[2].text(), u"Ringing"_qs);
        QCOMPARE(table.CurType[2].text(), u"INBOUND"_qs);
        QCOMPARE(trace.size(), 4);
        QCOMPARE(trace[1], u"0\tline2\tRinging\t"_qs + storedName + u"\t0612345678\tINBOUND"_qs);
    }

    void missingValues_data() {
        QTest::addColumn<int>("phoneType");
        QTest::addColumn<QString>("name");
        QTest::newRow("type 0") << 0 << QString();
        QTest::newRow("type 1") << 1 << u"  "_qs;
    }
    void missingValues() {
        QFETCH(int, phoneType);
        QFETCH(QString, name);
        LineStateTable table;
        const QStringList trace =
            StatusPageParser::parse(u"<html>no tags</html>", phoneType, 4, All, table, 3);
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(table.CurName[n].text(), name);
            QCOMPARE(table.CurPhone[n].text(), NoValueMarker);
            QCOMPARE(table.CurUserId[n].text(), NoValueMarker);
            QCOMPARE(table.CurCallState[n].text(), QString());
            QCOMPARE(table.CurType[n].text(), QString());
        }
        QCOMPARE(trace[3], u"3\tline4\t\t"_qs + name + u"\t  \t"_qs);
    }

    void lengthLimits_data() {
        QTest::addColumn<PageLine>("line");
        QTest::addColumn<PageLineValues>("stored"); // for phone type 1
        const QString n18(18, u'1'), n19(19, u'1');
        const QString s28(28, u's'), s29(29, u's');
        QTest::newRow("phone of 18 stored")
            << PageLine{{}, n18, u"u"_qs, {}, {}} << PageLineValues{u"  "_qs, n18, u"u"_qs, {}, {}};
        QTest::newRow("phone of 19 gives the marker")
            << PageLine{{}, n19, u"u"_qs, {}, {}}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, {}, {}};
        QTest::newRow("empty phone is a value")
            << PageLine{u""_qs, u""_qs, u"u"_qs, {}, {}} << PageLineValues{{}, {}, u"u"_qs, {}, {}};
        QTest::newRow("name of 19 gives the marker")
            << PageLine{n19, u"1"_qs, u"u"_qs, {}, {}}
            << PageLineValues{u"  "_qs, u"1"_qs, u"u"_qs, {}, {}};
        QTest::newRow("state of 28 stored") << PageLine{{}, {}, u"u"_qs, s28, {}}
                                            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, s28, {}};
        QTest::newRow("state of 29 gives empty")
            << PageLine{{}, {}, u"u"_qs, s29, {}}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, {}, {}};
        QTest::newRow("state keeps its case and blanks")
            << PageLine{{}, {}, u"u"_qs, u" Idle "_qs, {}}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, u" Idle "_qs, {}};
        QTest::newRow("type lower case with blanks, 28 in all")
            << PageLine{{}, {}, u"u"_qs, {}, u"          outbound          "_qs}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, {}, u"OUTBOUND"_qs};
        QTest::newRow("type of 29 gives empty")
            << PageLine{{}, {}, u"u"_qs, {}, u"           outbound          "_qs}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, {}, {}};
        QTest::newRow("only a to z upper-cased")
            << PageLine{{}, {}, u"u"_qs, {}, u"inbé"_qs}
            << PageLineValues{u"  "_qs, u"  "_qs, u"u"_qs, {}, u"INBé"_qs};
        QTest::newRow("empty user ID gives the marker")
            << PageLine{{}, {}, u""_qs, {}, {}}
            << PageLineValues{u"  "_qs, u"  "_qs, u"  "_qs, {}, {}};
        QTest::newRow("long user ID cut to 255")
            << PageLine{{}, {}, QString(300, u'x'), {}, {}}
            << PageLineValues{u"  "_qs, u"  "_qs, QString(255, u'x'), {}, {}};
        QTest::newRow("values taken as they are")
            << PageLine{u"A &amp; B"_qs, u" 06 "_qs, u"u"_qs, {}, {}}
            << PageLineValues{u"A &amp; B"_qs, u" 06 "_qs, u"u"_qs, {}, {}};
    }
    void lengthLimits() {
        QFETCH(PageLine, line);
        QFETCH(PageLineValues, stored);
        const PageLineValues v = StatusPageParser::extractLine(statusPage({{1, line}}), 1, 1);
        QCOMPARE(v.name, stored.name);
        QCOMPARE(v.phone, stored.phone);
        QCOMPARE(v.userId, stored.userId);
        QCOMPARE(v.callState, stored.callState);
        QCOMPARE(v.type, stored.type);
    }

    void tagsRecognisedOnlyInTheirExactForm() {
        const QString group = u"Info/Line_1_Call_1_Status"_qs;
        QCOMPARE(StatusPageParser::startTag(u"Type", group),
                 u"<Type group=\"Info/Line_1_Call_1_Status\">"_qs);
        // Self-closing user ID, other spacing, single quotes.
        const QString page = u"<User_ID_1_ group=\"Ext_1/Subscriber_Information\"/>"
                             u"<Type  group=\"Info/Line_1_Call_1_Status\">INBOUND</Type>"
                             u"<Peer_Phone group='Info/Line_1_Call_1_Status'>1</Peer_Phone>"_qs;
        const PageLineValues v = StatusPageParser::extractLine(page, 0, 1);
        QCOMPARE(v.userId, NoValueMarker);
        QCOMPARE(v.type, QString());
        QCOMPARE(v.phone, NoValueMarker);
    }

    void endTagFoundWhereverItStands() {
        // Line 1 lacks its end tag; the next "</Peer_Phone>" (line 2's) ends the value.
        const QString page = u"<Peer_Phone group=\"Info/Line_1_Call_1_Status\">12"
                             u"<Peer_Phone group=\"Info/Line_2_Call_1_Status\">34</Peer_Phone>"_qs;
        QCOMPARE(StatusPageParser::extractLine(page, 0, 1).phone, NoValueMarker); // too long
        const QString shortPage =
            u"<Peer_Phone group=\"Info/Line_1_Call_1_Status\">12<b>3</Peer_Phone>"_qs;
        QCOMPARE(StatusPageParser::extractLine(shortPage, 0, 1).phone, u"12<b>3"_qs);
        // The first start tag counts.
        const QString twice = u"<Type group=\"Info/Line_1_Call_1_Status\">a</Type>"
                              u"<Type group=\"Info/Line_1_Call_1_Status\">b</Type>"_qs;
        QCOMPARE(StatusPageParser::extractLine(twice, 0, 1).type, u"A"_qs);
        // Line 1 does not match the tags of line 11.
        const QString eleven = u"<Type group=\"Info/Line_11_Call_1_Status\">x</Type>"_qs;
        QCOMPARE(StatusPageParser::extractLine(eleven, 0, 1).type, QString());
    }

    void linesPolled_data() {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("phoneType");
        QTest::addColumn<QList<int>>("parsed");
        QTest::newRow("4 lines") << 4 << 0 << QList<int>{1, 2, 4};
        QTest::newRow("8 lines") << 8 << 1 << QList<int>{1, 2, 4, 5, 6, 8};
        QTest::newRow("no phone type") << 8 << -1 << QList<int>{};
        QTest::newRow("unknown phone type") << 8 << 2 << QList<int>{};
    }
    void linesPolled() {
        QFETCH(int, lineCount);
        QFETCH(int, phoneType);
        QFETCH(QList<int>, parsed);
        std::map<int, PageLine> lines;
        for (int n = 1; n <= 8; ++n)
            lines[n] = {u"N"_qs, QString::number(n), u"u"_qs, u"s"_qs, u"t"_qs};
        LineStateTable table;
        for (int n = 1; n <= 8; ++n)
            table.CurPhone[n] = u"old"_qs;
        std::array<bool, 8> enabled = All;
        enabled[2] = false; // line 3
        enabled[6] = false; // line 7
        const QStringList trace =
            StatusPageParser::parse(statusPage(lines), phoneType, lineCount, enabled, table, 1);
        QCOMPARE(trace.size(), parsed.size());
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(table.CurPhone[n].text(), parsed.contains(n) ? QString::number(n) : u"old"_qs);
        for (int i = 0; i < parsed.size(); ++i)
            QVERIFY(trace[i].startsWith(QStringLiteral("1\tline%1\t").arg(parsed[i])));
    }

    void lineCountForIndex() {
        QCOMPARE(StatusPageParser::lineCountForIndex(0), 4);
        QCOMPARE(StatusPageParser::lineCountForIndex(1), 8);
        QCOMPARE(StatusPageParser::lineCountForIndex(-1), 4);
        QCOMPARE(StatusPageParser::lineCountForIndex(2), 4);
    }
};

QTEST_GUILESS_MAIN(TestStatusPageParser)
#include "test_status_page_parser.moc"
