// The TAPI source through the real window, the real telephony layer and the simulator provider:
// caller-ID rows with their numbers and phonebook names, the status pane, the "Offering" choice,
// finding and opening the saved device, the failures of opening and the "Actief" box.

#include "tapi_window_support.h"

#include "app/core/call_log_model.h"
#include "app/core/handig.h"
#include "app/window/tapi_record.h"

#include "telephony/call/call.h"
#include "telephony/line/line.h"
#include "telephony/line/line_device.h"
#include "telephony/tapi/tapisim.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using namespace tapitest;

namespace {

const QByteArray Book = "0612345678,Jansen Piet\r\n0031207654321,Bakker\r\n,Onbekend\r\n"
                        "12345,Kort\r\n";

QByteArray SourceOn(const QString& device, const QString& phonebook, bool offering = false) {
    return "tapiconnect=1\r\ntapidevice=" + device.toLocal8Bit() +
           "\r\ntapioffering=" + (offering ? "1" : "0") +
           "\r\nPhonebook=" + phonebook.toLocal8Bit() + "\r\n";
}

QStringList Row(const CallLogModel* log, int row) {
    QStringList cells;
    for (int c = 0; c < CallLogModel::BaseColumnCount; ++c)
        cells << log->cell(row, c);
    return cells;
}

// One incoming call on the device, from offering to idle.
void CallIn(DWORD device, const tapisim::Party& caller) {
    tapisim::CallSetup setup;
    setup.caller = caller;
    const DWORD id = tapisim::injectIncomingCall(device, setup);
    QVERIFY(id != 0);
    Settle(30);
    QVERIFY(tapisim::injectCallState(device, id, LINECALLSTATE_IDLE));
    Settle(30);
}

} // namespace

