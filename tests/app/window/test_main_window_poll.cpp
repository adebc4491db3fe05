// Polling the fake phone through the real window: calls appearing, changing number and ending
// on both phone types, failures that stop polling, the "test" timings, the replay pages, closing
// while a request waits, and a minimised window coming back with a new row.

#include "fake_phone.h"
#include "window_fixture.h"

#include "app/core/call_log_model.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTcpServer>
#include <QTimer>

#include "app/window/page_fetcher.h"

class TestMainWindowPoll : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void callOnLine_data();
    void callOnLine();
    void directionAndLineColumn_data();
    void directionAndLineColumn();
    void traceLinesShowStoredValues();
    void linesAboveCountOrSwitchedOffAreNotPolled_data();
    void linesAboveCountOrSwitchedOffAreNotPolled();
    void timerDrivesPollsWithChosenInterval();
    void failedPollStopsPolling_data();
    void failedPollStopsPolling();
    void testTimings_data();
    void testTimings();
    void replayPages_data();
    void replayPages();
    void missingReplayPageFails();
    void closingWhileRequestWaits();
    void minimisedWindowRestoredOnNewRow();
};

namespace {
using Line = FakePhone::Line;

QByteArray settingsFor(const FakePhone& phone, int type, const QString& phonebook,
                       const QByteArray& extra = {}) {
    return "URL=" + phone.address().toLatin1() + "\r\nTypeTel=" + QByteArray::number(type) +
           "\r\nPhonebook=" + phonebook.toLocal8Bit() + "\r\n" + extra;
}

QStringList column(const CallLogModel* log, int col) {
    QStringList out;
    for (int r = 0; r < log->rowCount(); ++r)
        out << log->cell(r, col);
    return out;
}
} // namespace

void TestMainWindowPoll::callOnLine_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<QByteArray>>("pages");
    QTest::addColumn<QList<int>>("rowsAfterPoll");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QStringList>("names");

    const Line idle{2, "Idle", "", "", "", "202"};
    const Line ringing{2, "Ringing", "Inbound", "Jansen", "0201234567", "202"};
    const Line otherNumber{2, "Connected", "Inbound", "Jansen", "0209999999", "202"};
    const Line otherName{2, "Connected", "Inbound", "Pietersen", "0209999999", "202"};
    const Line ended{2, "Idle", "", "", "", "202"};
    QTest::newRow("type 0: the peer phone is the number, a new name alone adds nothing")
        << 0 << QList<QByteArray>{FakePhone::page({idle}),      FakePhone::page({ringing}),
                                  FakePhone::page({ringing}),   FakePhone::page({otherNumber}),
                                  FakePhone::page({otherName}), FakePhone::page({ended})}
        << QList<int>{0, 1, 1, 2, 2, 2} << QStringList{"0201234567", "0209999999"}
        << QStringList{"Bakker", ""};

    const Line ringing1{2, "Ringing", "Inbound", "0201234567", "0201234567", "202"};
    const Line otherNumber1{2, "Connected", "Inbound", "0209999999", "0201234567", "202"};
    const Line otherPhone1{2, "Connected", "Inbound", "0209999999", "0208888888", "202"};
    QTest::newRow("type 1: the peer name is the number and its change adds a row")
        << 1 << QList<QByteArray>{FakePhone::page({idle}),        FakePhone::page({ringing1}),
                                  FakePhone::page({ringing1}),    FakePhone::page({otherNumber1}),
                                  FakePhone::page({otherPhone1}), FakePhone::page({ended})}
        << QList<int>{0, 1, 1, 2, 3, 3} << QStringList{"0201234567", "0209999999", "0209999999"}
        << QStringList{"Bakker", "", ""};
}

