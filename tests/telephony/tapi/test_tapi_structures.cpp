// Structure layouts and the contract of every function that fills a variable-size structure.

#include <cstddef>

#include "telephony/tapi/tapisim.h"
#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

class TestTapiStructures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void variablePart_data();
    void variablePart();
    void oversizedStructureIsRefused();

private:
    // Fills the structure of kind into buffer; answers the result and the fixed size.
    LONG fill(const QByteArray& kind, std::vector<std::byte>& buffer, std::size_t& fixed);

    HLINEAPP app_ = 0;
    HLINE line_ = 0;
    HCALL call_ = 0;
};

void TestTapiStructures::layout_data() {
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("expected");
    QTest::newRow("VARSTRING") << int(sizeof(VARSTRING)) << 24;
    QTest::newRow("LINEDEVCAPS") << int(sizeof(LINEDEVCAPS)) << 252;
    QTest::newRow("LINEADDRESSCAPS") << int(sizeof(LINEADDRESSCAPS)) << 228;
    QTest::newRow("LINEDEVSTATUS") << int(sizeof(LINEDEVSTATUS)) << 88;
    QTest::newRow("LINEADDRESSSTATUS") << int(sizeof(LINEADDRESSSTATUS)) << 64;
    QTest::newRow("LINECALLINFO") << int(sizeof(LINECALLINFO)) << 324;
    QTest::newRow("LINECALLSTATUS") << int(sizeof(LINECALLSTATUS)) << 56;
    QTest::newRow("LINECALLLIST") << int(sizeof(LINECALLLIST)) << 24;
    QTest::newRow("LINEINITIALIZEEXPARAMS") << int(sizeof(LINEINITIALIZEEXPARAMS)) << 28;
    QTest::newRow("LINEEXTENSIONID") << int(sizeof(LINEEXTENSIONID)) << 16;
    QTest::newRow("LINEFORWARD") << int(sizeof(LINEFORWARD)) << 24;
    QTest::newRow("LINEMONITORTONE") << int(sizeof(LINEMONITORTONE)) << 20;
    QTest::newRow("LINEGENERATETONE") << int(sizeof(LINEGENERATETONE)) << 16;
    QTest::newRow("LINETRANSLATEOUTPUT") << int(sizeof(LINETRANSLATEOUTPUT)) << 40;
    QTest::newRow("LINEDEVCAPS.dwLineNameOffset")
        << int(offsetof(LINEDEVCAPS, dwLineNameOffset)) << 36;
    QTest::newRow("LINEDEVCAPS.dwNumTerminals")
        << int(offsetof(LINEDEVCAPS, dwNumTerminals)) << 204;
    QTest::newRow("LINECALLINFO.dwCallerIDFlags")
        << int(offsetof(LINECALLINFO, dwCallerIDFlags)) << 108;
    QTest::newRow("LINECALLINFO.dwCallerIDNameOffset")
        << int(offsetof(LINECALLINFO, dwCallerIDNameOffset)) << 124;
    QTest::newRow("LINECALLINFO.dwOrigin") << int(offsetof(LINECALLINFO, dwOrigin)) << 80;
    QTest::newRow("LINEADDRESSCAPS.dwCallFeatures")
        << int(offsetof(LINEADDRESSCAPS, dwCallFeatures)) << 108;
    QTest::newRow("LINECALLSTATUS.tStateEntryTime")
        << int(offsetof(LINECALLSTATUS, tStateEntryTime)) << 40;
    QTest::newRow("LINEINITIALIZEEXPARAMS.dwCompletionKey")
        << int(offsetof(LINEINITIALIZEEXPARAMS, dwCompletionKey)) << 24;
}

void TestTapiStructures::layout() {
    QFETCH(int, actual);
    QFETCH(int, expected);
    QCOMPARE(actual, expected);
}

LONG TestTapiStructures::fill(const QByteArray& kind, std::vector<std::byte>& buffer,
                              std::size_t& fixed) {
    void* p = buffer.data();
    if (kind == "devcaps") {
        fixed = sizeof(LINEDEVCAPS);
        return lineGetDevCaps(app_, 0, TAPI_VERSION2_2, 0, static_cast<LINEDEVCAPS*>(p));
    }
    if (kind == "addresscaps") {
        fixed = sizeof(LINEADDRESSCAPS);
        return lineGetAddressCaps(app_, 0, 1, TAPI_VERSION2_2, 0, static_cast<LINEADDRESSCAPS*>(p));
    }
    if (kind == "devstatus") {
        fixed = sizeof(LINEDEVSTATUS);
        return lineGetLineDevStatus(line_, static_cast<LINEDEVSTATUS*>(p));
    }
    if (kind == "addressstatus") {
        fixed = sizeof(LINEADDRESSSTATUS);
        return lineGetAddressStatus(line_, 0, static_cast<LINEADDRESSSTATUS*>(p));
    }
    if (kind == "callinfo") {
        fixed = sizeof(LINECALLINFO);
        return lineGetCallInfo(call_, static_cast<LINECALLINFO*>(p));
    }
    if (kind == "callstatus") {
        fixed = sizeof(LINECALLSTATUS);
        return lineGetCallStatus(call_, static_cast<LINECALLSTATUS*>(p));
    }
    if (kind == "id") {
        fixed = sizeof(VARSTRING);
        return lineGetID(line_, 0, 0, LINECALLSELECT_LINE, static_cast<VARSTRING*>(p),
                         "tapi/phone");
    }
    if (kind == "translate") {
        fixed = sizeof(LINETRANSLATEOUTPUT);
        return lineTranslateAddress(app_, 0, TAPI_VERSION2_2, "+31 (20) 5551234", 0, 0,
                                    static_cast<LINETRANSLATEOUTPUT*>(p));
    }
    fixed = 0;
    return 1;
}

