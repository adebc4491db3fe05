// The program itself with both call sources: a fake phone on 127.0.0.1 and a simulated modem with
// a timeline of calls, running at the same time. Ended with SIGTERM, it has written every call of
// both sources to log2.csv, each source's calls in the order they came.

#include "fake_phone.h"

#include "app/core/call_log_model.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QStringList Rows(const CallLogModel& log, bool tapi) {
    QStringList rows;
    for (int r = 0; r < log.rowCount(); ++r) {
        if ((log.cell(r, CallLogModel::ColLine) == QLatin1String("Tapi")) != tapi)
            continue;
        rows << log.cell(r, CallLogModel::ColDirection) + QLatin1Char('|') +
                    log.cell(r, CallLogModel::ColNumber) + QLatin1Char('|') +
                    log.cell(r, CallLogModel::ColName);
    }
    return rows;
}

} // namespace

class TestTapiEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bothSourcesReachTheLogFile() {
        using Line = FakePhone::Line;
        FakePhone phone;
        QVERIFY(phone.start());
        const QByteArray idle = FakePhone::page({Line{1, "Idle", "", "", "", "201"}});
        phone.setPages({
            FakePhone::page({Line{1, "Ringing", "Inbound", "", "0301000001", "201"}}),
            idle,
            FakePhone::page({Line{1, "Ringing", "Inbound", "", "0301000003", "201"}}),
            idle,
            FakePhone::page({Line{2, "Ringing", "Inbound", "", "0301000005", "202"}}),
            idle,
        });

        QTemporaryDir tmp;
        const QString data = tmp.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data));
        const QString book = tmp.filePath(QStringLiteral("boek.csv"));
        {
            QFile file(book);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("0201000001,Eerste Beller\r\n0301000003,Derde Beller\r\n");
        }
        {
            QFile config(data + QStringLiteral("/config.cfg"));
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write("[Settings]\r\nURL=" + phone.address().toLatin1() +
                         "\r\nINTERVAL=1\r\nActive=1\r\nPhonebook=" + book.toLocal8Bit() +
                         "\r\nlijn1omschr=Balie\r\nlijn2omschr=Kantoor\r\n"
                         "tapiconnect=1\r\ntapidevice=office modem\r\n");
        }

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VORBEL_DATA_DIR"), data);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VORBEL_TAPI_SIM"),
                   qEnvironmentVariable("VORBEL_SOURCE_DIR") +
                       QStringLiteral("/tests/app/window/scenarios/tapi_end_to_end.json"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(VORBEL_PROGRAM), QStringList{});
        QVERIFY(program.waitForStarted(10'000));

        // Every page served at least once, and the modem's timeline (2.8 s) over.
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(phone.requestCount() > 7 && clock.elapsed() > 4000, 30'000);
        QCOMPARE(program.state(), QProcess::Running);
        QCOMPARE(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
        QVERIFY(program.waitForFinished(15'000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        CallLogModel log;
        QString error;
        QVERIFY2(log.load(data + QStringLiteral("/log2.csv"), &error), qPrintable(error));
        QCOMPARE(Rows(log, true), (QStringList{
                                      "IN|0201000001|Eerste Beller",
                                      "IN|0201000002|",
                                      "IN||",
                                      "IN|31201000004|",
                                  }));
        QCOMPARE(Rows(log, false), (QStringList{
                                       "IN|0301000001|",
                                       "IN|0301000003|Derde Beller",
                                       "IN|0301000005|",
                                   }));
        // The phone's rows name their line.
        for (int r = 0; r < log.rowCount(); ++r)
            QVERIFY(QStringList({"Tapi", "Balie", "Kantoor"})
                        .contains(log.cell(r, CallLogModel::ColLine)));
    }
};

QTEST_MAIN(TestTapiEndToEnd)
#include "test_tapi_end_to_end.moc"
