// Call control through the simulator: the state sequences, replies and refusals.

#include <fcntl.h>

#include <cstring>

#include "telephony/tapi/tapisim.h"
#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

namespace {

constexpr DWORD Idle = LINECALLSTATE_IDLE;
constexpr DWORD Connected = LINECALLSTATE_CONNECTED;

// An incoming call on device 0 of the open session, answered when answer is set.
HCALL incoming(bool answer) {
    const auto before = messages(LINE_APPNEWCALL).size();
    if (tapisim::injectIncomingCall(0, {}) == 0)
        return 0;
    if (!waitUntil([&] { return messages(LINE_APPNEWCALL).size() > before; }))
        return 0;
    const auto call = static_cast<HCALL>(messages(LINE_APPNEWCALL).back().p2);
    if (answer && waitForReply(lineAnswer(call, nullptr, 0)) != 0)
        return 0;
    waitUntil([&] {
        return !statesOf(call).empty() &&
               statesOf(call).back() == (answer ? Connected : LINECALLSTATE_OFFERING);
    });
    return call;
}

bool reaches(HCALL call, DWORD state) {
    return waitUntil([&] { return !statesOf(call).empty() && statesOf(call).back() == state; });
}

} // namespace

class TestTapiCallControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { clearReceived(); }
    void outgoingCall_data();
    void outgoingCall();
    void answerHoldUnholdDrop();
    void refusalsLeaveTheCallAlone();
    void consultationTransfer();
    void conferenceAddAndRemove();
    void conferenceFromScratch();
    void parkAndUnpark();
    void redirectAndPickup();
    void forwardShowsInAddressStatus();
    void terminalsAndGeneration();
    void dataOnlyModem();
    void relatedDeviceIds();
    void commHandleIsRealAndOwnedByTheCaller();
    void newCallsOfALateLine();
    void handoffAndPrivilege();
};

void TestTapiCallControl::outgoingCall_data() {
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<DWORD>>("states");
    QTest::newRow("answered") << 0 << QStringLiteral("200")
                              << QList<DWORD>{LINECALLSTATE_DIALTONE, LINECALLSTATE_DIALING,
                                              LINECALLSTATE_PROCEEDING, LINECALLSTATE_RINGBACK,
                                              Connected};
    QTest::newRow("busy") << 2 << QStringLiteral("200")
                          << QList<DWORD>{LINECALLSTATE_DIALTONE, LINECALLSTATE_DIALING,
                                          LINECALLSTATE_PROCEEDING, LINECALLSTATE_RINGBACK,
                                          LINECALLSTATE_BUSY};
    QTest::newRow("dial later") << 0 << QString() << QList<DWORD>{LINECALLSTATE_DIALTONE};
}

void TestTapiCallControl::outgoingCall() {
    QFETCH(int, device);
    QFETCH(QString, number);
    QFETCH(QList<DWORD>, states);
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(static_cast<DWORD>(device));
    HCALL call = 0;
    const QByteArray dest = number.toLatin1();
    QCOMPARE(waitForReply(lineMakeCall(line, &call, dest.isEmpty() ? nullptr : dest.constData(), 0,
                                       nullptr)),
             0);
    QVERIFY(call != 0);
    QVERIFY(reaches(call, states.back()));
    spin(20);
    const std::vector<DWORD> seen = statesOf(call);
    QCOMPARE(QList<DWORD>(seen.begin(), seen.end()), states);
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(call, info.get()), 0);
    QCOMPARE(info->dwOrigin, LINECALLORIGIN_OUTBOUND);
    if (number.isEmpty()) {
        // Dialling afterwards continues the sequence; an empty number is refused.
        QCOMPARE(lineDial(call, "", 0), LINEERR_INVALADDRESS);
        QCOMPARE(waitForReply(lineDial(call, "300", 0)), 0);
        QVERIFY(reaches(call, Connected));
        QCOMPARE(info->dwCalledIDSize, DWORD(0));
        QCOMPARE(lineGetCallInfo(call, info.get()), 0);
        QCOMPARE(info.text(info->dwCalledIDSize, info->dwCalledIDOffset), std::string("300"));
    }
    QCOMPARE(waitForReply(lineDrop(call, nullptr, 0)), 0);
    QVERIFY(reaches(call, Idle));
    QCOMPARE(lineDeallocateCall(call), 0);
}

