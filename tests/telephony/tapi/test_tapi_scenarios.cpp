// Scenario files: good ones load, bad ones fail with an error naming the file and the place.

#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

class TestTapiScenarios : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { clearReceived(); }
    void badScenario_data();
    void badScenario();
    void unreadableFile_data();
    void unreadableFile();
    void errorIsClearedBySuccess();
    void exampleScenarioLoads();
};

void TestTapiScenarios::badScenario_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("what");

    QTest::newRow("not JSON") << QByteArray("{\"devices\": [") << QString()
                              << QStringLiteral("not valid JSON at offset");
    QTest::newRow("not an object")
        << QByteArray("[1, 2]") << QStringLiteral("(top)") << QStringLiteral("expected an object");
    QTest::newRow("unknown top key") << QByteArray(R"({"devcies": []})")
                                     << QStringLiteral("devcies") << QStringLiteral("unknown key");
    QTest::newRow("device not an object")
        << QByteArray(R"({"devices": ["modem"]})") << QStringLiteral("devices[0]")
        << QStringLiteral("expected an object, found a text");
    QTest::newRow("missing name") << QByteArray(R"({"devices": [{}]})")
                                  << QStringLiteral("devices[0].name") << QStringLiteral("missing");
    QTest::newRow("name of wrong type")
        << QByteArray(R"({"devices": [{"name": 5}]})") << QStringLiteral("devices[0].name")
        << QStringLiteral("expected a text, found a number");
    QTest::newRow("unknown media mode")
        << QByteArray(R"({"devices": [{"name": "a", "mediaModes": ["VOICE"]}]})")
        << QStringLiteral("devices[0].mediaModes[0]") << QStringLiteral("unknown name 'VOICE'");
    QTest::newRow("unknown operation")
        << QByteArray(R"({"devices": [{"name": "a", "unavailable": ["teleport"]}]})")
        << QStringLiteral("devices[0].unavailable[0]")
        << QStringLiteral("unknown operation 'teleport'");
    QTest::newRow("unknown event")
        << QByteArray(R"({"devices": [{"name": "a"}, {"name": "b", "timeline": [
               {"at": 1, "event": "newCall", "call": "x"},
               {"at": 2, "event": "explode"}]}]})")
        << QStringLiteral("devices[1].timeline[1].event")
        << QStringLiteral("unknown event 'explode'");
    QTest::newRow("unknown state") << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 1, "event": "newCall", "call": "x"},
               {"at": 2, "event": "callState", "call": "x", "state": "RINGING"},
               {"at": 3, "event": "callState", "call": "x", "state": "IDLE"}]}]})")
                                   << QStringLiteral("devices[0].timeline[1].state")
                                   << QStringLiteral("unknown name 'RINGING'");
    QTest::newRow("two states at once") << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 1, "event": "newCall", "call": "x", "state": ["IDLE", "OFFERING"]}]}]})")
                                        << QStringLiteral("devices[0].timeline[0].state")
                                        << QStringLiteral("expected one call state");
    QTest::newRow("unknown call") << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 2, "event": "callState", "call": "ghost", "state": "IDLE"}]}]})")
                                  << QStringLiteral("devices[0].timeline[0].call")
                                  << QStringLiteral("unknown call 'ghost'");
    QTest::newRow("negative time")
        << QByteArray(R"({"devices": [{"name": "a", "timeline": [{"at": -5, "event": "ring"}]}]})")
        << QStringLiteral("devices[0].timeline[0].at") << QStringLiteral("outside");
    QTest::newRow("fractional time")
        << QByteArray(R"({"devices": [{"name": "a", "timeline": [{"at": 1.5, "event": "ring"}]}]})")
        << QStringLiteral("devices[0].timeline[0].at") << QStringLiteral("whole number");
    QTest::newRow("media mode the device lacks")
        << QByteArray(R"({"devices": [{"name": "a", "mediaModes": "DATAMODEM", "timeline": [
               {"at": 1, "event": "newCall", "call": "x", "mediaMode": "INTERACTIVEVOICE"}]}]})")
        << QStringLiteral("devices[0].timeline[0].mediaMode")
        << QStringLiteral("does not carry this media mode");
    QTest::newRow("bad repeated event") << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 0, "repeat": 3, "every": 5, "events": [{"event": "ring", "count": "x"}]}]}]})")
                                        << QStringLiteral("devices[0].timeline[0].events[0].count")
                                        << QStringLiteral("expected a whole number");
    QTest::newRow("endless repeat")
        << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 0, "repeat": 10000000, "events": [{"event": "ring"}]}]}]})")
        << QStringLiteral("devices[0].timeline[0]") << QStringLiteral("beyond");
    QTest::newRow("odd device bytes")
        << QByteArray(R"({"devices": [{"name": "a", "devSpecific": "0a1"}]})")
        << QStringLiteral("devices[0].devSpecific") << QStringLiteral("hexadecimal");
    QTest::newRow("unknown party key")
        << QByteArray(R"({"devices": [{"name": "a", "timeline": [
               {"at": 1, "event": "newCall", "call": "x", "caller": {"nummer": "1"}}]}]})")
        << QStringLiteral("devices[0].timeline[0].caller.nummer") << QStringLiteral("unknown key");
}

