#include <QTest>

#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/shared_control.h"
#include "telephony/tapi/tapi.h"

namespace {

// What a handler saw when it ran, so the order of the report can be checked.
struct Observation {
    int32_t number = 0;
    QString text;
    QString hex;
    QString lastKeptLine;
};

struct Component {
    TetSharedControl control;
    QStringList delivered;
    QList<Observation> errors;

    Component() {
        control.SetComponentKind(TetSharedControl::KindLine);
        control.OnLog = [this](TetSharedControl*, const QString& line) {
            // The error object is complete before its line is written.
            if (line.startsWith(QStringLiteral("<< Error >> "))) {
                QVERIFY(line.contains(control.Error()->Text()));
                QVERIFY(line.contains(control.Error()->Hex()));
            }
            delivered << line;
        };
        control.OnError = [this](TetSharedControl* sender) {
            QCOMPARE(sender, &control);
            const QStringList& lines = control.Vigil()->Log()->Lines();
            errors << Observation{control.Error()->Number(), control.Error()->Text(),
                                  control.Error()->Hex(),
                                  lines.isEmpty() ? QString() : lines.last()};
        };
    }
    TetLog* log() { return control.Vigil()->Log(); }
};

} // namespace

class TestErrorReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshErrorIsEmpty();
    void reportRecordsLogsAndFires_data();
    void reportRecordsLogsAndFires();
    void reportingZeroRecordsSuccessSilently();
    void eventSwitchOffLogsButDoesNotFire();
    void inactiveLogStillRecordsAndFires();
    void warningIsLoggedButNotAnnounced();
    void clearEmptiesWithoutALine();
    void laterReportOverwrites();
    void reportWithoutHandler();
    void popupFlagDoesNotOpenAWindow();
    void errorDump();
};

void TestErrorReport::freshErrorIsEmpty() {
    TetSharedControl control;
    QCOMPARE(control.Error()->Number(), 0);
    QVERIFY(control.Error()->Text().isEmpty());
    QVERIFY(control.Error()->Hex().isEmpty());
}

void TestErrorReport::reportRecordsLogsAndFires_data() {
    QTest::addColumn<int32_t>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hex");

    QTest::newRow("INVALLINESTATE") << LINEERR_INVALLINESTATE << "LINEERR_INVALLINESTATE"
                                    << "8000002C";
    QTest::newRow("INVALCALLHANDLE") << LINEERR_INVALCALLHANDLE << "LINEERR_INVALCALLHANDLE"
                                     << "80000018";
    QTest::newRow("ALLOCATED") << LINEERR_ALLOCATED << "LINEERR_ALLOCATED"
                               << "80000001";
    QTest::newRow("NOMULTIPLEINSTANCE")
        << LINEERR_NOMULTIPLEINSTANCE << "LINEERR_NOMULTIPLEINSTANCE"
        << "80000056";
    QTest::newRow("unassigned 0x80000031") << static_cast<int32_t>(0x80000031u) << "Unknown"
                                           << "80000031";
    QTest::newRow("unassigned 0x80000004") << static_cast<int32_t>(0x80000004u) << "Unknown"
                                           << "80000004";
    QTest::newRow("own -1") << -1 << "Unknown"
                            << "FFFFFFFF";
    QTest::newRow("own -2") << -2 << "LINE_ERROR_DEVICE"
                            << "FFFFFFFE";
    QTest::newRow("own -3") << -3 << "TAPIREPLYTIMEOUT"
                            << "FFFFFFFD";
    QTest::newRow("own -985") << -985 << "Not 100% TAPI compliant"
                              << "FFFFFC27";
    QTest::newRow("unknown 12345") << 12345 << "Unknown"
                                   << "00003039";
}

void TestErrorReport::reportRecordsLogsAndFires() {
    QFETCH(int32_t, code);
    QFETCH(QString, text);
    QFETCH(QString, hex);
    Component c;
    QVERIFY(c.control.ReportError(code, false));
    QCOMPARE(c.control.Error()->Number(), code);
    QCOMPARE(c.control.Error()->Text(), text);
    QCOMPARE(c.control.Error()->Hex(), hex);

    const QString line = QStringLiteral("<< Error >> ") + text + QStringLiteral(" [") + hex + u']';
    QCOMPARE(c.log()->Lines().last(), line);
    QCOMPARE(c.delivered, QStringList{line});
    // The handler runs once, after the line was kept.
    QCOMPARE(c.errors.size(), 1);
    QCOMPARE(c.errors.first().number, code);
    QCOMPARE(c.errors.first().text, text);
    QCOMPARE(c.errors.first().hex, hex);
    QCOMPARE(c.errors.first().lastKeptLine, line);
}

void TestErrorReport::reportingZeroRecordsSuccessSilently() {
    Component c;
    c.control.ReportError(LINEERR_NOMEM);
    c.delivered.clear();
    c.errors.clear();
    const QStringList before = c.log()->Lines();
    QVERIFY(c.control.ReportError(0, false));
    QCOMPARE(c.control.Error()->Number(), 0);
    QVERIFY(c.control.Error()->Text().isEmpty());
    QVERIFY(c.control.Error()->Hex().isEmpty());
    QCOMPARE(c.log()->Lines(), before);
    QVERIFY(c.delivered.isEmpty());
    QVERIFY(c.errors.isEmpty());
}