void TestTapiCallControl::answerHoldUnholdDrop() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL call = incoming(false);
    QVERIFY(call != 0);
    Buffer<LINECALLSTATUS> status;
    QCOMPARE(lineGetCallStatus(call, status.get()), 0);
    QVERIFY(status->dwCallFeatures & LINECALLFEATURE_ANSWER);
    QVERIFY(!(status->dwCallFeatures & LINECALLFEATURE_HOLD));
    QCOMPARE(waitForReply(lineAnswer(call, nullptr, 0)), 0);
    QVERIFY(reaches(call, Connected));
    QCOMPARE(lineGetCallStatus(call, status.get()), 0);
    QCOMPARE(status->dwCallState, Connected);
    QVERIFY(status->dwCallFeatures & LINECALLFEATURE_HOLD);
    QCOMPARE(waitForReply(lineHold(call)), 0);
    QVERIFY(reaches(call, LINECALLSTATE_ONHOLD));
    QCOMPARE(waitForReply(lineUnhold(call)), 0);
    QVERIFY(reaches(call, Connected));
    // The sole owner of a live call may not simply let go of it.
    QCOMPARE(lineDeallocateCall(call), LINEERR_INVALCALLSTATE);
    QCOMPARE(waitForReply(lineDrop(call, nullptr, 0)), 0);
    QVERIFY(reaches(call, Idle));
    const std::vector<DWORD> expected{LINECALLSTATE_OFFERING, Connected, LINECALLSTATE_ONHOLD,
                                      Connected, Idle};
    QCOMPARE(statesOf(call), expected);
    QCOMPARE(lineDeallocateCall(call), 0);
}

void TestTapiCallControl::refusalsLeaveTheCallAlone() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL call = incoming(false);
    QCOMPARE(lineHold(call), LINEERR_INVALCALLSTATE);
    QCOMPARE(lineUnhold(call), LINEERR_INVALCALLSTATE);
    QCOMPARE(lineDial(call, "1", 0), LINEERR_INVALCALLSTATE);
    QCOMPARE(lineRemoveFromConference(call), LINEERR_INVALCALLSTATE);
    QCOMPARE(linePark(call, 7, "1", nullptr), LINEERR_INVALPARKMODE);
    QCOMPARE(lineCompleteTransfer(call, call, nullptr, 9), LINEERR_INVALTRANSFERMODE);
    spin(20);
    QCOMPARE(statesOf(call), std::vector<DWORD>{LINECALLSTATE_OFFERING});
    QVERIFY(messages(LINE_REPLY).empty());
}

void TestTapiCallControl::consultationTransfer() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL call = incoming(true);
    QVERIFY(call != 0);
    HCALL consult = 0;
    QCOMPARE(waitForReply(lineSetupTransfer(call, &consult, nullptr)), 0);
    QVERIFY(consult != 0);
    QVERIFY(reaches(call, LINECALLSTATE_ONHOLDPENDTRANSF));
    QVERIFY(reaches(consult, LINECALLSTATE_DIALTONE));
    QCOMPARE(waitForReply(lineDial(consult, "201", 0)), 0);
    QVERIFY(reaches(consult, Connected));
    // Swapping goes back and forth between the two.
    QCOMPARE(waitForReply(lineSwapHold(consult, call)), 0);
    QVERIFY(reaches(call, Connected));
    QVERIFY(reaches(consult, LINECALLSTATE_ONHOLDPENDTRANSF));
    QCOMPARE(waitForReply(lineSwapHold(call, consult)), 0);
    QVERIFY(reaches(consult, Connected));
    QCOMPARE(waitForReply(lineCompleteTransfer(call, consult, nullptr, LINETRANSFERMODE_TRANSFER)),
             0);
    QVERIFY(reaches(call, Idle));
    QVERIFY(reaches(consult, Idle));
}

