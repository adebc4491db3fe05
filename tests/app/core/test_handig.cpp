#include "app/core/handig.h"

#include <QTest>

class TestHandig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void paramPresent_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("present");
        QTest::newRow("exact") << u"test"_qs << QStringList{u"test"_qs} << true;
        QTest::newRow("upper case, later position")
            << u"test"_qs << QStringList{u"moi"_qs, u"TEST"_qs} << true;
        QTest::newRow("mixed case") << u"test"_qs << QStringList{u"TeSt"_qs} << true;
        QTest::newRow("part of a word") << u"test"_qs << QStringList{u"tests"_qs} << false;
        QTest::newRow("no parameters") << u"test"_qs << QStringList{} << false;
        QTest::newRow("accented letters upper-cased too")
            << u"été"_qs << QStringList{u"ÉTÉ"_qs} << true;
    }
    void paramPresent() {
        QFETCH(QString, word);
        QFETCH(QStringList, args);
        QFETCH(bool, present);
        QCOMPARE(ParamPresent(word, args), present);
    }

    void digitsAndPlus() {
        QCOMPARE(DigitsAndPlus(u"+31 (6) 12-34.56"), u"+31612345 6"_qs.remove(u' '));
        QCOMPARE(DigitsAndPlus(u"abc"), QString());
        QCOMPARE(DigitsAndPlus(u"0١2"), u"02"_qs); // other scripts' digits are not 0 to 9
    }

    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("every occurrence") << u"a.b.c"_qs << u"."_qs << u"/"_qs << u"a/b/c"_qs;
        QTest::newRow("empty search") << u"abc"_qs << QString() << u"x"_qs << u"abc"_qs;
        QTest::newRow("replacement contains search")
            << u"aXb"_qs << u"X"_qs << u"XX"_qs << u"aXb"_qs;
        QTest::newRow("occurrence made by a replacement is replaced too")
            << u"aabb"_qs << u"ab"_qs << u""_qs << u""_qs;
        QTest::newRow("repeated from the start") << u"xxxx"_qs << u"xx"_qs << u"x"_qs << u"x"_qs;
        QTest::newRow("none") << u"abc"_qs << u"z"_qs << u"y"_qs << u"abc"_qs;
    }
    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QCOMPARE(ReplaceAll(text, search, replacement), result);
    }

    void trimBlanks() {
        QCOMPARE(TrimBlanks(u" \t\r\n a b \x01"), u"a b"_qs);
        QCOMPARE(TrimBlanks(u"  "), QString());
        QCOMPARE(TrimBlanks(u"\u00A0x\u00A0"), u"\u00A0x\u00A0"_qs); // only up to U+0020
    }
};

QTEST_GUILESS_MAIN(TestHandig)
#include "test_handig.moc"
