// How messages reach the line callback: through the event loop of the thread that started the
// session, with the line's callback instance, filtered and dropped the way the platform does.

#include "telephony/tapi/tapisim.h"
#include "tests/telephony/tapi/tapi_test_support.h"

using namespace tapitest;

namespace {

tapisim::CallSetup callFrom(const char* number) {
    tapisim::CallSetup offer;
    offer.caller.number = QString::fromLatin1(number);
    return offer;
}

// A thread that runs a whole session on its own event loop.
class SessionThread : public QThread {
public:
    QString scenario;
    std::atomic<LONG> openResult{1};

protected:
    void run() override {
        HLINEAPP app = 0;
        DWORD devs = 0;
        if (lineInitialize(&app, nullptr, &record, "thread", &devs) != 0)
            return;
        HLINE line = 0;
        openResult = lineOpen(app, 0, &line, TAPI_VERSION2_2, 0, 77,
                              LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR,
                              LINEMEDIAMODE_INTERACTIVEVOICE, nullptr);
        tapisim::injectIncomingCall(0, callFrom("555"));
        exec();
        lineClose(line);
        lineShutdown(app);
    }
};

} // namespace

class TestTapiDelivery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { clearReceived(); }
    void callbackRunsOnTheInitialisingThread();
    void nothingArrivesWhileEventsAreNotProcessed();
    void replyFollowsRequestAndHandleIsWrittenFirst();
    void eachLineGetsItsOwnInstance();
    void nestedEventLoopReceivesTheNextMessages();
    void statusMessagesAreFiltered();
    void closedLineLosesItsPendingMessages();
    void shutdownDropsPendingMessages();
    void initializeExIsLookedUpByName();
    void scenarioCanLeaveInitializeExOut();
    void noScenarioMeansNoDevices();
};

void TestTapiDelivery::callbackRunsOnTheInitialisingThread() {
    clearReceived();
    useScenario(scenarioPath(QStringLiteral("basic.json")));
    SessionThread worker;
    worker.start();
    QVERIFY(waitUntil([] { return messages(LINE_CALLSTATE).size() == 1; }));
    worker.quit();
    QVERIFY(worker.wait(5000));
    QCOMPARE(worker.openResult.load(), 0);
    const auto all = snapshot();
    QVERIFY(all.size() >= 2);
    for (const Received& r : all) {
        QCOMPARE(r.thread, static_cast<QThread*>(&worker));
        QCOMPARE(r.instance, DWORD_PTR(77));
    }
}

void TestTapiDelivery::nothingArrivesWhileEventsAreNotProcessed() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    QVERIFY(line != 0);
    QVERIFY(tapisim::injectIncomingCall(0, callFrom("555")) != 0);
    QThread::msleep(50);
    QVERIFY(snapshot().empty());
    QVERIFY(waitUntil([] { return messages(LINE_CALLSTATE).size() == 1; }));
    const auto all = snapshot();
    QCOMPARE(all.size(), std::size_t(2));
    QCOMPARE(all[0].message, LINE_APPNEWCALL);
    QCOMPARE(all[0].thread, QThread::currentThread());
}

void TestTapiDelivery::replyFollowsRequestAndHandleIsWrittenFirst() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    HCALL first = 0;
    HCALL second = 0;
    HCALL firstAtReply = 0;
    LONG firstId = 0;
    onMessage() = [&](const Received& r) {
        if (r.message == LINE_REPLY && static_cast<LONG>(r.p1) == firstId)
            firstAtReply = first;
    };
    firstId = lineMakeCall(line, &first, "200", 0, nullptr);
    const LONG secondId = lineMakeCall(line, &second, "", 0, nullptr);
    QVERIFY(firstId > 0);
    QVERIFY(secondId > 0);
    QVERIFY(firstId != secondId);
    QCOMPARE(first, HCALL(0)); // not before the reply
    QCOMPARE(waitForReply(firstId), 0);
    QCOMPARE(waitForReply(secondId), 0);
    QVERIFY(first != 0);
    QVERIFY(second != 0 && second != first);
    QCOMPARE(firstAtReply, first);
    for (const Received& r : messages(LINE_REPLY)) {
        QCOMPARE(r.device, DWORD(0));
        QCOMPARE(r.instance, DWORD_PTR(0x1234)); // the instance of the requesting line
    }
    QVERIFY(waitUntil([&] { return statesOf(first).size() == 5; }));
    for (const Received& r : messages(LINE_CALLSTATE))
        QCOMPARE(r.instance, DWORD_PTR(0x1234));
}

