// The call list and the selected call: entries and records as calls come and go, choosing the
// next call, writing Call.Handle, and ending calls, on a simulated line driven call by call.

#include <QTest>

#include "call_test_support.h"
#include "telephony/line/line_settings.h"
#include "telephony/tapi/tapi.h"
#include "telephony/tapi/tapisim.h"

using namespace calltest;

namespace {

struct Injected {
    DWORD id = 0;        // the provider's call ID
    uint32_t handle = 0; // our handle of it
};

// A new offered call; its handle is the newest entry of the list once the messages ran.
Injected Offer(TetLine& line, const QString& number) {
    tapisim::CallSetup setup;
    setup.caller.number = number;
    Injected call;
    call.id = tapisim::injectIncomingCall(0, setup);
    Settle(30);
    const QStringList& list = line.Call()->List();
    call.handle = list.size() > 1 ? list.last().toUInt(nullptr, 16) : 0;
    return call;
}

void SetState(const Injected& call, DWORD state, DWORD mode = 0) {
    QVERIFY(tapisim::injectCallState(0, call.id, state, mode));
    Settle(30);
}

QString Hex(uint32_t h) {
    return TetLineInternal::Hex8(h);
}

} // namespace

class TestCallList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("quiet.json")); }

    void lineWithoutCalls() {
        TetLine line;
        OpenFirstDevice(line);
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->IndexOfCall(0), 0);
        QCOMPARE(line.Call()->IndexOfCall(0x1234), -1);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{1});
    }

    void firstCallIsSelectedLaterOnesAppended() {
        TetLine line;
        OpenFirstDevice(line);
        const Injected a = Offer(line, QStringLiteral("0201111111"));
        const Injected b = Offer(line, QStringLiteral("0302222222"));
        QVERIFY(a.handle != 0 && b.handle != 0 && a.handle != b.handle);
        QCOMPARE(line.Call()->List(), (QStringList{"00000000", Hex(a.handle), Hex(b.handle)}));
        QCOMPARE(line.Call()->Count(), 2);
        QCOMPARE(line.Call()->Handle(), a.handle);
        QCOMPARE(line.Call()->IndexOfCall(b.handle), 2);
        QCOMPARE(line.Call()->CallerID()->Number(), QStringLiteral("020-111-1111"));
        // Found by handle; the newest record comes first in the chain.
        QCOMPARE(line.Call()->FindCall(TetCall::FindKind::ByHandle, b.handle)->Handle, b.handle);
        QCOMPARE(line.Call()->AddCallRecord(TetCall::AddMode::LookupOrAdd, b.handle),
                 line.Call()->FindCall(TetCall::FindKind::ByHandle, b.handle));
        QCOMPARE(line.Call()->Count(), 2);
        // Writing Call.Handle shows the other call.
        line.Call()->setHandle(b.handle);
        QCOMPARE(line.Call()->Handle(), b.handle);
        QCOMPARE(line.Call()->CallerID()->Number(), QStringLiteral("030-222-2222"));
        QCOMPARE(line.Call()->State(), LINECALLSTATE_OFFERING);
        QCOMPARE(line.Call()->Active(), true);
    }

    void nextCallAfterTheSelectedOneEnds_data() {
        QTest::addColumn<bool>("selectNewer");
        QTest::addColumn<bool>("olderStaysSelected");
        // The newer call ending gives the selection to the older one, which is still offered.
        QTest::newRow("newer selected and ending") << true << true;
        // The newest entry is never chosen, so the older call ending leaves no call selected.
        QTest::newRow("older selected and ending") << false << false;
    }
    void nextCallAfterTheSelectedOneEnds() {
        QFETCH(bool, selectNewer);
        QFETCH(bool, olderStaysSelected);
        TetLine line;
        OpenFirstDevice(line);
        const Injected a = Offer(line, QStringLiteral("0201111111"));
        const Injected b = Offer(line, QStringLiteral("0302222222"));
        if (selectNewer)
            line.Call()->setHandle(b.handle);
        SetState(selectNewer ? b : a, LINECALLSTATE_IDLE);
        QCOMPARE(line.Call()->Count(), 1);
        QCOMPARE(line.Call()->Handle(), olderStaysSelected ? a.handle : 0u);
        QCOMPARE(line.Call()->Active(), olderStaysSelected);
    }

    void writingAnUnlistedHandle() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        const Injected a = Offer(line, QStringLiteral("0201111111"));
        trace.lines.clear();
        line.Call()->setHandle(0xBAD);
        QCOMPARE(line.Call()->Handle(), a.handle);
        QCOMPARE(line.Error()->Number(), 0); // the refresh of the kept selection succeeded
        QCOMPARE(trace.Events(), QStringList{"OnError 80000018"});
        QCOMPARE(trace.Log().value(0), QStringLiteral("Call.Handle = [00000BAD]"));
        QCOMPARE(line.Call()->State(), LINECALLSTATE_OFFERING);

        // Handle 0 selects no call.
        line.Call()->setHandle(0);
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->Active(), false);
        QCOMPARE(line.Call()->State(), 0u);
        QCOMPARE(line.Call()->Count(), 1);
    }

    void idleCallWithAPendingRequestIsKept() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        const Injected a = Offer(line, QStringLiteral("0201111111"));
        const Injected b = Offer(line, QStringLiteral("0302222222"));
        // An operation waits for its reply on the second call.
        line.Call()->FindCall(TetCall::FindKind::ByHandle, b.handle)->HangupRequest = 77;
        QCOMPARE(line.Call()->FindCall(TetCall::FindKind::ByRequest, 77)->Handle, b.handle);
        SetState(b, LINECALLSTATE_IDLE);
        QCOMPARE(line.Call()->Count(), 2);
        QVERIFY(trace.Events().contains(QStringLiteral("OnIdle B")));
        QVERIFY(!trace.Events().contains(QStringLiteral("OnCallEnd B")));
        QVERIFY(!line.Call()->EndCall(false, b.handle));

        // The operation is done; TAPI has meanwhile forgotten the call (the idle state let go of
        // its handle), so selecting it ends it. The call left is the newest entry, which is never
        // chosen: no call is selected.
        line.Call()->FindCall(TetCall::FindKind::ByHandle, b.handle)->HangupRequest = 0;
        trace.lines.clear();
        line.Call()->setHandle(b.handle);
        QCOMPARE(trace.Events(), (QStringList{"OnError 80000018", "OnCallEnd B"}));
        QCOMPARE(line.Call()->Count(), 1);
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->List(), (QStringList{"00000000", Hex(a.handle)}));
        QCOMPARE(line.Call()->RecordCount(), std::size_t{2});
    }

    void endingACallTwice() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        const Injected a = Offer(line, QStringLiteral("0201111111"));
        // Checking mode leaves a call that is still offered alone.
        QVERIFY(!line.Call()->EndCall(false, a.handle));
        trace.lines.clear();
        QVERIFY(line.Call()->EndCall(true, a.handle));
        QVERIFY(!line.Call()->EndCall(true, a.handle));
        QVERIFY(!line.Call()->EndCall(false, a.handle));
        QCOMPARE(trace.Events(), QStringList{"OnCallEnd A"});
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Call()->Handle(), 0u);
        // The selected call's end time stays visible after it left the list.
        QVERIFY(line.Call()->Ended().isValid());
    }

    void closingTheLineEndsCallsNewestFirst() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        Offer(line, QStringLiteral("0201111111"));
        SetState({line.Call()->FindCall(TetCall::FindKind::ByHandle, line.Call()->Handle())->ID,
                  line.Call()->Handle()},
                 LINECALLSTATE_CONNECTED, LINECONNECTEDMODE_ACTIVE);
        Offer(line, QStringLiteral("0302222222"));
        trace.lines.clear();
        line.Device()->setActive(false);
        QCOMPARE(trace.Events(), (QStringList{"OnCallEnd B", "OnCallEnd A"}));
        QCOMPARE(line.Call()->List(), QStringList{"00000000"});
        QCOMPARE(line.Call()->Count(), 0);
        QCOMPARE(line.Device()->Active(), false);
    }

    void reopeningListsTheCallsAlreadyThere() {
        // A second component keeps the device open, and the calls with it.
        TetLine keeper;
        OpenFirstDevice(keeper);
        Trace trace;
        TetLine line;
        trace.Attach(line);
        // Monitoring only, so closing gives the calls up without dropping them.
        line.Privilege()->setOwner(false);
        OpenFirstDevice(line);
        Offer(line, QStringLiteral("0201111111"));
        Offer(line, QStringLiteral("0302222222"));
        line.Device()->setActive(false);
        trace.lines.clear();
        line.Device()->setActive(true);
        Settle(30);
        // Listed without OnCallBegin, and none chosen (the newest entry never is; the older one
        // has no state yet).
        QCOMPARE(line.Call()->Count(), 2);
        QVERIFY(!trace.Events().contains(QStringLiteral("OnCallBegin A")));
        QCOMPARE(line.Call()->Handle(), 0u);
        QCOMPARE(line.Call()->RecordCount(), std::size_t{3});
    }
};

QTEST_GUILESS_MAIN(TestCallList)
#include "test_call_list.moc"
