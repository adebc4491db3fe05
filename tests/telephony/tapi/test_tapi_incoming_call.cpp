// Incoming calls as a scenario scripts them and as tests inject them: the messages, their order
// and the call information behind them.

#include "telephony/tapi/tapisim.h"
#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

namespace {

struct Caller {
    std::string number;
    std::string name;
    DWORD flags = 0;
};

Caller callerOf(HCALL call) {
    Buffer<LINECALLINFO> info;
    if (lineGetCallInfo(call, info.get()) != 0)
        return {};
    return {info.text(info->dwCallerIDSize, info->dwCallerIDOffset),
            info.text(info->dwCallerIDNameSize, info->dwCallerIDNameOffset), info->dwCallerIDFlags};
}

// The messages of the test as "NAME:param1" words, for comparing whole sequences.
QStringList sequence(HCALL call, HLINE line) {
    QStringList out;
    for (const Received& r : snapshot()) {
        if (r.message == LINE_APPNEWCALL && r.device == line && r.p2 == call)
            out << QStringLiteral("NEWCALL:%1").arg(r.p3);
        else if (r.message == LINE_CALLSTATE && r.device == call)
            out << QStringLiteral("STATE:%1").arg(r.p1, 0, 16);
        else if (r.message == LINE_CALLINFO && r.device == call)
            out << QStringLiteral("INFO:%1").arg(r.p1, 0, 16);
    }
    return out;
}

} // namespace

class TestTapiIncomingCall : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { clearReceived(); }
    void scriptedCallsProduceTheirMessages();
    void monitorLineGetsMonitorHandles();
    void injectedCallerDataArrivesWithCallInfo();
    void digitsAreMonitoredAndGathered();
    void tonesAndMediaModesAreMonitored();
    void providerCloseSendsLineClose();
    void repeatedTimelineRunsEveryCall();
};

void TestTapiIncomingCall::scriptedCallsProduceTheirMessages() {
    Session s(scenarioPath(QStringLiteral("incoming.json")));
    const HLINE line = s.open(0);
    QCOMPARE(lineSetStatusMessages(line, LINEDEVSTATE_RINGING, 0), 0);
    std::map<HCALL, Caller> callerAtNewCall;
    onMessage() = [&](const Received& r) {
        if (r.message == LINE_APPNEWCALL)
            callerAtNewCall[static_cast<HCALL>(r.p2)] = callerOf(static_cast<HCALL>(r.p2));
        if (r.message == LINE_CALLSTATE && r.p1 == LINECALLSTATE_IDLE)
            QCOMPARE(lineDeallocateCall(r.device), 0);
    };
    QVERIFY(waitUntil([] {
        std::size_t idle = 0;
        for (const Received& r : messages(LINE_CALLSTATE))
            idle += r.p1 == LINECALLSTATE_IDLE;
        return idle == 2;
    }));
    const auto newCalls = messages(LINE_APPNEWCALL);
    QCOMPARE(newCalls.size(), std::size_t(2));
    const auto a = static_cast<HCALL>(newCalls[0].p2);
    const auto b = static_cast<HCALL>(newCalls[1].p2);

    QCOMPARE(sequence(a, line), QStringList({"NEWCALL:4", "STATE:2", "STATE:100", "STATE:1"}));
    QCOMPARE(sequence(b, line),
             QStringList({"NEWCALL:4", "STATE:2", "INFO:8000", "STATE:4000", "STATE:1"}));
    // Privilege only with the first state message of a handle, modes as scripted.
    const auto states = messages(LINE_CALLSTATE);
    QCOMPARE(states[0].p2, DWORD_PTR(LINEOFFERINGMODE_ACTIVE));
    QCOMPARE(states[0].p3, DWORD_PTR(LINECALLPRIVILEGE_OWNER));
    QCOMPARE(states[1].p3, DWORD_PTR(0));
    for (const Received& r : states)
        if (r.device == b && r.p1 == LINECALLSTATE_DISCONNECTED)
            QCOMPARE(r.p2, DWORD_PTR(LINEDISCONNECTMODE_NOANSWER));

    // The second call arrives while the first is connected.
    const auto all = snapshot();
    std::size_t connectedAt = 0, secondAt = 0, firstIdleAt = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].message == LINE_CALLSTATE && all[i].device == a &&
            all[i].p1 == LINECALLSTATE_CONNECTED)
            connectedAt = i;
        if (all[i].message == LINE_APPNEWCALL && all[i].p2 == b)
            secondAt = i;
        if (all[i].message == LINE_CALLSTATE && all[i].device == a &&
            all[i].p1 == LINECALLSTATE_IDLE)
            firstIdleAt = i;
    }
    QVERIFY(connectedAt < secondAt && secondAt < firstIdleAt);

    const auto rings = messages(LINE_LINEDEVSTATE);
    QCOMPARE(rings.size(), std::size_t(1));
    QCOMPARE(rings[0].p1, DWORD_PTR(LINEDEVSTATE_RINGING));
    QCOMPARE(rings[0].p3, DWORD_PTR(1));

    QCOMPARE(callerAtNewCall[a].number, std::string("0301234567"));
    QCOMPARE(callerAtNewCall[a].name, std::string("Jansen"));
    QCOMPARE(callerAtNewCall[a].flags, LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME);
    QCOMPARE(callerAtNewCall[b].number, std::string());
    QCOMPARE(callerAtNewCall[b].flags, LINECALLPARTYID_BLOCKED);
    // Deallocated at IDLE: the handles are gone.
    QCOMPARE(lineDeallocateCall(a), LINEERR_INVALCALLHANDLE);
}

