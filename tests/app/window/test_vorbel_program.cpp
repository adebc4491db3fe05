// The program itself, started as a process: ended by SIGTERM or SIGINT it still closes and
// destroys its window, so the settings, the log and the phonebook are written; in replay mode
// it logs the calls of the sample pages.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestVorbelProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void terminationSignalWritesEveryFile_data();
    void terminationSignalWritesEveryFile();
    void replayModeLogsTheSampleCalls();
};

namespace {
QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void startProgram(QProcess& process, const QString& dataDir, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VORBEL_DATA_DIR"), dataDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VORBEL_SAMPLES_DIR"),
               qEnvironmentVariable("VORBEL_SOURCE_DIR") + QStringLiteral("/samples/moi"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(VORBEL_PROGRAM), args);
}
} // namespace

void TestVorbelProgram::terminationSignalWritesEveryFile_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestVorbelProgram::terminationSignalWritesEveryFile() {
    QFETCH(int, signalNumber);
    QTemporaryDir tmp;
    const QString data = tmp.filePath(QStringLiteral("data"));
    const QString book = tmp.filePath(QStringLiteral("boek.csv"));
    QVERIFY(QDir().mkpath(data));
    {
        QFile config(data + QStringLiteral("/config.cfg"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Settings]\r\nPhonebook=" + book.toLocal8Bit() + "\r\nURL=10.0.0.9\r\n");
    }
    QProcess process;
    startProgram(process, data, {});
    QVERIFY(process.waitForStarted(10'000));
    QTest::qWait(1500); // running its event loop by now
    QCOMPARE(process.state(), QProcess::Running);
    QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
    QVERIFY(process.waitForFinished(15'000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    const QByteArray config = readFile(data + QStringLiteral("/config.cfg"));
    QVERIFY(config.contains("URL=10.0.0.9\r\n"));
    QVERIFY(config.contains("posheight=")); // the whole settings written back
    QCOMPARE(readFile(data + QStringLiteral("/log2.csv")),
             QByteArray("In/Out,Inkomend,Tijd,Nummer,Naam\r\n"));
    QVERIFY(readFile(book).startsWith("\"\",\"\"\r\n"));
}

void TestVorbelProgram::replayModeLogsTheSampleCalls() {
    QTemporaryDir tmp;
    const QString data = tmp.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    {
        QFile config(data + QStringLiteral("/config.cfg"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Settings]\r\nActive=1\r\nINTERVAL=1\r\nTypeTel=0\r\n");
    }
    QProcess process;
    startProgram(process, data, {QStringLiteral("moi"), QStringLiteral("test")});
    QVERIFY(process.waitForStarted(10'000));
    // Sample 1 has an incoming call, sample 2 an outgoing one; the log is saved shortly after.
    const QString log = data + QStringLiteral("/log2.csv");
    QTRY_VERIFY_WITH_TIMEOUT(readFile(log).contains("0307654321"), 15'000);
    QCOMPARE(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    QVERIFY(process.waitForFinished(15'000));
    QCOMPARE(process.exitCode(), 0);
    const QList<QByteArray> lines = readFile(log).split('\n');
    QVERIFY(lines.size() >= 3);
    QVERIFY2(lines.at(1).startsWith("IN,201,"), lines.at(1).constData());
    QVERIFY(lines.at(1).contains(",0201234567,"));
    QVERIFY2(lines.at(2).startsWith("OUT,\"\","), lines.at(2).constData());
    QVERIFY(readFile(data + QStringLiteral("/config.cfg")).contains("Active=1\r\n"));
}

QTEST_GUILESS_MAIN(TestVorbelProgram)
#include "test_vorbel_program.moc"
