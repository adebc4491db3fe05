// The window's files and the buttons that change the log and the phonebook: what destruction
// writes (also when the settings cannot be written), "Wis Log...", "Toevoegen",
// "Verwijderen...", choosing a phonebook file, and the log saved shortly after each change.

#include "window_fixture.h"

#include "app/core/call_log_model.h"
#include "app/core/phonebook_model.h"
#include "app/core/settings.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

class TestMainWindowFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void destructionWritesAllThreeFiles();
    void failingSettingsWriteStillWritesLogAndPhonebook();
    void logAndPhonebookSurviveARestart();
    void unreadableFilesAreSetAsideNotOverwritten();
    void logSavedShortlyAfterANewRow();
    void wisLog_data();
    void wisLog();
    void wisLogPausesAndResumesPolling();
    void toevoegenTakesTheLastNumber_data();
    void toevoegenTakesTheLastNumber();
    void verwijderenAsksFirst_data();
    void verwijderenAsksFirst();
    void choosingAPhonebookFile_data();
    void choosingAPhonebookFile();
};

namespace {
LogRow row(const QString& number) {
    return LogRow{
        QStringLiteral("IN"), QStringLiteral("Balie"), QStringLiteral("09:15"), number, {}};
}

QStringList settingsKeysInFile(const QByteArray& bytes) {
    QStringList keys;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys << QString::fromLatin1(line.left(eq));
    }
    return keys;
}
} // namespace

void TestMainWindowFiles::destructionWritesAllThreeFiles() {
    WindowFixture f;
    const QString book = f.dataPath(QStringLiteral("boek.csv"));
    f.writeSettings("Phonebook=" + book.toLocal8Bit() + "\r\n");
    TForm1* form = f.createShown();
    form->addLogRow(row(QStringLiteral("0201234567")));
    f.find<QLineEdit>("RzEdit1")->setText(QStringLiteral("10.1.2.3"));
    f.destroy();

    const QByteArray config = WindowFixture::readFile(f.dataPath(QStringLiteral("config.cfg")));
    QCOMPARE(settingsKeysInFile(config), Settings::keyNames());
    QVERIFY(config.contains("URL=10.1.2.3\r\n"));
    QCOMPARE(WindowFixture::readFile(f.dataPath(QStringLiteral("log2.csv"))),
             QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\nIN,Balie,09:15,0201234567,\"\"\r\n"));
    // The ten empty rows of a phonebook that did not exist yet.
    QByteArray tenEmpty;
    for (int i = 0; i < 10; ++i)
        tenEmpty += "\"\",\"\"\r\n";
    QCOMPARE(WindowFixture::readFile(book), tenEmpty);
}

void TestMainWindowFiles::failingSettingsWriteStillWritesLogAndPhonebook() {
    WindowFixture f;
    const QString book = f.dataPath(QStringLiteral("boek.csv"));
    f.writeFile(book, "0201234567,Bakker\r\n");
    f.writeSettings("Phonebook=" + book.toLocal8Bit() + "\r\n");
    TForm1* form = f.create();
    form->addLogRow(row(QStringLiteral("0201234567")));
    // A folder where config.cfg should be: the settings cannot be written.
    QVERIFY(QFile::remove(f.dataPath(QStringLiteral("config.cfg"))));
    QVERIFY(QDir(f.dataDir.path()).mkdir(QStringLiteral("config.cfg")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("settings not saved")));
    f.destroy();
    QVERIFY(QFileInfo(f.dataPath(QStringLiteral("config.cfg"))).isDir());
    QVERIFY(WindowFixture::readFile(f.dataPath(QStringLiteral("log2.csv")))
                .contains("IN,Balie,09:15,0201234567,Bakker\r\n"));
    QCOMPARE(WindowFixture::readFile(book), QByteArray("0201234567,Bakker\r\n"));
}

void TestMainWindowFiles::logAndPhonebookSurviveARestart() {
    WindowFixture f;
    const QString book = f.dataPath(QStringLiteral("boek.csv"));
    f.writeFile(book, "30,Derde\r\n100,Honderd\r\n2,Twee\r\nabc,\"Jansen, P.\"\r\n");
    f.writeSettings("Phonebook=" + book.toLocal8Bit() + "\r\n");
    TForm1* form = f.createShown();
    // Loaded and sorted by number.
    QCOMPARE(form->phonebookModel()->rowCount(), 4);
    QCOMPARE(form->phonebookModel()->cell(0, 0), QStringLiteral("2"));
    QCOMPARE(form->phonebookModel()->cell(2, 0), QStringLiteral("100"));
    QCOMPARE(form->LookupName(QStringLiteral(" abc ")),
             std::optional<QString>(QStringLiteral("Jansen, P.")));
    form->addLogRow(row(QStringLiteral("100")));
    form->addLogRow(row(QStringLiteral("Jansen \"de\" Vries")));
    QCOMPARE(form->logModel()->cell(0, CallLogModel::ColName), QStringLiteral("Honderd"));
    f.destroy();

    TForm1* again = f.createShown();
    QAbstractItemModelTester tester(again->logModel());
    QCOMPARE(again->logModel()->rowCount(), 2);
    QCOMPARE(again->logModel()->cell(1, CallLogModel::ColNumber),
             QStringLiteral("Jansen \"de\" Vries"));
    QCOMPARE(again->phonebookModel()->cell(3, 1), QStringLiteral("Jansen, P."));
}