void TestTapiCallControl::conferenceAddAndRemove() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL call = incoming(true);
    HCALL conf = 0, consult = 0;
    QCOMPARE(waitForReply(lineSetupConference(call, 0, &conf, &consult, 3, nullptr)), 0);
    QVERIFY(conf != 0 && consult != 0);
    QVERIFY(reaches(conf, LINECALLSTATE_ONHOLDPENDCONF));
    QVERIFY(reaches(call, LINECALLSTATE_CONFERENCED));
    QVERIFY(reaches(consult, LINECALLSTATE_DIALTONE));
    QCOMPARE(waitForReply(lineDial(consult, "202", 0)), 0);
    QVERIFY(reaches(consult, Connected));
    QCOMPARE(lineAddToConference(conf, 0xDEAD), LINEERR_INVALCONSULTCALLHANDLE);
    QCOMPARE(waitForReply(lineAddToConference(conf, consult)), 0);
    QVERIFY(reaches(consult, LINECALLSTATE_CONFERENCED));
    QVERIFY(reaches(conf, Connected));
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(conf, info.get()), 0);
    QCOMPARE(info->dwOrigin, LINECALLORIGIN_CONFERENCE);
    // One more party, then one leaves; dropping the conference ends the rest.
    HCALL third = 0;
    QCOMPARE(waitForReply(linePrepareAddToConference(conf, &third, nullptr)), 0);
    QVERIFY(reaches(conf, LINECALLSTATE_ONHOLDPENDCONF));
    QCOMPARE(waitForReply(lineDial(third, "203", 0)), 0);
    QVERIFY(reaches(third, Connected));
    QCOMPARE(waitForReply(lineAddToConference(conf, third)), 0);
    QVERIFY(reaches(third, LINECALLSTATE_CONFERENCED));
    QCOMPARE(waitForReply(lineRemoveFromConference(consult)), 0);
    QVERIFY(reaches(consult, Idle));
    QCOMPARE(waitForReply(lineDrop(conf, nullptr, 0)), 0);
    QVERIFY(reaches(conf, Idle));
    QVERIFY(reaches(call, Idle));
    QVERIFY(reaches(third, Idle));
    QCOMPARE(linePrepareAddToConference(call, &third, nullptr), LINEERR_INVALCONFCALLHANDLE);
}

void TestTapiCallControl::conferenceFromScratch() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    HCALL conf = 0, consult = 0;
    QCOMPARE(lineSetupConference(0, 0, &conf, &consult, 3, nullptr), LINEERR_INVALLINEHANDLE);
    QCOMPARE(waitForReply(lineSetupConference(0, line, &conf, &consult, 3, nullptr)), 0);
    QVERIFY(conf != 0 && consult != 0);
    QVERIFY(reaches(conf, LINECALLSTATE_ONHOLDPENDCONF));
    QVERIFY(reaches(consult, LINECALLSTATE_DIALTONE));
    QCOMPARE(waitForReply(lineDial(consult, "204", 0)), 0);
    QVERIFY(reaches(consult, Connected));
    QCOMPARE(waitForReply(lineAddToConference(conf, consult)), 0);
    QVERIFY(reaches(consult, LINECALLSTATE_CONFERENCED));
    QVERIFY(reaches(conf, Connected));
}

void TestTapiCallControl::parkAndUnpark() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    const HCALL call = incoming(true);
    Buffer<VARSTRING> where(64);
    QCOMPARE(waitForReply(linePark(call, LINEPARKMODE_NONDIRECTED, nullptr, where.get())), 0);
    QVERIFY(reaches(call, Idle));
    const std::string slot = where.text(where->dwStringSize, where->dwStringOffset);
    QVERIFY(!slot.empty());
    HCALL back = 0;
    QCOMPARE(lineUnpark(line, 0, &back, "nowhere"), LINEERR_INVALADDRESS);
    QCOMPARE(waitForReply(lineUnpark(line, 0, &back, slot.c_str())), 0);
    QVERIFY(back != 0);
    QVERIFY(reaches(back, Connected));
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(back, info.get()), 0);
    QCOMPARE(info->dwReason, LINECALLREASON_UNPARK);
    // The busy line's device cannot park at all.
    Session other(scenarioPath(QStringLiteral("basic.json")));
    const HLINE busyLine = other.open(2);
    HCALL outgoing = 0;
    QCOMPARE(waitForReply(lineMakeCall(busyLine, &outgoing, nullptr, 0, nullptr)), 0);
    QCOMPARE(linePark(outgoing, LINEPARKMODE_DIRECTED, "5", nullptr), LINEERR_OPERATIONUNAVAIL);
    QCOMPARE(lineHold(outgoing), LINEERR_OPERATIONUNAVAIL);
}

