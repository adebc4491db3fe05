// Incoming calls through the simulator provider, the telephony layer and the real event loop: the
// events and log lines in their exact order, and what the call object shows to the handlers.

#include <QTest>

#include "call_test_support.h"
#include "telephony/line/line_settings.h"

using namespace calltest;

namespace {
const QString Offering = QStringLiteral("00000002");
const QString Idle = QStringLiteral("00000001");
} // namespace

class TestIncomingCall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void incomingCallOnIdleLine_data() {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<uint32_t>("apiVersion");
        QTest::addColumn<QStringList>("opening");
        // From TAPI 2.0 on a new call is announced with LINE_APPNEWCALL before its first state;
        // older versions name it first in LINE_CALLSTATE, whose OnCallState then comes first.
        QTest::newRow("new-call message first")
            << QStringLiteral("incoming.json") << 0x00020002u
            << QStringList{"OnCallBegin A", "OnCallState A 00000002 00000001", "OnOffering A"};
        QTest::newRow("call state first")
            << QStringLiteral("incoming_tapi14.json") << 0x00010004u
            << QStringList{"OnCallState A 00000002 00000001", "OnCallBegin A", "OnOffering A"};
    }
    void incomingCallOnIdleLine() {
        QFETCH(QString, scenario);
        QFETCH(uint32_t, apiVersion);
        QFETCH(QStringList, opening);
        UseScenario(scenario);
        Trace trace;
        TetLine line;
        line.TAPI()->setHighVersion(apiVersion);
        trace.Attach(line);
        QStringList seen; // what the handlers read from the call object
        line.OnCallBegin = [&, begin = line.OnCallBegin](TetSharedControl* s, int32_t h) {
            begin(s, h);
            seen << QStringLiteral("selected at begin: %1").arg(trace.Name(line.Call()->Handle()));
        };
        line.OnCallerID = [&, caller = line.OnCallerID](TetSharedControl* s, int32_t h) {
            caller(s, h);
            TetCallerID* id = line.Call()->CallerID();
            seen << id->Number() + QLatin1Char('|') + id->Name();
        };
        OpenFirstDevice(line);
        QVERIFY(line.Device()->Active());
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->Handle(), 0u);

        Settle(250);
        const QStringList expected =
            opening + QStringList{
                          "OnCallerID A", "OnLineState 00000002",
                          "OnRing 1 1",   "OnLineState 00000002",
                          "OnRing 2 1",   "OnCallInfo A 00008000",
                          "OnCallerID A", "OnCallState A 00000001 00000000",
                          "OnIdle A",     "OnCallEnd A",
                      };
        QCOMPARE(trace.Events(), expected);
        // The number is stripped and masked, the name capitalised; the second reading brings
        // the name.
        QCOMPARE(seen, (QStringList{"selected at begin: A", "061-234-5678|",
                                    "061-234-5678|Janssen Piet"}));

        // The call is gone from the list, its record freed; the party objects keep the values.
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
        QCOMPARE(line.Call()->Active(), false);
        QCOMPARE(line.Call()->CallerID()->RawName(), QStringLiteral("JANSSEN PIET"));
    }

    void logOfAnIncomingCall() {
        UseScenario(QStringLiteral("incoming.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        Settle(250);
        QStringList all = From(trace.All(), QStringLiteral("log OnCallBegin [A]"));
        // The begin and end times are clock readings.
        for (QString& l : all)
            l.replace(QRegularExpression(QStringLiteral("= \\d\\d:\\d\\d:\\d\\d$")),
                      QStringLiteral("= hh:mm:ss"));
        const QStringList expected{
            "log OnCallBegin [A]",
            "log \tCall.Began = hh:mm:ss",
            "OnCallBegin A",
            "OnCallState A 00000002 00000001",
            "log OnOffering [A]",
            "OnOffering A",
            "log OnCallerID [A]",
            "log \tCall.CallerID.Blocked = False",
            "log \tCall.CallerID.Name = ''",
            "log \tCall.CallerID.Number = '0612345678'",
            "log \tCall.CallerID.OutOfArea = False",
            "log \tCall.CallerID.Flags = [00000008]",
            "log \t\tLINECALLPARTYID_ADDRESS",
            "OnCallerID A",
            "OnLineState 00000002",
            "log OnRing (1, 1)",
            "OnRing 1 1",
            "OnLineState 00000002",
            "log OnRing (2, 1)",
            "OnRing 2 1",
            "OnCallInfo A 00008000",
            "log OnCallerID [A]",
            "log \tCall.CallerID.Blocked = False",
            "log \tCall.CallerID.Name = 'JANSSEN PIET'",
            "log \tCall.CallerID.Number = '0612345678'",
            "log \tCall.CallerID.OutOfArea = False",
            "log \tCall.CallerID.Flags = [0000000C]",
            "log \t\tLINECALLPARTYID_NAME",
            "log \t\tLINECALLPARTYID_ADDRESS",
            "OnCallerID A",
            "OnCallState A 00000001 00000000",
            "log OnCallIdle [A]",
            "OnIdle A",
            "log OnCallEnd [A]",
            "log \tCall.Ended = hh:mm:ss",
            "OnCallEnd A",
            "log Call.Handle = [00000000]",
        };
        QCOMPARE(all, expected);
    }

    void popupFlagsAddTheStateLines() {
        UseScenario(QStringLiteral("incoming.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        line.Popup()->setOnCallState(true);
        line.Popup()->setOnCallInfo(true);
        line.Popup()->setOnLineState(true);
        OpenFirstDevice(line);
        Settle(250);
        const QStringList log = trace.Log();
        // The detail lines show the selected call, which the new call already is.
        QVERIFY(
            log.contains(QStringLiteral("OnCallState ([A] [00000002] [00000001] [00000000])")) ||
            log.contains(QStringLiteral("OnCallState ([A] [00000002] [00000001] [00000004])")));
        QVERIFY(log.contains(QStringLiteral("\tCall.State = LINECALLSTATE_OFFERING [00000002]")));
        QVERIFY(log.contains(QStringLiteral("OnCallInfo ([A] [00008000])")));
        QVERIFY(log.contains(QStringLiteral("OnLineState ([00000002] [00000001] [00000001])")));
        QVERIFY(log.contains(QStringLiteral("\tCall.State = LINECALLSTATE_IDLE [00000001]")));
    }

    void secondCallWhileTheFirstIsConnected() {
        UseScenario(QStringLiteral("second_call.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        QStringList seen;
        const auto show = [&](const char* what, int32_t h) {
            seen << QStringLiteral("%1 %2: selected %3, caller %4")
                        .arg(QLatin1String(what), trace.Name(h),
                             trace.Name(static_cast<int32_t>(line.Call()->Handle())),
                             line.Call()->CallerID()->Number());
        };
        line.OnOffering = [&, f = line.OnOffering](TetSharedControl* s, int32_t h) {
            f(s, h);
            show("offering", h);
        };
        line.OnCallEnd = [&, f = line.OnCallEnd](TetSharedControl* s, int32_t h) {
            f(s, h);
            show("end", h);
            seen << QStringLiteral("list %1").arg(line.Call()->List().join(QLatin1Char(',')));
        };
        OpenFirstDevice(line);
        Settle(250);

        const QStringList expected{
            "OnCallBegin A",
            "OnCallState A 00000002 00000001",
            "OnOffering A",
            "OnCallerID A",
            "OnCallState A 00000100 00000001",
            "OnConnected A",
            "OnCallBegin B",
            "OnCallState B 00000002 00000001",
            "OnOffering B",
            // Never read before its offering: every party is new and unfiltered.
            "OnCallerID B",
            "OnCalledID B",
            "OnConnectedID B",
            "OnRedirectionID B",
            "OnRedirectingID B",
            "OnCallState B 00000001 00000000",
            "OnIdle B",
            "OnCallEnd B",
            "OnCallState A 00000001 00000000",
            "OnIdle A",
            "OnCallEnd A",
        };
        QCOMPARE(trace.Events(), expected);
        const QString a = TetLineInternal::Hex8(trace.Handle(QStringLiteral("A")));
        const QString b = TetLineInternal::Hex8(trace.Handle(QStringLiteral("B")));
        // The first call stays the selected one while the second comes and goes.
        QCOMPARE(seen, (QStringList{
                           "offering A: selected A, caller 020-111-1111",
                           "offering B: selected A, caller 020-111-1111",
                           "end B: selected A, caller 020-111-1111",
                           "list 00000000," + a + "," + b,
                           "end A: selected A, caller 020-111-1111",
                           "list 00000000," + a,
                       }));
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }
};

QTEST_GUILESS_MAIN(TestIncomingCall)
#include "test_incoming_call.moc"