void TestTapiScenarios::badScenario() {
    QFETCH(QByteArray, content);
    QFETCH(QString, place);
    QFETCH(QString, what);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.json"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^telephony: ")));
    Session s(path);
    QCOMPARE(s.result, LINEERR_INIFILECORRUPT);
    QCOMPARE(s.app, HLINEAPP(0));
    const QString error = QString::fromLatin1(tapiLastErrorText());
    QVERIFY2(error.startsWith(path + QStringLiteral(": ")), qPrintable(error));
    if (!place.isEmpty())
        QVERIFY2(error.contains(QStringLiteral(": ") + place + QStringLiteral(": ")),
                 qPrintable(error));
    QVERIFY2(error.contains(what), qPrintable(error));
}

void TestTapiScenarios::unreadableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << QStringLiteral("missing.json");
    QTest::newRow("folder") << QStringLiteral("folder");
}

void TestTapiScenarios::unreadableFile() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.filePath(name);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^telephony: ")));
    Session s(path);
    QVERIFY(s.result == LINEERR_NODRIVER || s.result == LINEERR_INIFILECORRUPT);
    const QString error = QString::fromLatin1(tapiLastErrorText());
    QVERIFY2(error.startsWith(path + QStringLiteral(": ")), qPrintable(error));
}

void TestTapiScenarios::errorIsClearedBySuccess() {
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^telephony: ")));
        Session bad(QStringLiteral("/nonexistent/scenario.json"));
        QCOMPARE(bad.result, LINEERR_NODRIVER);
        QVERIFY(QByteArray(tapiLastErrorText()).contains("cannot read the scenario"));
    }
    Session good(scenarioPath(QStringLiteral("basic.json")));
    QCOMPARE(good.result, 0);
    QCOMPARE(QByteArray(tapiLastErrorText()), QByteArray());
}

void TestTapiScenarios::exampleScenarioLoads() {
    const QString path =
        qEnvironmentVariable("VORBEL_SOURCE_DIR", QStringLiteral(VORBEL_TEST_SOURCE_DIR)) +
        QStringLiteral("/scenarios/example.json");
    Session s(path);
    QCOMPARE(s.result, 0);
    QCOMPARE(s.numDevs, DWORD(2));
    Buffer<LINEDEVCAPS> caps;
    QCOMPARE(lineGetDevCaps(s.app, 1, TAPI_VERSION2_2, 0, caps.get()), 0);
    QCOMPARE(caps.text(caps->dwLineNameSize, caps->dwLineNameOffset),
             std::string("Simulated Data Modem"));
    QCOMPARE(caps->dwMediaModes, LINEMEDIAMODE_DATAMODEM);
}

QTEST_GUILESS_MAIN(TestTapiScenarios)
#include "test_tapi_scenarios.moc"
