#include <QRegularExpression>
#include <QTest>

#include <memory>

#include "telephony/diagnostics/log_printer.h"
#include "telephony/diagnostics/shared_control.h"

namespace {

// A line component's base as the line component sets it up, with its OnLog lines collected.
struct Component {
    TetSharedControl control;
    QStringList delivered;

    Component() {
        control.SetComponentKind(TetSharedControl::KindLine);
        control.OnLog = [this](TetSharedControl* sender, const QString& line) {
            QCOMPARE(sender, &control);
            delivered << line;
        };
    }
    TetLog* log() { return control.Vigil()->Log(); }
    const QStringList& lines() { return log()->Lines(); }
};

// Keeps what it was asked to print, so the page can be checked line by line.
class RecordingPrinter : public TetLogPrinter {
public:
    explicit RecordingPrinter(bool succeed) : succeed_(succeed) {}
    bool print(const QStringList& lines, const QString& title) override {
        printed = lines;
        printedTitle = title;
        return succeed_;
    }
    QStringList printed;
    QString printedTitle;

private:
    bool succeed_;
};

} // namespace

class TestLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { UninstallLogPrinter(); }
    void openingLinesBypassTheWriter();
    void storedSettingsLeaveTheOpeningLinesAndTwoAssignments();
    void countLimitsTheKeptLines_data();
    void countLimitsTheKeptLines();
    void loweringCountWritesFirstThenKeepsTheNewest();
    void countOfZeroOrLessIsIgnored_data();
    void countOfZeroOrLessIsIgnored();
    void inactiveLogStillDeliversToOnLog();
    void switchingOffAndOnLeavesBothLinesTogether();
    void writeLineReportsWhetherTheLineWentAnywhere();
    void markerLine_data();
    void markerLine();
    void timeStamps();
    void syntaxStyleIsAppliedToEveryLine_data();
    void syntaxStyleIsAppliedToEveryLine();
    void appendToLastLine();
    void clear();
    void propertyDump();
    void printWithoutAPrinterFails();
    void printSendsBannerKindAndLines();
    void failedPrintLeavesTheLogUnchanged();
    void handlerMayWriteAgain();
};

void TestLog::openingLinesBypassTheWriter() {
    TetSharedControl control;
    QStringList delivered;
    control.OnLog = [&](TetSharedControl*, const QString& line) { delivered << line; };
    control.Vigil()->Log()->setTimeStamp(true);
    control.Vigil()->Log()->Clear();
    control.SetComponentKind(TetSharedControl::KindLine);
    QCOMPARE(control.Vigil()->Log()->Lines(), QStringList({"Telvane v3.7.1.2", "Create etLine"}));
    QCOMPARE(delivered, QStringList({"Log.TimeStamp := True"}));
}

void TestLog::storedSettingsLeaveTheOpeningLinesAndTwoAssignments() {
    Component c;
    c.control.Vigil()->setDevEnv(TDevEnv::deDelphi);
    c.log()->setActive(false);
    c.log()->setCount(50);
    c.log()->setTimeStamp(false);
    QCOMPARE(c.lines(), QStringList({"Telvane v3.7.1.2", "Create etLine", "DevEnv := deDelphi",
                                     "Log.Active := False"}));
    QCOMPARE(c.delivered, QStringList({"DevEnv := deDelphi", "Log.Active := False",
                                       "Log.Count := 50 //Lines", "Log.TimeStamp := False"}));
}

void TestLog::countLimitsTheKeptLines_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("written");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("count 1") << 1 << 3 << QStringList{"line 3"};
    QTest::newRow("count 3, three lines") << 3 << 3 << QStringList{"line 1", "line 2", "line 3"};
    QTest::newRow("count 3, a fourth") << 3 << 4 << QStringList{"line 2", "line 3", "line 4"};
}

void TestLog::countLimitsTheKeptLines() {
    QFETCH(int, count);
    QFETCH(int, written);
    QFETCH(QStringList, expected);
    Component c;
    c.log()->setCount(count);
    for (int i = 1; i <= written; ++i)
        QVERIFY(c.log()->WriteLine(QStringLiteral("line %1").arg(i), true));
    QCOMPARE(c.lines(), expected);
    QCOMPARE(c.delivered.size(), written + 1);
}

void TestLog::loweringCountWritesFirstThenKeepsTheNewest() {
    Component c;
    c.log()->Clear();
    for (int i = 1; i <= 30; ++i)
        c.log()->WriteLine(QStringLiteral("line %1").arg(i), true);
    c.log()->setCount(10);
    QCOMPARE(c.log()->Count(), 10);
    QCOMPARE(c.lines().size(), 10);
    QCOMPARE(c.lines().first(), QStringLiteral("line 22"));
    QCOMPARE(c.lines().last(), QStringLiteral("Log.Count := 10 //Lines"));
    c.log()->WriteLine(QStringLiteral("after"), false);
    QCOMPARE(c.lines().size(), 10);
    QCOMPARE(c.lines().first(), QStringLiteral("line 23"));
}

