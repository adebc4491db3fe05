#include "app/core/call_tracker.h"
#include "app/core/status_page_parser.h"
#include "tests/app/core/status_page.h"

#include <QTest>

namespace {

constexpr std::array<bool, 8> All{true, true, true, true, true, true, true, true};
const std::array<QString, 8> NoDescriptions{};
const QTime Noon(12, 5, 59);

void setLine(LineStateTable& t, int n, const QString& name, const QString& phone,
             const QString& type, const QString& userId = QStringLiteral("  ")) {
    t.CurName[n] = name;
    t.CurPhone[n] = phone;
    t.CurType[n] = type;
    t.CurUserId[n] = userId;
}

} // namespace

class TestCallTracker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void callAppearsChangesAndEnds() {
        LineStateTable t;
        std::array<QString, 8> descriptions{};
        descriptions[1] = u"  Receptie "_qs;
        setLine(t, 2, {}, u"0612"_qs, u"INBOUND"_qs);
        auto rows = CallTracker::TrackCalls(t, 0, All, descriptions, Noon, {});
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(rows[0].cells(),
                 (QStringList{u"IN"_qs, u"Receptie"_qs, u"12:05"_qs, u"0612"_qs, QString()}));
        QCOMPARE(t.PrevPhone[2].text(), u"0612"_qs);
        QCOMPARE(t.PrevType[2].text(), u"INBOUND"_qs);

