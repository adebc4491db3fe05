// The TAPI session of the line component through the real telephony layer and the simulator:
// Enabled, the device list, the choice of a device, and the Disabled/Enabled/Active states.

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "line_test_support.h"
#include "telephony/call/address.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/tapi/tapisim.h"

using namespace linetest;

class TestLineSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("office.json")); }

    void enablingOpensTheSessionAndListsTheDevices() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        QCOMPARE(line.Enabled(), true);
        QCOMPARE(line.SessionOpen(), true);
        QVERIFY(line.Line()->AppHandle() != 0);
        QCOMPARE(line.Device()->Count(), 3);
        QCOMPARE(line.Device()->List().size(), 3);
        QCOMPARE(line.Device()->List().at(0), QStringLiteral("Office Modem"));
        QCOMPARE(line.Device()->List().at(2), QStringLiteral("PBX Line 2"));
        // Device 0 is read at once.
        QCOMPARE(line.Device()->Name(), QStringLiteral("Office Modem"));
        QCOMPARE(line.TAPI()->TSP(), QStringLiteral("Simulated voice modem"));
        QVERIFY(line.TAPI()->Version() != 0);
        QCOMPARE(line.Address()->Count(), 1);
        QCOMPARE(line.Address()->ID(), 0);
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Device()->Active(), false);
    }

    void enablingTwiceStartsOneSession() {
        TetLine line;
        line.setEnabled(true);
        const uint32_t app = line.Line()->AppHandle();
        const qsizetype lines = line.Log()->Lines().size();
        line.setEnabled(true);
        QCOMPARE(line.Line()->AppHandle(), app);
        QCOMPARE(line.Log()->Lines().size(), lines);
    }

    void disablingResetsEverythingTheSessionProduced() {
        TetLine line;
        line.setEnabled(true);
        line.Device()->setID(1);
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
        line.setEnabled(false);
        QCOMPARE(line.Enabled(), false);
        QCOMPARE(line.SessionOpen(), false);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Device()->Count(), 0);
        QCOMPARE(line.Device()->ID(), 0);
        QVERIFY(line.Device()->List().isEmpty());
        QVERIFY(line.Device()->Name().isEmpty());
        QCOMPARE(line.Line()->AppHandle(), 0u);
        QCOMPARE(line.Line()->Handle(), 0u);
        QCOMPARE(line.TAPI()->Version(), 0u);
        QVERIFY(line.TAPI()->TSP().isEmpty());
        QCOMPARE(line.Address()->Count(), 0);
        QVERIFY(line.Address()->List().isEmpty());
        QCOMPARE(line.Device()->MediaModes()->Available(), 0u);
        QCOMPARE(line.Terminal()->Count(), 0);
    }

    void failedInitialisationReportsTwice() {
        UseScenario(QStringLiteral("does-not-exist.json"));
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        QCOMPARE(line.Enabled(), false);
        QCOMPARE(line.Device()->Count(), 0);
        QCOMPARE(line.Error()->Number(), -1);
        QCOMPARE(recorder.errors, 2);
        QVERIFY(recorder.errorTexts.first().startsWith(QStringLiteral("LINEERR_")));
    }

    void withoutInitializeExTheSessionOpensThroughLineInitialize() {
        UseScenario(QStringLiteral("no-initialize-ex.json"));
        TetLine line;
        line.setEnabled(true);
        QCOMPARE(line.Enabled(), true);
        QCOMPARE(line.Device()->Count(), 1);
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
        // Messages of the session still reach the component on this thread.
        int rings = 0;
        line.OnRing = [&](TetSharedControl*, uint32_t, uint32_t) { ++rings; };
        QVERIFY(tapisim::injectRing(0, 1));
        QTRY_COMPARE(rings, 1);
    }

    void deviceWithoutNegotiationKeepsItsPlace() {
        UseScenario(QStringLiteral("negotiation.json"));
        TetLine line;
        line.setEnabled(true);
        QCOMPARE(line.Device()->Count(), 3);
        QCOMPARE(line.Device()->List().at(0), QStringLiteral("Good Line"));
        QCOMPARE(
            line.Device()->List().at(1),
            QStringLiteral("Device.Name unavailable: [8000000C]  LINEERR_INCOMPATIBLEAPIVERSION"));
        QCOMPARE(line.Device()->List().at(2),
                 QStringLiteral("Device.Name unavailable: [00000000]  "));
        QCOMPARE(line.Error()->Number(), 0);

        // Choosing the device that cannot be negotiated reports the failure.
        line.Device()->setID(1);
        QCOMPARE(line.Device()->ID(), 1);
        QCOMPARE(line.Error()->Number(), LINEERR_INCOMPATIBLEAPIVERSION);
        QVERIFY(line.Device()->Name().isEmpty());
        line.Device()->setActive(true);
        QVERIFY(!line.Device()->Active());
    }

    void failedExtensionNegotiationIsOnlyLogged() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.TAPI()->setExtensionLowVersion(0x00010000);
        line.TAPI()->setExtensionHighVersion(0x00020000);
        line.setEnabled(true);
        QCOMPARE(line.TAPI()->ExtensionVersion(), 0u);
        QVERIFY(!line.Log()
                     ->Lines()
                     .filter(QStringLiteral("\tlineNegotiateExtVersion returned LINEERR_"))
                     .isEmpty());
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Device()->Name(), QStringLiteral("Office Modem"));
        // Disabling forgets the application's upper extension version.
        line.setEnabled(false);
        QCOMPARE(line.TAPI()->ExtensionHighVersion(), 0u);
        QCOMPARE(line.TAPI()->ExtensionLowVersion(), 0x00010000u);
    }

    void deviceDataAboveOneMebibyteIsRefused() {
        // A device whose capabilities need more than 1 MiB: reading them gives LINEERR_NOMEM
        // instead of an ever-growing buffer, and the device keeps its place in the list.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("huge.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"devices\":[{\"name\":\"Small\"},{\"name\":\"Huge\",\"devSpecific\":\"" +
                   QByteArray(1100 * 1024, 'a').toHex() + "\"}]}");
        file.close();
        qputenv("VORBEL_TAPI_SIM", path.toLocal8Bit());

        TetLine line;
        line.setEnabled(true);
        QCOMPARE(line.Device()->Count(), 2);
        QCOMPARE(line.Device()->List().at(0), QStringLiteral("Small"));
        QCOMPARE(line.Device()->List().at(1),
                 QStringLiteral("Device.Name unavailable: [80000044]  LINEERR_NOMEM"));
        line.Device()->setID(1);
        QCOMPARE(line.Device()->ID(), 1);
        QVERIFY(line.Device()->Name().isEmpty());
        QCOMPARE(line.Device()->Capabilities()->DevSpecificSize(), 0);
    }

    void providerClosingTheLineLeavesTheComponentEnabled() {
        TetLine line;
        line.setEnabled(true);
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
        QVERIFY(tapisim::injectLineClose(0));
        QTRY_VERIFY(!line.Device()->Active());
        QCOMPARE(line.Enabled(), true);
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("TAPI LINE_CLOSE message received")));
        // The line can be opened again.
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
    }

    void deviceIdOutsideTheListIsRefused() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        line.Device()->setID(line.Device()->Count());
        QCOMPARE(line.Device()->ID(), 0);
        QCOMPARE(line.Error()->Number(), LINEERR_BADDEVICEID);
        QCOMPARE(recorder.errors, 1);
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("\tDevice.Name = 'Office Modem'")));

        line.Device()->setID(-1);
        QCOMPARE(line.Error()->Number(), LINEERR_BADDEVICEID);

        const qsizetype lines = line.Log()->Lines().size();
        line.Device()->setID(0); // the current one: nothing, not even a line
        QCOMPARE(line.Log()->Lines().size(), lines);
        QCOMPARE(line.Error()->Number(), 0);
    }

    void changingTheDeviceWhileActiveClosesTheLine() {
        TetLine line;
        line.setEnabled(true);
        line.Device()->setActive(true);
        QVERIFY(line.Device()->Active());
        line.Device()->setID(2);
        QCOMPARE(line.Device()->ID(), 2);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Device()->Name(), QStringLiteral("PBX Line 2"));
        QCOMPARE(line.Address()->Count(), 2);
        QCOMPARE(line.Address()->List(),
                 QStringList({QStringLiteral("201"),
                              QStringLiteral("Address.ID = 1 <Name not available>")}));
        QCOMPARE(line.Enabled(), true);
    }

    void activatingWithoutASessionFails() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.Device()->setActive(true);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Error()->Number(), -1);
        QCOMPARE(line.Device()->Count(), 0);
        QCOMPARE(recorder.errors, 1);
    }

    void loadedKeepsTheOpenSession() {
        TetLine line;
        line.setEnabled(true);
        line.Device()->setActive(true);
        QVERIFY(line.ActivationRequested());
        line.Device()->setActive(false);
        QVERIFY(!line.ActivationRequested());
        const uint32_t app = line.Line()->AppHandle();
        line.Loaded();
        QCOMPARE(line.Line()->AppHandle(), app);  // the open session is kept, no second one
        QCOMPARE(line.Device()->Active(), false); // no activation was requested
        QCOMPARE(line.Device()->Name(), QStringLiteral("Office Modem"));
    }
};

QTEST_GUILESS_MAIN(TestLineSession)
#include "test_line_session.moc"
