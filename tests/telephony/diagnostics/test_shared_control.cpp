#include <QObject>
#include <QTest>

#include <memory>

#include "telephony/diagnostics/shared_control.h"

class TestSharedControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshComponent();
    void kindNames_data();
    void kindNames();
    void eventSwitchDecidesWhetherHandlersRun();
    void handlersThatIgnoreTheSwitch();
    void destructionReachesNoHandler();
    void handlerMayReplaceItsOwnEventWhileRunning();
};

void TestSharedControl::freshComponent() {
    QObject owner;
    TetSharedControl control(&owner);
    QCOMPARE(control.Owner(), &owner);
    QCOMPARE(control.ComponentKind(), 0);
    QCOMPARE(control.Error()->Number(), 0);
    QVERIFY(control.Error()->Text().isEmpty());
    QVERIFY(control.Vigil()->Events());
    QCOMPARE(control.Log(), control.Vigil()->Log());
    QVERIFY(control.Log()->Lines().isEmpty());
    QVERIFY(!control.OnError);
    QVERIFY(!control.OnLog);

    control.SetComponentKind(TetSharedControl::KindLine);
    QCOMPARE(control.ComponentKind(), 1);
    QCOMPARE(control.KindName(), QStringLiteral("etLine"));
    QCOMPARE(control.Log()->Lines(), QStringList({"Telvane v3.7.1.2", "Create etLine"}));

    // The component's own writers go through the log.
    control.LogStamped(QStringLiteral("Device~Active := True"));
    control.LogDetail(QStringLiteral("\tResult = 0"));
    QCOMPARE(control.Log()->Lines().mid(2), QStringList({"Device.Active := True", "\tResult = 0"}));
}

void TestSharedControl::kindNames_data() {
    QTest::addColumn<int32_t>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("line") << TetSharedControl::KindLine << "etLine";
    QTest::newRow("phone") << TetSharedControl::KindPhone << "etPhone";
    QTest::newRow("play") << TetSharedControl::KindPlay << "etWavePlay";
    QTest::newRow("record") << TetSharedControl::KindRecord << "etWaveRecord";
    QTest::newRow("none") << 0 << "";
}

void TestSharedControl::kindNames() {
    QFETCH(int32_t, kind);
    QFETCH(QString, name);
    QCOMPARE(TetSharedControl::KindName(kind), name);
}

void TestSharedControl::eventSwitchDecidesWhetherHandlersRun() {
    TetSharedControl control;
    std::function<void(TetSharedControl*, int32_t, const QString&)> handler;
    QVERIFY(!control.FireEvent(handler, 1, QStringLiteral("x"))); // none assigned

    QList<int32_t> handles;
    handler = [&](TetSharedControl* sender, int32_t handle, const QString& text) {
        QCOMPARE(sender, &control);
        QCOMPARE(text, QStringLiteral("x"));
        handles << handle;
    };
    QVERIFY(control.FireEvent(handler, 7, QStringLiteral("x")));
    control.Vigil()->setEvents(false);
    QVERIFY(!control.EventSwitchOn());
    QVERIFY(!control.FireEvent(handler, 8, QStringLiteral("x")));
    control.Vigil()->setEvents(true);
    QVERIFY(control.FireEvent(handler, 9, QStringLiteral("x")));
    QCOMPARE(handles, QList<int32_t>({7, 9}));
}

void TestSharedControl::handlersThatIgnoreTheSwitch() {
    TetSharedControl control;
    int calls = 0;
    std::function<void(TetSharedControl*)> handler;
    QVERIFY(!control.FireEventAlways(handler));
    handler = [&](TetSharedControl*) { ++calls; };
    control.Vigil()->setEvents(false);
    QVERIFY(control.FireEventAlways(handler));
    QCOMPARE(calls, 1);
}

void TestSharedControl::destructionReachesNoHandler() {
    int logged = 0;
    int errors = 0;
    {
        auto control = std::make_unique<TetSharedControl>();
        control->SetComponentKind(TetSharedControl::KindLine);
        control->OnLog = [&](TetSharedControl*, const QString&) { ++logged; };
        control->OnError = [&](TetSharedControl*) { ++errors; };
        control->ReportError(-3);
        QCOMPARE(logged, 1);
        QCOMPARE(errors, 1);
    }
    QCOMPARE(logged, 1);
    QCOMPARE(errors, 1);
}

QTEST_GUILESS_MAIN(TestSharedControl)
void TestSharedControl::handlerMayReplaceItsOwnEventWhileRunning() {
    TetSharedControl control;
    QString seen;
    TET_NotifyEvent event;
    // The handler owns the only reference to its text: clearing the event while the handler
    // runs must not free the handler under its own feet (ASan shows it when it does).
    auto text = std::make_shared<QString>(QStringLiteral("still here"));
    event = [&event, &seen, text](TetSharedControl*) {
        event = nullptr;
        seen = *text;
    };
    text.reset();
    QVERIFY(control.FireEvent(event));
    QCOMPARE(seen, QStringLiteral("still here"));
    QVERIFY(!event);
}

#include "test_shared_control.moc"
