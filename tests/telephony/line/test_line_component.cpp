// A freshly created line component: its sub-objects with their defaults, its opening log lines,
// and destruction without a session.

#include <QTest>

#include "line_test_support.h"
#include "telephony/call/address.h"
#include "telephony/call/terminal.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/line/transfer_conference.h"

class TestLineComponent : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshComponentIsDisabledAndSilent() {
        TetLine line;
        QCOMPARE(line.Enabled(), false);
        QCOMPARE(line.EnabledControl(), false);
        QCOMPARE(line.SessionOpen(), false);
        QCOMPARE(line.Device()->Count(), 0);
        QCOMPARE(line.Device()->Active(), false);
        QCOMPARE(line.SelectedCallHandle(), 0u);
        QCOMPARE(line.Error()->Number(), 0);
        QVERIFY(line.Error()->Text().isEmpty());
        QCOMPARE(line.Line()->AppHandle(), 0u);
        // Only the two opening lines: nothing was done, no TAPI call was logged.
        QCOMPARE(line.Log()->Lines().size(), 2);
        QCOMPARE(line.Log()->Lines().at(1), QStringLiteral("Create etLine"));
    }

    void subObjectsCarryTheirDefaults() {
        TetLine line;
        QCOMPARE(line.Privilege()->None(), false);
        QCOMPARE(line.Privilege()->Monitor(), true);
        QCOMPARE(line.Privilege()->Owner(), true);
        QCOMPARE(line.Privilege()->Bits(), 6u);
        QCOMPARE(line.TAPI()->HighVersion(), 131074u);
        QCOMPARE(line.TAPI()->LowVersion(), 65539u);
        QCOMPARE(line.TAPI()->ReplyTimeout(), 60000);
        QCOMPARE(line.TAPI()->ExtensionHighVersion(), 0u);
        QCOMPARE(line.Device()->IdleDelay(), 0);
        QCOMPARE(line.Device()->TranslatePhoneNumber(), false);
        QCOMPARE(line.Device()->UnformatPhoneNumber(), false);
        QCOMPARE(line.Address()->ID(), -1);
        QCOMPARE(line.Address()->Forward()->Mode(), 1u);
        QCOMPARE(line.Terminal()->ID(), 0);
        QCOMPARE(line.Comm()->DeviceClass(), QStringLiteral("comm/datamodem"));
        QCOMPARE(line.Comm()->Enabled(), false);
        QCOMPARE(line.Phone()->DeviceClass(), QStringLiteral("tapi/phone"));
        QCOMPARE(line.WavePlay()->DeviceClass(), QStringLiteral("wave/out"));
        QCOMPARE(line.WaveRecord()->DeviceClass(), QStringLiteral("wave/in"));
        for (TetCallParameters* p : {line.Transfer()->Parameters(), line.Conference()->Parameters(),
                                     line.Address()->Forward()->Parameters()}) {
            QCOMPARE(p->Defaults(), true);
            QCOMPARE(p->BearerMode(), 0);
            QCOMPARE(p->MediaMode(), 0);
        }
        QVERIFY(line.Popup() != nullptr);
        QVERIFY(!line.Popup()->OnIdle());
        QVERIFY(line.Vigil()->Events());
    }

    void callParametersBuildTheBlockOnlyWithoutDefaults() {
        TetLine line;
        TetCallParameters params(&line, QStringLiteral("Call"));
        QVERIFY(!params.Build().has_value());
        params.setDefaults(false);
        params.setBearerMode(1);
        params.setMediaMode(4);
        params.setFlags(0x80);
        params.setAddressID(2);
        params.setNoAnswerTimeout(30);
        const auto block = params.Build();
        QVERIFY(block.has_value());
        const auto* p = reinterpret_cast<const LINECALLPARAMS*>(block->bytes.data());
        QCOMPARE(p->dwTotalSize, 180u);
        QCOMPARE(p->dwBearerMode, 1u);
        QCOMPARE(p->dwMediaMode, 4u);
        QCOMPARE(p->dwCallParamFlags, 0x80u);
        QCOMPARE(p->dwAddressID, 2u);
        QCOMPARE(p->dwNoAnswerTimeout, 30u);
        QCOMPARE(p->dwMinRate, 0u);
        QCOMPARE(p->dwAddressMode, 0u);
        QCOMPARE(p->dwOrigAddressSize, 0u);
    }

    void destroyingANeverEnabledComponentCallsNoHandler() {
        int handlers = 0;
        {
            TetLine line;
            line.OnError = [&](TetSharedControl*) { ++handlers; };
            line.OnCallEnd = [&](TetSharedControl*, int32_t) { ++handlers; };
        }
        QCOMPARE(handlers, 0);
    }

    void loadedWithoutEnabledDoesNothing() {
        TetLine line;
        line.Loaded();
        QCOMPARE(line.SessionOpen(), false);
        QCOMPARE(line.Log()->Lines().size(), 2);
    }

    void dumpWritesEveryBlockWhileTheLogIsActive() {
        TetLine line;
        line.Log()->setCount(1000);
        QVERIFY(line.LogProperties(QStringLiteral("Properties")));
        const QStringList lines = line.Log()->Lines();
        QVERIFY(lines.contains(QStringLiteral("\tEnabled = False")));
        QVERIFY(lines.contains(QStringLiteral("\tDevice.IdleDelay = 0")));
        QVERIFY(lines.contains(QStringLiteral("\tPrivilege.Monitor = True")));
        QVERIFY(lines.contains(QStringLiteral("\tTAPI.HighVersion = [00020002]")));
        QVERIFY(lines.contains(QStringLiteral("\tTAPI.ReplyTimeout = 60000")));
        QVERIFY(lines.contains(QStringLiteral("\tTAPI.TSP = ''")));
        QVERIFY(lines.contains(QStringLiteral("\tComm.Handle = 00000000")));
        QVERIFY(lines.contains(QStringLiteral("\tWaveRecord.DeviceClass = 'wave/in'")));
        QVERIFY(lines.contains(QStringLiteral("\tAddress.Forward.Paramaters.Defaults = True")));
        QVERIFY(lines.contains(QStringLiteral("\tLine.AppHandle = [00000000]")));
        QVERIFY(lines.contains(QStringLiteral("\tError.Number = 0")));

        line.Log()->setActive(false);
        QVERIFY(!line.LogProperties(QStringLiteral("Properties")));
    }
};

QTEST_GUILESS_MAIN(TestLineComponent)
#include "test_line_component.moc"