void TestTapiStructures::variablePart_data() {
    QTest::addColumn<QByteArray>("kind");
    for (const char* k : {"devcaps", "addresscaps", "devstatus", "addressstatus", "callinfo",
                          "callstatus", "id", "translate"})
        QTest::newRow(k) << QByteArray(k);
}

// Below the fixed part: STRUCTURETOOSMALL. At the fixed part: success with dwNeededSize telling
// the full size. With that size: everything, dwUsedSize equal to dwNeededSize.
void TestTapiStructures::variablePart() {
    QFETCH(QByteArray, kind);
    Session s(scenarioPath(QStringLiteral("basic.json")));
    QCOMPARE(s.result, 0);
    app_ = s.app;
    line_ = s.open(0);
    QVERIFY(line_ != 0);
    tapisim::CallSetup offer;
    offer.caller.number = QStringLiteral("0301234567");
    offer.caller.name = QStringLiteral("Jansen");
    const DWORD callId = tapisim::injectIncomingCall(0, offer);
    QVERIFY(callId != 0);
    QVERIFY(waitUntil([] { return !messages(LINE_APPNEWCALL).empty(); }));
    call_ = static_cast<HCALL>(messages(LINE_APPNEWCALL).front().p2);

    std::size_t fixed = 0;
    std::vector<std::byte> probe(8);
    fill(kind, probe, fixed); // learns the fixed size only
    QVERIFY(fixed > 0);

    std::vector<std::byte> small(fixed - 1, std::byte{0});
    reinterpret_cast<DWORD*>(small.data())[0] = static_cast<DWORD>(small.size());
    QCOMPARE(fill(kind, small, fixed), LINEERR_STRUCTURETOOSMALL);

    std::vector<std::byte> exact(fixed, std::byte{0});
    reinterpret_cast<DWORD*>(exact.data())[0] = static_cast<DWORD>(exact.size());
    QCOMPARE(fill(kind, exact, fixed), 0);
    const auto* head = reinterpret_cast<const DWORD*>(exact.data());
    QCOMPARE(head[0], DWORD(fixed));
    QCOMPARE(head[2], DWORD(fixed)); // nothing beyond the fixed part was written
    const DWORD needed = head[1];
    QVERIFY(needed >= fixed);

    std::vector<std::byte> full(needed + 7, std::byte{0xCD});
    reinterpret_cast<DWORD*>(full.data())[0] = static_cast<DWORD>(full.size());
    QCOMPARE(fill(kind, full, fixed), 0);
    const auto* fullHead = reinterpret_cast<const DWORD*>(full.data());
    QCOMPARE(fullHead[1], needed);
    QCOMPARE(fullHead[2], needed);
    // Nothing was written past the used part.
    for (std::size_t i = needed; i < full.size(); ++i)
        QCOMPARE(full[i], std::byte{0xCD});
    lineClose(line_);
}

// A provider whose data would make a structure above 1 MiB gets LINEERR_NOMEM, so a caller's
// growing buffer ends there.
void TestTapiStructures::oversizedStructureIsRefused() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("huge.json"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray hex = QByteArray(1100 * 1024, 'a').toHex(); // 1.1 MB of device bytes
    f.write("{\"devices\":[{\"name\":\"Huge\",\"devSpecific\":\"" + hex + "\"}]}");
    f.close();
    Session s(path);
    QCOMPARE(s.result, 0);
    Buffer<LINEDEVCAPS> caps;
    QCOMPARE(lineGetDevCaps(s.app, 0, TAPI_VERSION2_2, 0, caps.get()), LINEERR_NOMEM);
    Buffer<LINEDEVCAPS> big(2 * 1024 * 1024);
    QCOMPARE(lineGetDevCaps(s.app, 0, TAPI_VERSION2_2, 0, big.get()), LINEERR_NOMEM);
}

QTEST_GUILESS_MAIN(TestTapiStructures)
#include "test_tapi_structures.moc"