        // Same values: no row.
        QVERIFY(CallTracker::TrackCalls(t, 0, All, descriptions, Noon, {}).empty());
        // The number changes during the call: another row.
        t.CurPhone[2] = u"0613"_qs;
        rows = CallTracker::TrackCalls(t, 0, All, descriptions, Noon, {});
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(rows[0].number, u"0613"_qs);
        // The call ends: the type becomes empty, no row, previous values follow.
        setLine(t, 2, {}, u"  "_qs, QString());
        QVERIFY(CallTracker::TrackCalls(t, 0, All, descriptions, Noon, {}).empty());
        QCOMPARE(t.PrevType[2].text(), QString());
        QCOMPARE(t.PrevPhone[2].text(), u"  "_qs);
    }

    void nameChangeCountsOnlyForType1() {
        for (int type : {0, 1}) {
            LineStateTable t;
            setLine(t, 1, u"Jan"_qs, u"0612"_qs, u"INBOUND"_qs);
            QCOMPARE(CallTracker::TrackCalls(t, type, All, NoDescriptions, Noon, {}).size(), 1u);
            t.CurName[1] = u"Piet"_qs;
            const auto rows = CallTracker::TrackCalls(t, type, All, NoDescriptions, Noon, {});
            QCOMPARE(rows.size(), type == 1 ? 1u : 0u);
            if (type == 1)
                QCOMPARE(rows[0].number, u"Piet"_qs); // type 1 logs the peer name as number
            QCOMPARE(t.PrevName[1].text(), u"Piet"_qs);
        }
    }

    void directionAndLineColumn_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<QString>("line");
        QTest::newRow("incoming with description")
            << u"INBOUND"_qs << u"Balie"_qs << u"201"_qs << u"IN"_qs << u"Balie"_qs;
        QTest::newRow("blank description shows the user ID")
            << u"INBOUND"_qs << u"   "_qs << u"201"_qs << u"IN"_qs << u"201"_qs;
        QTest::newRow("no user ID either")
            << u"INBOUND"_qs << QString() << QString() << u"IN"_qs << u"lijn 3"_qs;
        QTest::newRow("marker counts as no user ID")
            << u"INBOUND"_qs << QString() << u"  "_qs << u"IN"_qs << u"lijn 3"_qs;
        QTest::newRow("outgoing") << u"OUTBOUND"_qs << u"Balie"_qs << u"201"_qs << u"OUT"_qs
                                  << QString();
        QTest::newRow("other type")
            << u"PARKED"_qs << u"Balie"_qs << u"201"_qs << QString() << QString();
        QTest::newRow("case matters")
            << u"Inbound"_qs << u"Balie"_qs << u"201"_qs << QString() << QString();
    }
    void directionAndLineColumn() {
        QFETCH(QString, type);
        QFETCH(QString, description);
        QFETCH(QString, userId);
        QFETCH(QString, direction);
        QFETCH(QString, line);
        LineStateTable t;
        setLine(t, 3, {}, u"0612"_qs, type, userId);
        std::array<QString, 8> descriptions{};
        descriptions[2] = description;
        const auto rows = CallTracker::TrackCalls(t, 0, All, descriptions, Noon, {});
        QCOMPARE(rows.size(), 1u);
        QCOMPARE(rows[0].direction, direction);
        QCOMPARE(rows[0].line, line);
    }

    void disabledLinesAreLeftAlone() {
        LineStateTable t;
        setLine(t, 5, {}, u"0612"_qs, u"INBOUND"_qs);
        std::array<bool, 8> enabled = All;
        enabled[4] = false;
        QVERIFY(CallTracker::TrackCalls(t, 0, enabled, NoDescriptions, Noon, {}).empty());
        QCOMPARE(t.PrevPhone[5].text(), QString());
        // Every checked line 1 to 8 is tracked, whatever the line count.
        QCOMPARE(CallTracker::TrackCalls(t, 0, All, NoDescriptions, Noon, {}).size(), 1u);
    }

    void rowsInLineOrderWithTheLookup() {
        LineStateTable t;
        setLine(t, 4, {}, u"  "_qs, u"INBOUND"_qs);
        setLine(t, 1, {}, u"0612"_qs, u"OUTBOUND"_qs);
        QStringList asked;
        const NameLookup lookup = [&](const QString& n) -> std::optional<QString> {
            asked.append(n);
            if (n == u"0612")
                return u"Jansen"_qs;
            return std::nullopt;
        };
        const auto rows = CallTracker::TrackCalls(t, 0, All, NoDescriptions, QTime(0, 0), lookup);
        QCOMPARE(rows.size(), 2u);
        QCOMPARE(rows[0].cells(),
                 (QStringList{u"OUT"_qs, QString(), u"00:00"_qs, u"0612"_qs, u"Jansen"_qs}));
        QCOMPARE(rows[1].number, u"  "_qs); // the marker is logged as it is
        QCOMPARE(rows[1].name, QString());
        QCOMPARE(asked, (QStringList{u"0612"_qs, u"  "_qs}));
    }

    void timeText() {
        QCOMPARE(CallTracker::timeText(QTime(9, 7, 30)), u"09:07"_qs);
        QCOMPARE(CallTracker::timeText(QTime(23, 59)), u"23:59"_qs);
    }

    void pollThenTrack() {
        // Two polls of the same page through the parser: one row, then none.
        const QString page =
            statusPage({{1, {u"Jan"_qs, u"0612"_qs, u"201"_qs, u"Ringing"_qs, u"inbound"_qs}}});
        LineStateTable t;
        for (int poll = 0; poll < 2; ++poll) {
            StatusPageParser::parse(page, 0, 4, All, t, 0);
            const auto rows = CallTracker::TrackCalls(t, 0, All, NoDescriptions, Noon, {});
            QCOMPARE(rows.size(), poll == 0 ? 1u : 0u);
            if (poll == 0)
                QCOMPARE(rows[0].cells(),
                         (QStringList{u"IN"_qs, u"201"_qs, u"12:05"_qs, u"0612"_qs, QString()}));
        }
    }

    void pageSequence_data() {
        QTest::addColumn<int>("phoneType");
        QTest::addColumn<QStringList>("numbers"); // logged number of each row, in order
        QTest::newRow("type 0 logs the peer phone") << 0 << QStringList{u"0612"_qs, u"0699"_qs};
        QTest::newRow("type 1 logs the peer name")
            << 1 << QStringList{u"Jan"_qs, u"Jan"_qs, u"Piet"_qs};
    }
    void pageSequence() {
        // Polls of a changing page: idle, a call appears, its number changes, its name changes,
        // it ends, idle again.
        QFETCH(int, phoneType);
        QFETCH(QStringList, numbers);
        const PageLine idle{u""_qs, u""_qs, u"201"_qs, u"Idle"_qs, u""_qs};
        const QList<PageLine> polls{
            idle,
            {u"Jan"_qs, u"0612"_qs, u"201"_qs, u"Ringing"_qs, u"inbound"_qs},
            {u"Jan"_qs, u"0612"_qs, u"201"_qs, u"Connected"_qs, u"inbound"_qs},
            {u"Jan"_qs, u"0699"_qs, u"201"_qs, u"Connected"_qs, u"inbound"_qs},
            {u"Piet"_qs, u"0699"_qs, u"201"_qs, u"Connected"_qs, u"inbound"_qs},
            idle,
            idle};
        LineStateTable t;
        QStringList logged;
        for (const PageLine& line : polls) {
            StatusPageParser::parse(statusPage({{2, line}}), phoneType, 4, All, t, 0);
            for (const LogRow& row :
                 CallTracker::TrackCalls(t, phoneType, All, NoDescriptions, Noon, {})) {
                QCOMPARE(row.direction, u"IN"_qs);
                QCOMPARE(row.line, u"201"_qs);
                logged.append(row.number);
            }
        }
        QCOMPARE(logged, numbers);
    }

    void shortTextKeeps255Characters() {
        ShortText s;
        s = QString(300, u'a');
        QCOMPARE(s.text().size(), 255);
        s = QString(255, u'b');
        QCOMPARE(s.text(), QString(255, u'b'));
        // A surrogate pair is never cut in half.
        s = QString(254, u'c') + u"😀"_qs;
        QCOMPARE(s.text(), QString(254, u'c'));
        LineStateTable t;
        t.CurUserId[8] = QString(256, u'x');
        QCOMPARE(t.CurUserId[8].text().size(), 255);
        t.clear();
        QVERIFY(t.CurUserId[8].isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCallTracker)
#include "test_call_tracker.moc"