void TestTapiIncomingCall::monitorLineGetsMonitorHandles() {
    Session s(scenarioPath(QStringLiteral("incoming.json")));
    const HLINE line = s.open(0, 0, 5, LINECALLPRIVILEGE_MONITOR);
    QVERIFY(waitUntil([] { return messages(LINE_APPNEWCALL).size() == 2; }));
    for (const Received& r : messages(LINE_APPNEWCALL)) {
        QCOMPARE(r.device, line);
        QCOMPARE(r.p3, DWORD_PTR(LINECALLPRIVILEGE_MONITOR));
        Buffer<LINECALLSTATUS> status;
        QCOMPARE(lineGetCallStatus(static_cast<HCALL>(r.p2), status.get()), 0);
        QCOMPARE(status->dwCallPrivilege, LINECALLPRIVILEGE_MONITOR);
        // A monitor may watch but not act.
        QCOMPARE(lineAnswer(static_cast<HCALL>(r.p2), nullptr, 0), LINEERR_NOTOWNER);
    }
}

void TestTapiIncomingCall::injectedCallerDataArrivesWithCallInfo() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    tapisim::CallSetup offer;
    offer.caller.flags = LINECALLPARTYID_UNAVAIL;
    offer.called.number = QStringLiteral("100");
    offer.redirecting.number = QStringLiteral("0309999999");
    offer.redirecting.name = QStringLiteral("Desk");
    offer.reason = LINECALLREASON_FWDBUSY;
    const DWORD id = tapisim::injectIncomingCall(0, offer);
    QVERIFY(id != 0);
    QVERIFY(waitUntil([] { return !messages(LINE_CALLSTATE).empty(); }));
    const auto call = static_cast<HCALL>(messages(LINE_APPNEWCALL).front().p2);
    QCOMPARE(callerOf(call).flags, LINECALLPARTYID_UNAVAIL);
    QVERIFY(
        tapisim::injectPartyInfo(0, id, tapisim::PartyKind::Caller,
                                 {QStringLiteral("+31 (20) 5551234"), QStringLiteral("Piet"), 0}));
    QVERIFY(waitUntil([] { return !messages(LINE_CALLINFO).empty(); }));
    QCOMPARE(messages(LINE_CALLINFO).front().p1, DWORD_PTR(LINECALLINFOSTATE_CALLERID));
    const Caller c = callerOf(call);
    QCOMPARE(c.number, std::string("+31 (20) 5551234"));
    QCOMPARE(c.name, std::string("Piet"));
    QCOMPARE(c.flags, LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME);

    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(call, info.get()), 0);
    QCOMPARE(info->hLine, line);
    QCOMPARE(info->dwCallID, id);
    QCOMPARE(info->dwReason, LINECALLREASON_FWDBUSY);
    QCOMPARE(info->dwOrigin, LINECALLORIGIN_EXTERNAL);
    QCOMPARE(info->dwNumOwners, DWORD(1));
    QCOMPARE(info.text(info->dwCalledIDSize, info->dwCalledIDOffset), std::string("100"));
    QCOMPARE(info.text(info->dwRedirectingIDNameSize, info->dwRedirectingIDNameOffset),
             std::string("Desk"));
    QCOMPARE(info.text(info->dwAppNameSize, info->dwAppNameOffset), std::string("tapi-test"));
    // Unknown calls and closed devices are refused.
    QVERIFY(!tapisim::injectCallState(0, id + 1000, LINECALLSTATE_IDLE));
    QVERIFY(!tapisim::injectRing(1, 1));
}

