#include "app/core/phonebook_model.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPhonebookModel : public QObject {
    Q_OBJECT
private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QStringList numbers(const PhonebookModel& m) {
        QStringList n;
        for (int r = 0; r < m.rowCount(); ++r)
            n.append(m.cell(r, 0));
        return n;
    }

private Q_SLOTS:
    void tenEmptyRowsBeforeLoading() {
        PhonebookModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 10);
        QCOMPARE(model.columnCount(), 2);
        QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
        // The no-value marker trims to empty and so matches the first empty number.
        QCOMPARE(model.LookupName(u"  "_qs), std::optional<QString>(QString()));
        QCOMPARE(model.LookupName(u"0612"_qs), std::nullopt);
    }

    void savingTheInitialRowsWritesEmptyFields() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"new.csv"_qs);
        PhonebookModel model;
        QVERIFY(model.save(path));
        QByteArray expected;
        for (int i = 0; i < 10; ++i)
            expected += "\"\",\"\"\r\n";
        QCOMPARE(readFile(path), expected);
        QVERIFY(!model.save(QString())); // empty path: nothing written
    }

    void loadSortsByNumber() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tel.csv"_qs);
        writeFile(path,
                  "Nummer,Naam\r\n100,Honderd\r\n9,Negen\r\n0031612345678901234,Lang\r\n"
                  "0031612345678901233,Lang2\r\n,Leeg\r\n-5,Min\r\n+7,Plus\r\n09,Nul negen\r\n"
                  "abc,Tekst\r\nABC,Hoofd\r\n");
        PhonebookModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.load(path, PhonebookModel::Sorting::ByNumber));
        QCOMPARE(numbers(model), (QStringList{u"-5"_qs, u"+7"_qs, u"9"_qs, u"09"_qs, u"100"_qs,
                                              u"0031612345678901233"_qs, u"0031612345678901234"_qs,
                                              QString(), u"ABC"_qs, u"Nummer"_qs, u"abc"_qs}));
        // A header line stays an ordinary entry.
        QCOMPARE(model.LookupName(u"Nummer"_qs), std::optional<QString>(u"Naam"_qs));
    }

    void choosingAFileDoesNotSort() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tel.csv"_qs);
        writeFile(path, "2,b\r\n1,a\r\n");
        PhonebookModel model;
        QVERIFY(model.load(path, PhonebookModel::Sorting::None));
        QCOMPARE(numbers(model), (QStringList{u"2"_qs, u"1"_qs}));
    }

    void failedLoadKeepsTheRows() {
        QTemporaryDir dir;
        PhonebookModel model;
        model.setCell(0, 0, u"keep"_qs);
        QString error;
        QVERIFY(!model.load(dir.filePath(u"missing.csv"_qs), PhonebookModel::Sorting::ByNumber,
                            &error));
        QVERIFY(!error.isEmpty());
        const QString empty = dir.filePath(u"empty.csv"_qs);
        writeFile(empty, QByteArray());
        QVERIFY(!model.load(empty, PhonebookModel::Sorting::None, &error));
        QCOMPARE(error, u"File is empty"_qs);
        QVERIFY(!model.load(QString(), PhonebookModel::Sorting::None, &error));
        QCOMPARE(model.rowCount(), 10);
        QCOMPARE(model.cell(0, 0), u"keep"_qs);
    }

    void lookupName_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name"); // "<none>" when no result
        QTest::newRow("exact") << u"0612"_qs << u"Eerste"_qs;
        QTest::newRow("upper one of two wins") << u"0612"_qs << u"Eerste"_qs;
        QTest::newRow("entry typed with blanks") << u"0201"_qs << u" Blanko "_qs;
        QTest::newRow("number with blanks and control characters")
            << u" 0201\t\r\n"_qs << u" Blanko "_qs;
        QTest::newRow("no normalisation inside") << u"06 12"_qs << u"<none>"_qs;
        QTest::newRow("case matters") << u"abc"_qs << u"<none>"_qs;
        QTest::newRow("case matches") << u"ABC"_qs << u"Letters"_qs;
        QTest::newRow("not found") << u"999"_qs << u"<none>"_qs;
        QTest::newRow("cp1252 text") << u"é€"_qs << u"Euro"_qs;
    }
    void lookupName() {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tel.csv"_qs);
        writeFile(path, "0612,Eerste\r\n0612,Tweede\r\n  0201  , Blanko \r\nABC,Letters\r\n"
                        "\xE9\x80,Euro\r\n");
        PhonebookModel model;
        QVERIFY(model.load(path, PhonebookModel::Sorting::None));
        const auto found = model.LookupName(number);
        QCOMPARE(found.value_or(u"<none>"_qs), name);
    }

    void addEditDeleteAndSave() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"tel.csv"_qs);
        writeFile(path, "0612,Jan,extra1,extra2\r\n0613,Piet\r\n");
        PhonebookModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.load(path, PhonebookModel::Sorting::ByNumber));
        QCOMPARE(model.columnCount(), 4);

        // "Toevoegen": found by lookups at once, without saving.
        const int row = model.appendEntry(u"0700"_qs);
        QCOMPARE(row, 2);
        QCOMPARE(model.cell(row, 1), QString());
        QVERIFY(model.setData(model.index(row, 1), u"Nieuw, Kees"_qs));
        QCOMPARE(model.LookupName(u"0700"_qs), std::optional<QString>(u"Nieuw, Kees"_qs));
        QCOMPARE(model.data(model.index(row, 1), Qt::EditRole).toString(), u"Nieuw, Kees"_qs);

        // "Verwijderen...".
        QVERIFY(model.removeRows(1, 1));
        QVERIFY(!model.removeRows(5, 1));
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(model.save(path));
        QCOMPARE(readFile(path), QByteArray("0612,Jan,extra1,extra2\r\n"
                                            "0700,\"Nieuw, Kees\",\"\",\"\"\r\n"));
    }

    void sortByNumberKeepsPersistentIndexes() {
        PhonebookModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.removeRows(0, 10);
        for (const char* n : {"30", "10", "20"})
            model.appendEntry(QString::fromLatin1(n));
        const QPersistentModelIndex thirty = model.index(0, 0);
        model.sortByNumber();
        QCOMPARE(numbers(model), (QStringList{u"10"_qs, u"20"_qs, u"30"_qs}));
        QCOMPARE(thirty.row(), 2);
        QCOMPARE(thirty.data().toString(), u"30"_qs);
    }

    void compareNumbers_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("numeric, not textual") << QByteArray("9") << QByteArray("10") << -1;
        QTest::newRow("leading zeros") << QByteArray("007") << QByteArray("7") << 0;
        QTest::newRow("beyond double precision")
            << QByteArray("12345678901234567891") << QByteArray("12345678901234567890") << 1;
        QTest::newRow("fractions") << QByteArray("1.5") << QByteArray("1.50") << 0;
        QTest::newRow("negative") << QByteArray("-10") << QByteArray("-9") << -1;
        QTest::newRow("number before text") << QByteArray("99") << QByteArray("+31 6") << -1;
        QTest::newRow("text by character codes") << QByteArray("B") << QByteArray("a") << -1;
        QTest::newRow("high bytes after ascii") << QByteArray("\xE9") << QByteArray("z") << 1;
        QTest::newRow("blank is text") << QByteArray("") << QByteArray("5") << 1;
    }
    void compareNumbers() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, order);
        QCOMPARE(PhonebookModel::compareNumbers(a, b), order);
        QCOMPARE(PhonebookModel::compareNumbers(b, a), -order);
    }
};

QTEST_GUILESS_MAIN(TestPhonebookModel)
#include "test_phonebook_model.moc"