void TestLog::countOfZeroOrLessIsIgnored_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("0") << 0;
    QTest::newRow("-5") << -5;
}

void TestLog::countOfZeroOrLessIsIgnored() {
    QFETCH(int, count);
    Component c;
    const QStringList before = c.lines();
    c.log()->setCount(count);
    QCOMPARE(c.log()->Count(), 50);
    QCOMPARE(c.lines(), before);
    QVERIFY(c.delivered.isEmpty());
}

void TestLog::inactiveLogStillDeliversToOnLog() {
    Component c;
    c.log()->setActive(false);
    const QStringList kept = c.lines();
    c.delivered.clear();

    c.control.Vigil()->setEvents(false); // OnLog does not obey the event switch
    QVERIFY(c.log()->WriteLine(QStringLiteral("Device~Active := True"), true));
    c.log()->setCount(20);
    QCOMPARE(c.delivered, QStringList({"Device.Active := True", "Log.Count := 20 //Lines"}));
    QCOMPARE(c.lines(), kept);

    QVERIFY(!c.log()->LogProperties(QStringLiteral("Dump"), QString(), QStringLiteral("\t")));
    QVERIFY(!c.control.Error()->LogProperties(QString(), QString(), QStringLiteral("\t")));
    QVERIFY(!c.control.Vigil()->LogProperties(QString(), QString(), QStringLiteral("\t")));
    QCOMPARE(c.delivered.size(), 2);
    QVERIFY(!c.log()->Clear());
    QVERIFY(!c.log()->AppendToLastLine(QStringLiteral("x")));
    QCOMPARE(c.lines(), kept);
}

void TestLog::switchingOffAndOnLeavesBothLinesTogether() {
    Component c;
    c.log()->setActive(false);
    c.log()->WriteLine(QStringLiteral("not kept"), true);
    c.log()->setActive(true);
    const QStringList lines = c.lines();
    QCOMPARE(lines.mid(lines.size() - 2),
             QStringList({"Log.Active := False", "Log.Active := True"}));
    QVERIFY(c.delivered.contains(QStringLiteral("not kept")));
}

void TestLog::writeLineReportsWhetherTheLineWentAnywhere() {
    TetSharedControl control;
    TetLog* log = control.Vigil()->Log();
    log->setActive(false);
    QVERIFY(!log->WriteLine(QStringLiteral("nowhere"), true));
    control.OnLog = [](TetSharedControl*, const QString&) {};
    QVERIFY(log->WriteLine(QStringLiteral("handler only"), true));
    control.OnLog = nullptr;
    log->setActive(true);
    QVERIFY(log->WriteLine(QStringLiteral("kept only"), true));
}

void TestLog::markerLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("stored");
    QTest::newRow("MARKER") << "MARKER" << QString(80, u'*');
    QTest::newRow("marker") << "marker"
                            << "marker";
    QTest::newRow("MARKER and blank") << "MARKER "
                                      << "MARKER ";
}

void TestLog::markerLine() {
    QFETCH(QString, line);
    QFETCH(QString, stored);
    Component c;
    c.log()->WriteLine(line, true);
    QCOMPARE(c.lines().last(), stored);
    QCOMPARE(c.delivered.last(), stored);
}

void TestLog::timeStamps() {
    Component c;
    c.log()->setTimeStamp(true);
    QCOMPARE(c.lines().last(),
             QStringLiteral("Log.TimeStamp := True")); // written before it applies
    c.log()->setCount(50);
    c.log()->WriteLine(QStringLiteral("\tError.Number = 0"), false);
    const QStringList lines = c.lines();
    const QRegularExpression stamped(
        QStringLiteral("^[0-5]\\d:[0-5]\\d\\.\\d{3}\tLog\\.Count := 50 //Lines$"));
    QVERIFY2(stamped.match(lines.at(lines.size() - 2)).hasMatch(),
             qPrintable(lines.at(lines.size() - 2)));
    QCOMPARE(lines.last(), QStringLiteral("\t\t\tError.Number = 0"));
    QCOMPARE(c.delivered.last(), lines.last());

    const QRegularExpression clock(QStringLiteral("^[0-5]\\d:[0-5]\\d\\.\\d{3}$"));
    QVERIFY(clock.match(TetLog::TimeStampText()).hasMatch());

    // The stamp keeps its point in every syntax style.
    c.control.Vigil()->setDevEnv(TDevEnv::deCppBuilder);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d\\.\\d{3}\tDevEnv = deCppBuilder$"))
                .match(c.lines().last())
                .hasMatch());
}

void TestLog::syntaxStyleIsAppliedToEveryLine_data() {
    QTest::addColumn<TDevEnv>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("deDelphi") << TDevEnv::deDelphi << "Log.Count := 50 //Lines";
    QTest::newRow("deCppBuilder") << TDevEnv::deCppBuilder << "Log->Count = 50 //Lines";
    QTest::newRow("deVisualBasic") << TDevEnv::deVisualBasic << "LogCount = 50 'Lines";
    QTest::newRow("deOther") << TDevEnv::deOther << "LogCount = 50 'Lines";
}

