#include "app/core/call_log_model.h"
#include "app/core/call_tracker.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestCallLogModel : public QObject {
    Q_OBJECT
private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void startsWithTheHeaderOnly() {
        CallLogModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 5);
        for (int c = 0; c < 5; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(),
                     CallLogModel::defaultHeaders()[c]);
        QCOMPARE(CallLogModel::defaultHeaders(),
                 (QStringList{u"In/Out"_qs, u"Inkomend"_qs, u"Tijd"_qs, u"Nummer"_qs, u"Naam"_qs}));
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    }

    void appendAndDelete() {
        CallLogModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.lastNumber(), u"Nummer"_qs); // the header text when there is no row
        for (int i = 0; i < 5; ++i)
            QCOMPARE(model.appendRow(LogRow{u"IN"_qs, u"lijn 1"_qs, u"10:0%1"_qs.arg(i),
                                            QString::number(100 + i), QString()}),
                     i);
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.data(model.index(2, CallLogModel::ColTime)).toString(), u"10:02"_qs);
        QCOMPARE(model.data(model.index(2, CallLogModel::ColDirection), Qt::TextAlignmentRole)
                     .value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(model.lastNumber(), u"104"_qs);
        model.setCell(4, CallLogModel::ColName, u"Jansen"_qs);
        QCOMPARE(model.cell(4, CallLogModel::ColName), u"Jansen"_qs);

        // "Wis Log..." with row 1 selected removes rows 0 and 1.
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.deleteThrough(1);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.cell(0, CallLogModel::ColNumber), u"102"_qs);
        // With the last row selected the log empties down to the header.
        model.deleteThrough(model.rowCount() - 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.headerText(CallLogModel::ColNumber), u"Nummer"_qs);
        model.deleteThrough(0); // nothing left: nothing happens
        QCOMPARE(removed.size(), 2);
    }

    void wideRowsWidenTheModel() {
        CallLogModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.appendRow(QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs, u"f"_qs});
        QCOMPARE(model.columnCount(), 6);
        QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QString());
        model.appendRow(QStringList{u"x"_qs});
        QCOMPARE(model.cell(1, 4), QString());
    }

    void saveAndLoad() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        CallLogModel model;
        model.appendRow(
            LogRow{u"IN"_qs, u"Receptie"_qs, u"09:15"_qs, u"0612"_qs, u"Jansen, P."_qs});
        model.appendRow(LogRow{u"OUT"_qs, QString(), u"09:20"_qs, u"  "_qs, QString()});
        QVERIFY(model.save(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\n"
                                         "IN,Receptie,09:15,0612,\"Jansen, P.\"\r\n"
                                         "OUT,\"\",09:20,  ,\"\"\r\n"));

        CallLogModel back;
        QAbstractItemModelTester tester(&back,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(back.load(path));
        QCOMPARE(back.rowCount(), 2);
        QCOMPARE(back.cell(0, CallLogModel::ColName), u"Jansen, P."_qs);
        QCOMPARE(back.cell(1, CallLogModel::ColNumber), u"  "_qs);
    }

    void foreignFirstLineBecomesTheHeader() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        writeFile(path, "Richting,Lijn,Uur,Tel,Wie\r\nIN,1,08:00,123,Piet\r\n");
        CallLogModel model;
        QVERIFY(model.load(path));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), u"Richting"_qs);
        QCOMPARE(model.rowCount(), 1);
    }

    void failedLoadKeepsTheRows() {
        QTemporaryDir dir;
        CallLogModel model;
        model.appendRow(QStringList{u"IN"_qs});
        const QString empty = dir.filePath(u"empty.csv"_qs);
        writeFile(empty, QByteArray());
        QString error;
        QVERIFY(!model.load(empty, &error));
        QCOMPARE(error, u"File is empty"_qs);
        QVERIFY(!model.load(dir.filePath(u"missing.csv"_qs)));
        QCOMPARE(model.rowCount(), 1);
        model.reset();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.headerText(0), u"In/Out"_qs);
    }

    void headerOnlyFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        CallLogModel model;
        QVERIFY(model.save(path));
        CallLogModel back;
        back.appendRow(QStringList{u"x"_qs});
        QVERIFY(back.load(path));
        QCOMPARE(back.rowCount(), 0);
        QCOMPARE(back.columnCount(), 5);
    }
};

QTEST_GUILESS_MAIN(TestCallLogModel)
#include "test_call_log_model.moc"
