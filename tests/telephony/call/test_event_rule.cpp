// The event switch, LINE_REPLY and its request slots, and handlers that let other messages run
// while they are on the stack.

#include <QEventLoop>

#include <QTest>
#include <QTimer>
#include <cstring>

#include "call_test_support.h"
#include "telephony/line/line_settings.h"
#include "telephony/tapi/tapi.h"
#include "telephony/tapi/tapisim.h"

using namespace calltest;

namespace {
// What a modal message box does to the event loop.
void RunNestedLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

DWORD InjectCall(const QString& number) {
    tapisim::CallSetup setup;
    setup.caller.number = number;
    return tapisim::injectIncomingCall(0, setup);
}
} // namespace

class TestEventRule : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eventSwitchOffLeavesFourEvents() {
        UseScenario(QStringLiteral("events_off.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        QStringList messages;
        line.OnTAPIMessage = [&](TetSharedControl*, int32_t, uint32_t message, uint32_t, uint32_t,
                                 uint32_t) { messages << MessageName(message); };
        OpenFirstDevice(line);
        line.Vigil()->setEvents(false);
        Settle(250);
        // Only the device-specific event reached its handler (OnTAPIMessage is counted apart).
        QCOMPARE(trace.Events(), QStringList{"OnDevSpecific 7"});
        QVERIFY(messages.contains(QStringLiteral("LINE_APPNEWCALL")));
        QVERIFY(messages.contains(QStringLiteral("LINE_CALLSTATE")));
        QVERIFY(messages.contains(QStringLiteral("LINE_DEVSPECIFIC")));
        // The component still kept its books and its log.
        const QStringList log = trace.Log();
        for (const char* written : {"OnCallBegin [", "OnOffering [", "OnCallerID [", "OnCallEnd ["})
            QVERIFY2(
                std::any_of(log.begin(), log.end(),
                            [&](const QString& l) { return l.startsWith(QLatin1String(written)); }),
                written);
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }

    // Replies go through the component's callback exactly as the telephony service calls it.
    void replies_data() {
        QTest::addColumn<bool>("inSlot");
        QTest::addColumn<uint32_t>("result");
        QTest::addColumn<QString>("logLine");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("success in no slot")
            << false << 0u << QStringLiteral("OnTAPIReply") << QStringList{"OnTAPIReply 00000000"};
        QTest::newRow("success in the answer slot")
            << true << 0u << QStringLiteral("OnTAPIReply - Call.Answer")
            << QStringList{"OnTAPIReply 00000000"};
        QTest::newRow("failure in no slot")
            << false << static_cast<uint32_t>(LINEERR_OPERATIONFAILED)
            << QStringLiteral("OnTAPIReply")
            << QStringList{"OnTAPIReply 80000048", "OnError 80000048"};
        QTest::newRow("failure in the answer slot")
            << true << static_cast<uint32_t>(LINEERR_OPERATIONFAILED)
            << QStringLiteral("OnTAPIReply - Call.Answer")
            << QStringList{"OnTAPIReply 80000048", "OnError 80000048"};
    }
    void replies() {
        QFETCH(bool, inSlot);
        QFETCH(uint32_t, result);
        QFETCH(QString, logLine);
        QFETCH(QStringList, events);
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        // The log block is written for every failure, and for successes with the popup flag.
        line.Popup()->setOnTAPIReply(result == 0);
        OpenFirstDevice(line);
        QVERIFY(InjectCall(QStringLiteral("0612345678")) != 0);
        Settle(50);
        const uint32_t call = line.Call()->Handle();
        QVERIFY(call != 0);
        constexpr int32_t request = 4711;
        if (inSlot)
            line.Call()->FindCall(TetCall::FindKind::ByHandle, call)->AnswerRequest = request;
        QCOMPARE(line.Call()->FindCall(TetCall::FindKind::ByRequest, request) != nullptr, inSlot);
        trace.lines.clear();

        TetLineInternal::LineCallback(0, LINE_REPLY, reinterpret_cast<DWORD_PTR>(&line), request,
                                      result, 0);
        QCOMPARE(trace.Events(), events);
        QCOMPARE(line.Error()->Number(), static_cast<int32_t>(result));
        const QStringList log = trace.Log();
        QCOMPARE(log.value(0), logLine);
        QCOMPARE(log.value(2), QStringLiteral("\tMessage = LINE_REPLY [0000000C]"));
        QCOMPARE(log.value(3), QStringLiteral("\tParameter 1 = [00001267]"));
        if (inSlot)
            QCOMPARE(line.Call()->FindCall(TetCall::FindKind::ByHandle, call)->AnswerRequest, -1);
    }

    void quietSuccessfulReply() {
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        trace.lines.clear();
        TetLineInternal::LineCallback(0, LINE_REPLY, reinterpret_cast<DWORD_PTR>(&line), 12, 0, 0);
        // No popup flag and no error: the handler runs, nothing is logged.
        QCOMPARE(trace.lines, QStringList{"OnTAPIReply 00000000"});
    }

    void ignoredMessages() {
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        int messages = 0;
        line.OnTAPIMessage = [&](TetSharedControl*, int32_t, uint32_t, uint32_t, uint32_t,
                                 uint32_t) { ++messages; };
        OpenFirstDevice(line);
        trace.lines.clear();
        // Session-wide messages come without an instance; REINIT is for the session as well.
        TetLineInternal::LineCallback(0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_RINGING, 1, 1);
        TetLineInternal::LineCallback(0, LINE_LINEDEVSTATE, reinterpret_cast<DWORD_PTR>(&line),
                                      LINEDEVSTATE_REINIT, 0, 0);
        // Caller data for an unknown call that only counts monitors creates nothing.
        TetLineInternal::LineCallback(0x999, LINE_CALLINFO, reinterpret_cast<DWORD_PTR>(&line),
                                      LINECALLINFOSTATE_NUMMONITORS, 0, 0);
        QCOMPARE(messages, 1);
        QCOMPARE(trace.lines, QStringList());
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }

    void callInformationForACallTapiDoesNotKnow() {
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        TetLineInternal::LineCallback(0x999, LINE_CALLINFO, reinterpret_cast<DWORD_PTR>(&line),
                                      LINECALLINFOSTATE_CALLERID, 0, 0);
        // It is taken on, its reading fails, and it ends again without party events.
        QCOMPARE(trace.Events(), (QStringList{"OnCallBegin A", "OnError 80000018",
                                              "OnCallInfo A 00008000", "OnCallEnd A"}));
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }

    void messagesAboutACall_data() {
        QTest::addColumn<uint32_t>("message");
        QTest::addColumn<uint32_t>("p1");
        QTest::addColumn<uint32_t>("p2");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("silence tone")
            << LINE_MONITORTONE << 0x89ABCDEFu << 0u << QStringList{"OnSilence A"}
            << QStringLiteral("OnSilence ([A])");
        QTest::newRow("other tone")
            << LINE_MONITORTONE << 0x12u << 0u << QStringList{} << QString();
        QTest::newRow("tone generated") << LINE_GENERATE << 1u << 0u << QStringList{"OnToneSent A"}
                                        << QStringLiteral("OnToneSent ([A])");
        QTest::newRow("digit") << LINE_MONITORDIGITS << static_cast<uint32_t>('7') << 2u
                               << QStringList{"OnDigitReceived A 7"}
                               << QStringLiteral("OnDigitReceived ([A] '7')");
        QTest::newRow("media mode") << LINE_MONITORMEDIA << LINEMEDIAMODE_DATAMODEM << 0u
                                    << QStringList{"OnCallMediaModeChange A"}
                                    << QStringLiteral("OnCallMediaModeChange ([A])");
        QTest::newRow("digits gathered")
            << LINE_GATHERDIGITS << LINEGATHERTERM_TERMDIGIT << 0u << QStringList{}
            << QStringLiteral("OnDigitsGathered ([A] '12#' [00000002])");
    }
    void messagesAboutACall() {
        QFETCH(uint32_t, message);
        QFETCH(uint32_t, p1);
        QFETCH(uint32_t, p2);
        QFETCH(QStringList, events);
        QFETCH(QString, logLine);
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        QStringList gathered;
        line.OnDigitsGathered = [&](TetSharedControl*, int32_t, const QString& digits,
                                    uint32_t termination, int32_t tag) {
            gathered << QStringLiteral("%1 %2 %3").arg(digits).arg(termination).arg(tag);
        };
        OpenFirstDevice(line);
        QVERIFY(InjectCall(QStringLiteral("0612345678")) != 0);
        Settle(50);
        const uint32_t call = line.Call()->Handle();
        TetCallLog* record = line.Call()->FindCall(TetCall::FindKind::ByHandle, call);
        QVERIFY(record);
        record->Tag = 42;
        record->GatherActive = true;
        std::strcpy(record->DigitBuffer.data(), "12#");
        trace.lines.clear();

        TetLineInternal::LineCallback(call, message, reinterpret_cast<DWORD_PTR>(&line), p1, p2, 0);
        QCOMPARE(trace.Events(), events);
        QCOMPARE(trace.Log().value(0), logLine);
        if (message == LINE_MONITORMEDIA) {
            QCOMPARE(line.Call()->MediaMode(), LINEMEDIAMODE_DATAMODEM);
            QCOMPARE(record->MediaMode, LINEMEDIAMODE_DATAMODEM);
        }
        if (message == LINE_GATHERDIGITS) {
            QCOMPARE(gathered, QStringList{"12# 2 42"});
            QCOMPARE(record->Digits, QStringLiteral("12#"));
            QCOMPARE(record->GatherActive, false);
        }
    }

    void lineAndAddressStates() {
        UseScenario(QStringLiteral("quiet.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        trace.lines.clear();
        const auto instance = reinterpret_cast<DWORD_PTR>(&line);
        TetLineInternal::LineCallback(0, LINE_LINEDEVSTATE, instance,
                                      LINEDEVSTATE_RINGING | LINEDEVSTATE_MSGWAITON, 3, 5);
        TetLineInternal::LineCallback(0, LINE_LINEDEVSTATE, instance, LINEDEVSTATE_MSGWAITOFF, 0,
                                      0);
        TetLineInternal::LineCallback(0, LINE_ADDRESSSTATE, instance, 0,
                                      LINEADDRESSSTATE_FORWARD | LINEADDRESSSTATE_INUSEZERO, 0);
        TetLineInternal::LineCallback(0, LINE_DEVSPECIFICFEATURE, instance, 9, 0, 0);
        // The ring count is the third parameter, the ring mode the second.
        QCOMPARE(trace.Events(),
                 (QStringList{"OnLineState 00000012", "OnRing 5 3", "OnMessageOn",
                              "OnLineState 00000020", "OnMessageOff", "OnAddressState 0 00000044",
                              "OnAddressForward 0", "OnDevSpecificFeature 9"}));
        QCOMPARE(trace.Log(), (QStringList{"OnRing (5, 3)", "OnMessageOn", "OnMessageOff",
                                           "OnAddressForward (0)"}));
    }

    void handlersThatLetMessagesRun_data() {
        QTest::addColumn<QString>("nesting");
        QTest::newRow("OnCallBegin") << QStringLiteral("OnCallBegin");
        QTest::newRow("OnOffering") << QStringLiteral("OnOffering");
        QTest::newRow("OnCallerID") << QStringLiteral("OnCallerID");
        QTest::newRow("OnRing") << QStringLiteral("OnRing");
        QTest::newRow("OnCallInfo") << QStringLiteral("OnCallInfo");
        QTest::newRow("OnCallEnd") << QStringLiteral("OnCallEnd");
    }
    void handlersThatLetMessagesRun() {
        QFETCH(QString, nesting);
        UseScenario(QStringLiteral("reentrancy.json"));
        Trace trace;
        TetLine line;
        trace.Attach(line);
        // The first time the chosen event comes, its handler sits in a nested loop (as behind a
        // message box) while the rest of the scenario arrives.
        bool nested = false;
        const auto nestOnce = [&] {
            if (nested)
                return;
            nested = true;
            RunNestedLoop(60);
        };
        const auto wrap = [&](TET_CallNotifyEvent& event, const char* name) {
            if (nesting != QLatin1String(name))
                return;
            event = [&, f = event](TetSharedControl* s, int32_t h) {
                f(s, h);
                nestOnce();
            };
        };
        wrap(line.OnCallBegin, "OnCallBegin");
        wrap(line.OnOffering, "OnOffering");
        wrap(line.OnCallerID, "OnCallerID");
        wrap(line.OnCallEnd, "OnCallEnd");
        if (nesting == QLatin1String("OnRing"))
            line.OnRing = [&, f = line.OnRing](TetSharedControl* s, uint32_t c, uint32_t m) {
                f(s, c, m);
                nestOnce();
            };
        if (nesting == QLatin1String("OnCallInfo"))
            line.OnCallInfo = [&, f = line.OnCallInfo](TetSharedControl* s, int32_t h, uint32_t i) {
                f(s, h, i);
                nestOnce();
            };
        OpenFirstDevice(line);
        Settle(300);
        QVERIFY(nested);

        const QStringList events = trace.Events();
        for (const char* e : {"OnCallBegin A", "OnCallBegin B", "OnCallEnd A", "OnCallEnd B"})
            QVERIFY2(events.count(QLatin1String(e)) == 1,
                     qPrintable(QLatin1String(e) + QStringLiteral(": ") +
                                events.join(QLatin1Char(','))));
        // Each call's end comes after its begin, and nothing of a call follows its end.
        for (const QString& c : {QStringLiteral("A"), QStringLiteral("B")}) {
            const qsizetype end = events.indexOf(QStringLiteral("OnCallEnd ") + c);
            QVERIFY(events.indexOf(QStringLiteral("OnCallBegin ") + c) < end);
            for (const QString& later : events.mid(end + 1))
                QVERIFY2(!later.endsWith(QLatin1Char(' ') + c) || later.startsWith("OnIdle"),
                         qPrintable(later));
        }
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
        QCOMPARE(line.Call()->Handle(), 0u);
    }
};

QTEST_GUILESS_MAIN(TestEventRule)
#include "test_event_rule.moc"
