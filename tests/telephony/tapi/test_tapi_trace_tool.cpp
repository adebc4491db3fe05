// vorbel-tapi-trace as a user runs it: a process with a scenario, its output and exit code.

#include <QProcess>
#include <QtTest>

#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run trace(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(VORBEL_TRACE_TOOL), arguments);
    Run r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

class TestTapiTraceTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printsEveryMessageAndEnds();
    void picksTheDeviceByName();
    void failures_data();
    void failures();
};

void TestTapiTraceTool::printsEveryMessageAndEnds() {
    const Run r = trace({scenarioPath(QStringLiteral("incoming.json"))});
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 11, qPrintable(r.out));
    QVERIFY(lines[0].startsWith(QStringLiteral("# device 0 'Caller ID Modem'")));
    QVERIFY2(lines[1].contains(QStringLiteral("LINE_APPNEWCALL")) &&
                 lines[1].contains(QStringLiteral("caller='0301234567' name='Jansen'")),
             qPrintable(lines[1]));
    QVERIFY(lines[2].contains(QStringLiteral("LINE_CALLSTATE")) &&
            lines[2].contains(QStringLiteral("LINECALLSTATE_OFFERING")));
    QVERIFY(r.out.contains(QStringLiteral("LINEDEVSTATE_RINGING")));
    QCOMPARE(r.out.count(QStringLiteral("LINECALLSTATE_IDLE")), 2);
    // Each message line: time, name, handle and three parameters in hexadecimal.
    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*\d+ LINE_\w+\s+[0-9A-F]{8} [0-9A-F]{8} [0-9A-F]{8} [0-9A-F]{8})"));
    for (const QString& line : lines.mid(1))
        QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
}

void TestTapiTraceTool::picksTheDeviceByName() {
    const Run r = trace({scenarioPath(QStringLiteral("basic.json")), QStringLiteral("Data Modem")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("# device 1 'Data Modem'")), qPrintable(r.out));
    const Run old = trace({scenarioPath(QStringLiteral("no_initialize_ex.json"))});
    QCOMPARE(old.exitCode, 0);
    QVERIFY(old.out.contains(QStringLiteral("using lineInitialize")));
}

void TestTapiTraceTool::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no arguments") << QStringList() << 2 << QStringLiteral("usage:");
    QTest::newRow("missing file") << QStringList{QStringLiteral("/nonexistent/x.json")} << 1
                                  << QStringLiteral(
                                         "/nonexistent/x.json: cannot read the scenario");
    QTest::newRow("no such device")
        << QStringList{scenarioPath(QStringLiteral("basic.json")), QStringLiteral("9")} << 1
        << QStringLiteral("no such device");
    QTest::newRow("negotiation fails")
        << QStringList{scenarioPath(QStringLiteral("basic.json")), QStringLiteral("3")} << 1
        << QStringLiteral("no such device");
}

void TestTapiTraceTool::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run r = trace(arguments);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty() || r.out.startsWith(u'#'));
}

QTEST_GUILESS_MAIN(TestTapiTraceTool)
#include "test_tapi_trace_tool.moc"
