#include "app/core/csv_form.h"
#include "tests/app/core/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestCsvForm : public QObject {
    Q_OBJECT
private:
    static TextTable parsed(const QByteArray& bytes, int minColumns = 0) {
        TextTable t;
        QString error;
        if (!CsvForm::parse(bytes, minColumns, t, &error))
            qWarning() << "parse failed:" << error;
        return t;
    }

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("plain") << QStringList{u"IN"_qs, u"lijn 1"_qs, u"12:34"_qs, u"0612"_qs,
                                              u"Jan"_qs};
        QTest::newRow("comma") << QStringList{u"Jansen, P."_qs, u"x"_qs};
        QTest::newRow("quotes") << QStringList{u"say \"hi\""_qs, u"\""_qs, u"\"\""_qs,
                                               u"a\"\"b"_qs};
        QTest::newRow("leading quote") << QStringList{u"\"start"_qs, u"end\""_qs};
        QTest::newRow("empty fields") << QStringList{QString(), QString(), u"x"_qs, QString()};
        QTest::newRow("all empty") << QStringList{QString(), QString()};
        QTest::newRow("crlf with comma") << QStringList{u"a,\r\nb"_qs, u"c"_qs};
        QTest::newRow("crlf without comma") << QStringList{u"line1\r\nline2"_qs, u"z"_qs};
        QTest::newRow("other separators")
            << QStringList{u"a;b#c|d"_qs, u"06-12-34-56"_qs, u"+31 6"_qs};
        QTest::newRow("trailing comma") << QStringList{u"a,"_qs, u","_qs, u",,"_qs};
        QTest::newRow("blanks") << QStringList{u"  "_qs, u" a "_qs};
        QTest::newRow("cp1252") << QStringList{u"é€"_qs, u"Müller"_qs};
        QTest::newRow("tab") << QStringList{u"a\tb"_qs, u"c"_qs};
    }
    void roundTrip() {
        QFETCH(QStringList, cells);
        // Two copies, so that separator detection sees two lines of the same kind, and a
        // header-like first line as in the log file.
        TextTable table(static_cast<int>(cells.size()));
        QStringList header;
        for (qsizetype i = 0; i < cells.size(); ++i)
            header.append(QStringLiteral("H%1").arg(i));
        table.appendRow(header);
        table.appendRow(cells);
        table.appendRow(cells);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        QVERIFY(CsvForm::write(path, table));

        TextTable back;
        QString error;
        QVERIFY2(CsvForm::read(path, 0, back, &error), qPrintable(error));
        QCOMPARE(back.rowCount(), 3);
        QCOMPARE(back.columnCount(), cells.size());
        QCOMPARE(back.rowTexts(0), header);
        QCOMPARE(back.rowTexts(1), cells);
        QCOMPARE(back.rowTexts(2), cells);
    }

    void writesTheFileForm() {
        TextTable table(5);
        table.appendRow({u"In/Out"_qs, u"Inkomend"_qs, u"Tijd"_qs, u"Nummer"_qs, u"Naam"_qs});
        table.appendRow({u"IN"_qs, QString(), u"09:05"_qs, u"0612"_qs, u"Jansen, P."_qs});
        table.appendRow({u"OUT"_qs, u"a\"b"_qs, u"x,\r\ny"_qs});
        table.appendRow({u"A & B"_qs, u"+31-6"_qs, u"x;y"_qs, u"\t"_qs, u"a@b"_qs});
        QCOMPARE(CsvForm::toBytes(table), QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\n"
                                                     "IN,\"\",09:05,0612,\"Jansen, P.\"\r\n"
                                                     "OUT,\"a\"\"b\",\"x,\x0By\",\"\",\"\"\r\n"
                                                     "\"A & B\",+31-6,\"x;y\",\"\t\",\"a@b\"\r\n"));
    }

    void writesInCp1252WithoutBom() {
        TextTable table(1);
        table.appendRow({u"é€Ł"_qs});
        QCOMPARE(CsvForm::toBytes(table), QByteArray("\xE9\x80?\r\n"));
    }

    void readingRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<QStringList>>("rows");
        using Rows = QList<QStringList>;
        QTest::newRow("line ends") << QByteArray("a,b\rc,d\ne,f\r\ng,h")
                                   << Rows{{"a", "b"}, {"c", "d"}, {"e", "f"}, {"g", "h"}};
        QTest::newRow("trailing line end adds no row")
            << QByteArray("a,b\r\nc,d\r\n") << Rows{{"a", "b"}, {"c", "d"}};
        QTest::newRow("empty line in the middle")
            << QByteArray("a,b\r\n\r\nc,d\r\n") << Rows{{"a", "b"}, {""}, {"c", "d"}};
        QTest::newRow("quoted with text after the quote")
            << QByteArray("\"ab\"xx,c\r\nd,e") << Rows{{"ab", "c"}, {"d", "e"}};
        QTest::newRow("trailing separator gives an empty field")
            << QByteArray("a,b,\r\nc,d,") << Rows{{"a", "b", ""}, {"c", "d", ""}};
        QTest::newRow("last field loses its quotes")
            << QByteArray("a,b\"\r\nc,d") << Rows{{"a", "b"}, {"c", "d"}};
        QTest::newRow("doubled quotes in a bare field")
            << QByteArray("a\"\"b,c\r\nd,e") << Rows{{"a\"b", "c"}, {"d", "e"}};
        QTest::newRow("0x0B becomes a line break") << QByteArray("a\x0B"
                                                                 "b,c\r\nd,e")
                                                   << Rows{{"a\r\nb", "c"}, {"d", "e"}};
        QTest::newRow("unclosed quote keeps the rest")
            << QByteArray("a,\"bc,d\r\ne,f") << Rows{{"a", "bc,d"}, {"e", "f"}};
        QTest::newRow("semicolon file")
            << QByteArray("06;Jan\r\n07;Piet") << Rows{{"06", "Jan"}, {"07", "Piet"}};
        QTest::newRow("no separator: one field per line")
            << QByteArray("abc\r\n\"def\"") << Rows{{"abc"}, {"def"}};
        QTest::newRow("lone line break") << QByteArray("\r\n") << Rows{{""}};
        QTest::newRow("hyphens in numbers do not split")
            << QByteArray("06-12-34,Jan\r\n06-99-88,Piet")
            << Rows{{"06-12-34", "Jan"}, {"06-99-88", "Piet"}};
        QTest::newRow("one line with hyphens")
            << QByteArray("06-12-34-56,Jan\r\n") << Rows{{"06-12-34-56", "Jan"}};
        QTest::newRow("separators inside quotes are not counted")
            << QByteArray("0612,\"A & B, C\"\r\n0613,\"D & E\"")
            << Rows{{"0612", "A & B, C"}, {"0613", "D & E"}};
        QTest::newRow("more fields in a later line")
            << QByteArray("a,b\r\nc,d\r\ne,f,g,h")
            << Rows{{"a", "b"}, {"c", "d"}, {"e", "f", "g", "h"}};
    }
    void readingRules() {
        QFETCH(QByteArray, file);
        QFETCH(QList<QStringList>, rows);
        const TextTable t = parsed(file);
        QCOMPARE(t.rowCount(), rows.size());
        qsizetype widest = 0;
        for (const QStringList& r : rows)
            widest = std::max(widest, r.size());
        QCOMPARE(t.columnCount(), widest);
        for (int r = 0; r < rows.size(); ++r) {
            QStringList expected = rows[r];
            while (expected.size() < widest)
                expected.append(QString());
            QCOMPARE(t.rowTexts(r), expected);
        }
    }

    void separatorDetection_data() {
        QTest::addColumn<QByteArray>("line1");
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<int>("separator"); // -1: none
        QTest::newRow("comma") << QByteArray("a,b,c") << QByteArray("d,e,f") << int(',');
        QTest::newRow("semicolon") << QByteArray("a;b") << QByteArray("c;d") << int(';');
        QTest::newRow("tab") << QByteArray("a\tb") << QByteArray("c\td") << int('\t');
        QTest::newRow("even run does not count in the first pass")
            << QByteArray("a;;b;c") << QByteArray("d;e") << int(';');
        QTest::newRow("run at the end always counts")
            << QByteArray("a||") << QByteArray("b|c|") << int('|');
        QTest::newRow("second pass with plain counts")
            << QByteArray("a##b") << QByteArray("##") << int('#');
        QTest::newRow("third pass takes the larger count")
            << QByteArray("a;b;c") << QByteArray("") << int(';');
        QTest::newRow("third pass, later candidate with more wins")
            << QByteArray("a;b") << QByteArray("c|d|e") << int('|');
        QTest::newRow("none") << QByteArray("abc") << QByteArray("def") << -1;
        QTest::newRow("more hyphens than commas stays comma")
            << QByteArray("06-12,a") << QByteArray("07-13,b") << int(',');
        QTest::newRow("hyphen without comma") << QByteArray("a-b") << QByteArray("c-d") << int('-');
    }
    void separatorDetection() {
        QFETCH(QByteArray, line1);
        QFETCH(QByteArray, line2);
        QFETCH(int, separator);
        const auto found = CsvForm::detectSeparator(line1, line2);
        QCOMPARE(found ? int(*found) : -1, separator);
    }

    void phonebookWithSeparatorLikeNamesReadsBack() {
        // The first two entries hold more "&" than commas, in equal numbers: written bare they
        // would be read back split at the "&".
        TextTable table(2);
        table.appendRow({u"0612"_qs, u"A & B & C"_qs});
        table.appendRow({u"0613"_qs, u"D & E & F"_qs});
        TextTable back;
        QVERIFY(CsvForm::parse(CsvForm::toBytes(table), 2, back));
        QCOMPARE(back.columnCount(), 2);
        QCOMPARE(back.rowTexts(1), (QStringList{u"0613"_qs, u"D & E & F"_qs}));
    }

    void rewritingWhatWasRead_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("written");
        const QByteArray canonical = "In/Out,Inkomend,Tijd,Nummer,Naam\r\n"
                                     "IN,Receptie,09:15,0612,\"Jansen, P.\"\r\n"
                                     "OUT,\"\",09:20,  ,\"\"\r\n";
        QTest::newRow("own file comes back unchanged") << canonical << canonical;
        QTest::newRow("no line end at the end")
            << QByteArray("a,b\r\nc,d") << QByteArray("a,b\r\nc,d\r\n");
        QTest::newRow("line feeds only")
            << QByteArray("a,b\nc,d\n") << QByteArray("a,b\r\nc,d\r\n");
        QTest::newRow("bare empty fields")
            << QByteArray("a,,b\r\nc,d,\r\n") << QByteArray("a,\"\",b\r\nc,d,\"\"\r\n");
        QTest::newRow("needless quotes")
            << QByteArray("\"a\",b\r\nc,\"d\"\r\n") << QByteArray("a,b\r\nc,d\r\n");
        QTest::newRow("doubled quotes")
            << QByteArray("\"a\"\"b\",c\r\nd,e\r\n") << QByteArray("\"a\"\"b\",c\r\nd,e\r\n");
        QTest::newRow("text after a closing quote")
            << QByteArray("\"a,\"x,c\r\nd,e\r\n") << QByteArray("\"a,\",c\r\nd,e\r\n");
        QTest::newRow("semicolons") << QByteArray("a;b\r\nc;d\r\n") << QByteArray("a,b\r\nc,d\r\n");
        QTest::newRow("short line widened")
            << QByteArray("a,b\r\nc,d\r\ne\r\n") << QByteArray("a,b\r\nc,d\r\ne,\"\"\r\n");
        QTest::newRow("wide line widens all")
            << QByteArray("a,b\r\nc,d,e\r\n") << QByteArray("a,b,\"\"\r\nc,d,e\r\n");
        QTest::newRow("separator-like text gets quotes")
            << QByteArray("a,b&c\r\nd,e\r\n") << QByteArray("a,\"b&c\"\r\nd,e\r\n");
    }
    void rewritingWhatWasRead() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, written);
        const TextTable t = parsed(file, 2);
        QCOMPARE(CsvForm::toBytes(t), written);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.csv"_qs);
        QVERIFY(CsvForm::write(path, t));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), written);
    }

    void editedRowsAreWrittenAfresh() {
        QByteArray file = "In/Out,Inkomend,Tijd,Nummer,Naam\r\n";
        for (int i = 0; i < 5000; ++i) // long enough for lines to be passed on in runs
            file += "IN,Receptie,09:15,06" + QByteArray::number(i) + ",\"\"\r\n";
        TextTable t = parsed(file, 5);
        QCOMPARE(CsvForm::toBytes(t), file);
        t.setCell(2, 4, u"Jansen, P."_qs);
        t.removeRows(4000, 10);
        t.appendRow({u"OUT"_qs});
        QByteArray expected;
        const QList<QByteArray> lines = file.split('\n');
        for (int i = 0; i < lines.size() - 1; ++i) {
            if (i >= 4000 && i < 4010)
                continue;
            QByteArray line = lines[i] + '\n';
            if (i == 2)
                line = "IN,Receptie,09:15,061,\"Jansen, P.\"\r\n";
            expected += line;
        }
        expected += "OUT,\"\",\"\",\"\",\"\"\r\n";
        QCOMPARE(CsvForm::toBytes(t), expected);
        t.sortRows([&](int a, int b) { return a > b; }); // reversed: no two lines adjacent
        QCOMPARE(CsvForm::toBytes(t).size(), expected.size());
        QVERIFY(CsvForm::toBytes(t).startsWith("OUT,"));
    }

    void emptyFileIsAnError() {
        TextTable t(5);
        t.appendRow({u"keep"_qs});
        QString error;
        QVERIFY(!CsvForm::parse(QByteArray(), 5, t, &error));
        QCOMPARE(error, u"File is empty"_qs);
        QCOMPARE(t.cell(0, 0), u"keep"_qs);
    }

    void missingFileIsAnError() {
        QTemporaryDir dir;
        TextTable t;
        QString error;
        QVERIFY(!CsvForm::read(dir.filePath(u"none.csv"_qs), 2, t, &error));
        QVERIFY(!error.isEmpty());
    }

    void minimumColumnsKept() {
        const TextTable t = parsed("a\r\nb", 5);
        QCOMPARE(t.columnCount(), 5);
        QCOMPARE(t.rowTexts(1), (QStringList{u"b"_qs, {}, {}, {}, {}}));
    }

    void failedWriteKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old,content\r\n");
        }
        TextTable big(1);
        for (int i = 0; i < 2000; ++i)
            big.appendRow({QStringLiteral("row %1 with some text").arg(i)});
        QString error;
        {
            FileSizeLimit limit(4096);
            QVERIFY(!CsvForm::write(path, big, &error));
        }
        QVERIFY(!error.isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old,content\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"log2.csv"_qs});
    }

    void readOnlyFolderKeepsTheOldFile() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders; failedWriteKeepsTheOldFile covers this");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old\r\n");
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        TextTable t(1);
        t.appendRow({u"new"_qs});
        QString error;
        const bool written = CsvForm::write(path, t, &error);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old\r\n"));
    }

    void writeIntoMissingFolderFails() {
        QTemporaryDir dir;
        TextTable t(1);
        t.appendRow({u"x"_qs});
        QVERIFY(!CsvForm::write(dir.filePath(u"no/such/folder/a.csv"_qs), t));
        QVERIFY(!CsvForm::write(QString(), t));
    }
};

QTEST_GUILESS_MAIN(TestCsvForm)
#include "test_csv_form.moc"