void TestTapiDelivery::eachLineGetsItsOwnInstance() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE owner = s.open(0, LINEMEDIAMODE_INTERACTIVEVOICE, 11, LINECALLPRIVILEGE_OWNER);
    const HLINE monitor = s.open(0, 0, 22, LINECALLPRIVILEGE_MONITOR);
    QVERIFY(owner && monitor);
    QVERIFY(tapisim::injectIncomingCall(0, callFrom("555")) != 0);
    QVERIFY(waitUntil([] { return messages(LINE_CALLSTATE).size() == 2; }));
    const auto calls = messages(LINE_APPNEWCALL);
    QCOMPARE(calls.size(), std::size_t(2));
    QCOMPARE(calls[0].device, owner);
    QCOMPARE(calls[0].instance, DWORD_PTR(11));
    QCOMPARE(calls[0].p3, DWORD_PTR(LINECALLPRIVILEGE_OWNER));
    QCOMPARE(calls[1].device, monitor);
    QCOMPARE(calls[1].instance, DWORD_PTR(22));
    QCOMPARE(calls[1].p3, DWORD_PTR(LINECALLPRIVILEGE_MONITOR));
    QVERIFY(calls[0].p2 != calls[1].p2); // one handle per line
}

// A callback that runs the event loop (as the line component does while it waits) receives
// the following messages inside it, still in order and one at a time.
void TestTapiDelivery::nestedEventLoopReceivesTheNextMessages() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    s.open(0);
    int depth = 0;
    std::vector<std::pair<DWORD, int>> seen;
    onMessage() = [&](const Received& r) {
        seen.emplace_back(r.message, depth);
        if (r.message == LINE_APPNEWCALL) {
            ++depth;
            waitUntil([] { return messages(LINE_CALLSTATE).size() == 2; }, 1000);
            --depth;
        }
    };
    const DWORD id = tapisim::injectIncomingCall(0, callFrom("555"));
    QVERIFY(tapisim::injectCallState(0, id, LINECALLSTATE_IDLE));
    QVERIFY(waitUntil([] { return messages(LINE_CALLSTATE).size() == 2; }));
    spin(10);
    const std::vector<std::pair<DWORD, int>> expected{
        {LINE_APPNEWCALL, 0}, {LINE_CALLSTATE, 1}, {LINE_CALLSTATE, 1}};
    QCOMPARE(seen, expected);
}

void TestTapiDelivery::statusMessagesAreFiltered() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    QVERIFY(tapisim::injectRing(0, 1));
    spin(30);
    QVERIFY(messages(LINE_LINEDEVSTATE).empty()); // nothing enabled yet
    QCOMPARE(lineSetStatusMessages(line, LINEDEVSTATE_RINGING, LINEADDRESSSTATE_FORWARD), 0);
    QVERIFY(tapisim::injectRing(0, 2));
    QVERIFY(tapisim::injectLineDevState(0, LINEDEVSTATE_MSGWAITON));
    QVERIFY(tapisim::injectAddressState(0, 0, LINEADDRESSSTATE_TERMINALS));
    QVERIFY(tapisim::injectAddressState(0, 1, LINEADDRESSSTATE_FORWARD));
    QVERIFY(waitUntil([] { return !messages(LINE_ADDRESSSTATE).empty(); }));
    spin(20);
    const auto dev = messages(LINE_LINEDEVSTATE);
    QCOMPARE(dev.size(), std::size_t(1));
    QCOMPARE(dev[0].p1, DWORD_PTR(LINEDEVSTATE_RINGING));
    QCOMPARE(dev[0].p3, DWORD_PTR(2));
    const auto addr = messages(LINE_ADDRESSSTATE);
    QCOMPARE(addr.size(), std::size_t(1));
    QCOMPARE(addr[0].p1, DWORD_PTR(1));
    QCOMPARE(addr[0].p2, DWORD_PTR(LINEADDRESSSTATE_FORWARD));
    // States the device cannot report are refused, the filter stays as it was.
    QCOMPARE(lineSetStatusMessages(line, LINEDEVSTATE_BATTERY, 0), LINEERR_INVALLINESTATE);
    QCOMPARE(lineSetStatusMessages(line, 0, LINEADDRESSSTATE_CAPSCHANGE),
             LINEERR_INVALADDRESSSTATE);
    QVERIFY(tapisim::injectRing(0, 3));
    QVERIFY(waitUntil([] { return messages(LINE_LINEDEVSTATE).size() == 2; }));
    // REINIT cannot be filtered.
    QCOMPARE(lineSetStatusMessages(line, 0, 0), 0);
    QVERIFY(tapisim::injectLineDevState(0, LINEDEVSTATE_REINIT));
    QVERIFY(waitUntil([] { return messages(LINE_LINEDEVSTATE).size() == 3; }));
}

