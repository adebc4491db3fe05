#include "app/core/cp1252.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripOfAllBytes() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(toCp1252(fromCp1252(all)), all);
    }

    void knownCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("e acute and euro") << u"é€"_qs << QByteArray("\xE9\x80");
        QTest::newRow("quotes and dashes")
            << u"‘’“”–—"_qs << QByteArray("\x91\x92\x93\x94\x96\x97");
        QTest::newRow("ascii") << u"Jan 06"_qs << QByteArray("Jan 06");
        QTest::newRow("latin-1 upper half") << u"ÿ\u00A0"_qs << QByteArray("\xFF\xA0");
        QTest::newRow("undefined byte keeps its value") << u"\u0081"_qs << QByteArray("\x81");
    }
    void knownCharacters() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toCp1252(text), bytes);
        QCOMPARE(fromCp1252(bytes), text);
    }

    void charactersWithoutByteBecomeQuestionMarks() {
        QCOMPARE(toCp1252(u"aŁ€😀b"), QByteArray("a?\x80?b")); // the emoji is one character
        QCOMPARE(toCp1252(u"\u0080"), QByteArray("?"));       // C1 control, not the euro byte
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "test_cp1252.moc"