void TestMainWindowFiles::unreadableFilesAreSetAsideNotOverwritten() {
    WindowFixture f;
    // Folders where the files should be: they exist but cannot be read as files. Tests run as
    // root, so file permissions would not make them unreadable.
    QDir data(f.dataDir.path());
    QVERIFY(data.mkpath(QStringLiteral("log2.csv")));
    QVERIFY(data.mkpath(QStringLiteral("boek.csv")));
    f.writeFile(f.dataPath(QStringLiteral("log2.csv/kept.txt")), "old log");
    f.writeFile(f.dataPath(QStringLiteral("boek.csv/kept.txt")), "old book");
    const QString book = f.dataPath(QStringLiteral("boek.csv"));
    f.writeSettings("Phonebook=" + book.toLocal8Bit() + "\r\n");
    TForm1* form = f.createShown();
    QCOMPARE(form->logModel()->rowCount(), 0);
    form->addLogRow(row(QStringLiteral("0201234567")));
    f.destroy();

    QVERIFY(WindowFixture::readFile(f.dataPath(QStringLiteral("log2.csv")))
                .contains("IN,Balie,09:15,0201234567,"));
    QVERIFY(QFileInfo(book).isFile());
    const QStringList aside = data.entryList({QStringLiteral("*.unreadable-*")}, QDir::Dirs);
    QCOMPARE(aside.size(), 2);
    for (const QString& name : aside) {
        const QByteArray kept = WindowFixture::readFile(data.filePath(name + "/kept.txt"));
        QCOMPARE(kept, name.startsWith(QStringLiteral("log2")) ? QByteArray("old log")
                                                               : QByteArray("old book"));
    }
}

void TestMainWindowFiles::logSavedShortlyAfterANewRow() {
    WindowFixture f;
    TForm1* form = f.createShown();
    const QString log = f.dataPath(QStringLiteral("log2.csv"));
    QVERIFY(!QFile::exists(log));
    form->addLogRow(row(QStringLiteral("0201234567")));
    form->addLogRow(row(QStringLiteral("0207654321")));
    QTRY_VERIFY_WITH_TIMEOUT(WindowFixture::readFile(log).contains("0207654321"), 5000);
    QVERIFY(WindowFixture::readFile(log).contains("0201234567"));
}

void TestMainWindowFiles::wisLog_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("yes, middle row") << 4 << 1 << true << 1 << QStringList{"3", "4"};
    QTest::newRow("yes, last row") << 4 << 3 << true << 1 << QStringList{};
    QTest::newRow("no") << 4 << 2 << false << 1 << QStringList{"1", "2", "3", "4"};
    QTest::newRow("only the header: no question") << 0 << -1 << true << 0 << QStringList{};
    QTest::newRow("no row chosen: no question")
        << 3 << -1 << true << 0 << QStringList{"1", "2", "3"};
}

void TestMainWindowFiles::wisLog() {
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(bool, answer);
    QFETCH(int, asked);
    QFETCH(QStringList, left);
    WindowFixture f;
    TForm1* form = f.createShown();
    QAbstractItemModelTester tester(form->logModel());
    for (int i = 1; i <= rows; ++i)
        form->addLogRow(row(QString::number(i)));
    auto* grid = f.find<QTableView>("DGrid");
    if (selected >= 0)
        grid->selectRow(selected);
    else
        grid->setCurrentIndex({});
    f.dialogs->answers.enqueue(answer);
    f.find<QToolButton>("BtnDelete")->click();
    QCOMPARE(f.dialogs->asked.size(), asked);
    if (asked)
        QCOMPARE(f.dialogs->asked.constFirst(), QStringLiteral("Delete log entries to selected?"));
    QStringList numbers;
    for (int r = 0; r < form->logModel()->rowCount(); ++r)
        numbers << form->logModel()->cell(r, CallLogModel::ColNumber);
    QCOMPARE(numbers, left);
}