void TestMainWindowPoll::callOnLine() {
    QFETCH(int, type);
    QFETCH(QList<QByteArray>, pages);
    QFETCH(QList<int>, rowsAfterPoll);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, names);

    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages(pages);
    WindowFixture f;
    const QString book = f.dataPath(QStringLiteral("telefoon.csv"));
    f.writeFile(book, "0201234567,Bakker\r\n0612345678,Mobiel Jan\r\n");
    f.writeSettings(settingsFor(phone, type, book, "lijn2omschr=Verkoop\r\n"));
    TForm1* form = f.createShown();
    QAbstractItemModelTester tester(form->logModel());

    for (int i = 0; i < pages.size(); ++i) {
        form->Timer1Timer();
        QCOMPARE(form->logModel()->rowCount(), rowsAfterPoll.at(i));
        QVERIFY2(f.find<QLabel>("RzStatusPane2")->text().isEmpty(),
                 qPrintable(f.find<QLabel>("RzStatusPane2")->text()));
    }
    QCOMPARE(phone.requestCount(), pages.size());
    const CallLogModel* log = form->logModel();
    QCOMPARE(column(log, CallLogModel::ColNumber), numbers);
    QCOMPARE(column(log, CallLogModel::ColName), names);
    QCOMPARE(log->cell(0, CallLogModel::ColDirection), QStringLiteral("IN"));
    QCOMPARE(log->cell(0, CallLogModel::ColLine), QStringLiteral("Verkoop"));
    const QRegularExpression hhnn(QStringLiteral("^([01]\\d|2[0-3]):[0-5]\\d$"));
    QVERIFY(hhnn.match(log->cell(0, CallLogModel::ColTime)).hasMatch());
    // The newest row is selected.
    QCOMPARE(f.find<QTableView>("DGrid")->currentIndex().row(), log->rowCount() - 1);
}

void TestMainWindowPoll::directionAndLineColumn_data() {
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QByteArray>("userId");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("line");
    QTest::newRow("inbound, description trimmed")
        << QByteArray("inbound") << QByteArray("  Balie ") << QByteArray("301") << "IN"
        << "Balie";
    QTest::newRow("inbound, blank description: user ID")
        << QByteArray(" Inbound ") << QByteArray("   ") << QByteArray("301") << "IN"
        << "301";
    QTest::newRow("outbound: line column empty")
        << QByteArray("OUTBOUND") << QByteArray("Balie") << QByteArray("301") << "OUT"
        << "";
    QTest::newRow("other type: no direction")
        << QByteArray("Forwarded") << QByteArray("Balie") << QByteArray("301") << ""
        << "";
}

void TestMainWindowPoll::directionAndLineColumn() {
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, description);
    QFETCH(QByteArray, userId);
    QFETCH(QString, direction);
    QFETCH(QString, line);
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({FakePhone::page({Line{3, "Ringing", type, "", "0101112222", userId}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}, "lijn3omschr=" + description + "\r\n"));
    TForm1* form = f.createShown();
    form->Timer1Timer();
    QCOMPARE(form->logModel()->rowCount(), 1);
    QCOMPARE(form->logModel()->cell(0, CallLogModel::ColDirection), direction);
    QCOMPARE(form->logModel()->cell(0, CallLogModel::ColLine), line);
    QCOMPARE(form->logModel()->cell(0, CallLogModel::ColNumber), QStringLiteral("0101112222"));
}

void TestMainWindowPoll::traceLinesShowStoredValues() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages(
        {FakePhone::page({Line{1, "Ringing", " inbound ", "Jansen", "0201234567", "201"}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}));
    TForm1* form = f.createShown();
    form->Timer1Timer();
    form->Timer1Timer();
    auto* trace = f.find<QListWidget>("RzTabbedListBox1");
    QVERIFY(!trace->isVisible()); // filled even without "test"
    QCOMPARE(trace->count(), 8);  // 4 lines, 2 polls
    QCOMPARE(trace->currentRow(), 7);
    // Type 0 never stores the name; lines absent from the page show the markers.
    QCOMPARE(trace->item(4)->text(), QStringLiteral("0\tline1\tRinging\t\t0201234567\tINBOUND"));
    QCOMPARE(trace->item(5)->text(), QStringLiteral("0\tline2\t\t\t  \t"));
    QCOMPARE(form->lineState().CurUserId[1].text(), QStringLiteral("201"));
    QCOMPARE(form->lineState().CurUserId[2].text(), QStringLiteral("  "));
}

void TestMainWindowPoll::linesAboveCountOrSwitchedOffAreNotPolled_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("rows");
    QTest::newRow("4 lijnen: line 6 not polled") << QByteArray("Lijnen=0\r\n") << 0;
    QTest::newRow("8 lijnen: line 6 polled") << QByteArray("Lijnen=1\r\n") << 1;
    QTest::newRow("8 lijnen, line 6 off") << QByteArray("Lijnen=1\r\nlijn6=0\r\n") << 0;
    QTest::newRow("no line count chosen: 4") << QByteArray("Lijnen=9\r\n") << 0;
}