class TestMainWindowTapi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("tapi_office.json")); }

    void callerNumberReachesTheLogAsDigitsWithItsName_data() {
        QTest::addColumn<QString>("delivered");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("name");
        QTest::newRow("parentheses, blanks, hyphens")
            << QStringLiteral("(061) 234-56 78") << QStringLiteral("0612345678")
            << QStringLiteral("Jansen Piet");
        // Longer and shorter than the number mask: its separators and blanks never reach the log.
        QTest::newRow("longer than the mask")
            << QStringLiteral("0031 20 765 43 21") << QStringLiteral("0031207654321")
            << QStringLiteral("Bakker");
        QTest::newRow("shorter than the mask")
            << QStringLiteral("123.45") << QStringLiteral("12345") << QStringLiteral("Kort");
        QTest::newRow("not in the phonebook")
            << QStringLiteral("020-555 1234") << QStringLiteral("0205551234") << QString();
    }
    void callerNumberReachesTheLogAsDigitsWithItsName() {
        QFETCH(QString, delivered);
        QFETCH(QString, logged);
        QFETCH(QString, name);
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        QAbstractItemModelTester tester(form->logModel());
        QVERIFY(form->lineComponent()->Device()->Active());
        form->showMinimized();

        CallIn(CallerIdModem, {delivered, QString(), 0});

        const CallLogModel* log = form->logModel();
        QCOMPARE(log->rowCount(), 1);
        const QStringList row = Row(log, 0);
        QCOMPARE(row.mid(0, 2), (QStringList{"IN", "Tapi"}));
        QVERIFY2(QRegularExpression(QStringLiteral("^([01]\\d|2[0-3]):[0-5]\\d$"))
                     .match(row.at(2))
                     .hasMatch(),
                 qPrintable(row.at(2)));
        QCOMPARE(row.mid(3), (QStringList{logged, name}));
        QCOMPARE(w.paneAtRow, QStringList{logged});
        // The new row is selected and the minimised window is back.
        QCOMPARE(w.find<QTableView>("DGrid")->currentIndex().row(), 0);
        QVERIFY(!(form->windowState() & Qt::WindowMinimized));
        // The call went through to its end; the pane shows the last event.
        QCOMPARE(w.pane(), QStringLiteral("End call"));
        QVERIFY(w.dialogs->boxes.isEmpty());
        // The row reaches log2.csv through the autosave, without waiting for the end.
        QTRY_VERIFY_WITH_TIMEOUT(
            WindowFixture::readFile(w.fixture.dataPath(QStringLiteral("log2.csv")))
                .contains(logged.toLatin1()),
            5000);
    }

    void hiddenCallersGiveARowWithoutNumber_data() {
        QTest::addColumn<DWORD>("flags");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("pane");
        QTest::newRow("blocked") << DWORD(LINECALLPARTYID_BLOCKED) << QString()
                                 << QStringLiteral("Verborgen Nummer");
        QTest::newRow("out of area")
            << DWORD(LINECALLPARTYID_OUTOFAREA) << QString() << QStringLiteral("Out of area");
        // Blocked wins over out of area.
        QTest::newRow("blocked and out of area")
            << DWORD(LINECALLPARTYID_BLOCKED | LINECALLPARTYID_OUTOFAREA) << QString()
            << QStringLiteral("Verborgen Nummer");
        // A number without the address flag is not used, even when the provider sends one.
        QTest::newRow("name only")
            << DWORD(LINECALLPARTYID_NAME) << QStringLiteral("0612345678") << QString();
    }
    void hiddenCallersGiveARowWithoutNumber() {
        QFETCH(DWORD, flags);
        QFETCH(QString, number);
        QFETCH(QString, pane);
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        QAbstractItemModelTester tester(form->logModel());

        CallIn(CallerIdModem, {number, QStringLiteral("JANSEN"), flags});

        QCOMPARE(form->logModel()->rowCount(), 1);
        // The empty number finds the first phonebook entry without a number.
        QCOMPARE(Row(form->logModel(), 0).mid(3), (QStringList{QString(), "Onbekend"}));
        QCOMPARE(w.paneAtRow, QStringList{pane});
    }

    void offeringCountsAsCallerId_data() {
        QTest::addColumn<bool>("offering");
        QTest::addColumn<int>("rows");
        QTest::newRow("caller ID only") << false << 1;
        QTest::newRow("offering too") << true << 2;
    }
    void offeringCountsAsCallerId() {
        QFETCH(bool, offering);
        QFETCH(int, rows);
        TapiWindow w;
        w.writeSettings(
            SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book), offering));
        TForm1* form = w.create();

        CallIn(CallerIdModem, {QStringLiteral("0612345678"), QString(), 0});

        QCOMPARE(form->logModel()->rowCount(), rows);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(Row(form->logModel(), r).mid(3), (QStringList{"0612345678", "Jansen Piet"}));
    }

    void laterCallerInformationAddsARow() {
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        tapisim::CallSetup setup;
        setup.caller = {QString(), QString(), LINECALLPARTYID_UNKNOWN};
        const DWORD id = tapisim::injectIncomingCall(CallerIdModem, setup);
        QVERIFY(id != 0);
        Settle(30);
        // Unknown callers are held back at the offering.
        QCOMPARE(form->logModel()->rowCount(), 0);
        QVERIFY(tapisim::injectPartyInfo(CallerIdModem, id, tapisim::PartyKind::Caller,
                                         {QStringLiteral("06-12345678"), QString(), 0}));
        Settle(30);
        QCOMPARE(form->logModel()->rowCount(), 1);
        QCOMPARE(Row(form->logModel(), 0).mid(3), (QStringList{"0612345678", "Jansen Piet"}));
    }

    void secondCallWhileTheFirstIsSelected() {
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        tapisim::CallSetup first;
        first.caller = {QStringLiteral("0612345678"), QString(), 0};
        const DWORD a = tapisim::injectIncomingCall(CallerIdModem, first);
        Settle(30);
        QVERIFY(tapisim::injectCallState(CallerIdModem, a, LINECALLSTATE_CONNECTED));
        Settle(30);
        const uint32_t selected = line->Call()->Handle();
        QVERIFY(selected != 0);

        tapisim::CallSetup hidden;
        hidden.caller = {QString(), QString(), LINECALLPARTYID_BLOCKED};
        QVERIFY(tapisim::injectIncomingCall(CallerIdModem, hidden) != 0);
        Settle(30);
        tapisim::CallSetup third;
        third.caller = {QStringLiteral("020-5551234"), QString(), 0};
        QVERIFY(tapisim::injectIncomingCall(CallerIdModem, third) != 0);
        Settle(30);

        // The connected call stays the selected one, yet each row names its own caller.
        QCOMPARE(line->Call()->Handle(), selected);
        QCOMPARE(DigitsAndPlus(line->Call()->CallerID()->Number()), QStringLiteral("0612345678"));
        const CallLogModel* log = form->logModel();
        QCOMPARE(log->rowCount(), 3);
        QCOMPARE(Row(log, 0).mid(3), (QStringList{"0612345678", "Jansen Piet"}));
        QCOMPARE(Row(log, 1).mid(3), (QStringList{QString(), "Onbekend"}));
        QCOMPARE(Row(log, 2).mid(3), (QStringList{"0205551234", QString()}));
        QCOMPARE(w.paneAtRow, (QStringList{"0612345678", "Verborgen Nummer", "0205551234"}));
    }

    void statusPaneFollowsTheEvents() {
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("Caller ID Modem"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        tapisim::CallSetup setup;
        setup.caller = {QStringLiteral("0612345678"), QString(), 0};
        const DWORD id = tapisim::injectIncomingCall(CallerIdModem, setup);
        Settle(30);
        QVERIFY(tapisim::injectRing(CallerIdModem, 1));
        Settle(30);
        QCOMPARE(w.pane(), QStringLiteral("Ring..."));
        QVERIFY(tapisim::injectCallState(CallerIdModem, id, LINECALLSTATE_CONNECTED));
        Settle(30);
        QCOMPARE(w.pane(), QStringLiteral("Connected"));
        QVERIFY(tapisim::injectCallState(CallerIdModem, id, LINECALLSTATE_DISCONNECTED,
                                         LINEDISCONNECTMODE_NORMAL));
        Settle(30);
        QCOMPARE(w.pane(), QStringLiteral("Disconnected"));
        QVERIFY(tapisim::injectCallState(CallerIdModem, id, LINECALLSTATE_IDLE));
        Settle(30);
        QCOMPARE(w.pane(), QStringLiteral("End call"));
        // Line states in signed decimal.
        QVERIFY(tapisim::injectLineDevState(CallerIdModem, LINEDEVSTATE_OTHER, 7, 0xFFFFFFFEu));
        Settle(30);
        QCOMPARE(w.pane(), QStringLiteral("1-7--2"));
        QCOMPARE(form->logModel()->rowCount(), 1);
    }

    void savedDeviceNameInOtherCaseIsFound() {
        TapiWindow w;
        w.writeSettings("tapiconnect=1\r\ntapidevice=pbx LINE\r\ntapideviceid=0\r\n");
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        QVERIFY(line->Device()->Active());
        QCOMPARE(line->Device()->ID(), PbxLine);
        QCOMPARE(Tapi.DeviceIndex, PbxLine);
        // The link shows the name as saved.
        QCOMPARE(w.find<QLabel>("Label9")->text(), QStringLiteral("pbx LINE"));
        QVERIFY(w.dialogs->boxes.isEmpty());

        // Calls on the chosen device are logged.
        CallIn(PbxLine, {QStringLiteral("0612345678"), QString(), 0});
        QCOMPARE(form->logModel()->rowCount(), 1);
    }

    void savedDeviceNoLongerInstalled() {
        TapiWindow w;
        w.writeSettings("tapiconnect=1\r\ntapidevice=Gone Modem\r\ntapideviceid=2\r\n");
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        QCOMPARE(Tapi.DeviceIndex, -1);
        // The component refused the index and opened the device it had.
        QCOMPARE(line->Device()->ID(), CallerIdModem);
        QVERIFY(line->Device()->Active());
        QCOMPARE(w.pane(), QStringLiteral("Error"));
        QCOMPARE(w.find<QLabel>("Label9")->text(), QStringLiteral("Gone Modem"));
        QVERIFY(w.dialogs->boxes.isEmpty());
        w.fixture.destroy();
        // The saved name is kept for a later start.
        QVERIFY(WindowFixture::readFile(w.fixture.dataPath(QStringLiteral("config.cfg")))
                    .contains("tapidevice=Gone Modem"));
    }

    void noDeviceChosenShowsSelect() {
        TapiWindow w;
        TForm1* form = w.create();
        QCOMPARE(w.find<QLabel>("Label9")->text(), QStringLiteral("<select>"));
        // Enabled at creation whether or not the source is on, but nothing is opened.
        QVERIFY(form->lineComponent()->Enabled());
        QCOMPARE(form->lineComponent()->Device()->List(),
                 (QStringList{"Caller ID Modem", "Data Modem", "PBX Line",
                              form->lineComponent()->Device()->List().value(OldLine), "PBX Line"}));
        QVERIFY(!form->lineComponent()->Device()->Active());
        QVERIFY(!w.find<QCheckBox>("RzCheckBox10")->isChecked());
        QVERIFY(w.dialogs->boxes.isEmpty());
    }

    void dataOnlyModemGivesLimitedFunctionality() {
        TapiWindow w;
        w.writeSettings("tapiconnect=0\r\ntapidevice=Data Modem\r\n");
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        // The component was left on the data modem asking for voice calls, which it cannot carry.
        line->Device()->setID(DataModem);
        line->Device()->MediaModes()->setActive(LINEMEDIAMODE_INTERACTIVEVOICE);

        w.find<QCheckBox>("RzCheckBox10")->click();

        QVERIFY(Tapi.Connect);
        QVERIFY(!line->Device()->Active());
        const QString text =
            "Telvane has detected that your device is a (Data Modem) DATA modem and therefore "
            "has no voice capabilities.This device will be able to:\tDIALIf you think you have a "
            "voice modem, expected more functionality, or other programs provide more "
            "functionality with this modem, see the topic \"Working with Modems\" in the "
            "Appendix of the Telvane help file.";
        QCOMPARE(w.dialogs->boxes,
                 (QList<Box>{{"information", "Limited Functionality Device", text}}));
        QCOMPARE(w.pane(), QStringLiteral("Error"));
    }

    void modemListingVoiceItCannotCarryGivesLimitedFunctionalityAtStart() {
        UseScenario(QStringLiteral("tapi_voice_claiming_modem.json"));
        TapiWindow w;
        w.writeSettings("tapiconnect=1\r\ntapidevice=data modem\r\n");
        TForm1* form = w.create();
        // Opened with the media modes the device lists, which include voice.
        QVERIFY(!form->lineComponent()->Device()->Active());
        QCOMPARE(form->lineComponent()->Error()->Number(), LONG(LINEERR_INVALMEDIAMODE));
        QCOMPARE(w.dialogs->boxes.size(), 1);
        QCOMPARE(w.dialogs->boxes.first().title, QStringLiteral("Limited Functionality Device"));
        QVERIFY(w.dialogs->boxes.first().text.startsWith(
            QStringLiteral("Telvane has detected that your device is a (Data Modem) DATA modem")));
    }

    void failedOpeningShowsTheError() {
        TapiWindow w;
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        // No saved name: the component keeps the device it has, here one that cannot be opened.
        line->Device()->setID(OldLine);

        w.find<QCheckBox>("RzCheckBox10")->click();

        QVERIFY(!line->Device()->Active());
        QVERIFY(line->Error()->Number() != 0);
        QVERIFY(line->Error()->Number() != LINEERR_INVALMEDIAMODE);
        QCOMPARE(w.dialogs->boxes.size(), 1);
        const Box box = w.dialogs->boxes.first();
        QCOMPARE(box.kind, QStringLiteral("error"));
        QCOMPARE(box.text, QStringLiteral("Error opening line device: ") + line->Error()->Text());
        QVERIFY(!line->Error()->Text().isEmpty());
    }

    void actiefBoxClosesAndReopensTheLine() {
        TapiWindow w;
        w.writeSettings(SourceOn(QStringLiteral("PBX Line"), w.phonebookWith(Book)));
        TForm1* form = w.create();
        TetLine* line = form->lineComponent();
        auto* actief = w.find<QCheckBox>("RzCheckBox10");
        QVERIFY(actief->isChecked());
        QVERIFY(line->Device()->Active());

        actief->click();
        QVERIFY(!Tapi.Connect);
        QVERIFY(!line->Device()->Active());
        QVERIFY(w.dialogs->boxes.isEmpty());
        // A closed line logs nothing.
        QVERIFY(!tapisim::injectIncomingCall(PbxLine, {}));
        Settle(30);
        QCOMPARE(form->logModel()->rowCount(), 0);

        actief->click();
        QVERIFY(Tapi.Connect);
        QVERIFY(line->Device()->Active());
        QCOMPARE(line->Device()->ID(), PbxLine);
        QVERIFY(w.dialogs->boxes.isEmpty());
        CallIn(PbxLine, {QStringLiteral("0612345678"), QString(), 0});
        QCOMPARE(form->logModel()->rowCount(), 1);

        // The choice is saved at the end.
        actief->click();
        w.fixture.destroy();
        QVERIFY(WindowFixture::readFile(w.fixture.dataPath(QStringLiteral("config.cfg")))
                    .contains("tapiconnect=0"));
    }
};

QTEST_MAIN(TestMainWindowTapi)
#include "test_main_window_tapi.moc"