void TestMainWindowFiles::wisLogPausesAndResumesPolling() {
    WindowFixture f;
    f.writeSettings("Active=1\r\n");
    TForm1* form = f.createShown();
    form->addLogRow(row(QStringLiteral("1")));
    auto* timer = f.find<QTimer>("Timer1");
    QVERIFY(timer->isActive());
    f.dialogs->answers.enqueue(true);
    form->BtnDeleteClick();
    QCOMPARE(form->logModel()->rowCount(), 0);
    QVERIFY(timer->isActive());
    f.find<QCheckBox>("RzCheckBox1")->click();
    form->BtnDeleteClick();
    QVERIFY(!timer->isActive());
}

void TestMainWindowFiles::toevoegenTakesTheLastNumber_data() {
    QTest::addColumn<QStringList>("logged");
    QTest::addColumn<QString>("number");
    QTest::newRow("empty log: the header text") << QStringList{} << "Nummer";
    QTest::newRow("the last row, not the selected one") << QStringList{"111", "222"} << "222";
}

void TestMainWindowFiles::toevoegenTakesTheLastNumber() {
    QFETCH(QStringList, logged);
    QFETCH(QString, number);
    WindowFixture f;
    TForm1* form = f.createShown();
    QAbstractItemModelTester tester(form->phonebookModel());
    for (const QString& n : logged)
        form->addLogRow(row(n));
    f.find<QTableView>("DGrid")->selectRow(0);
    f.find<QTabWidget>("RzPageControl1")->setCurrentIndex(1);
    auto* insert = f.find<QToolButton>("BtnInsertRecord");
    QVERIFY(insert->isEnabled());
    insert->click();
    PhonebookModel* book = form->phonebookModel();
    QCOMPARE(book->rowCount(), 11);
    QCOMPARE(book->cell(10, 0), number);
    QCOMPARE(book->cell(10, 1), QString());
    const QModelIndex current = f.find<QTableView>("PGrid")->currentIndex();
    QCOMPARE(current.row(), 10);
    QCOMPARE(current.column(), 1);
    // Found by lookups at once.
    book->setCell(10, 1, QStringLiteral("Nieuw"));
    QCOMPARE(form->LookupName(number), std::optional<QString>(QStringLiteral("Nieuw")));
}

void TestMainWindowFiles::verwijderenAsksFirst_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("yes") << true << 9;
    QTest::newRow("no") << false << 10;
}

void TestMainWindowFiles::verwijderenAsksFirst() {
    QFETCH(bool, answer);
    QFETCH(int, rowsLeft);
    WindowFixture f;
    TForm1* form = f.createShown();
    form->phonebookModel()->setCell(3, 0, QStringLiteral("0201234567"));
    auto* grid = f.find<QTableView>("PGrid");
    grid->setCurrentIndex(form->phonebookModel()->index(3, 1));
    f.find<QTabWidget>("RzPageControl1")->setCurrentIndex(1);
    f.dialogs->answers.enqueue(answer);
    f.find<QToolButton>("BtnDeleteRecord")->click();
    QCOMPARE(f.dialogs->asked, QStringList{QStringLiteral("Delete entry?")});
    QCOMPARE(form->phonebookModel()->rowCount(), rowsLeft);
    QCOMPARE(form->LookupName(QStringLiteral("0201234567")).has_value(), !answer);
}

void TestMainWindowFiles::choosingAPhonebookFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("error");
    QTest::newRow("read, not sorted")
        << QByteArray("30,Derde\r\n2,Twee\r\n") << false << QStringList{"30", "2"} << QString();
    QTest::newRow("empty file") << QByteArray() << false << QStringList(10, QString())
                                << "Error:\n\rFile is empty";
    QTest::newRow("cancelled") << QByteArray("1,Een\r\n") << true << QStringList(10, QString())
                               << QString();
}

void TestMainWindowFiles::choosingAPhonebookFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, cancel);
    QFETCH(QStringList, numbers);
    QFETCH(QString, error);
    WindowFixture f;
    TForm1* form = f.createShown();
    const QString path = f.dataPath(QStringLiteral("gekozen.csv"));
    f.writeFile(path, content);
    if (!cancel)
        f.dialogs->fileNames.enqueue(path);
    form->RzButtonEdit1ButtonClick();
    QCOMPARE(f.dialogs->fileDialogFilters,
             QStringList{QStringLiteral("csv-files (*.csv);;any file (*.*)")});
    QCOMPARE(f.find<QLineEdit>("RzButtonEdit1")->text(), cancel ? QString() : path);
    QStringList got;
    for (int r = 0; r < form->phonebookModel()->rowCount(); ++r)
        got << form->phonebookModel()->cell(r, 0);
    QCOMPARE(got, numbers);
    QCOMPARE(f.dialogs->errors, error.isEmpty() ? QStringList{} : QStringList{error});
}

QTEST_MAIN(TestMainWindowFiles)
#include "test_main_window_files.moc"
