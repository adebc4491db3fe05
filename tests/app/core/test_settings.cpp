#include "app/core/data_folder.h"
#include "app/core/settings.h"
#include "tests/app/core/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
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
    static QStringList keyLines(const QByteArray& bytes) {
        QStringList keys;
        for (const QByteArray& line : bytes.split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                keys.append(QString::fromLatin1(line.first(eq)));
        }
        return keys;
    }

private Q_SLOTS:
    void freshMachine() {
        QTemporaryDir dir;
        Settings s;
        QVERIFY(s.load(dir.filePath(u"config.cfg"_qs)));
        QCOMPARE(s.URL, QString());
        QCOMPARE(s.INTERVAL, 2);
        QCOMPARE(s.Phonebook, QString());
        QCOMPARE(s.Active, false);
        QCOMPARE(s.TypeTel, 0);
        QCOMPARE(s.Lijnen, 0);
        for (bool on : s.lijn)
            QVERIFY(on);
        for (const QString& d : s.lijnomschr)
            QVERIFY(d.isEmpty());
        QCOMPARE(s.tapi, TTApi{});
        QCOMPARE(s.posleft, 10);
        QCOMPARE(s.postop, 10);
        QCOMPARE(s.poswidth, 600);
        QCOMPARE(s.posheight, 430);
    }

    void allKeysInTableOrderAfterSave() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        // A hand-edited file with keys out of order, a duplicate and a foreign section.
        writeFile(path, "[Other]\r\nkeep=1\r\n[SETTINGS]\r\nposheight=500\r\nURL=10.0.0.9\r\n"
                        "url=dup\r\nmine=x\r\n");
        Settings s;
        QVERIFY(s.load(path));
        QCOMPARE(s.URL, u"10.0.0.9"_qs);
        QCOMPARE(s.posheight, 500);
        QVERIFY(s.save(path));
        const QByteArray bytes = readFile(path);
        const QStringList expected =
            QStringList{u"keep"_qs} + Settings::keyNames() + QStringList{u"mine"_qs};
        QCOMPARE(keyLines(bytes), expected);
        QCOMPARE(Settings::keyNames().size(), 30);
        QCOMPARE(Settings::keyNames().first(), u"URL"_qs);
        QCOMPARE(Settings::keyNames().last(), u"posheight"_qs);
        QVERIFY(
            bytes.startsWith("[Other]\r\nkeep=1\r\n[SETTINGS]\r\nURL=10.0.0.9\r\nINTERVAL=2\r\n"));
    }

    void saveWritesEveryValue() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        Settings s;
        s.URL = u"192.168.1.20"_qs;
        s.INTERVAL = 7;
        s.Phonebook = u"C:/tel/lijst.csv"_qs;
        s.Active = true;
        s.TypeTel = 1;
        s.Lijnen = 1;
        s.lijn[2] = false;
        s.lijnomschr[0] = u"Receptie é"_qs;
        s.tapi = TTApi{true, u"Modem €"_qs, 3, true};
        s.posleft = -20;
        s.postop = 5;
        s.poswidth = 800;
        s.posheight = 640;
        QVERIFY(s.save(path));
        QVERIFY(readFile(path).contains("lijn3=0\r\nlijn4=1\r\n"));
        QVERIFY(readFile(path).contains("lijn1omschr=Receptie \xE9\r\n"));
        const Settings back = Settings::fromFile(path, TTApi{});
        QCOMPARE(back.URL, s.URL);
        QCOMPARE(back.INTERVAL, 7);
        QCOMPARE(back.Phonebook, s.Phonebook);
        QCOMPARE(back.Active, true);
        QCOMPARE(back.TypeTel, 1);
        QCOMPARE(back.Lijnen, 1);
        QCOMPARE(back.lijn, s.lijn);
        QCOMPARE(back.lijnomschr, s.lijnomschr);
        QCOMPARE(back.tapi, s.tapi);
        QCOMPARE(back.posleft, -20);
        QCOMPARE(back.poswidth, 800);
    }

    void readQuirks_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("lijn3");
        QTest::addColumn<int>("typeTel");
        QTest::newRow("interval 0 reads as 1") << QByteArray("INTERVAL=0") << 1 << true << 0;
        QTest::newRow("interval 250 reads as 100")
            << QByteArray("INTERVAL=250") << 100 << true << 0;
        QTest::newRow("interval -4 reads as 1") << QByteArray("INTERVAL=-4") << 1 << true << 0;
        QTest::newRow("unreadable interval gives 2") << QByteArray("INTERVAL=5s") << 2 << true << 0;
        QTest::newRow("lijn3=0 turns line 3 off") << QByteArray("lijn3=0") << 2 << false << 0;
        QTest::newRow("lijn3=7 counts as on") << QByteArray("lijn3=7") << 2 << true << 0;
        QTest::newRow("lijn3=yes gives the default") << QByteArray("lijn3=yes") << 2 << true << 0;
        QTest::newRow("TypeTel out of the list kept") << QByteArray("TypeTel=5") << 2 << true << 5;
        QTest::newRow("TypeTel negative kept") << QByteArray("TypeTel=-1") << 2 << true << -1;
    }
    void readQuirks() {
        QFETCH(QByteArray, lines);
        QFETCH(int, interval);
        QFETCH(bool, lijn3);
        QFETCH(int, typeTel);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        writeFile(path, "[Settings]\r\n" + lines + "\r\n");
        Settings s;
        QVERIFY(s.load(path));
        QCOMPARE(s.INTERVAL, interval);
        QCOMPARE(s.lijn[2], lijn3);
        QCOMPARE(s.TypeTel, typeTel);
    }

    void tapiKeysDefaultToTheRecordPassedIn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        writeFile(path, "[Settings]\r\ntapideviceid=x\r\ntapioffering=0\r\n");
        const TTApi given{true, u"Line A"_qs, 4, true};
        const Settings s = Settings::fromFile(path, given);
        QCOMPARE(s.tapi.Connect, true);
        QCOMPARE(s.tapi.DeviceName, u"Line A"_qs);
        QCOMPARE(s.tapi.DeviceIndex, 4); // unreadable value gives the default
        QCOMPARE(s.tapi.Offering, false);
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.cfg"_qs);
        Settings old;
        old.URL = u"old-phone"_qs;
        QVERIFY(old.save(path));
        const QByteArray before = readFile(path);
        Settings changed;
        changed.URL = QString(4000, u'x');
        QString error;
        {
            FileSizeLimit limit(static_cast<rlim_t>(before.size()) + 64);
            QVERIFY(!changed.save(path, &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), before);
    }

    void saveIntoMissingFolderFails() {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!Settings{}.save(dir.filePath(u"missing/config.cfg"_qs), &error));
        QVERIFY(!error.isEmpty());
    }

    void dataFolderFromEnvironment() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"a/b"_qs);
        qputenv("VORBEL_DATA_DIR", folder.toLocal8Bit());
        QCOMPARE(dataFolderPath(), folder + u'/');
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(settingsFilePath(), folder + u"/config.cfg"_qs);
        QVERIFY(QDir(folder).exists()); // created with its parents before use
        QCOMPARE(logFilePath(), folder + u"/log2.csv"_qs);
        qunsetenv("VORBEL_DATA_DIR");
    }

    void dataFolderFromXdg() {
        QTemporaryDir dir;
        qunsetenv("VORBEL_DATA_DIR");
        const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QCOMPARE(CommonDataFolder(), dir.path() + u"/VORBEL/"_qs);
        QVERIFY(QDir(dir.path() + u"/VORBEL"_qs).exists());
        qputenv("XDG_DATA_HOME", "relative/path"); // invalid, ignored
        QCOMPARE(dataFolderPath(), QDir::homePath() + u"/.local/share/VORBEL/"_qs);
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(dataFolderPath(), QDir::homePath() + u"/.local/share/VORBEL/"_qs);
        if (!oldXdg.isEmpty())
            qputenv("XDG_DATA_HOME", oldXdg);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
