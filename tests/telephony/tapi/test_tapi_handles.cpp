// Unknown handles and bad arguments answer their LINEERR_ codes; address translation and the
// two dialogs with and without a presenter.

#include <functional>

#include "telephony/tapi/dialog_presenter.h"
#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

namespace {

using Probe = std::function<LONG(HLINEAPP app)>;

template <class T> T sized() {
    T t{};
    t.dwTotalSize = sizeof(T);
    return t;
}

constexpr HLINEAPP BadApp = 0x7777;
constexpr HLINE BadLine = 0x7778;
constexpr HCALL BadCall = 0x7779;

class FakePresenter : public tapi::DialogPresenter {
public:
    LONG configResult = 0;
    int configCalls = 0;
    QString lastAddress;
    tapi::DeviceDescription lastDevice;
    tapi::DialingLocation edited;

    LONG configureDevice(HWND, const tapi::DeviceDescription& device) override {
        ++configCalls;
        lastDevice = device;
        return configResult;
    }
    LONG editLocation(HWND, const tapi::DeviceDescription& device, const QString& address,
                      tapi::DialingLocation& location) override {
        lastDevice = device;
        lastAddress = address;
        location = edited;
        return 0;
    }
};

std::string translated(HLINEAPP app, const char* number, DWORD options, DWORD* results = nullptr) {
    Buffer<LINETRANSLATEOUTPUT> out;
    if (lineTranslateAddress(app, 0, TAPI_VERSION2_2, number, 0, options, out.get()) != 0)
        return "error";
    if (results)
        *results = out->dwTranslateResults;
    return out.text(out->dwDialableStringSize, out->dwDialableStringOffset);
}

} // namespace

Q_DECLARE_METATYPE(Probe)

class TestTapiHandles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        clearReceived();
        tapi::setDialogPresenter(nullptr);
        tapi::setCurrentLocation({});
    }
    void unknownHandle_data();
    void unknownHandle();
    void translateAddress_data();
    void translateAddress();
    void dialogsNeedAPresenter();
    void locationDialogChangesTranslation();
};