void TestMainWindowPoll::linesAboveCountOrSwitchedOffAreNotPolled() {
    QFETCH(QByteArray, settings);
    QFETCH(int, rows);
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({FakePhone::page({Line{6, "Ringing", "Inbound", "", "0201234567", "206"}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}, settings));
    TForm1* form = f.createShown();
    form->Timer1Timer();
    QCOMPARE(form->logModel()->rowCount(), rows);
    QCOMPARE(form->lineState().CurType[6].text(), rows ? QStringLiteral("INBOUND") : QString());
}

void TestMainWindowPoll::timerDrivesPollsWithChosenInterval() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({FakePhone::page({Line{1, "Idle", "", "", "", "201"}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}, "Active=1\r\nINTERVAL=1\r\n"));
    TForm1* form = f.createShown();
    auto* timer = f.find<QTimer>("Timer1");
    QVERIFY(timer->isActive());
    QSignalSpy polls(form, &TForm1::pollFinished);
    QVERIFY(polls.wait(3000));
    QCOMPARE(phone.requestCount(), 1);
    QCOMPARE(form->pollCount(), 1);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    // A changed interval applies at the end of the next tick.
    f.find<QSpinBox>("RzSpinEdit1")->setValue(3);
    QVERIFY(polls.wait(3000));
    QCOMPARE(timer->interval(), 3000);
    // Unchecking the box stops polling at once.
    f.find<QCheckBox>("RzCheckBox1")->click();
    QVERIFY(!timer->isActive());
}

void TestMainWindowPoll::failedPollStopsPolling_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("404") << "404"
                         << "Error:HTTP/1.1 404 Not Found";
    QTest::newRow("500") << "500"
                         << "Error:HTTP/1.1 500 Internal Server Error";
    QTest::newRow("refused") << "refused"
                             << "Error:";
    QTest::newRow("stalled") << "stall"
                             << "Error:Read timed out after 300 ms";
    QTest::newRow("bad address") << "address"
                                 << "Error:";
}

void TestMainWindowPoll::failedPollStopsPolling() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    FakePhone phone;
    QVERIFY(phone.start());
    QByteArray url = phone.address().toLatin1();
    if (kind == QStringLiteral("404"))
        phone.setStatus(404, "Not Found");
    else if (kind == QStringLiteral("500"))
        phone.setStatus(500, "Internal Server Error");
    else if (kind == QStringLiteral("stall"))
        phone.setMode(FakePhone::Mode::Stall);
    else if (kind == QStringLiteral("address"))
        url = "bad host name with blanks";
    else if (kind == QStringLiteral("refused")) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        url = "127.0.0.1:" + QByteArray::number(probe.serverPort());
    }
    WindowFixture f;
    f.writeSettings("URL=" + url + "\r\nActive=1\r\nINTERVAL=1\r\n");
    TForm1* form = f.create();
    form->pageFetcher()->setTimeoutMs(300);
    form->show();
    QSignalSpy polls(form, &TForm1::pollFinished);
    QVERIFY(polls.wait(5000));

    const QString pane = f.find<QLabel>("RzStatusPane2")->text();
    QVERIFY2(pane.startsWith(message), qPrintable(pane));
    QVERIFY(pane.size() > 6);
    auto* active = f.find<QCheckBox>("RzCheckBox1");
    auto* timer = f.find<QTimer>("Timer1");
    QVERIFY(!active->isChecked());
    QVERIFY(!timer->isActive());
    QVERIFY(!polls.wait(1500)); // stopped for good

    // Checking the box again polls again after the last set interval.
    phone.setStatus(0, {});
    phone.setMode(FakePhone::Mode::Serve);
    active->click();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
}

void TestMainWindowPoll::testTimings_data() {
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("good poll") << false << "^Opvragen: \\d+ ms Verwerken: \\d+ ms$";
    QTest::newRow("failed poll") << true << "^ Verwerken: \\d+ ms$";
}

void TestMainWindowPoll::testTimings() {
    QFETCH(bool, fails);
    QFETCH(QString, pattern);
    FakePhone phone;
    QVERIFY(phone.start());
    if (fails)
        phone.setStatus(404, "Not Found");
    phone.setPages({FakePhone::page({Line{1, "Idle", "", "", "", "201"}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}, "Active=1\r\n"));
    TForm1* form = f.createShown({QStringLiteral("Test")});
    form->Timer1Timer();
    const QString pane = f.find<QLabel>("RzStatusPane2")->text();
    QVERIFY2(QRegularExpression(pattern).match(pane).hasMatch(), qPrintable(pane));
    QCOMPARE(f.find<QCheckBox>("RzCheckBox1")->isChecked(), !fails);
}

void TestMainWindowPoll::replayPages_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("rowsAfterPoll");
    QTest::addColumn<QStringList>("directions");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("type 0") << 0 << QList<int>{1, 2, 2, 3} << QStringList{"IN", "OUT", "IN"}
                            << QStringList{"0201234567", "0307654321", "0201234567"};
    QTest::newRow("type 1") << 1 << QList<int>{0, 1, 2, 2} << QStringList{"IN", "OUT"}
                            << QStringList{"0612345678", "0104445566"};
}