void TestTapiCallControl::redirectAndPickup() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    const HCALL ringing = incoming(false);
    QCOMPARE(waitForReply(lineRedirect(ringing, "400", 0)), 0);
    QVERIFY(reaches(ringing, Idle));
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(ringing, info.get()), 0);
    QCOMPARE(info.text(info->dwRedirectionIDSize, info->dwRedirectionIDOffset), std::string("400"));

    const HCALL second = incoming(false);
    HCALL picked = 0;
    QCOMPARE(waitForReply(linePickup(line, 0, &picked, nullptr, nullptr)), 0);
    QVERIFY(reaches(picked, Connected));
    QVERIFY(reaches(second, Idle));
    QCOMPARE(lineGetCallInfo(picked, info.get()), 0);
    QCOMPARE(info->dwReason, LINECALLREASON_PICKUP);
}

void TestTapiCallControl::forwardShowsInAddressStatus() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    QCOMPARE(lineSetStatusMessages(line, 0, LINEADDRESSSTATE_FORWARD), 0);
    struct {
        LINEFORWARDLIST list;
        char dest[8];
    } fwd{};
    fwd.list.dwTotalSize = sizeof fwd;
    fwd.list.dwNumEntries = 1;
    fwd.list.ForwardList[0].dwForwardMode = LINEFORWARDMODE_UNCOND;
    fwd.list.ForwardList[0].dwDestAddressSize = 4;
    fwd.list.ForwardList[0].dwDestAddressOffset = offsetof(decltype(fwd), dest);
    std::memcpy(fwd.dest, "555", 4);
    HCALL consult = 0xFFFF;
    QCOMPARE(waitForReply(lineForward(line, 0, 1, &fwd.list, 3, &consult, nullptr)), 0);
    QCOMPARE(consult, HCALL(0));
    QVERIFY(waitUntil([] { return !messages(LINE_ADDRESSSTATE).empty(); }));
    QCOMPARE(messages(LINE_ADDRESSSTATE).front().p1, DWORD_PTR(1));
    QCOMPARE(messages(LINE_ADDRESSSTATE).front().p2, DWORD_PTR(LINEADDRESSSTATE_FORWARD));
    Buffer<LINEADDRESSSTATUS> status;
    QCOMPARE(lineGetAddressStatus(line, 1, status.get()), 0);
    QCOMPARE(status->dwForwardNumEntries, DWORD(1));
    QCOMPARE(status->dwNumRingsNoAnswer, DWORD(3));
    const auto* entry = reinterpret_cast<const LINEFORWARD*>(
        reinterpret_cast<const char*>(status.get()) + status->dwForwardOffset);
    QCOMPARE(entry->dwForwardMode, LINEFORWARDMODE_UNCOND);
    QCOMPARE(status.text(entry->dwDestAddressSize, entry->dwDestAddressOffset), std::string("555"));
    // An entry pointing outside the list is refused.
    fwd.list.ForwardList[0].dwDestAddressOffset = 4000;
    QCOMPARE(lineForward(line, 0, 1, &fwd.list, 3, &consult, nullptr), LINEERR_INVALPARAM);
    QCOMPARE(waitForReply(lineForward(line, 1, 0, nullptr, 0, &consult, nullptr)), 0);
    QCOMPARE(lineGetAddressStatus(line, 1, status.get()), 0);
    QCOMPARE(status->dwForwardNumEntries, DWORD(0));
}