void TestTapiIncomingCall::digitsAreMonitoredAndGathered() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const DWORD id = tapisim::injectIncomingCall(0, {});
    QVERIFY(waitUntil([] { return !messages(LINE_APPNEWCALL).empty(); }));
    const auto call = static_cast<HCALL>(messages(LINE_APPNEWCALL).front().p2);
    QCOMPARE(lineMonitorDigits(call, LINEDIGITMODE_DTMF), 0);
    char digits[8] = {};
    QCOMPARE(lineGatherDigits(call, LINEDIGITMODE_DTMF, digits, 4, "#", 0, 0), 0);
    QVERIFY(tapisim::injectDigits(0, id, QStringLiteral("12#5")));
    QVERIFY(waitUntil([] { return messages(LINE_MONITORDIGITS).size() == 4; }));
    QVERIFY(waitUntil([] { return !messages(LINE_GATHERDIGITS).empty(); }));
    QCOMPARE(messages(LINE_GATHERDIGITS).front().p1, DWORD_PTR(LINEGATHERTERM_TERMDIGIT));
    QCOMPARE(QByteArray(digits, 3), QByteArray("12#"));
    QCOMPARE(digits[3], '\0'); // gathering stopped at the terminator
    QCOMPARE(messages(LINE_MONITORDIGITS)[1].p1, DWORD_PTR('2'));
    QCOMPARE(messages(LINE_MONITORDIGITS)[1].p2, DWORD_PTR(LINEDIGITMODE_DTMF));

    // A full buffer ends the gathering; so does the first-digit time-out.
    char two[2] = {};
    QCOMPARE(lineGatherDigits(call, LINEDIGITMODE_DTMF, two, 2, nullptr, 0, 0), 0);
    QVERIFY(tapisim::injectDigits(0, id, QStringLiteral("789")));
    QVERIFY(waitUntil([] { return messages(LINE_GATHERDIGITS).size() == 2; }));
    QCOMPARE(messages(LINE_GATHERDIGITS)[1].p1, DWORD_PTR(LINEGATHERTERM_BUFFERFULL));
    QCOMPARE(QByteArray(two, 2), QByteArray("78"));
    char none[4] = {};
    QCOMPARE(lineGatherDigits(call, LINEDIGITMODE_DTMF, none, 4, nullptr, 20, 0), 0);
    QVERIFY(waitUntil([] { return messages(LINE_GATHERDIGITS).size() == 3; }));
    QCOMPARE(messages(LINE_GATHERDIGITS)[2].p1, DWORD_PTR(LINEGATHERTERM_FIRSTTIMEOUT));
    QCOMPARE(lineGatherDigits(call, LINEDIGITMODE_PULSE | 0x100, none, 4, nullptr, 0, 0),
             LINEERR_INVALDIGITMODE);
}