void TestMainWindowPoll::replayPages() {
    QFETCH(int, type);
    QFETCH(QList<int>, rowsAfterPoll);
    QFETCH(QStringList, directions);
    QFETCH(QStringList, numbers);
    WindowFixture f;
    f.writeSettings("TypeTel=" + QByteArray::number(type) + "\r\nURL=127.0.0.1:1\r\n");
    TForm1* form = f.create({QStringLiteral("moi")});
    form->setSamplesFolder(qEnvironmentVariable("VORBEL_SOURCE_DIR") +
                           QStringLiteral("/samples/moi"));
    form->show();
    QList<int> pollCounts;
    for (int expected : rowsAfterPoll) {
        form->Timer1Timer();
        pollCounts << form->pollCount();
        QVERIFY2(f.find<QLabel>("RzStatusPane2")->text().isEmpty(),
                 qPrintable(f.find<QLabel>("RzStatusPane2")->text()));
        QCOMPARE(form->logModel()->rowCount(), expected);
    }
    QCOMPARE(pollCounts, (QList<int>{1, 2, 3, 1}));
    QCOMPARE(column(form->logModel(), CallLogModel::ColDirection), directions);
    QCOMPARE(column(form->logModel(), CallLogModel::ColNumber), numbers);
    // The trace carries the sample number.
    auto* trace = f.find<QListWidget>("RzTabbedListBox1");
    QVERIFY(trace->item(0)->text().startsWith(QStringLiteral("1\tline1\t")));
    QVERIFY(trace->currentItem()->text().startsWith(QStringLiteral("1\tline4\t")));
}

void TestMainWindowPoll::missingReplayPageFails() {
    WindowFixture f;
    f.writeSettings("Active=1\r\n");
    TForm1* form = f.create({QStringLiteral("moi")});
    form->setSamplesFolder(f.dataPath(QStringLiteral("no such folder")));
    form->show();
    form->Timer1Timer();
    const QString pane = f.find<QLabel>("RzStatusPane2")->text();
    QVERIFY2(pane.startsWith(QStringLiteral("Error:Cannot open file")), qPrintable(pane));
    QVERIFY(pane.contains(QStringLiteral("spa504g_inbellen.txt")));
    QVERIFY(!f.find<QCheckBox>("RzCheckBox1")->isChecked());
}

void TestMainWindowPoll::closingWhileRequestWaits() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setMode(FakePhone::Mode::Stall);
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}, "Active=1\r\nINTERVAL=1\r\n"));
    TForm1* form = f.create();
    form->pageFetcher()->setTimeoutMs(20'000);
    form->show();
    QSignalSpy polls(form, &TForm1::pollFinished);
    // The window closes while the poll waits for the phone's answer.
    bool pollingAtClose = false;
    connect(&phone, &FakePhone::requestReceived, form, [&] {
        pollingAtClose = form->isPolling();
        form->close();
    });
    QVERIFY(polls.wait(5000));
    QVERIFY(pollingAtClose);
    QCOMPARE(phone.requestCount(), 1);
    QCOMPARE(polls.count(), 1);
    auto* timer = f.find<QTimer>("Timer1");
    QVERIFY(!timer->isActive());
    // The abandoned request is no failure of the phone: polling stays on for the next start.
    QVERIFY(f.find<QCheckBox>("RzCheckBox1")->isChecked());
    QTest::qWait(1500);
    QCOMPARE(phone.requestCount(), 1);
    QVERIFY(!timer->isActive());
}

void TestMainWindowPoll::minimisedWindowRestoredOnNewRow() {
    FakePhone phone;
    QVERIFY(phone.start());
    phone.setPages({FakePhone::page({Line{1, "Idle", "", "", "", "201"}}),
                    FakePhone::page({Line{1, "Ringing", "Inbound", "", "0201234567", "201"}})});
    WindowFixture f;
    f.writeSettings(settingsFor(phone, 0, {}));
    TForm1* form = f.createShown();
    form->showMinimized();
    QVERIFY(form->isMinimized());
    form->Timer1Timer(); // no row: stays minimised
    QVERIFY(form->isMinimized());
    QSignalSpy rows(form, &TForm1::logRowAdded);
    form->Timer1Timer();
    QCOMPARE(rows.count(), 1);
    QVERIFY(!form->isMinimized());
    QVERIFY(form->isVisible());
}

QTEST_MAIN(TestMainWindowPoll)
#include "test_main_window_poll.moc"
