// The call object's own operations: the status and information refreshes, writing MediaMode,
// conference bookkeeping on call states, and the property dump.

#include <QTest>

#include "call_test_support.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/transfer_conference.h"
#include "telephony/tapi/tapi.h"
#include "telephony/tapi/tapisim.h"

using namespace calltest;

namespace {
DWORD InjectCall(const tapisim::CallSetup& setup) {
    const DWORD id = tapisim::injectIncomingCall(0, setup);
    Settle(30);
    return id;
}
} // namespace

class TestCallObject : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("quiet.json")); }

    void refreshesWithoutASelectedCall() {
        TetLine line;
        OpenFirstDevice(line);
        QCOMPARE(line.Call()->RefreshCallStatus(false), true);
        QCOMPARE(line.Call()->Active(), false);
        QCOMPARE(line.Call()->State(), 0u);
        QCOMPARE(line.Call()->RefreshCallInfo(0, 0xF8000), 0);
        // Without a session nothing is read.
        TetLine closed;
        QCOMPARE(closed.Call()->RefreshCallInfo(0x1234, 0xF8000), -1);
        QCOMPARE(closed.Call()->RefreshCallStatus(false), true);
    }

    void callInformationOfTheSelectedCall() {
        TetLine line;
        OpenFirstDevice(line);
        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0612345678");
        setup.mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
        setup.origin = LINECALLORIGIN_EXTERNAL;
        setup.reason = LINECALLREASON_DIRECT;
        QVERIFY(InjectCall(setup) != 0);
        TetCall& c = *line.Call();
        QCOMPARE(c.Active(), true);
        QCOMPARE(c.State(), LINECALLSTATE_OFFERING);
        QCOMPARE(c.MediaMode(), LINEMEDIAMODE_INTERACTIVEVOICE);
        QCOMPARE(c.Origin(), LINECALLORIGIN_EXTERNAL);
        QCOMPARE(c.Reason(), LINECALLREASON_DIRECT);
        QCOMPARE(c.Owner(), true);
        QVERIFY(c.ID() != 0);
        QVERIFY(c.Began().isValid());
        QCOMPARE(c.Began().timeSpec(), Qt::LocalTime);
        QVERIFY(!c.Connected().isValid());
    }

    void longCallerDataIsReadWhole() {
        TetLine line;
        OpenFirstDevice(line);
        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0612345678");
        const DWORD id = InjectCall(setup);
        // Far beyond the first buffer: the reading grows it until everything fits.
        tapisim::Party party;
        party.number = QStringLiteral("0612345678");
        party.name = QString(6000, QLatin1Char('N'));
        QVERIFY(tapisim::injectPartyInfo(0, id, tapisim::PartyKind::Caller, party));
        Settle(30);
        QCOMPARE(line.Call()->CallerID()->RawName().size(), 6000);
    }

    void writingMediaMode() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        // No call selected: the value is only kept.
        trace.lines.clear();
        line.Call()->setMediaMode(LINEMEDIAMODE_DATAMODEM);
        QCOMPARE(line.Call()->MediaMode(), LINEMEDIAMODE_DATAMODEM);
        QVERIFY(trace.Log().isEmpty());

        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0612345678");
        QVERIFY(InjectCall(setup) != 0);
        trace.lines.clear();
        const uint32_t modes = LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM;
        line.Call()->setMediaMode(modes);
        const QStringList log = trace.Log();
        QCOMPARE(log.value(0), QStringLiteral("Call.MediaMode := 00000014 [A]"));
        QCOMPARE(log.value(1), QStringLiteral("\tLINEMEDIAMODE_INTERACTIVEVOICE"));
        QCOMPARE(log.value(2), QStringLiteral("\tLINEMEDIAMODE_DATAMODEM"));
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(line.Call()->MediaMode(), modes);
        // A mode the line does not carry: TAPI refuses, and the call keeps its mode.
        line.Call()->setMediaMode(LINEMEDIAMODE_G3FAX);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALMEDIAMODE);
        QCOMPARE(line.Call()->MediaMode(), modes);
    }

    void conferenceBookkeepingOnCallStates() {
        TetLine line;
        OpenFirstDevice(line);
        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0201111111");
        const DWORD first = InjectCall(setup);
        const uint32_t a = line.Call()->Handle();
        setup.caller.number = QStringLiteral("0302222222");
        const DWORD second = InjectCall(setup);
        const uint32_t b = line.Call()->List().last().toUInt(nullptr, 16);
        QVERIFY(tapisim::injectCallState(0, first, LINECALLSTATE_CONFERENCED));
        QVERIFY(tapisim::injectCallState(0, second, LINECALLSTATE_CONFERENCED));
        Settle(30);
        TetConference& conference = *line.Conference();
        QCOMPARE(conference.PrimaryCall(), a);
        QCOMPARE(conference.ConsultCall(), b);
        QCOMPARE(conference.List(), QStringList{TetLineInternal::Hex8(b)});
        // A member that goes idle leaves the list; the primary call going idle ends it all.
        QVERIFY(tapisim::injectCallState(0, second, LINECALLSTATE_IDLE));
        Settle(30);
        QCOMPARE(conference.List(), QStringList());
        QCOMPARE(conference.ConsultCall(), 0u);
        QCOMPARE(conference.PrimaryCall(), a);
        QVERIFY(tapisim::injectCallState(0, first, LINECALLSTATE_IDLE));
        Settle(30);
        QCOMPARE(conference.PrimaryCall(), 0u);
        QCOMPARE(line.Call()->Count(), 0);
    }

    void propertyDump() {
        Trace trace;
        TetLine line;
        trace.Attach(line);
        OpenFirstDevice(line);
        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0612345678");
        setup.caller.name = QStringLiteral("JANSSEN PIET");
        QVERIFY(InjectCall(setup) != 0);
        line.Log()->setActive(true);
        trace.lines.clear();
        QVERIFY(line.LogProperties(QStringLiteral("Dump")));
        // The call object's block: its items and the detail lines under them.
        QStringList call;
        bool inCall = false;
        for (const QString& l : trace.Log()) {
            if (!l.startsWith(QStringLiteral("\t\t")))
                inCall = l.startsWith(QStringLiteral("\tCall."));
            if (inCall)
                call << l;
        }
        // A few items, in the dump's order.
        const QStringList ordered{
            "\tCall.Active = True",
            "\tCall.Address = 0",
            "\tCall.BearerMode = [00000001]",
            "\tCall.CallerID.Name = 'Janssen Piet'",
            "\tCall.CallerID.Number = '061-234-5678'",
            "\tCall.Connected = <unavailable>",
            "\tCall.Count = 1",
            "\tCall.Handle = [A]",
            "\tCall.List",
            "\t\t00000000",
            "\t\tA",
            "\tCall.OriginatingApp = ''",
            "\tCall.Owner = True",
            "\tCall.State = [00000002]",
            "\t\tLINECALLSTATE_OFFERING",
            "\tCall.Tag = 0",
        };
        qsizetype previous = -1;
        for (const QString& item : ordered) {
            const qsizetype index = call.indexOf(item);
            QVERIFY2(index > previous,
                     qPrintable(item + QStringLiteral("\n") + call.join(QLatin1Char('\n'))));
            previous = index;
        }
        QVERIFY(call.contains(QStringLiteral("\t\tLINEBEARERMODE_VOICE")));
        QVERIFY(call.contains(QStringLiteral("\t\tCall.CallerID.LINECALLPARTYID_ADDRESS")));
        QVERIFY(call.contains(QStringLiteral("\tCall.Ended = <unavailable>")));
    }
};

QTEST_GUILESS_MAIN(TestCallObject)
#include "test_call_object.moc"
