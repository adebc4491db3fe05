// The line component with calls on the line: calls that exist when the line opens, closing and
// destroying with calls, the idle delay, the comm handle of data calls and the location dialog
// on the selected call's number.

#include <QElapsedTimer>
#include <QTest>

#include <fcntl.h>

#include "line_test_support.h"
#include "telephony/call/address.h"
#include "telephony/call/call.h"
#include "telephony/call/terminal.h"
#include "telephony/line/line_device.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/related_devices.h"
#include "telephony/tapi/dialog_presenter.h"
#include "telephony/tapi/tapisim.h"

using namespace linetest;

namespace {
constexpr DWORD Modem = 0;

void Open(TetLine& line) {
    line.setEnabled(true);
    line.Device()->setActive(true);
    QVERIFY(line.Device()->Active());
}

DWORD Incoming(const QString& number, DWORD mediaMode = LINEMEDIAMODE_INTERACTIVEVOICE) {
    tapisim::CallSetup setup;
    setup.caller.number = number;
    setup.mediaMode = mediaMode;
    return tapisim::injectIncomingCall(Modem, setup);
}

bool DescriptorOpen(intptr_t fd) {
    return fd > 0 && fcntl(static_cast<int>(fd), F_GETFD) != -1;
}

class KeepingPresenter : public tapi::DialogPresenter {
public:
    QString address;
    LONG configureDevice(HWND, const tapi::DeviceDescription&) override { return 0; }
    LONG editLocation(HWND, const tapi::DeviceDescription&, const QString& number,
                      tapi::DialingLocation&) override {
        address = number;
        return 0;
    }
};
} // namespace

