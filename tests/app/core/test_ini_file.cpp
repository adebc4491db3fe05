#include "app/core/ini_file.h"
#include "tests/app/core/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void integers_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("result"); // with default 42
        QTest::newRow("plain") << u"7"_qs << 7;
        QTest::newRow("negative") << u"-3"_qs << -3;
        QTest::newRow("plus sign") << u"+5"_qs << 5;
        QTest::newRow("blanks around") << u" 12 "_qs << 12;
        QTest::newRow("tabs around") << u"\t12\t"_qs << 12;
        QTest::newRow("trailing letters") << u"12abc"_qs << 42;
        QTest::newRow("word") << u"yes"_qs << 42;
        QTest::newRow("empty") << QString() << 42;
        QTest::newRow("blank inside") << u"1 2"_qs << 42;
        QTest::newRow("quoted") << u"\"9\""_qs << 9;
        QTest::newRow("hex dollar") << u"$1A"_qs << 26;
        QTest::newRow("hex 0x") << u"0x1a"_qs << 26;
        QTest::newRow("largest") << u"2147483647"_qs << 2147483647;
        QTest::newRow("smallest") << u"-2147483648"_qs << int(-2147483648LL);
        QTest::newRow("too large") << u"2147483648"_qs << 42;
        QTest::newRow("far too large") << u"99999999999999999999"_qs << 42;
        QTest::newRow("sign only") << u"-"_qs << 42;
        QTest::newRow("float") << u"1.5"_qs << 42;
    }
    void integers() {
        QFETCH(QString, value);
        QFETCH(int, result);
        IniFile ini;
        ini.parse(QByteArray("[S]\r\nk=") + value.toLatin1() + "\r\n");
        QCOMPARE(ini.readInteger(u"S", u"k", 42), result);
    }

    void strings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("value"); // of S/k, default "def"
        QTest::newRow("blanks trimmed") << QByteArray("[S]\nk=  a b  \n") << u"a b"_qs;
        QTest::newRow("double quotes stripped") << QByteArray("[S]\nk=\" a \"\n") << u" a "_qs;
        QTest::newRow("single quotes stripped") << QByteArray("[S]\nk='x'\n") << u"x"_qs;
        QTest::newRow("unbalanced quote kept") << QByteArray("[S]\nk=\"x\n") << u"\"x"_qs;
        QTest::newRow("case-insensitive names") << QByteArray("[s]\nK=v\n") << u"v"_qs;
        QTest::newRow("blanks around the name") << QByteArray("[ S ]\n  k  = v\n") << u"v"_qs;
        QTest::newRow("first key wins") << QByteArray("[S]\nk=1\nk=2\n") << u"1"_qs;
        QTest::newRow("first section wins") << QByteArray("[S]\nk=1\n[S]\nk=2\n") << u"1"_qs;
        QTest::newRow("other section") << QByteArray("[T]\nk=1\n") << u"def"_qs;
        QTest::newRow("comment") << QByteArray("[S]\n;k=1\n") << u"def"_qs;
        QTest::newRow("equals in the value") << QByteArray("[S]\nk=a=b\n") << u"a=b"_qs;
        QTest::newRow("empty value is not missing") << QByteArray("[S]\nk=\n") << QString();
        QTest::newRow("cp1252") << QByteArray("[S]\r\nk=\xE9\x80\r\n") << u"é€"_qs;
        QTest::newRow("no line end at the end") << QByteArray("[S]\r\nk=v") << u"v"_qs;
    }
    void strings() {
        QFETCH(QByteArray, file);
        QFETCH(QString, value);
        IniFile ini;
        ini.parse(file);
        QCOMPARE(ini.readString(u"S", u"k", u"def"_qs), value);
    }

    void booleans() {
        IniFile ini;
        ini.parse("[S]\na=0\nb=7\nc=yes\nd=1\n");
        QCOMPARE(ini.readBool(u"S", u"a", true), false);
        QCOMPARE(ini.readBool(u"S", u"b", false), true);
        QCOMPARE(ini.readBool(u"S", u"c", true), true);
        QCOMPARE(ini.readBool(u"S", u"c", false), false);
        QCOMPARE(ini.readBool(u"S", u"d", false), true);
        QCOMPARE(ini.readBool(u"S", u"missing", true), true);
    }

    void writingKeepsOrderAndOtherContent() {
        IniFile ini;
        ini.parse(
            "; top comment\r\n[Other]\r\nx=1\r\n\r\n[Settings]\r\nB=2\r\nA=1\r\n\r\n[Tail]\r\n"
            "z=9\r\n");
        ini.writeString(u"settings", u"a", u"one"_qs);
        ini.writeString(u"Settings", u"C", u"3"_qs);
        ini.writeString(u"New", u"k", u"v"_qs);
        QCOMPARE(ini.toBytes(), QByteArray("; top comment\r\n[Other]\r\nx=1\r\n\r\n[Settings]\r\n"
                                           "B=2\r\nA=one\r\nC=3\r\n\r\n[Tail]\r\nz=9\r\n"
                                           "[New]\r\nk=v\r\n"));
    }

    void rewriteSectionPutsKeysInOrder() {
        IniFile ini;
        ini.parse("[Settings]\r\nextra=x\r\nB=old\r\n;note\r\nA=old\r\nb=dup\r\n");
        ini.rewriteSection(u"Settings", {{u"A"_qs, u"1"_qs}, {u"B"_qs, u"2"_qs}});
        QCOMPARE(ini.toBytes(), QByteArray("[Settings]\r\nA=1\r\nB=2\r\nextra=x\r\n;note\r\n"));
    }

    void lineBreaksInValuesStayOnOneLine() {
        IniFile ini;
        ini.writeString(u"S", u"k", u"a\r\nb\nc"_qs);
        ini.writeString(u"S", u"next", u"n"_qs);
        IniFile back;
        back.parse(ini.toBytes());
        QCOMPARE(back.readString(u"S", u"k", {}), u"a b c"_qs);
        QCOMPARE(back.readString(u"S", u"next", {}), u"n"_qs);
    }

    void saveAndLoad() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        IniFile ini;
        QVERIFY(ini.load(path)); // missing reads as empty
        QVERIFY(!ini.hasSection(u"S"));
        ini.writeString(u"S", u"name", u"Müller €"_qs);
        ini.writeInteger(u"S", u"n", -5);
        ini.writeBool(u"S", u"b", true);
        QVERIFY(ini.save(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[S]\r\nname=M\xFCller \x80\r\nn=-5\r\nb=1\r\n"));
        IniFile back;
        QVERIFY(back.load(path));
        QCOMPARE(back.keys(u"s"), (QStringList{u"name"_qs, u"n"_qs, u"b"_qs}));
        QCOMPARE(back.readString(u"S", u"name", {}), u"Müller €"_qs);
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        IniFile old;
        old.writeString(u"S", u"k", u"old"_qs);
        QVERIFY(old.save(path));
        IniFile big;
        for (int i = 0; i < 500; ++i)
            big.writeString(u"S", QStringLiteral("key%1").arg(i), QString(40, u'x'));
        QString error;
        {
            FileSizeLimit limit(1024);
            QVERIFY(!big.save(path, &error));
        }
        QVERIFY(!error.isEmpty());
        IniFile back;
        QVERIFY(back.load(path));
        QCOMPARE(back.readString(u"S", u"k", {}), u"old"_qs);
        QCOMPARE(back.keys(u"S").size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini_file.moc"
