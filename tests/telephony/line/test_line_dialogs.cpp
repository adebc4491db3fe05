// Device.Configure and SetLocation through the layer's dialog presenter, and the Qt dialogs
// that the application installs as that presenter.

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/platform/line_dialogs.h"
#include "line_test_support.h"
#include "telephony/line/line_device.h"
#include "telephony/tapi/dialog_presenter.h"

using namespace linetest;

namespace {
// A presenter that answers at once, as a user would: it records what it was shown.
class AnsweringPresenter : public tapi::DialogPresenter {
public:
    LONG answer = 0;
    QStringList shown;
    QString address;

    LONG configureDevice(HWND, const tapi::DeviceDescription& device) override {
        shown << QStringLiteral("configure ") + device.name;
        return answer;
    }
    LONG editLocation(HWND, const tapi::DeviceDescription& device, const QString& number,
                      tapi::DialingLocation& location) override {
        shown << QStringLiteral("location ") + device.name;
        address = number;
        location.areaCode = QStringLiteral("30");
        return answer;
    }
};

// Accepts the next modal dialog once it is shown.
void AcceptNextDialog(std::function<void(QDialog*)> edit = {}) {
    QTimer::singleShot(0, [edit] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return AcceptNextDialog(edit);
        if (edit)
            edit(dialog);
        dialog->accept();
    });
}
} // namespace

class TestLineDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        UseScenario(QStringLiteral("office.json"));
        tapi::setDialogPresenter(nullptr);
    }
    void cleanup() { tapi::setDialogPresenter(nullptr); }

    void withoutPresenterTheDialogsFail() {
        TetLine line;
        line.setEnabled(true);
        QCOMPARE(line.Device()->Configure(), false);
        QCOMPARE(line.Error()->Number(), LINEERR_OPERATIONFAILED);
        QVERIFY(
            line.Log()->Lines().contains(QStringLiteral("\tDevice.Configure - Returned = False")));
        QCOMPARE(line.SetLocation(), false);
        QCOMPARE(line.Error()->Number(), LINEERR_OPERATIONFAILED);
        QVERIFY(line.Log()->Lines().contains(QStringLiteral("\tSetLocation - Returned = False")));
    }

    void withoutSessionTheDialogsReportMinusOne() {
        AnsweringPresenter presenter;
        tapi::setDialogPresenter(&presenter);
        TetLine line;
        QCOMPARE(line.Device()->Configure(), false);
        QCOMPARE(line.Error()->Number(), -1);
        QCOMPARE(line.SetLocation(), false);
        QCOMPARE(line.Error()->Number(), -1);
        QVERIFY(presenter.shown.isEmpty());
    }

    void presenterShowsTheSelectedDevice() {
        AnsweringPresenter presenter;
        tapi::setDialogPresenter(&presenter);
        TetLine line;
        line.setEnabled(true);
        line.Device()->setID(2);
        QCOMPARE(line.Device()->Configure(), true);
        QCOMPARE(line.Error()->Number(), 0);
        QCOMPARE(line.SetLocation(), true);
        QCOMPARE(presenter.shown, QStringList({QStringLiteral("configure PBX Line 2"),
                                               QStringLiteral("location PBX Line 2")}));
        QCOMPARE(tapi::currentLocation().areaCode, QStringLiteral("30"));

        presenter.answer = LINEERR_INVALPARAM;
        QCOMPARE(line.Device()->Configure(), false);
        QCOMPARE(line.Error()->Number(), LINEERR_INVALPARAM);
    }

    void locationDialogEditsThreeFields() {
        tapi::DialingLocation start;
        start.countryCode = 31;
        start.areaCode = QStringLiteral("20");
        start.internationalPrefix = QStringLiteral("00");
        DialingLocationDialog dialog(start, QStringLiteral("+31 20 5551234"));
        auto* country = dialog.findChild<QSpinBox*>(QStringLiteral("countryCode"));
        auto* area = dialog.findChild<QLineEdit*>(QStringLiteral("areaCode"));
        auto* prefix = dialog.findChild<QLineEdit*>(QStringLiteral("outsideLinePrefix"));
        auto* ok = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                       ->button(QDialogButtonBox::Ok);
        QVERIFY(country && area && prefix && ok);
        QCOMPARE(country->value(), 31);
        QCOMPARE(area->text(), QStringLiteral("20"));
        QVERIFY(ok->isEnabled());

        area->clear();
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(area, QStringLiteral("7a1")); // the letter is refused
        QCOMPARE(area->text(), QStringLiteral("71"));
        QVERIFY(ok->isEnabled());
        QTest::keyClicks(prefix, QStringLiteral("9,x"));
        QCOMPARE(prefix->text(), QStringLiteral("9,"));
        country->setValue(32);

        const tapi::DialingLocation edited = dialog.Location();
        QCOMPARE(edited.countryCode, 32u);
        QCOMPARE(edited.areaCode, QStringLiteral("71"));
        QCOMPARE(edited.outsideLinePrefix, QStringLiteral("9,"));
        QCOMPARE(edited.internationalPrefix, QStringLiteral("00")); // not shown, kept
    }

    void qtPresenterThroughTheLineComponent() {
        QtLineDialogPresenter presenter;
        tapi::setDialogPresenter(&presenter);
        TetLine line;
        line.setEnabled(true);

        AcceptNextDialog([](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("DeviceSettingsDialog"));
            auto* name = dialog->findChild<QLabel*>(QStringLiteral("deviceName"));
            QVERIFY(name);
            QCOMPARE(name->text(), QStringLiteral("Office Modem"));
        });
        QCOMPARE(line.Device()->Configure(), true);

        AcceptNextDialog([](QDialog* dialog) {
            auto* prefix = dialog->findChild<QLineEdit*>(QStringLiteral("outsideLinePrefix"));
            QVERIFY(prefix);
            prefix->setText(QStringLiteral("0"));
        });
        QCOMPARE(line.SetLocation(), true);
        QCOMPARE(tapi::currentLocation().outsideLinePrefix, QStringLiteral("0"));
    }
};

QTEST_MAIN(TestLineDialogs)
#include "test_line_dialogs.moc"