void TestTapiCallControl::terminalsAndGeneration() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    QCOMPARE(lineSetStatusMessages(line, LINEDEVSTATE_TERMINALS, 0), 0);
    QCOMPARE(lineSetTerminal(line, 0, 0, LINECALLSELECT_LINE, LINETERMMODE_RINGER, 7, 1),
             LINEERR_INVALTERMINALID);
    QCOMPARE(lineSetTerminal(line, 0, 0, LINECALLSELECT_LINE, LINETERMMODE_DISPLAY, 0, 1),
             LINEERR_INVALTERMINALMODE);
    QCOMPARE(
        waitForReply(lineSetTerminal(line, 0, 0, LINECALLSELECT_LINE, LINETERMMODE_RINGER, 0, 1)),
        0);
    QVERIFY(waitUntil([] { return !messages(LINE_LINEDEVSTATE).empty(); }));
    QCOMPARE(messages(LINE_LINEDEVSTATE).front().p1, DWORD_PTR(LINEDEVSTATE_TERMINALS));
    Buffer<LINEDEVSTATUS> status;
    QCOMPARE(lineGetLineDevStatus(line, status.get()), 0);
    QCOMPARE(status->dwTerminalModesSize, DWORD(2 * sizeof(DWORD)));
    QCOMPARE(*reinterpret_cast<const DWORD*>(reinterpret_cast<const char*>(status.get()) +
                                             status->dwTerminalModesOffset),
             LINETERMMODE_RINGER);

    const HCALL call = incoming(true);
    QCOMPARE(lineGenerateDigits(call, LINEDIGITMODE_DTMF, "12X", 10), LINEERR_INVALDIGITS);
    QCOMPARE(lineGenerateDigits(call, LINEDIGITMODE_DTMF, "123", 5), 0);
    QVERIFY(waitUntil([] { return !messages(LINE_GENERATE).empty(); }));
    QCOMPARE(messages(LINE_GENERATE).front().p1, DWORD_PTR(LINEGENERATETERM_DONE));
    QCOMPARE(lineGenerateTone(call, LINETONEMODE_BEEP, 5000, 0, nullptr), 0);
    QCOMPARE(lineGenerateTone(call, 0, 0, 0, nullptr), 0); // cancels
    QVERIFY(waitUntil([] { return messages(LINE_GENERATE).size() == 2; }));
    QCOMPARE(messages(LINE_GENERATE)[1].p1, DWORD_PTR(LINEGENERATETERM_CANCEL));
    QCOMPARE(lineGenerateTone(call, LINETONEMODE_CUSTOM, 10, 0, nullptr), LINEERR_INVALTONE);
}

void TestTapiCallControl::dataOnlyModem() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    HLINE line = 0;
    QCOMPARE(lineOpen(s.app, 1, &line, TAPI_VERSION2_2, 0, 0,
                      LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR,
                      LINEMEDIAMODE_INTERACTIVEVOICE, nullptr),
             LINEERR_INVALMEDIAMODE);
    QCOMPARE(lineOpen(s.app, 1, &line, TAPI_VERSION2_2, 0, 0, LINECALLPRIVILEGE_OWNER, 0, nullptr),
             LINEERR_INVALMEDIAMODE);
    QCOMPARE(lineOpen(s.app, 1, &line, TAPI_VERSION2_2, 0, 0, LINECALLPRIVILEGE_OWNER,
                      LINEMEDIAMODE_DATAMODEM, nullptr),
             0);
    HCALL call = 0;
    QCOMPARE(waitForReply(lineMakeCall(line, &call, "123", 0, nullptr)), 0);
    QVERIFY(reaches(call, Connected));
    QCOMPARE(lineHold(call), LINEERR_OPERATIONUNAVAIL);
    HCALL consult = 0;
    QCOMPARE(lineSetupTransfer(call, &consult, nullptr), LINEERR_OPERATIONUNAVAIL);
    QCOMPARE(lineSetMediaMode(call, LINEMEDIAMODE_INTERACTIVEVOICE), LINEERR_INVALMEDIAMODE);
    Buffer<LINECALLSTATUS> status;
    QCOMPARE(lineGetCallStatus(call, status.get()), 0);
    QVERIFY(!(status->dwCallFeatures & LINECALLFEATURE_HOLD));
    QVERIFY(status->dwCallFeatures & LINECALLFEATURE_DROP);
    // The mapper picks the first device that carries the media mode.
    HLINE mapped = 0;
    QCOMPARE(lineOpen(s.app, LINEMAPPER, &mapped, TAPI_VERSION2_2, 0, 0, LINECALLPRIVILEGE_OWNER,
                      LINEMEDIAMODE_G3FAX, nullptr),
             LINEERR_INVALMEDIAMODE);
    LINEEXTENSIONID ext{};
    DWORD version = 0;
    QCOMPARE(lineNegotiateAPIVersion(s.app, 3, TAPI_VERSION1_4, TAPI_VERSION2_2, &version, &ext),
             LINEERR_INCOMPATIBLEAPIVERSION);
    QCOMPARE(lineNegotiateAPIVersion(s.app, 1, TAPI_VERSION1_4, 0x20005, &version, &ext), 0);
    QCOMPARE(version, TAPI_VERSION2_2);
    QCOMPARE(lineNegotiateAPIVersion(s.app, 1, 0x30000, 0x30001, &version, &ext),
             LINEERR_INCOMPATIBLEAPIVERSION);
}

