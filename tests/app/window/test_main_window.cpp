// The main window's start-up, layout, switches and window-level reactions, offscreen.

#include "window_fixture.h"

#include "app/core/call_log_model.h"
#include "app/core/phonebook_model.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshStartDefaults();
    void settingsReachTheControls();
    void captionsAndHints_data();
    void captionsAndHints();
    void windowFrameAndStatusBar();
    void testSwitch_data();
    void testSwitch();
    void moiSwitch_data();
    void moiSwitch();
    void lineCountShowsLinesFiveToEight();
    void lineColumnFollowsActiveOnShowAndLogTab();
    void tabChangeEnablesToolbarButtons();
    void wheelNeverChangesPhoneType();
    void minimiseButtonMinimises();
    void helpTextHasEverySection();
};

void TestMainWindow::freshStartDefaults() {
    WindowFixture f;
    TForm1* form = f.createShown();
    QAbstractItemModelTester logTester(form->logModel());
    QAbstractItemModelTester bookTester(form->phonebookModel());

    QCOMPARE(form->pos(), QPoint(10, 10));
    QCOMPARE(form->size(), QSize(600, 430));
    QCOMPARE(f.find<QTabWidget>("RzPageControl1")->currentWidget(), f.find<QWidget>("TabSheet1"));
    QVERIFY(!f.find<QCheckBox>("RzCheckBox1")->isChecked());
    QVERIFY(!f.find<QCheckBox>("RzCheckBox10")->isChecked());
    for (int i = 2; i <= 9; ++i) {
        auto* box = form->findChild<QCheckBox*>(QStringLiteral("RzCheckBox%1").arg(i));
        QVERIFY(box);
        QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
        QCOMPARE(box->text(), QStringLiteral("Lijn %1:").arg(i - 1));
        QCOMPARE(box->isHidden(), i >= 6);
        auto* edit = form->findChild<QLineEdit*>(QStringLiteral("RzEdit%1").arg(i));
        QVERIFY(edit);
        QVERIFY(edit->text().isEmpty());
        QCOMPARE(edit->maxLength(), 50);
        QCOMPARE(edit->isHidden(), i >= 6);
    }
    QCOMPARE(f.find<QComboBox>("RzComboBox2")->currentText(), QStringLiteral("4 lijnen"));
    QCOMPARE(f.find<QComboBox>("RzComboBox1")->currentText(),
             QStringLiteral("SPA 501G, 504G, 508G"));
    QCOMPARE(f.find<QSpinBox>("RzSpinEdit1")->value(), 2);
    QCOMPARE(f.find<QSpinBox>("RzSpinEdit1")->minimum(), 1);
    QCOMPARE(f.find<QSpinBox>("RzSpinEdit1")->maximum(), 100);
    QVERIFY(f.find<QLineEdit>("RzEdit1")->text().isEmpty());
    QVERIFY(f.find<QLineEdit>("RzButtonEdit1")->text().isEmpty());
    QCOMPARE(f.find<QLabel>("Label9")->text(), QStringLiteral("<select>"));
    QCOMPARE(form->logModel()->rowCount(), 0);
    QCOMPARE(form->logModel()->headerText(3), QStringLiteral("Nummer"));
    QCOMPARE(form->phonebookModel()->rowCount(), 10);
    // XML polling off: no timer and the line column hidden.
    QVERIFY(!f.find<QTimer>("Timer1")->isActive());
    QCOMPARE(f.find<QTableView>("DGrid")->columnWidth(1), 0);
    QCOMPARE(form->pollCount(), 0);
}

void TestMainWindow::settingsReachTheControls() {
    WindowFixture f;
    f.writeSettings("URL=10.0.0.7\r\nINTERVAL=250\r\nPhonebook=\r\nActive=1\r\nTypeTel=1\r\n"
                    "Lijnen=1\r\nlijn3=0\r\nlijn4=7\r\nlijn5=yes\r\nlijn2omschr=Verkoop\r\n"
                    "tapiconnect=1\r\ntapidevice=Modem 2\r\ntapideviceid=3\r\n"
                    "posleft=33\r\npostop=44\r\nposwidth=700\r\nposheight=500\r\n");
    TForm1* form = f.createShown();
    QCOMPARE(f.find<QLineEdit>("RzEdit1")->text(), QStringLiteral("10.0.0.7"));
    QCOMPARE(f.find<QSpinBox>("RzSpinEdit1")->value(), 100);
    QVERIFY(f.find<QCheckBox>("RzCheckBox1")->isChecked());
    QCOMPARE(f.find<QComboBox>("RzComboBox1")->currentIndex(), 1);
    QCOMPARE(f.find<QComboBox>("RzComboBox2")->currentIndex(), 1);
    QVERIFY(f.find<QCheckBox>("RzCheckBox2")->isChecked());
    QVERIFY(!f.find<QCheckBox>("RzCheckBox4")->isChecked()); // lijn3=0
    QVERIFY(f.find<QCheckBox>("RzCheckBox5")->isChecked());  // lijn4=7
    QVERIFY(f.find<QCheckBox>("RzCheckBox6")->isChecked());  // lijn5=yes: missing, so on
    QVERIFY(!f.find<QCheckBox>("RzCheckBox6")->isHidden());  // 8 lijnen
    QCOMPARE(f.find<QLineEdit>("RzEdit3")->text(), QStringLiteral("Verkoop"));
    QVERIFY(f.find<QCheckBox>("RzCheckBox10")->isChecked());
    QCOMPARE(f.find<QLabel>("Label9")->text(), QStringLiteral("Modem 2"));
    QCOMPARE(form->pos(), QPoint(33, 44));
    QCOMPARE(form->size(), QSize(700, 500));
    // Polling on: the timer runs with the first-tick interval and the line column shows.
    QVERIFY(f.find<QTimer>("Timer1")->isActive());
    QCOMPARE(f.find<QTimer>("Timer1")->interval(), 500);
    QCOMPARE(f.find<QTableView>("DGrid")->columnWidth(1), 100);
}