class TestLineCalls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("office.json")); }

    void callsThatExistAreListedWithoutCallBegin() {
        TetLine first;
        Open(first);
        QVERIFY(Incoming(QStringLiteral("0201111111")) != 0);
        QVERIFY(Incoming(QStringLiteral("0202222222")) != 0);
        QTRY_COMPARE(first.Call()->Count(), 2);

        TetLine second;
        Recorder recorder;
        recorder.Attach(second);
        Open(second);
        QCOMPARE(second.Call()->Count(), 2);
        QCOMPARE(second.Call()->List().size(), 3);
        QCOMPARE(second.Call()->List().at(0), QStringLiteral("00000000"));
        QVERIFY(!recorder.events.join(QLatin1Char(' ')).contains(QStringLiteral("OnCallBegin")));
        QCOMPARE(recorder.errors, 0);
        QCOMPARE(second.Device()->ActiveCalls(), 2u);

        // Closing ends the calls from the last entry to the first, each with OnCallEnd.
        const QString older = second.Call()->List().at(1);
        const QString newer = second.Call()->List().at(2);
        recorder.events.clear();
        second.Device()->setActive(false);
        QCOMPARE(recorder.events, QStringList({QStringLiteral("OnCallEnd ") + newer,
                                               QStringLiteral("OnCallEnd ") + older}));
        QCOMPARE(second.Call()->Count(), 0);
        QCOMPARE(second.Call()->Handle(), 0u);
        QCOMPARE(second.Device()->Active(), false);
        // The first component still has its calls.
        QCOMPARE(first.Call()->Count(), 2);
    }

    void destroyingAnOpenComponentWithCallsCallsNoHandler() {
        TetLine first;
        Open(first);
        QVERIFY(Incoming(QStringLiteral("0201111111")) != 0);
        int handlers = 0;
        {
            TetLine second;
            Open(second);
            QCOMPARE(second.Call()->Count(), 1);
            second.OnCallEnd = [&](TetSharedControl*, int32_t) { ++handlers; };
            second.OnError = [&](TetSharedControl*) { ++handlers; };
        }
        QCOMPARE(handlers, 0);
        QTRY_COMPARE(first.Call()->Count(), 1);
    }

    void idleDelayPostponesOnIdle_data() {
        QTest::addColumn<int>("delay");
        QTest::newRow("no delay") << 0;
        QTest::newRow("200 ms") << 200;
    }
    void idleDelayPostponesOnIdle() {
        QFETCH(int, delay);
        TetLine line;
        Recorder recorder;
        recorder.Attach(line);
        line.Device()->setIdleDelay(delay);
        Open(line);
        const DWORD id = Incoming(QStringLiteral("0201111111"));
        QTRY_COMPARE(line.Call()->Count(), 1);
        const QString handle = line.Call()->List().at(1);
        recorder.events.clear();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(tapisim::injectCallState(Modem, id, LINECALLSTATE_IDLE));
        QTRY_COMPARE(line.Call()->Count(), 0);
        if (delay == 0) {
            QCOMPARE(recorder.events.filter(QStringLiteral("OnIdle")),
                     QStringList({QStringLiteral("OnIdle ") + handle}));
            QVERIFY(recorder.events.indexOf(QStringLiteral("OnIdle ") + handle) <
                    recorder.events.indexOf(QStringLiteral("OnCallEnd ") + handle));
        } else {
            QVERIFY(recorder.events.filter(QStringLiteral("OnIdle")).isEmpty());
            QVERIFY(line.IdleTimerActive());
            QTRY_COMPARE(recorder.events.filter(QStringLiteral("OnIdle")),
                         QStringList({QStringLiteral("OnIdle 00000000")}));
            QVERIFY(clock.elapsed() >= delay);
            QVERIFY(!line.IdleTimerActive());
            QVERIFY(line.Log()->Lines().contains(
                QStringLiteral("\tetLine.Device.IdleDelay - Complete ")));
        }
    }

    void dataCallTakesACommHandle() {
        TetLine line;
        Open(line);
        const DWORD id = Incoming(QStringLiteral("0203333333"), LINEMEDIAMODE_DATAMODEM);
        QTRY_COMPARE(line.Call()->Count(), 1);
        QTRY_VERIFY(line.Call()->Handle() != 0);
        QCOMPARE(line.Call()->MediaMode(), uint32_t(LINEMEDIAMODE_DATAMODEM));
        QVERIFY(!line.Comm()->Available());

        line.Comm()->setEnabled(true);
        QVERIFY(line.Comm()->Available());
        const intptr_t fd = line.Comm()->Handle();
        QVERIFY(DescriptorOpen(fd));

        line.Comm()->setEnabled(false);
        QVERIFY(!line.Comm()->Available());
        QCOMPARE(line.Comm()->Handle(), intptr_t{0});
        QVERIFY(!DescriptorOpen(fd));

        // Taken again when enabled, and closed when the call disconnects.
        line.Comm()->setEnabled(true);
        const intptr_t again = line.Comm()->Handle();
        QVERIFY(DescriptorOpen(again));
        QVERIFY(tapisim::injectCallState(Modem, id, LINECALLSTATE_DISCONNECTED));
        QTRY_VERIFY(!line.Comm()->Available());
        QVERIFY(!DescriptorOpen(again));
    }

    void commHandleHeldWithoutSelectionIsStillClosed() {
        TetLine line;
        Open(line);
        const DWORD id = Incoming(QStringLiteral("0203333333"), LINEMEDIAMODE_DATAMODEM);
        QTRY_VERIFY(line.Call()->Handle() != 0);
        line.Comm()->setEnabled(true);
        const intptr_t fd = line.Comm()->Handle();
        QVERIFY(DescriptorOpen(fd));

        // With no call selected, switching Comm off leaves the handle where it is ...
        line.Call()->setHandle(0);
        line.Comm()->setEnabled(false);
        QVERIFY(line.Comm()->Available());
        QVERIFY(DescriptorOpen(fd));
        // ... and the end of the call still closes it, Comm being off or not.
        QVERIFY(tapisim::injectCallState(Modem, id, LINECALLSTATE_DISCONNECTED));
        QTRY_VERIFY(!line.Comm()->Available());
        QVERIFY(!DescriptorOpen(fd));
    }

    void voiceCallTakesNoCommHandle() {
        TetLine line;
        line.Comm()->setEnabled(true);
        Open(line);
        QVERIFY(Incoming(QStringLiteral("0204444444")) != 0);
        QTRY_VERIFY(line.Call()->Handle() != 0);
        line.Comm()->setEnabled(true);
        QVERIFY(!line.Comm()->Available());
        QCOMPARE(line.Comm()->Handle(), intptr_t{0});
    }

    void closingTheLineClosesAHeldCommHandle() {
        TetLine line;
        Open(line);
        QVERIFY(Incoming(QStringLiteral("0203333333"), LINEMEDIAMODE_DATAMODEM) != 0);
        QTRY_VERIFY(line.Call()->Handle() != 0);
        line.Comm()->setEnabled(true);
        const intptr_t fd = line.Comm()->Handle();
        QVERIFY(DescriptorOpen(fd));
        line.Device()->setActive(false);
        QVERIFY(!line.Comm()->Available());
        QVERIFY(!DescriptorOpen(fd));
    }

    void locationDialogGetsTheUnformattedNumber() {
        KeepingPresenter presenter;
        tapi::setDialogPresenter(&presenter);
        TetLine line;
        Open(line);
        QVERIFY(Incoming(QStringLiteral("0205555555")) != 0);
        QTRY_VERIFY(line.Call()->Handle() != 0);
        line.SetSelectedCallPhoneNumber(QStringLiteral("+31 (20) 555-12.34"));

        QCOMPARE(line.SetLocation(), true);
        QCOMPARE(presenter.address, QStringLiteral("+31 (20) 555-12.34"));
        QCOMPARE(line.Call()->PhoneNumber(), QStringLiteral("+31 (20) 555-12.34"));

        line.Device()->setUnformatPhoneNumber(true);
        QCOMPARE(line.SetLocation(), true);
        QCOMPARE(presenter.address, QStringLiteral("31205551234"));
        QCOMPARE(line.Call()->PhoneNumber(), QStringLiteral("31205551234"));
        tapi::setDialogPresenter(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestLineCalls)
#include "test_line_calls.moc"