void TestTapiHandles::unknownHandle_data() {
    QTest::addColumn<Probe>("probe");
    QTest::addColumn<LONG>("expected");
    static LINEDEVCAPS caps = sized<LINEDEVCAPS>();
    static LINEADDRESSCAPS acaps = sized<LINEADDRESSCAPS>();
    static LINEDEVSTATUS dstatus = sized<LINEDEVSTATUS>();
    static LINEADDRESSSTATUS astatus = sized<LINEADDRESSSTATUS>();
    static LINECALLINFO info = sized<LINECALLINFO>();
    static LINECALLSTATUS cstatus = sized<LINECALLSTATUS>();
    static LINECALLLIST list = sized<LINECALLLIST>();
    static VARSTRING var = sized<VARSTRING>();
    static HCALL out = 0;
    static DWORD dw = 0;
    static char digits[4];
    const auto row = [](const char* name, Probe p, LONG e) { QTest::newRow(name) << p << e; };

    row(
        "lineShutdown", [](HLINEAPP) { return lineShutdown(BadApp); }, LINEERR_INVALAPPHANDLE);
    row(
        "lineNegotiateAPIVersion",
        [](HLINEAPP) { return lineNegotiateAPIVersion(BadApp, 0, 0x10004, 0x20002, &dw, nullptr); },
        LINEERR_INVALAPPHANDLE);
    row(
        "lineGetDevCaps", [](HLINEAPP) { return lineGetDevCaps(BadApp, 0, 0x20002, 0, &caps); },
        LINEERR_INVALAPPHANDLE);
    row(
        "lineOpen",
        [](HLINEAPP) {
            HLINE l = 0;
            return lineOpen(BadApp, 0, &l, 0x20002, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, nullptr);
        },
        LINEERR_INVALAPPHANDLE);
    row(
        "lineGetDevCaps bad device",
        [](HLINEAPP app) { return lineGetDevCaps(app, 99, 0x20002, 0, &caps); },
        LINEERR_BADDEVICEID);
    row(
        "lineGetAddressCaps bad address",
        [](HLINEAPP app) { return lineGetAddressCaps(app, 0, 9, 0x20002, 0, &acaps); },
        LINEERR_INVALADDRESSID);
    row(
        "lineGetDevCaps bad version",
        [](HLINEAPP app) { return lineGetDevCaps(app, 0, 0x50000, 0, &caps); },
        LINEERR_INCOMPATIBLEAPIVERSION);
    row(
        "lineOpen no privilege",
        [](HLINEAPP app) {
            HLINE l = 0;
            return lineOpen(app, 0, &l, 0x20002, 0, 0, 0, 0, nullptr);
        },
        LINEERR_INVALPRIVSELECT);
    row(
        "lineOpen null handle place",
        [](HLINEAPP app) {
            return lineOpen(app, 0, nullptr, 0x20002, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, nullptr);
        },
        LINEERR_INVALPOINTER);
    row(
        "lineClose", [](HLINEAPP) { return lineClose(BadLine); }, LINEERR_INVALLINEHANDLE);
    row(
        "lineClose zero", [](HLINEAPP) { return lineClose(0); }, LINEERR_INVALLINEHANDLE);
    row(
        "lineGetLineDevStatus", [](HLINEAPP) { return lineGetLineDevStatus(BadLine, &dstatus); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineGetAddressStatus", [](HLINEAPP) { return lineGetAddressStatus(BadLine, 0, &astatus); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineSetStatusMessages", [](HLINEAPP) { return lineSetStatusMessages(BadLine, 0, 0); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineGetNewCalls",
        [](HLINEAPP) { return lineGetNewCalls(BadLine, 0, LINECALLSELECT_LINE, &list); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineGetID line",
        [](HLINEAPP) { return lineGetID(BadLine, 0, 0, LINECALLSELECT_LINE, &var, "tapi/line"); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineGetID call",
        [](HLINEAPP) { return lineGetID(0, 0, BadCall, LINECALLSELECT_CALL, &var, "tapi/line"); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGetID select",
        [](HLINEAPP) { return lineGetID(BadLine, 0, 0, 0x40, &var, "tapi/line"); },
        LINEERR_INVALCALLSELECT);
    row(
        "lineMakeCall", [](HLINEAPP) { return lineMakeCall(BadLine, &out, "1", 0, nullptr); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineMakeCall null place",
        [](HLINEAPP) { return lineMakeCall(BadLine, nullptr, "1", 0, nullptr); },
        LINEERR_INVALPOINTER);
    row(
        "lineUnpark", [](HLINEAPP) { return lineUnpark(BadLine, 0, &out, "1"); },
        LINEERR_INVALLINEHANDLE);
    row(
        "linePickup", [](HLINEAPP) { return linePickup(BadLine, 0, &out, "1", nullptr); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineForward",
        [](HLINEAPP) { return lineForward(BadLine, 1, 0, nullptr, 0, &out, nullptr); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineSetTerminal line",
        [](HLINEAPP) { return lineSetTerminal(BadLine, 0, 0, LINECALLSELECT_LINE, 1, 0, 1); },
        LINEERR_INVALLINEHANDLE);
    row(
        "lineSetTerminal call",
        [](HLINEAPP) { return lineSetTerminal(0, 0, BadCall, LINECALLSELECT_CALL, 1, 0, 1); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGetCallInfo", [](HLINEAPP) { return lineGetCallInfo(BadCall, &info); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGetCallStatus", [](HLINEAPP) { return lineGetCallStatus(BadCall, &cstatus); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineDeallocateCall", [](HLINEAPP) { return lineDeallocateCall(BadCall); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineDeallocateCall zero", [](HLINEAPP) { return lineDeallocateCall(0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineSetCallPrivilege",
        [](HLINEAPP) { return lineSetCallPrivilege(BadCall, LINECALLPRIVILEGE_OWNER); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineSetMediaMode",
        [](HLINEAPP) { return lineSetMediaMode(BadCall, LINEMEDIAMODE_INTERACTIVEVOICE); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineHandoff", [](HLINEAPP) { return lineHandoff(BadCall, "x", 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineDial", [](HLINEAPP) { return lineDial(BadCall, "1", 0); }, LINEERR_INVALCALLHANDLE);
    row(
        "lineAnswer", [](HLINEAPP) { return lineAnswer(BadCall, nullptr, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineDrop", [](HLINEAPP) { return lineDrop(BadCall, nullptr, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineHold", [](HLINEAPP) { return lineHold(BadCall); }, LINEERR_INVALCALLHANDLE);
    row(
        "lineUnhold", [](HLINEAPP) { return lineUnhold(BadCall); }, LINEERR_INVALCALLHANDLE);
    row(
        "lineRedirect", [](HLINEAPP) { return lineRedirect(BadCall, "1", 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineBlindTransfer", [](HLINEAPP) { return lineBlindTransfer(BadCall, "1", 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "linePark", [](HLINEAPP) { return linePark(BadCall, LINEPARKMODE_DIRECTED, "1", nullptr); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineSetupTransfer", [](HLINEAPP) { return lineSetupTransfer(BadCall, &out, nullptr); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineCompleteTransfer",
        [](HLINEAPP) {
            return lineCompleteTransfer(BadCall, BadCall, nullptr, LINETRANSFERMODE_TRANSFER);
        },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineSwapHold", [](HLINEAPP) { return lineSwapHold(BadCall, BadCall); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineSetupConference",
        [](HLINEAPP) { return lineSetupConference(BadCall, 0, &out, &out, 3, nullptr); },
        LINEERR_INVALCALLHANDLE);
    row(
        "linePrepareAddToConference",
        [](HLINEAPP) { return linePrepareAddToConference(BadCall, &out, nullptr); },
        LINEERR_INVALCONFCALLHANDLE);
    row(
        "lineAddToConference", [](HLINEAPP) { return lineAddToConference(BadCall, BadCall); },
        LINEERR_INVALCONFCALLHANDLE);
    row(
        "lineRemoveFromConference", [](HLINEAPP) { return lineRemoveFromConference(BadCall); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGatherDigits",
        [](HLINEAPP) { return lineGatherDigits(BadCall, LINEDIGITMODE_DTMF, digits, 4, "", 0, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineMonitorDigits", [](HLINEAPP) { return lineMonitorDigits(BadCall, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineMonitorMedia", [](HLINEAPP) { return lineMonitorMedia(BadCall, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineMonitorTones", [](HLINEAPP) { return lineMonitorTones(BadCall, nullptr, 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGenerateDigits",
        [](HLINEAPP) { return lineGenerateDigits(BadCall, LINEDIGITMODE_DTMF, "1", 0); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineGenerateTone",
        [](HLINEAPP) { return lineGenerateTone(BadCall, LINETONEMODE_BEEP, 0, 0, nullptr); },
        LINEERR_INVALCALLHANDLE);
    row(
        "lineTranslateAddress",
        [](HLINEAPP) {
            auto o = sized<LINETRANSLATEOUTPUT>();
            return lineTranslateAddress(BadApp, 0, 0x20002, "1", 0, 0, &o);
        },
        LINEERR_INVALAPPHANDLE);
    row(
        "lineTranslateDialog",
        [](HLINEAPP) { return lineTranslateDialog(BadApp, 0, 0x20002, nullptr, "1"); },
        LINEERR_INVALAPPHANDLE);
    row(
        "lineConfigDialog bad device",
        [](HLINEAPP) { return lineConfigDialog(99, nullptr, nullptr); }, LINEERR_BADDEVICEID);
}

void TestTapiHandles::unknownHandle() {
    QFETCH(Probe, probe);
    QFETCH(LONG, expected);
    Session s(scenarioPath(QStringLiteral("basic.json")));
    QCOMPARE(s.result, 0);
    s.open(0); // a live line and call, so that only the bad handle is wrong
    QCOMPARE(probe(s.app), expected);
}

void TestTapiHandles::translateAddress_data() {
    QTest::addColumn<QByteArray>("number");
    QTest::addColumn<DWORD>("options");
    QTest::addColumn<QByteArray>("dialable");
    QTest::addColumn<DWORD>("results");
    const DWORD canon = LINETRANSLATERESULT_CANONICAL;
    QTest::newRow("local") << QByteArray("+31 (20) 555 1234") << DWORD(0) << QByteArray("5551234")
                           << (canon | LINETRANSLATERESULT_LOCAL);
    QTest::newRow("long distance")
        << QByteArray("+31 (10) 5551234") << DWORD(0) << QByteArray("0105551234")
        << (canon | LINETRANSLATERESULT_LONGDISTANCE);
    QTest::newRow("international")
        << QByteArray("+44 (20) 7946-0000") << DWORD(0) << QByteArray("00442079460000")
        << (canon | LINETRANSLATERESULT_INTERNATIONAL);
    QTest::newRow("forced long distance")
        << QByteArray("+31 (20) 5551234") << DWORD(LINETRANSLATEOPTION_FORCELD)
        << QByteArray("0205551234") << (canon | LINETRANSLATERESULT_LONGDISTANCE);
    QTest::newRow("not canonical")
        << QByteArray("0612345678") << DWORD(0) << QByteArray("0612345678")
        << DWORD(LINETRANSLATERESULT_NOTRANSLATION);
    QTest::newRow("malformed") << QByteArray("+31 (20 5551234") << DWORD(0) << QByteArray("error")
                               << DWORD(0);
    QTest::newRow("conflicting options")
        << QByteArray("+31 (20) 5551234")
        << DWORD(LINETRANSLATEOPTION_FORCELD | LINETRANSLATEOPTION_FORCELOCAL)
        << QByteArray("error") << DWORD(0);
}

void TestTapiHandles::translateAddress() {
    QFETCH(QByteArray, number);
    QFETCH(DWORD, options);
    QFETCH(QByteArray, dialable);
    QFETCH(DWORD, results);
    Session s(scenarioPath(QStringLiteral("basic.json")));
    DWORD got = 0;
    QCOMPARE(QByteArray::fromStdString(translated(s.app, number.constData(), options, &got)),
             dialable);
    if (dialable != "error")
        QCOMPARE(got, results);
}

void TestTapiHandles::dialogsNeedAPresenter() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    QCOMPARE(lineConfigDialog(0, nullptr, nullptr), LINEERR_OPERATIONFAILED);
    QCOMPARE(lineTranslateDialog(s.app, 0, TAPI_VERSION2_2, nullptr, "1"), LINEERR_OPERATIONFAILED);
    FakePresenter presenter;
    presenter.configResult = LINEERR_OPERATIONFAILED; // a failing dialog is passed on
    tapi::setDialogPresenter(&presenter);
    QCOMPARE(lineConfigDialog(1, nullptr, "comm/datamodem"), LINEERR_OPERATIONFAILED);
    presenter.configResult = 0;
    QCOMPARE(lineConfigDialog(1, nullptr, "comm/datamodem"), 0);
    QCOMPARE(presenter.configCalls, 2);
    QCOMPARE(presenter.lastDevice.name, QStringLiteral("Data Modem"));
    QCOMPARE(presenter.lastDevice.deviceClass, QStringLiteral("comm/datamodem"));
}

void TestTapiHandles::locationDialogChangesTranslation() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    FakePresenter presenter;
    presenter.edited.countryCode = 44;
    presenter.edited.areaCode = QStringLiteral("20");
    presenter.edited.outsideLinePrefix = QStringLiteral("9");
    presenter.edited.longDistancePrefix = QStringLiteral("0");
    presenter.edited.internationalPrefix = QStringLiteral("00");
    tapi::setDialogPresenter(&presenter);
    QCOMPARE(lineTranslateDialog(s.app, 0, TAPI_VERSION2_2, nullptr, "+31 (20) 5551234"), 0);
    QCOMPARE(presenter.lastAddress, QStringLiteral("+31 (20) 5551234"));
    QCOMPARE(tapi::currentLocation(), presenter.edited);
    QCOMPARE(translated(s.app, "+31 (20) 5551234", 0), std::string("90031205551234"));
    QCOMPARE(translated(s.app, "+44 (20) 79460000", 0), std::string("979460000"));
}

QTEST_GUILESS_MAIN(TestTapiHandles)
#include "test_tapi_handles.moc"