void TestMainWindow::captionsAndHints_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("BtnDelete") << QByteArray("BtnDelete") << "Wis Log..."
                               << "Clear log from beginning to selected row" << true;
    QTest::newRow("BtnInsertRecord") << QByteArray("BtnInsertRecord") << "Toevoegen"
                                     << "Add Line to Phonebook" << false;
    QTest::newRow("BtnDeleteRecord") << QByteArray("BtnDeleteRecord") << "Verwijderen..."
                                     << "Delete entry from Phonebook" << false;
    QTest::newRow("RzToolButton1")
        << QByteArray("RzToolButton1") << "Minimize " << QString() << true;
}

void TestMainWindow::captionsAndHints() {
    QFETCH(QByteArray, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, enabled);
    WindowFixture f;
    f.createShown();
    auto* button = f.find<QToolButton>(name.constData());
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(f.find<QToolBar>("RzToolbar1")->isAncestorOf(button));
}

void TestMainWindow::windowFrameAndStatusBar() {
    WindowFixture f;
    TForm1* form = f.createShown();
    QCOMPARE(form->windowTitle(), QStringLiteral("Caller Identification VORBEL"));
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(form->palette().color(QPalette::Window), QColor(240, 251, 255));

    auto* tabs = f.find<QTabWidget>("RzPageControl1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Log", "Telefoonlijst", "Opties", "Help"}));
    auto* options = f.find<QTabWidget>("RzPageControl2");
    QCOMPARE(options->tabPosition(), QTabWidget::West);
    QCOMPARE(options->tabText(0), QStringLiteral("XML"));
    QCOMPARE(options->tabText(1), QStringLiteral("Tapi"));
    QCOMPARE(f.find<QPushButton>("RzBitBtn2")->text(), QStringLiteral("Update"));
    QCOMPARE(f.find<QCheckBox>("RzCheckBox10")->text(), QStringLiteral("Actief"));
    QCOMPARE(f.find<QLabel>("Label9")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(f.find<QLabel>("Label9")->font().underline());

    QCOMPARE(f.find<QListWidget>("RzTabbedListBox1")->height(), 206);
    QCOMPARE(f.find<QStatusBar>("RzStatusBar1")->height(), 19);
    QCOMPARE(f.find<QLabel>("RzStatusPane1")->width(), 181);
    auto* version = f.find<QLabel>("RzVersionInfoStatus1");
    QCOMPARE(version->width(), 73);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                 .match(version->text())
                 .hasMatch(),
             qPrintable(version->text()));
    QCOMPARE(f.find<QTimer>("Timer1")->interval(), 500);

    auto* grid = f.find<QTableView>("DGrid");
    QCOMPARE(grid->model(), form->logModel());
    QCOMPARE(grid->columnWidth(0), 41);
    QCOMPARE(grid->columnWidth(2), 48);
    QCOMPARE(grid->columnWidth(3), 125);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    auto* book = f.find<QTableView>("PGrid");
    QCOMPARE(book->model(), form->phonebookModel());
    QCOMPARE(book->columnWidth(0), 120);
    QVERIFY(book->horizontalHeader()->isHidden());
}

void TestMainWindow::testSwitch_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("visible");
    QTest::newRow("none") << QStringList{} << false;
    QTest::newRow("lower") << QStringList{"test"} << true;
    QTest::newRow("upper, second") << QStringList{"moi", "TEST"} << true;
    QTest::newRow("mixed, third") << QStringList{"a", "b", "TeSt"} << true;
    QTest::newRow("longer word") << QStringList{"testing"} << false;
}

void TestMainWindow::testSwitch() {
    QFETCH(QStringList, args);
    QFETCH(bool, visible);
    WindowFixture f;
    TForm1* form = f.createShown(args);
    QCOMPARE(form->isTestMode(), visible);
    QCOMPARE(f.find<QListWidget>("RzTabbedListBox1")->isVisible(), visible);
}

void TestMainWindow::moiSwitch_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("replay");
    QTest::newRow("first, exact") << QStringList{"moi"} << true;
    QTest::newRow("first, with test") << QStringList{"moi", "test"} << true;
    QTest::newRow("upper case") << QStringList{"MOI"} << false;
    QTest::newRow("mixed case") << QStringList{"Moi"} << false;
    QTest::newRow("second") << QStringList{"test", "moi"} << false;
}