void TestTapiIncomingCall::tonesAndMediaModesAreMonitored() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0, LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM);
    const DWORD id = tapisim::injectIncomingCall(0, {});
    QVERIFY(waitUntil([] { return !messages(LINE_APPNEWCALL).empty(); }));
    const auto call = static_cast<HCALL>(messages(LINE_APPNEWCALL).front().p2);
    LINEMONITORTONE tones[2] = {{0xAA, 0, 440, 480, 0}, {0xBB, 0, 1100, 0, 0}};
    QCOMPARE(lineMonitorTones(call, tones, 2), 0);
    QCOMPARE(lineMonitorMedia(call, LINEMEDIAMODE_DATAMODEM), 0);
    QCOMPARE(lineMonitorMedia(call, LINEMEDIAMODE_G3FAX), LINEERR_INVALMEDIAMODE);
    QVERIFY(tapisim::injectTone(0, id, 480, 440));
    QVERIFY(tapisim::injectTone(0, id, 2100));
    QVERIFY(tapisim::injectMediaMode(0, id, LINEMEDIAMODE_DATAMODEM));
    QVERIFY(waitUntil([] { return !messages(LINE_MONITORMEDIA).empty(); }));
    spin(20);
    const auto heard = messages(LINE_MONITORTONE);
    QCOMPARE(heard.size(), std::size_t(1));
    QCOMPARE(heard[0].p1, DWORD_PTR(0xAA));
    QCOMPARE(messages(LINE_MONITORMEDIA).front().p1, DWORD_PTR(LINEMEDIAMODE_DATAMODEM));
    QCOMPARE(messages(LINE_CALLINFO).front().p1, DWORD_PTR(LINECALLINFOSTATE_MEDIAMODE));
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(call, info.get()), 0);
    QCOMPARE(info->dwMediaMode, LINEMEDIAMODE_DATAMODEM);
    QCOMPARE(info->dwMonitorMediaModes, LINEMEDIAMODE_DATAMODEM);
}

void TestTapiIncomingCall::providerCloseSendsLineClose() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    QVERIFY(tapisim::injectIncomingCall(0, {}) != 0);
    QVERIFY(tapisim::injectLineClose(0));
    // The handle is invalid at once; LINE_CLOSE is the last message the line sees.
    QCOMPARE(lineSetStatusMessages(line, 0, 0), LINEERR_INVALLINEHANDLE);
    QVERIFY(waitUntil([] { return !messages(LINE_CLOSE).empty(); }));
    spin(20);
    const auto all = snapshot();
    QCOMPARE(all.size(), std::size_t(1));
    QCOMPARE(all[0].message, LINE_CLOSE);
    QCOMPARE(all[0].device, line);
    QCOMPARE(all[0].instance, DWORD_PTR(0x1234));
    QCOMPARE(lineClose(line), LINEERR_INVALLINEHANDLE);
    // The device can be opened again.
    QVERIFY(s.open(0) != 0);
}

void TestTapiIncomingCall::repeatedTimelineRunsEveryCall() {
    Session s(scenarioPath(QStringLiteral("load.json")));
    s.open(0);
    onMessage() = [](const Received& r) {
        if (r.message == LINE_CALLSTATE && r.p1 == LINECALLSTATE_IDLE)
            lineDeallocateCall(r.device);
    };
    QVERIFY(waitUntil([] { return tapisim::timelineFinished(0); }));
    spin(20);
    QCOMPARE(messages(LINE_APPNEWCALL).size(), std::size_t(50));
    QCOMPARE(messages(LINE_CALLSTATE).size(), std::size_t(100));
}

QTEST_GUILESS_MAIN(TestTapiIncomingCall)
#include "test_tapi_incoming_call.moc"
