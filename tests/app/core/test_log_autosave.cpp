#include "app/core/call_log_model.h"
#include "app/core/log_autosave.h"
#include "tests/app/core/file_size_limit.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLogAutosave : public QObject {
    Q_OBJECT
private:
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void burstOfChangesGivesOneSave() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"data/log2.csv"_qs); // folder made on saving
        CallLogModel model;
        LogAutosave autosave(&model, path, nullptr, 100);
        QSignalSpy saved(&autosave, &LogAutosave::saved);
        model.appendRow(QStringList{u"IN"_qs, u"lijn 1"_qs, u"10:00"_qs, u"1"_qs, QString()});
        model.appendRow(QStringList{u"IN"_qs, u"lijn 1"_qs, u"10:01"_qs, u"2"_qs, QString()});
        model.setCell(1, CallLogModel::ColName, u"Jan"_qs);
        QVERIFY(autosave.isPending());
        QVERIFY(!QFile::exists(path));
        QVERIFY(saved.wait(5000));
        QCOMPARE(saved.size(), 1);
        QVERIFY(!autosave.isPending());
        QCOMPARE(readFile(path), QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\n"
                                            "IN,lijn 1,10:00,1,\"\"\r\n"
                                            "IN,lijn 1,10:01,2,Jan\r\n"));
        QTest::qWait(250);
        QCOMPARE(saved.size(), 1); // nothing more to save

        // "Wis Log..." is saved too.
        model.deleteThrough(0);
        QVERIFY(saved.wait(5000));
        QCOMPARE(readFile(path), QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\n"
                                            "IN,lijn 1,10:01,2,Jan\r\n"));
    }

    void flushSavesAtOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        CallLogModel model;
        LogAutosave autosave(&model, path, nullptr, 60000);
        QVERIFY(autosave.flush()); // nothing waiting
        QVERIFY(!QFile::exists(path));
        model.appendRow(QStringList{u"OUT"_qs});
        QVERIFY(autosave.flush());
        QVERIFY(readFile(path).endsWith("OUT,\"\",\"\",\"\",\"\"\r\n"));
        QVERIFY(!autosave.isPending());
    }

    void loadingIsNoChange() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("In/Out,Inkomend,Tijd,Nummer,Naam\r\nIN,a,b,c,d\r\n");
        }
        CallLogModel model;
        LogAutosave autosave(&model, path, nullptr, 10);
        QVERIFY(model.load(path));
        QVERIFY(!autosave.isPending());
    }

    void failedSaveStaysPendingAndKeepsTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log2.csv"_qs);
        CallLogModel model;
        LogAutosave autosave(&model, path, nullptr, 60000);
        model.appendRow(QStringList{u"first"_qs});
        QVERIFY(autosave.flush());
        const QByteArray before = readFile(path);
        for (int i = 0; i < 200; ++i)
            model.appendRow(QStringList{QStringLiteral("row %1").arg(i), QString(40, u'x')});
        QSignalSpy failed(&autosave, &LogAutosave::saveFailed);
        {
            FileSizeLimit limit(static_cast<rlim_t>(before.size()) + 16);
            QVERIFY(!autosave.flush());
        }
        QCOMPARE(failed.size(), 1);
        QVERIFY(autosave.isPending());
        QCOMPARE(readFile(path), before);
        QVERIFY(autosave.flush()); // tried again
        QVERIFY(readFile(path).contains("row 199"));
    }
};

QTEST_GUILESS_MAIN(TestLogAutosave)
#include "test_log_autosave.moc"