void TestMainWindow::moiSwitch() {
    QFETCH(QStringList, args);
    QFETCH(bool, replay);
    WindowFixture f;
    QCOMPARE(f.create(args)->isReplayMode(), replay);
}

void TestMainWindow::lineCountShowsLinesFiveToEight() {
    WindowFixture f;
    f.createShown();
    auto* count = f.find<QComboBox>("RzComboBox2");
    auto* box7 = f.find<QCheckBox>("RzCheckBox8");
    auto* edit7 = f.find<QLineEdit>("RzEdit8");
    QVERIFY(box7->isHidden());
    count->setCurrentIndex(1);
    for (const char* name : {"RzCheckBox6", "RzCheckBox7", "RzCheckBox8", "RzCheckBox9"})
        QVERIFY2(!f.find<QCheckBox>(name)->isHidden(), name);
    for (const char* name : {"RzEdit6", "RzEdit7", "RzEdit8", "RzEdit9"})
        QVERIFY2(!f.find<QLineEdit>(name)->isHidden(), name);
    box7->setChecked(false);
    edit7->setText(QStringLiteral("Magazijn"));
    count->setCurrentIndex(0);
    QVERIFY(box7->isHidden());
    QVERIFY(edit7->isHidden());
    QVERIFY(!f.find<QCheckBox>("RzCheckBox5")->isHidden()); // line 4 stays
    // Hidden lines keep their state.
    count->setCurrentIndex(1);
    QVERIFY(!box7->isChecked());
    QCOMPARE(edit7->text(), QStringLiteral("Magazijn"));
}

void TestMainWindow::lineColumnFollowsActiveOnShowAndLogTab() {
    WindowFixture f;
    f.createShown();
    auto* grid = f.find<QTableView>("DGrid");
    auto* active = f.find<QCheckBox>("RzCheckBox1");
    auto* tabs = f.find<QTabWidget>("RzPageControl1");
    QCOMPARE(grid->columnWidth(1), 0);
    // Toggling the box alone leaves the column as it is...
    active->click();
    QVERIFY(active->isChecked());
    QCOMPARE(grid->columnWidth(1), 0);
    // ...until the "Log" tab becomes current again.
    tabs->setCurrentIndex(2);
    QCOMPARE(grid->columnWidth(1), 0);
    tabs->setCurrentIndex(0);
    QCOMPARE(grid->columnWidth(1), 100);
    active->click();
    tabs->setCurrentIndex(1);
    QCOMPARE(grid->columnWidth(1), 100);
    tabs->setCurrentIndex(0);
    QCOMPARE(grid->columnWidth(1), 0);
}

void TestMainWindow::tabChangeEnablesToolbarButtons() {
    WindowFixture f;
    f.createShown();
    auto* tabs = f.find<QTabWidget>("RzPageControl1");
    auto* del = f.find<QToolButton>("BtnDelete");
    auto* insert = f.find<QToolButton>("BtnInsertRecord");
    auto* remove = f.find<QToolButton>("BtnDeleteRecord");
    struct Expect {
        int tab;
        bool del, insert, remove;
    };
    for (const Expect& e : {Expect{1, false, true, true}, Expect{2, false, false, false},
                            Expect{3, false, false, false}, Expect{0, true, false, false}}) {
        tabs->setCurrentIndex(e.tab);
        QCOMPARE(del->isEnabled(), e.del);
        QCOMPARE(insert->isEnabled(), e.insert);
        QCOMPARE(remove->isEnabled(), e.remove);
    }
}

void TestMainWindow::wheelNeverChangesPhoneType() {
    WindowFixture f;
    f.createShown();
    auto* type = f.find<QComboBox>("RzComboBox1");
    for (int delta : {-120, 120, -120}) {
        const QPointF at(type->width() / 2.0, type->height() / 2.0);
        QWheelEvent wheel(at, type->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(type, &wheel);
        QCOMPARE(type->currentIndex(), 0);
    }
}

void TestMainWindow::minimiseButtonMinimises() {
    WindowFixture f;
    TForm1* form = f.createShown();
    f.find<QToolButton>("RzToolButton1")->click();
    QVERIFY(form->isMinimized());
    form->bringToFront();
    QVERIFY(!form->isMinimized());
    QVERIFY(form->isVisible());
}

void TestMainWindow::helpTextHasEverySection() {
    WindowFixture f;
    f.create();
    auto* memo = f.find<QPlainTextEdit>("RzMemo1");
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(memo->font().pointSize(), 9);
    const QString text = memo->toPlainText();
    for (const char* section :
         {"Opties XML", "IP-nr telefoon", "Interval", "Opties Tapi", "Device", "Tel.lijst",
          "Update", "Aantal lijnen", "Actief", "Omschrijving lijn"})
        QVERIFY2(text.contains(QLatin1String(section)), section);
    QVERIFY(text.contains(QStringLiteral("standaardwaarde is 2")));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