void TestTapiCallControl::relatedDeviceIds() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE voice = s.open(0);
    const HLINE data = s.open(1, LINEMEDIAMODE_DATAMODEM);
    const auto idOf = [](HLINE line, const char* cls, LONG& rc) {
        Buffer<VARSTRING> v(64);
        rc = lineGetID(line, 0, 0, LINECALLSELECT_LINE, v.get(), cls);
        DWORD id = 0xFFFFFFFF;
        if (rc == 0 && v->dwStringSize >= 4)
            std::memcpy(&id, reinterpret_cast<const char*>(v.get()) + v->dwStringOffset, 4);
        return id;
    };
    LONG rc = 0;
    QCOMPARE(idOf(voice, "tapi/phone", rc), DWORD(3));
    QCOMPARE(idOf(voice, "wave/in", rc), DWORD(4));
    QCOMPARE(idOf(voice, "wave/out", rc), DWORD(5));
    QCOMPARE(idOf(voice, "tapi/line", rc), DWORD(0));
    QCOMPARE(idOf(data, "tapi/line", rc), DWORD(1));
    idOf(data, "tapi/phone", rc);
    QCOMPARE(rc, LINEERR_INVALDEVICECLASS);
    idOf(voice, "video/out", rc);
    QCOMPARE(rc, LINEERR_INVALDEVICECLASS);
}

void TestTapiCallControl::commHandleIsRealAndOwnedByTheCaller() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(1, LINEMEDIAMODE_DATAMODEM);
    HCALL call = 0;
    QCOMPARE(waitForReply(lineMakeCall(line, &call, "123", 0, nullptr)), 0);
    // Too small a buffer opens nothing and tells the size.
    Buffer<VARSTRING> small(2);
    QCOMPARE(lineGetID(0, 0, call, LINECALLSELECT_CALL, small.get(), "comm/datamodem"), 0);
    QCOMPARE(small->dwStringSize, DWORD(0));
    QVERIFY(small->dwNeededSize > small->dwTotalSize);
    Buffer<VARSTRING> v(small->dwNeededSize);
    QCOMPARE(lineGetID(0, 0, call, LINECALLSELECT_CALL, v.get(), "comm/datamodem"), 0);
    QCOMPARE(v->dwStringFormat, STRINGFORMAT_BINARY);
    HANDLE handle = nullptr;
    std::memcpy(&handle, reinterpret_cast<const char*>(v.get()) + v->dwStringOffset, sizeof handle);
    QCOMPARE(
        v.text(v->dwStringSize - DWORD(sizeof handle), v->dwStringOffset + DWORD(sizeof handle)),
        std::string("Data Modem"));
    const int fd = static_cast<int>(reinterpret_cast<intptr_t>(handle));
    QVERIFY(fcntl(fd, F_GETFD) != -1); // open
    QCOMPARE(CloseHandle(handle), 1);
    QCOMPARE(fcntl(fd, F_GETFD), -1);
    QCOMPARE(CloseHandle(handle), 0);                                // not twice
    QCOMPARE(CloseHandle(reinterpret_cast<HANDLE>(intptr_t(0))), 0); // nor anything else
}