void TestTapiDelivery::closedLineLosesItsPendingMessages() {
    Session s(scenarioPath(QStringLiteral("basic.json")));
    const HLINE line = s.open(0);
    HCALL call = 0;
    const LONG id = lineMakeCall(line, &call, "200", 0, nullptr);
    QVERIFY(id > 0);
    QVERIFY(tapisim::injectIncomingCall(0, callFrom("555")) != 0);
    QCOMPARE(lineClose(line), 0);
    QCOMPARE(waitForReply(id), LINEERR_INVALLINEHANDLE);
    spin(30);
    QCOMPARE(call, HCALL(0));
    QVERIFY(messages(LINE_APPNEWCALL).empty());
    QVERIFY(messages(LINE_CALLSTATE).empty());
    QCOMPARE(lineClose(line), LINEERR_INVALLINEHANDLE);
}

void TestTapiDelivery::shutdownDropsPendingMessages() {
    clearReceived();
    useScenario(scenarioPath(QStringLiteral("basic.json")));
    HLINEAPP app = 0;
    DWORD devs = 0;
    QCOMPARE(lineInitialize(&app, nullptr, &record, "x", &devs), 0);
    HLINE line = 0;
    QCOMPARE(lineOpen(app, 0, &line, TAPI_VERSION2_2, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, nullptr),
             0);
    QVERIFY(tapisim::injectIncomingCall(0, callFrom("555")) != 0);
    QCOMPARE(lineShutdown(app), 0);
    spin(30);
    QVERIFY(snapshot().empty());
    QCOMPARE(lineShutdown(app), LINEERR_INVALAPPHANDLE);
}

void TestTapiDelivery::initializeExIsLookedUpByName() {
    clearReceived();
    useScenario(scenarioPath(QStringLiteral("basic.json")));
    QVERIFY(LoadLibraryA("NOTTAPI.DLL") == nullptr);
    HMODULE module = LoadLibraryA("tapi32.dll");
    QVERIFY(module != nullptr);
    QVERIFY(GetProcAddress(module, "lineNoSuchFunction") == nullptr);
    QVERIFY(GetProcAddress(module, "lineInitialize") == reinterpret_cast<FARPROC>(&lineInitialize));
    auto initializeEx =
        reinterpret_cast<PFN_lineInitializeExA>(GetProcAddress(module, "lineInitializeExA"));
    QVERIFY(initializeEx != nullptr);

    HLINEAPP app = 0;
    DWORD devs = 0;
    DWORD version = TAPI_VERSION2_2;
    LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = 20;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
    QCOMPARE(initializeEx(&app, nullptr, &record, nullptr, &devs, &version, &params),
             LINEERR_STRUCTURETOOSMALL);
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    QCOMPARE(initializeEx(&app, nullptr, &record, nullptr, &devs, &version, &params),
             LINEERR_INVALPARAM);
    params.dwOptions = LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
    QCOMPARE(initializeEx(&app, nullptr, &record, nullptr, &devs, &version, &params), 0);
    QCOMPARE(devs, DWORD(4));
    QCOMPARE(version, TAPI_VERSION2_2);
    QCOMPARE(params.dwUsedSize, DWORD(sizeof params));
    QCOMPARE(lineShutdown(app), 0);
    QCOMPARE(FreeLibrary(module), 1);
    QCOMPARE(FreeLibrary(module), 0);
    QVERIFY(GetProcAddress(module, "lineInitialize") == nullptr); // unloaded
}

void TestTapiDelivery::scenarioCanLeaveInitializeExOut() {
    clearReceived();
    useScenario(scenarioPath(QStringLiteral("no_initialize_ex.json")));
    HMODULE module = LoadLibraryA("TAPI32.DLL");
    QVERIFY(module != nullptr);
    QVERIFY(GetProcAddress(module, "lineInitializeExA") == nullptr);
    auto initialize =
        reinterpret_cast<decltype(&lineInitialize)>(GetProcAddress(module, "lineInitialize"));
    QVERIFY(initialize != nullptr);
    HLINEAPP app = 0;
    DWORD devs = 0;
    QCOMPARE(initialize(&app, nullptr, &record, "old", &devs), 0);
    QCOMPARE(devs, DWORD(1));
    QCOMPARE(lineShutdown(app), 0);
    FreeLibrary(module);
}

void TestTapiDelivery::noScenarioMeansNoDevices() {
    Session s{QString()};
    QCOMPARE(s.result, 0);
    QCOMPARE(s.numDevs, DWORD(0));
    HLINE line = 0;
    QCOMPARE(
        lineOpen(s.app, 0, &line, TAPI_VERSION2_2, 0, 0, LINECALLPRIVILEGE_MONITOR, 0, nullptr),
        LINEERR_BADDEVICEID);
    QCOMPARE(QByteArray(tapiLastErrorText()), QByteArray());
}

QTEST_GUILESS_MAIN(TestTapiDelivery)
#include "test_tapi_delivery.moc"
