// The selected address with its forwarding, and the selected terminal with its routing.

#include <QTest>

#include "line_test_support.h"
#include "telephony/call/address.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"

using namespace linetest;

namespace {
constexpr int32_t Modem = 0;
constexpr int32_t Pbx = 2;

} // namespace

class TestLineAddressTerminal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("office.json")); }

    void addressSelection() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        QCOMPARE(line.Address()->Count(), 2);
        line.Address()->setID(1);
        QCOMPARE(line.Address()->ID(), 1);
        QCOMPARE(line.Address()->Name(), QStringLiteral("Address.ID = 1 <Name not available>"));
        QVERIFY(line.Log()->Lines().contains(
            QStringLiteral("\tAddress.Name = 'Address.ID = 1 <Name not available>'")));
        QCOMPARE(line.Error()->Number(), 0);

        line.Address()->setID(2);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALADDRESSID);
        QCOMPARE(line.Address()->ID(), 1);
        line.Address()->setID(-1);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALADDRESSID);
        QCOMPARE(recorder.errors, 2);
    }

    void noAddressesAndIdZeroDoesNothing() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.Address()->setID(0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Address()->ID(), -1);
    }

    void forwardingTexts_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("stored");
        QTest::newRow("31 characters") << 31 << true;
        QTest::newRow("32 characters") << 32 << false;
    }
    void forwardingTexts() {
        QFETCH(int, length);
        QFETCH(bool, stored);
        TetLine line;
        const QString text(length, QLatin1Char('5'));
        line.Address()->Forward()->setPhoneNumber(text);
        QCOMPARE(line.Address()->Forward()->PhoneNumber() == text, stored);
        QCOMPARE(line.Error()->Number(), stored ? 0 : LINEERR_INVALADDRESS);
        line.Address()->Forward()->setCaller(text);
        QCOMPARE(line.Address()->Forward()->Caller() == text, stored);
    }

    void forwardingWithReplyTimeoutZeroIsJudgedByTheError() {
        TetLine line;
        line.TAPI()->setReplyTimeout(0);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
        line.Address()->Forward()->setMode(LINEFORWARDMODE_UNCOND);
        line.Address()->Forward()->setPhoneNumber(QStringLiteral("0201234567"));
        line.Address()->Forward()->setActive(true);
        QCOMPARE(line.Error()->Number(), 0);
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("Address.Forward.Active = True")));
        // The status that the provider reports after the request decides the shown state.
        QTRY_VERIFY(line.Address()->Forward()->PendingRequest() == 0);
    }

    void forwardingWaitsForItsReply() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.TAPI()->setReplyTimeout(30000);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        line.Device()->setActive(true);
        line.Address()->Forward()->setMode(LINEFORWARDMODE_UNCOND);
        line.Address()->Forward()->setCaller(QStringLiteral("0301111111"));
        line.Address()->Forward()->setPhoneNumber(QStringLiteral("0201234567"));
        line.Address()->Forward()->setActive(true);
        // A wait ended by the time-out would leave -3 here: the reply must end it.
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Address()->Forward()->PendingRequest(), 0);
        // Shown as TAPI reports it: the entry that was set.
        QVERIFY(line.Address()->Forward()->Active());
        QCOMPARE(line.Address()->Forward()->Mode(), uint32_t(LINEFORWARDMODE_UNCOND));
        QCOMPARE(line.Address()->Forward()->Caller(), QStringLiteral("0301111111"));
        QCOMPARE(line.Address()->Forward()->PhoneNumber(), QStringLiteral("0201234567"));

        line.Address()->Forward()->setActive(false);
        QCOMPARE(line.Error()->Number(), 0);
        QVERIFY(!line.Address()->Forward()->Active());
        QCOMPARE(line.Address()->Forward()->NumForwardEntries(), 0);
    }

    void routingWaitsForItsReplies() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.TAPI()->setReplyTimeout(30000);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        line.Device()->setActive(true);
        line.Terminal()->setID(1);
        const uint32_t available = line.Terminal()->AvailableModes();
        line.Terminal()->setActiveModes(available);
        // A wait ended by the time-out would leave -3 here: the replies must end it.
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Terminal()->PendingRequest(), 0);
        line.RefreshLineStatus();
        QCOMPARE(line.Terminal()->ActiveModes(), available);
    }

    void forwardingSettingsAreFixedWhileActive() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.TAPI()->setReplyTimeout(0);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        line.Device()->setActive(true);
        // The open line's address status shows no forwarding, with mode 0.
        QCOMPARE(line.Address()->Forward()->Mode(), 0u);
        line.Address()->Forward()->setPhoneNumber(QStringLiteral("0201234567"));
        line.Address()->Forward()->setActive(true);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALPARAM); // no forwarding mode chosen
        QVERIFY(!line.Address()->Forward()->Active());
        line.Address()->Forward()->setMode(LINEFORWARDMODE_UNCOND);
        line.Address()->Forward()->setPhoneNumber(QStringLiteral("0201234567"));
        line.Address()->Forward()->setActive(true);
        QCOMPARE(line.Error()->Number(), 0);
        settle();
        line.RefreshAddressStatus();
        QVERIFY(line.Address()->Forward()->Active());
        QCOMPARE(line.Address()->Forward()->PhoneNumber(), QStringLiteral("0201234567"));
        QCOMPARE(line.Address()->Forward()->NumForwardEntries(), 1);

        line.Address()->Forward()->setMode(LINEFORWARDMODE_BUSY);
        QCOMPARE(line.Error()->Number(), LINEERR_OPERATIONFAILED);
        QCOMPARE(line.Address()->Forward()->Mode(), uint32_t(LINEFORWARDMODE_UNCOND));
        line.Address()->Forward()->setPhoneNumber(QStringLiteral("999"));
        QCOMPARE(line.Error()->Number(), LINEERR_OPERATIONFAILED);

        line.Address()->Forward()->setActive(false);
        settle();
        line.RefreshAddressStatus();
        QVERIFY(!line.Address()->Forward()->Active());
        QCOMPARE(line.Address()->Forward()->NumForwardEntries(), 0);
        QVERIFY(line.Address()->Forward()->PhoneNumber().isEmpty());
    }

    void terminalSelection() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        QCOMPARE(line.Terminal()->Count(), 2);
        QCOMPARE(line.Terminal()->Name(), QStringLiteral("Handset"));
        line.Terminal()->setID(1);
        QCOMPARE(line.Terminal()->ID(), 1);
        QCOMPARE(line.Terminal()->Name(), QStringLiteral("Speaker"));
        QVERIFY(line.Terminal()->HasTerminals());
        QVERIFY(line.Terminal()->AvailableModes() != 0);

        line.Terminal()->setID(2);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALTERMINALID);
        QCOMPARE(line.Terminal()->ID(), 1);
        line.Terminal()->setID(-1);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALTERMINALID);
        QCOMPARE(recorder.errors, 2);
    }

    void deviceWithoutTerminals() {
        TetLine line;
        line.setEnabled(true);
        line.Device()->setID(Modem);
        QCOMPARE(line.Terminal()->Count(), 0);
        QVERIFY(!line.Terminal()->HasTerminals());
        line.Terminal()->setID(0);
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(line.Terminal()->ID(), 0);
    }

    void routingAModeTheTerminalLacksOnlyDisables() {
        TetLine line;
        line.TAPI()->setReplyTimeout(0);
        line.setEnabled(true);
        line.Device()->setID(Pbx);
        line.Device()->setActive(true);
        line.Terminal()->setID(0);
        const uint32_t available = line.Terminal()->AvailableModes();
        QVERIFY(available != 0);
        const uint32_t lacking = 0x80 & ~available;
        QVERIFY(lacking != 0);
        line.Terminal()->setActiveModes(lacking);
        QCOMPARE(line.Error()->Number(), 0);
        settle();
        line.RefreshLineStatus();
        QCOMPARE(line.Terminal()->ActiveModes(), 0u);

        line.Terminal()->setActiveModes(available);
        settle();
        line.RefreshLineStatus();
        QCOMPARE(line.Terminal()->ActiveModes(), available);
    }

private:
    static void settle() { Settle(100); }
};

QTEST_GUILESS_MAIN(TestLineAddressTerminal)
#include "test_line_address_terminal.moc"