void TestErrorReport::eventSwitchOffLogsButDoesNotFire() {
    Component c;
    c.control.Vigil()->setEvents(false);
    c.control.ReportError(LINEERR_INVALCALLHANDLE);
    QCOMPARE(c.control.Error()->Number(), LINEERR_INVALCALLHANDLE);
    QCOMPARE(c.log()->Lines().last(),
             QStringLiteral("<< Error >> LINEERR_INVALCALLHANDLE [80000018]"));
    QCOMPARE(c.delivered.size(), 1); // OnLog ignores the switch
    QVERIFY(c.errors.isEmpty());

    c.control.Vigil()->setEvents(true);
    c.control.ReportError(LINEERR_INVALCALLHANDLE);
    QCOMPARE(c.errors.size(), 1);
}

void TestErrorReport::inactiveLogStillRecordsAndFires() {
    Component c;
    c.log()->setActive(false);
    const QStringList kept = c.log()->Lines();
    c.delivered.clear();
    c.control.ReportError(-3);
    QCOMPARE(c.control.Error()->Text(), QStringLiteral("TAPIREPLYTIMEOUT"));
    QCOMPARE(c.log()->Lines(), kept);
    QCOMPARE(c.delivered, QStringList{"<< Error >> TAPIREPLYTIMEOUT [FFFFFFFD]"});
    QCOMPARE(c.errors.size(), 1);
}

void TestErrorReport::warningIsLoggedButNotAnnounced() {
    Component c;
    QVERIFY(c.control.ReportError(-2, true));
    QCOMPARE(c.control.Error()->Number(), -2);
    QCOMPARE(c.log()->Lines().last(), QStringLiteral("<< Warning >> LINE_ERROR_DEVICE [FFFFFFFE]"));
    QVERIFY(c.errors.isEmpty());
}

void TestErrorReport::clearEmptiesWithoutALine() {
    Component c;
    c.control.ReportError(LINEERR_OPERATIONFAILED);
    c.delivered.clear();
    const QStringList before = c.log()->Lines();
    c.control.Error()->Clear();
    QCOMPARE(c.control.Error()->Number(), 0);
    QVERIFY(c.control.Error()->Text().isEmpty());
    QVERIFY(c.control.Error()->Hex().isEmpty());
    QCOMPARE(c.log()->Lines(), before);
    QVERIFY(c.delivered.isEmpty());
    QCOMPARE(c.errors.size(), 1);
}

void TestErrorReport::laterReportOverwrites() {
    Component c;
    c.control.ReportError(LINEERR_INVALPARAM);
    c.control.ReportError(LINEERR_INVALMEDIAMODE);
    QCOMPARE(c.control.Error()->Number(), LINEERR_INVALMEDIAMODE);
    QCOMPARE(c.control.Error()->Text(), QStringLiteral("LINEERR_INVALMEDIAMODE"));
    QCOMPARE(c.control.Error()->Hex(), QStringLiteral("8000002F"));
    QCOMPARE(c.errors.size(), 2);
}

void TestErrorReport::reportWithoutHandler() {
    TetSharedControl control;
    control.SetComponentKind(TetSharedControl::KindLine);
    QVERIFY(control.ReportError(LINEERR_NODEVICE));
    QCOMPARE(control.Vigil()->Log()->Lines().last(),
             QStringLiteral("<< Error >> LINEERR_NODEVICE [80000042]"));
}

namespace {
// A component that registers its popup flags with the base, as the line component does.
class ComponentWithPopup : public TetSharedControl {
public:
    ComponentWithPopup() : popup(this) { SetPopupFlags(&popup); }
    TetPopup popup;
};
} // namespace

void TestErrorReport::popupFlagDoesNotOpenAWindow() {
    ComponentWithPopup control;
    control.popup.setOnError(true);
    int fired = 0;
    control.OnError = [&](TetSharedControl*) { ++fired; };
    control.ReportError(LINEERR_INUSE);
    QCOMPARE(fired, 1);
    QVERIFY(!control.Vigil()->Visible());
}

void TestErrorReport::errorDump() {
    Component c;
    c.log()->Clear();
    QVERIFY(c.control.Error()->LogProperties(QString(), QString(), QStringLiteral("\t")));
    QCOMPARE(c.log()->Lines(),
             QStringList({"\tError.Text = ''", "\tError.Hex = []", "\tError.Number = 0"}));

    c.control.ReportError(LINEERR_INVALLINESTATE);
    c.log()->Clear();
    QVERIFY(c.control.Error()->LogProperties(QStringLiteral("Header"), QStringLiteral("etLine"),
                                             QString()));
    QCOMPARE(c.log()->Lines(),
             QStringList({"Header", "etLine.Error.Text = 'LINEERR_INVALLINESTATE'",
                          "etLine.Error.Hex = [8000002C]", "etLine.Error.Number = -2147483604"}));

    c.control.Vigil()->setDevEnv(TDevEnv::deCppBuilder);
    c.control.Error()->Clear();
    c.log()->Clear();
    c.control.Error()->LogProperties(QString(), QString(), QStringLiteral("\t"));
    QCOMPARE(c.log()->Lines().first(), QStringLiteral("\tError->Text == \"\""));
}

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_error_report.moc"
