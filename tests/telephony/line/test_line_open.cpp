// Opening and closing the line: privileges, media modes, the settings that are refused while the
// line is open, the related phone and wave devices, and destruction of an open component.

#include <QRegularExpression>
#include <QTest>

#include "line_test_support.h"
#include "telephony/call/address.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/tapi/tapisim.h"

using namespace linetest;

namespace {
// The modem is device 0, the data-only modem device 1, the PBX line device 2 (office.json).
constexpr int32_t Modem = 0;
constexpr int32_t DataModem = 1;
constexpr int32_t Pbx = 2;

void Open(TetLine& line, int32_t device) {
    line.setEnabled(true);
    line.Device()->setID(device);
    line.Device()->setActive(true);
}
} // namespace

class TestLineOpen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("office.json")); }

    void openingWithOwnerAndMonitor() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        Open(line, Modem);
        QVERIFY(line.Device()->Active());
        QVERIFY(line.Line()->Handle() != 0);
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(line.Device()->OpenCount(), 1u);
        // No media modes asked for: the line opens with everything the device offers.
        QCOMPARE(line.Device()->MediaModes()->Open(), line.Device()->MediaModes()->Available());
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("Device.Active := True")));
        // Related devices under owner privilege.
        QCOMPARE(line.Phone()->Available(), true);
        QCOMPARE(line.Phone()->ID(), 7);
        QCOMPARE(line.WaveRecord()->Available(), true);
        QCOMPARE(line.WaveRecord()->ID(), 3);
        QCOMPARE(line.WavePlay()->Available(), true);
        QCOMPARE(line.WavePlay()->ID(), 4);

        line.Device()->setActive(false);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Enabled(), true);
        QCOMPARE(line.WavePlay()->Available(), false);
        QCOMPARE(line.WavePlay()->ID(), 0);
        QCOMPARE(line.Phone()->ID(), 0);
    }

    void privilegesDecideWhatIsLookedUp_data() {
        QTest::addColumn<bool>("none");
        QTest::addColumn<bool>("monitor");
        QTest::addColumn<bool>("owner");
        QTest::addColumn<int>("recordId");
        QTest::addColumn<int>("playId");
        QTest::newRow("monitor only") << false << true << false << 3 << -2;
        QTest::newRow("owner only") << false << false << true << 3 << 4;
        QTest::newRow("none") << true << false << false << 0 << 0;
    }
    void privilegesDecideWhatIsLookedUp() {
        QFETCH(bool, none);
        QFETCH(bool, monitor);
        QFETCH(bool, owner);
        QFETCH(int, recordId);
        QFETCH(int, playId);

        TetLine line;
        line.Privilege()->setNone(none);
        line.Privilege()->setMonitor(monitor);
        line.Privilege()->setOwner(owner);
        QCOMPARE(line.Privilege()->Bits(),
                 (none ? 1u : 0u) + (monitor ? 2u : 0u) + (owner ? 4u : 0u));
        Open(line, Modem);
        QVERIFY(line.Device()->Active());
        QCOMPARE(line.WaveRecord()->ID(), recordId);
        QCOMPARE(line.WavePlay()->ID(), playId);
        QCOMPARE(line.WavePlay()->Available(), playId > 0);
        QCOMPARE(line.Phone()->Available(), !none);
    }

    void privilegeWritesKeepThemConsistent() {
        TetLine line;
        line.Privilege()->setNone(true);
        QCOMPARE(line.Privilege()->Monitor(), false);
        QCOMPARE(line.Privilege()->Owner(), false);
        line.Privilege()->setMonitor(true);
        QCOMPARE(line.Privilege()->None(), false);
        line.Privilege()->setNone(true);
        line.Privilege()->setOwner(true);
        QCOMPARE(line.Privilege()->None(), false);
        QCOMPARE(line.Privilege()->Monitor(), false);
        line.Privilege()->setMonitor(true);
        line.Privilege()->setMonitor(false);
        QCOMPARE(line.Privilege()->Owner(), true);
        QCOMPARE(line.Privilege()->None(), false);
    }

    void settingsAreRefusedWhileTheLineIsOpen() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        Open(line, Modem);
        QVERIFY(line.Device()->Active());

        auto refused = [&](const char* what, auto write, auto read, auto before) {
            const int errors = recorder.errors;
            write();
            QVERIFY2(read() == before, what);
            QVERIFY2(line.Error()->Number() == LINEERR_INVALLINESTATE, what);
            QVERIFY2(recorder.errors == errors + 1, what);
        };
        refused(
            "IdleDelay", [&] { line.Device()->setIdleDelay(2000); },
            [&] { return line.Device()->IdleDelay(); }, 0);
        refused(
            "None", [&] { line.Privilege()->setNone(true); },
            [&] { return line.Privilege()->None(); }, false);
        refused(
            "Monitor", [&] { line.Privilege()->setMonitor(false); },
            [&] { return line.Privilege()->Monitor(); }, true);
        refused(
            "Owner", [&] { line.Privilege()->setOwner(false); },
            [&] { return line.Privilege()->Owner(); }, true);
        refused(
            "Phone", [&] { line.Phone()->setDeviceClass(QString()); },
            [&] { return line.Phone()->DeviceClass(); }, QStringLiteral("tapi/phone"));
        refused(
            "WavePlay", [&] { line.WavePlay()->setDeviceClass(QStringLiteral("x")); },
            [&] { return line.WavePlay()->DeviceClass(); }, QStringLiteral("wave/out"));
        refused(
            "Comm", [&] { line.Comm()->setDeviceClass(QStringLiteral("x")); },
            [&] { return line.Comm()->DeviceClass(); }, QStringLiteral("comm/datamodem"));
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("WavePlay.DeviceClass := \"x\"")));

        line.Device()->setActive(false);
        line.Device()->setIdleDelay(2000);
        QCOMPARE(line.Device()->IdleDelay(), 2000);
        QCOMPARE(line.Error()->Number(), 0);
    }

    void emptyPhoneClassIsNotLookedUp() {
        TetLine line;
        line.Phone()->setDeviceClass(QString());
        Open(line, Modem);
        QVERIFY(line.Device()->Active());
        QCOMPARE(line.Phone()->Available(), false);
        QCOMPARE(line.Phone()->ID(), 0);
    }

    void unsupportedMediaModeKeepsTheLineClosed() {
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.setEnabled(true);
        line.Device()->setID(DataModem);
        line.Device()->MediaModes()->setActive(LINEMEDIAMODE_INTERACTIVEVOICE);
        line.Device()->setActive(true);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALMEDIAMODE);
        QCOMPARE(recorder.errors, 1);
        QVERIFY(line.Log()->Lines().contains(
            QStringLiteral("\tlineOpen returned LINEERR_INVALMEDIAMODE")));
    }

    void statusOfTheOpenLineIsRead() {
        TetLine line;
        Open(line, Pbx);
        QVERIFY(line.Device()->Active());
        QCOMPARE(line.Address()->Count(), 2);
        QCOMPARE(line.Address()->Name(), QStringLiteral("201"));
        QVERIFY(line.Address()->Capabilities()->States() != 0);
        QCOMPARE(line.Terminal()->Count(), 2);
        QCOMPARE(line.Terminal()->List(),
                 QStringList({QStringLiteral("Handset"), QStringLiteral("Speaker")}));
        // Every terminal is selected in turn, ending with the last.
        QCOMPARE(line.Terminal()->ID(), 1);
        QCOMPARE(line.Terminal()->Name(), QStringLiteral("Speaker"));
    }

    void dumpOfAnOpenLine() {
        TetLine line;
        Open(line, Pbx);
        line.Log()->setCount(2000);
        QVERIFY(line.LogProperties(QString()));
        const QStringList lines = line.Log()->Lines();
        for (const char* expected :
             {"\tEnabled = True", "\tDevice.Active = True", "\tDevice.Name = 'PBX Line 2'",
              "\tDevice.List", "\t\tPBX Line 2", "\tAddress.ID = 0", "\tAddress.Name = 201",
              "\tTerminal.Name = 'Speaker'", "\tTerminal.Count = 2",
              "\tTAPI.TSP = 'Simulated phone system'", "\tPrivilege.Owner = True",
              "\tWaveRecord.Available = False", "\tCall.Paramaters.BearerMode = [00000001]",
              "\t\tLINEBEARERMODE_VOICE", "\tTransfer.Paramaters.MediaMode = [00000004]",
              "\t\tLINEMEDIAMODE_INTERACTIVEVOICE", "\tVigil.Log.Count = 2000"})
            QVERIFY2(lines.contains(QString::fromLatin1(expected)), expected);
        QVERIFY(!lines
                     .filter(QRegularExpression(QStringLiteral(
                         "^\\t\\tAddress\\.Capabilities\\.MaxNumActiveCalls = \\d+$")))
                     .isEmpty());
        QVERIFY(!lines
                     .filter(QRegularExpression(
                         QStringLiteral("^\\tLine\\.Handle = \\[[0-9A-F]{8}\\]$")))
                     .isEmpty());
    }

    void destroyingAnOpenComponentCallsNoHandler() {
        int handlers = 0;
        {
            TetLine line;
            Open(line, Modem);
            QVERIFY(line.Device()->Active());
            line.OnError = [&](TetSharedControl*) { ++handlers; };
            line.OnCallEnd = [&](TetSharedControl*, int32_t) { ++handlers; };
            line.OnLineState = [&](TetSharedControl*, uint32_t, uint32_t, uint32_t) { ++handlers; };
            line.OnRing = [&](TetSharedControl*, uint32_t, uint32_t) { ++handlers; };
            QVERIFY(tapisim::injectRing(0, 1)); // queued, delivered during destruction
        }
        QCOMPARE(handlers, 0);
        // The session is gone: a new component starts from a fresh provider state.
        TetLine again;
        again.setEnabled(true);
        QCOMPARE(again.Enabled(), true);
    }
};

QTEST_GUILESS_MAIN(TestLineOpen)
#include "test_line_open.moc"