void TestLog::syntaxStyleIsAppliedToEveryLine() {
    QFETCH(TDevEnv, style);
    QFETCH(QString, expected);
    Component c;
    c.control.Vigil()->setDevEnv(style);
    c.log()->setCount(50);
    QCOMPARE(c.lines().last(), expected);
    QCOMPARE(c.delivered.last(), expected);
}

void TestLog::appendToLastLine() {
    Component c;
    c.control.Vigil()->setDevEnv(TDevEnv::deCppBuilder);
    c.log()->WriteLine(QStringLiteral("Call.Dial"), true);
    c.delivered.clear();
    QVERIFY(c.log()->AppendToLastLine(QStringLiteral(" done.")));
    QCOMPARE(c.lines().last(), QStringLiteral("Call->Dial done->"));
    QVERIFY(c.delivered.isEmpty());

    // After an error line the text becomes a line of its own.
    c.control.ReportError(-3);
    const qsizetype size = c.lines().size();
    QVERIFY(c.log()->AppendToLastLine(QStringLiteral("more")));
    QCOMPARE(c.lines().size(), size + 1);
    QCOMPARE(c.lines().last(), QStringLiteral("more"));
    QCOMPARE(c.delivered.last(), QStringLiteral("more"));

    // An empty log gets the text as a line.
    c.log()->Clear();
    QVERIFY(c.log()->AppendToLastLine(QStringLiteral("first")));
    QCOMPARE(c.lines(), QStringList{"first"});
}

void TestLog::clear() {
    Component c;
    QVERIFY(c.log()->Clear());
    QVERIFY(c.lines().isEmpty());
    QVERIFY(c.delivered.isEmpty());
}

void TestLog::propertyDump() {
    Component c;
    c.log()->setActive(false);
    c.log()->setActive(true);
    c.log()->Clear();
    QVERIFY(c.log()->LogProperties(QString(), QStringLiteral("Vigil"), QStringLiteral("\t")));
    QCOMPARE(c.lines(), QStringList({"\tVigil.Log.Active = True", "\tVigil.Log.Count = 50",
                                     "\tVigil.Log.TimeStamp = False"}));
    c.log()->Clear();
    c.log()->setCount(7);
    c.log()->Clear();
    QVERIFY(c.log()->LogProperties(QStringLiteral("Properties"), QString(), QString()));
    QCOMPARE(c.lines(), QStringList({"Properties", "Log.Active = True", "Log.Count = 7",
                                     "Log.TimeStamp = False"}));
    // With stamps the header is stamped and the properties are detail lines.
    c.log()->setTimeStamp(true);
    c.log()->Clear();
    c.log()->LogProperties(QStringLiteral("Properties"), QString(), QStringLiteral("\t"));
    QVERIFY(c.lines().at(0).endsWith(QStringLiteral("\tProperties")));
    QCOMPARE(c.lines().at(1), QStringLiteral("\t\t\tLog.Active = True"));
}

void TestLog::printWithoutAPrinterFails() {
    Component c;
    const QStringList before = c.lines();
    QVERIFY(!c.log()->Print());
    QCOMPARE(c.lines(), before);
    QVERIFY(c.delivered.isEmpty());
}

void TestLog::printSendsBannerKindAndLines() {
    auto printer = std::make_unique<RecordingPrinter>(true);
    RecordingPrinter* recorder = printer.get();
    InstallLogPrinter(std::move(printer));
    Component c;
    c.log()->WriteLine(QStringLiteral("Device.Active := True"), true);
    QVERIFY(c.log()->Print());
    QCOMPARE(recorder->printed,
             QStringList({"Telvane v3.7.1.2", "Control: etLine", "", "Telvane v3.7.1.2",
                          "Create etLine", "Device.Active := True"}));
    QCOMPARE(recorder->printedTitle, QStringLiteral("etLine"));
}

void TestLog::failedPrintLeavesTheLogUnchanged() {
    InstallLogPrinter(std::make_unique<RecordingPrinter>(false));
    Component c;
    const QStringList before = c.lines();
    QVERIFY(!c.log()->Print());
    QCOMPARE(c.lines(), before);
}

void TestLog::handlerMayWriteAgain() {
    TetSharedControl control;
    control.SetComponentKind(TetSharedControl::KindLine);
    TetLog* log = control.Vigil()->Log();
    log->setCount(3);
    control.OnLog = [log](TetSharedControl*, const QString& line) {
        if (!line.startsWith(QStringLiteral("echo")))
            log->WriteLine(QStringLiteral("echo ") + line, false);
    };
    log->WriteLine(QStringLiteral("a"), true);
    log->WriteLine(QStringLiteral("b"), true);
    QCOMPARE(log->Lines(), QStringList({"echo a", "b", "echo b"}));
}

QTEST_GUILESS_MAIN(TestLog)
#include "test_log.moc"
