// The line selection dialog run from the window's device link, on the real line component and
// the simulator's devices: choosing a device with OK, the "Offering" box kept on Cancel, a saved
// device that is gone, two devices of the same name, and calls logged while the dialog is open.

#include "tapi_window_support.h"

#include "app/core/call_log_model.h"
#include "app/window/line_selection_dialog.h"
#include "app/window/tapi_record.h"

#include "telephony/line/line.h"
#include "telephony/line/line_device.h"
#include "telephony/tapi/tapisim.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tapitest;

namespace {

const QStringList Devices{"Caller ID Modem", "Data Modem", "PBX Line", "", "PBX Line"};

QByteArray SourceOn(const QByteArray& device) {
    return "tapiconnect=1\r\ntapidevice=" + device + "\r\n";
}

// What the dialog showed when it was opened.
struct Seen {
    QString title;
    QStringList lines;
    int selected = -2;
    bool offering = false;
};

Seen Look(TFormDlgLineSelection& dialog) {
    Seen seen;
    seen.title = dialog.windowTitle();
    auto* lines = dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxLines"));
    for (int i = 0; i < lines->count(); ++i)
        seen.lines << lines->itemText(i);
    seen.selected = lines->currentIndex();
    seen.offering = dialog.findChild<QCheckBox*>(QStringLiteral("RzCheckBox1"))->isChecked();
    return seen;
}

void Select(TFormDlgLineSelection& dialog, int index) {
    dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxLines"))->setCurrentIndex(index);
}

int Press(TFormDlgLineSelection& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
    return dialog.result();
}

void ClickLink(TapiWindow& w) {
    QTest::mouseClick(w.find<QLabel>("Label9"), Qt::LeftButton);
}

} // namespace

class TestLineSelectionDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { UseScenario(QStringLiteral("tapi_office.json")); }

    void okOpensTheChosenDevice() {
        TapiWindow w;
        w.writeSettings(SourceOn("Caller ID Modem"));
        TForm1* form = w.create();
        Seen seen;
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            seen = Look(dialog);
            Select(dialog, PbxLine);
            return Press(dialog, "RzDialogButtons1OK");
        });
        ClickLink(w);

        QCOMPARE(seen.title, QStringLiteral("Lijnselectie"));
        // Position i names device i, also for a device that cannot be used.
        QCOMPARE(seen.lines.size(), Devices.size());
        for (int i : {CallerIdModem, DataModem, PbxLine, SecondPbxLine})
            QCOMPARE(seen.lines.at(i), Devices.at(i));
        QCOMPARE(seen.selected, CallerIdModem);
        QCOMPARE(Tapi.DeviceName, QStringLiteral("PBX Line"));
        QCOMPARE(Tapi.DeviceIndex, PbxLine);
        QCOMPARE(form->lineComponent()->Device()->ID(), PbxLine);
        QVERIFY(form->lineComponent()->Device()->Active());
        QCOMPARE(w.find<QLabel>("Label9")->text(), QStringLiteral("PBX Line"));
        QVERIFY(w.dialogs->boxes.isEmpty());
    }

    void cancelKeepsTheOfferingChoiceOnly() {
        TapiWindow w;
        w.writeSettings(SourceOn("Caller ID Modem"));
        TForm1* form = w.create();
        QVERIFY(!Tapi.Offering);
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            dialog.findChild<QCheckBox*>(QStringLiteral("RzCheckBox1"))->click();
            Select(dialog, PbxLine);
            return Press(dialog, "RzDialogButtons1Cancel");
        });
        ClickLink(w);

        QVERIFY(Tapi.Offering);
        QCOMPARE(Tapi.DeviceName, QStringLiteral("Caller ID Modem"));
        QCOMPARE(form->lineComponent()->Device()->ID(), CallerIdModem);
        QVERIFY(form->lineComponent()->Device()->Active());

        // The offering choice works at once: an offered caller gives two rows.
        tapisim::CallSetup setup;
        setup.caller = {QStringLiteral("0612345678"), QString(), 0};
        QVERIFY(tapisim::injectIncomingCall(CallerIdModem, setup) != 0);
        Settle(50);
        QCOMPARE(form->logModel()->rowCount(), 2);

        // The box shows the choice the next time, without changing it.
        Seen seen;
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            seen = Look(dialog);
            return Press(dialog, "RzDialogButtons1Cancel");
        });
        ClickLink(w);
        QVERIFY(seen.offering);
        QVERIFY(Tapi.Offering);
    }

    void savedDeviceGoneShowsNothingSelected() {
        TapiWindow w;
        w.writeSettings("tapiconnect=1\r\ntapidevice=Gone Modem\r\ntapideviceid=1\r\n");
        TForm1* form = w.create();
        Seen seen;
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            seen = Look(dialog);
            return Press(dialog, "RzDialogButtons1OK");
        });
        ClickLink(w);

        QCOMPARE(seen.selected, -1);
        // OK with nothing selected keeps the name; the window looks it up again.
        QCOMPARE(Tapi.DeviceName, QStringLiteral("Gone Modem"));
        QCOMPARE(Tapi.DeviceIndex, -1);
        QCOMPARE(w.find<QLabel>("Label9")->text(), QStringLiteral("Gone Modem"));
        QVERIFY(form->lineComponent()->Device()->Active());
        QVERIFY(w.dialogs->boxes.isEmpty());
    }

    void sameNameOpensTheFirstOfThatName() {
        TapiWindow w;
        w.writeSettings(SourceOn("Caller ID Modem"));
        TForm1* form = w.create();
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            Select(dialog, SecondPbxLine);
            return Press(dialog, "RzDialogButtons1OK");
        });
        ClickLink(w);
        QCOMPARE(Tapi.DeviceName, QStringLiteral("PBX Line"));
        QCOMPARE(Tapi.DeviceIndex, PbxLine);
        QCOMPARE(form->lineComponent()->Device()->ID(), PbxLine);
    }

    void callsAreLoggedWhileTheDialogIsOpen() {
        TapiWindow w;
        w.writeSettings(SourceOn("Caller ID Modem"));
        TForm1* form = w.create();
        form->setLineSelectionRunner([&](TFormDlgLineSelection& dialog) {
            tapisim::CallSetup setup;
            setup.caller = {QStringLiteral("0612345678"), QString(), 0};
            tapisim::injectIncomingCall(CallerIdModem, setup);
            Settle(50);
            return Press(dialog, "RzDialogButtons1Cancel");
        });
        ClickLink(w);
        QCOMPARE(form->logModel()->rowCount(), 1);
        QCOMPARE(form->logModel()->cell(0, CallLogModel::ColNumber), QStringLiteral("0612345678"));
    }

    void modalDialogEndsWithItsButtons() {
        TapiWindow w;
        w.writeSettings(SourceOn("Caller ID Modem"));
        TForm1* form = w.create();
        form->show();
        // No runner: the dialog runs modally and is answered from the event loop.
        bool answered = false;
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<TFormDlgLineSelection*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            answered = true;
            QCOMPARE(dialog->parentWidget(), form);
            Select(*dialog, PbxLine);
            Press(*dialog, "RzDialogButtons1OK");
        });
        answer.start();
        ClickLink(w);
        QVERIFY(answered);
        QCOMPARE(form->lineComponent()->Device()->ID(), PbxLine);
        QVERIFY(form->findChildren<TFormDlgLineSelection*>().isEmpty());
    }

    void openingShowsTheSavedOfferingWithoutClicking() {
        Tapi = TTApi{};
        Tapi.Offering = true;
        TFormDlgLineSelection dialog(nullptr);
        QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("RzCheckBox1"))->isChecked());
        // No line component: an empty list, nothing selected.
        dialog.FillLines();
        QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxLines"))->count(), 0);
        Tapi.Offering = false;
        dialog.FormCreate(); // showing the choice is no click
        QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("RzCheckBox1"))->isChecked());
        QVERIFY(!Tapi.Offering);
        dialog.RzDialogButtons1ClickOk();
        QCOMPARE(Tapi.DeviceIndex, -1);
        QCOMPARE(Tapi.DeviceName, QString());
    }
};

QTEST_MAIN(TestLineSelectionDialog)
#include "test_line_selection_dialog.moc"