// A line opened while calls exist learns of them with lineGetNewCalls, once; a buffer too
// small for the list makes no handles the caller would never learn of.
void TestTapiCallControl::newCallsOfALateLine() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL first = incoming(true);
    QVERIFY(first != 0);
    QVERIFY(incoming(false) != 0);
    const HLINE late = s.open(0, 0, 9, LINECALLPRIVILEGE_NONE);
    QVERIFY(late != 0);
    Buffer<LINECALLLIST> small(4);
    QCOMPARE(lineGetNewCalls(late, 0, LINECALLSELECT_LINE, small.get()), 0);
    QCOMPARE(small->dwCallsNumEntries, DWORD(0));
    QCOMPARE(small->dwNeededSize, DWORD(sizeof(LINECALLLIST) + 2 * sizeof(HCALL)));
    Buffer<LINECALLLIST> list;
    QCOMPARE(lineGetNewCalls(late, 0, LINECALLSELECT_ADDRESS, list.get()), 0);
    QCOMPARE(list->dwCallsNumEntries, DWORD(2));
    HCALL handles[2];
    std::memcpy(handles, reinterpret_cast<const char*>(list.get()) + list->dwCallsOffset,
                sizeof handles);
    Buffer<LINECALLSTATUS> status;
    QCOMPARE(lineGetCallStatus(handles[0], status.get()), 0);
    QCOMPARE(status->dwCallPrivilege, LINECALLPRIVILEGE_MONITOR);
    QCOMPARE(status->dwCallState, Connected);
    QCOMPARE(lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list.get()), 0);
    QCOMPARE(list->dwCallsNumEntries, DWORD(0)); // already known
    QCOMPARE(lineGetNewCalls(late, 0, LINECALLSELECT_CALL, list.get()), LINEERR_INVALCALLSELECT);
    // The new handle follows the call from now on.
    QCOMPARE(waitForReply(lineDrop(first, nullptr, 0)), 0);
    QVERIFY(reaches(handles[0], Idle));
}

void TestTapiCallControl::handoffAndPrivilege() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    const HCALL call = incoming(true);
    QVERIFY(call != 0);
    QCOMPARE(lineHandoff(call, nullptr, LINEMEDIAMODE_DATAMODEM), LINEERR_TARGETNOTFOUND);
    QCOMPARE(lineHandoff(call, nullptr, LINEMEDIAMODE_G3FAX), LINEERR_INVALMEDIAMODE);
    QCOMPARE(lineHandoff(call, "tapi-test", 0), LINEERR_TARGETSELF);

    // A second application that takes data calls on the same device.
    HLINEAPP other = 0;
    DWORD devs = 0;
    QCOMPARE(lineInitialize(&other, nullptr, &record, "fax-app", &devs), 0);
    HLINE otherLine = 0;
    QCOMPARE(lineOpen(other, 0, &otherLine, TAPI_VERSION2_2, 0, 55, LINECALLPRIVILEGE_OWNER,
                      LINEMEDIAMODE_DATAMODEM, nullptr),
             0);
    QCOMPARE(lineHandoff(call, "fax-app", 0), 0);
    QVERIFY(waitUntil([&] {
        for (const Received& r : messages(LINE_APPNEWCALL))
            if (r.device == otherLine)
                return true;
        return false;
    }));
    HCALL taken = 0;
    for (const Received& r : messages(LINE_APPNEWCALL))
        if (r.device == otherLine) {
            taken = static_cast<HCALL>(r.p2);
            QCOMPARE(r.p3, DWORD_PTR(LINECALLPRIVILEGE_OWNER));
            QCOMPARE(r.instance, DWORD_PTR(55));
        }
    QVERIFY(reaches(taken, Connected));
    // The first owner steps back to monitoring; the others hear of it.
    QCOMPARE(lineSetCallPrivilege(call, LINECALLPRIVILEGE_MONITOR), 0);
    QCOMPARE(lineSetCallPrivilege(call, 8), LINEERR_INVALCALLPRIVILEGE);
    QVERIFY(waitUntil([&] {
        for (const Received& r : messages(LINE_CALLINFO))
            if (r.device == taken && (r.p1 & LINECALLINFOSTATE_NUMOWNERDECR))
                return true;
        return false;
    }));
    QCOMPARE(lineHold(call), LINEERR_NOTOWNER);
    Buffer<LINECALLINFO> info;
    QCOMPARE(lineGetCallInfo(taken, info.get()), 0);
    QCOMPARE(info->dwNumOwners, DWORD(1));
    QCOMPARE(info->dwNumMonitors, DWORD(1));
    QCOMPARE(lineShutdown(other), 0);
}

QTEST_GUILESS_MAIN(TestTapiCallControl)
#include "test_tapi_call_control.moc"
