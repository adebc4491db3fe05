// How calls end: TAPI forgetting a call, a busy disconnect, the idle delay, and the line closing
// under the calls.

#include <QTest>

#include "call_test_support.h"
#include "telephony/line/line_settings.h"
#include "telephony/tapi/tapi.h"

using namespace calltest;

class TestCallEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void callInformationOfAForgottenCall() {
        UseScenario(QStringLiteral("callinfo_gone.json"));
        Trace trace;
        TetLine line;
        // Monitoring only: a monitor's handle may be given up while the call goes on.
        line.Privilege()->setOwner(false);
        trace.Attach(line);
        // TAPI forgets the call between announcing new caller data and our reading of it.
        line.OnTAPIMessage = [](TetSharedControl*, int32_t h, uint32_t message, uint32_t, uint32_t,
                                uint32_t) {
            if (message == LINE_CALLINFO)
                QCOMPARE(lineDeallocateCall(static_cast<HCALL>(h)), 0);
        };
        OpenFirstDevice(line);
        QVERIFY(line.Device()->Active());
        Settle(200);
        const QStringList expected{
            "OnCallBegin A", "OnCallState A 00000002 00000001", "OnOffering A",
            "OnCallerID A",  "OnCallInfo A 00008000",           "OnCallEnd A",
        };
        QCOMPARE(trace.Events(), expected);
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
        QCOMPARE(line.Call()->Handle(), 0u);
    }

    void busyDisconnect() {
        UseScenario(QStringLiteral("busy.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        uint32_t recordBusyMode = 0;
        uint32_t callBusyMode = 99;
        uint32_t callDisconnectMode = 0;
        line.OnDisconnected = [&, f = line.OnDisconnected](TetSharedControl* s, int32_t h) {
            f(s, h);
            const TetCallLog* record =
                line.Call()->FindCall(TetCall::FindKind::ByHandle, static_cast<uint32_t>(h));
            QVERIFY(record);
            recordBusyMode = record->BusyMode;
            callBusyMode = line.Call()->BusyMode();
            callDisconnectMode = line.Call()->DisconnectMode();
        };
        OpenFirstDevice(line);
        Settle(200);
        const QStringList events = From(trace.Events(), QStringLiteral("OnCallerID A"));
        const QStringList expected{
            "OnCallerID A",     "OnCallState A 00004000 00000020", "OnBusy A",
            "OnDisconnected A", "OnCallState A 00000001 00000000", "OnIdle A",
            "OnCallEnd A",
        };
        QCOMPARE(events, expected);
        // The record takes "unavailable" as its busy mode; the call object's stays as it was.
        QCOMPARE(recordBusyMode, LINEBUSYMODE_UNAVAIL);
        QCOMPARE(callBusyMode, 0u);
        QCOMPARE(callDisconnectMode, LINEDISCONNECTMODE_BUSY);
        const QStringList log = trace.Log();
        const qsizetype busy = log.indexOf(QStringLiteral("OnBusy [A]"));
        QVERIFY(busy >= 0);
        QCOMPARE(log.mid(busy, 3),
                 (QStringList{"OnBusy [A]", "OnDisconnected [A]",
                              "\tCall.DisconnectMode = LINEDISCONNECTMODE_BUSY [00000020]"}));
    }

    void idleDelay() {
        UseScenario(QStringLiteral("incoming.json"));
        Trace trace;
        TetLine line;
        line.Device()->setIdleDelay(2000);
        trace.Attach(line);
        OpenFirstDevice(line);
        Settle(250);
        // The call has ended; OnIdle waits for the delay.
        QCOMPARE(trace.Events().last(), QStringLiteral("OnCallEnd A"));
        QVERIFY(!trace.Events().contains(QStringLiteral("OnIdle A")));
        const QStringList log = From(trace.Log(), QStringLiteral("OnCallIdle [A]"));
        QCOMPARE(log.mid(0, 4), (QStringList{"OnCallIdle [A]", "\tDelaying",
                                             "\t\tetLine.Device.IdleDelay = 2000 //milliseconds",
                                             "OnCallEnd [A]"}));

        // Then OnIdle comes with the call selected at that moment: none.
        QTRY_VERIFY_WITH_TIMEOUT(trace.Events().contains(QStringLiteral("OnIdle 0")), 5000);
        QCOMPARE(trace.Events().last(), QStringLiteral("OnIdle 0"));
        QCOMPARE(trace.Events().count(QStringLiteral("OnIdle 0")), 1);
        QVERIFY(trace.Log().contains(QStringLiteral("\tetLine.Device.IdleDelay - Complete ")));
    }

    void lineGoneEndsEveryCall_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("LINE_CLOSE")
            << QStringLiteral("close.json") << QStringLiteral("TAPI LINE_CLOSE message received");
        QTest::newRow("LINEDEVSTATE_DISCONNECTED")
            << QStringLiteral("disconnected.json")
            << QStringLiteral("TAPI LINEDEVSTATE_DISCONNECTED message received");
    }
    void lineGoneEndsEveryCall() {
        QFETCH(QString, scenario);
        QFETCH(QString, logLine);
        UseScenario(scenario);
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        Settle(250);
        const QStringList all = trace.All();
        const qsizetype at = all.indexOf(QStringLiteral("log ") + logLine);
        QVERIFY2(at >= 0, qPrintable(all.join(QLatin1Char('\n'))));
        QStringList ends;
        for (const QString& l : all.mid(at))
            if (!l.startsWith(QStringLiteral("log ")))
                ends << l;
        // The newest entry first; nothing else follows for the dead line.
        QCOMPARE(ends, (QStringList{"OnCallEnd B", "OnCallEnd A"}));
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }
};

QTEST_GUILESS_MAIN(TestCallEnd)
#include "test_call_end.moc"
