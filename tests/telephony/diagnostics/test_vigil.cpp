#include <QTest>

#include "telephony/diagnostics/popup.h"
#include "telephony/diagnostics/shared_control.h"
#include "telephony/diagnostics/tapi_names.h"

namespace {

struct Component {
    TetSharedControl control;
    QStringList delivered;

    Component() {
        control.SetComponentKind(TetSharedControl::KindLine);
        control.OnLog = [this](TetSharedControl*, const QString& line) { delivered << line; };
    }
    TetVigil* vigil() { return control.Vigil(); }
    TetLog* log() { return control.Vigil()->Log(); }
    const QStringList& lines() { return log()->Lines(); }
};

} // namespace

class TestVigil : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaults();
    void formatSyntax_data();
    void formatSyntax();
    void boolAndHexText_data();
    void boolAndHexText();
    void settingDevEnvWritesInTheNewStyle_data();
    void settingDevEnvWritesInTheNewStyle();
    void visibleStaysFalseWithoutAMonitor();
    void geometryReadsZeroWithoutAMonitor();
    void settingsDump();
    void popupFlagsAndDump();
    void logBits_data();
    void logBits();
    void logBitsEndsForAnyBounds();
    void logValueRange();
};

void TestVigil::defaults() {
    TetSharedControl control;
    TetVigil* vigil = control.Vigil();
    QVERIFY(vigil->Events());
    QVERIFY(!vigil->StayOnTop());
    QVERIFY(!vigil->Visible());
    QCOMPARE(vigil->DevEnv(), TDevEnv::deDelphi);
    QVERIFY(vigil->Log()->Active());
    QCOMPARE(vigil->Log()->Count(), 50);
    QVERIFY(!vigil->Log()->TimeStamp());
    QVERIFY(vigil->Log()->Lines().isEmpty());
    TetPopup popup(&control);
    for (std::size_t i = 0; i < TetPopup::FlagCount; ++i)
        QVERIFY(!popup.Get(static_cast<TetPopup::Flag>(i)));
}

void TestVigil::formatSyntax_data() {
    QTest::addColumn<TDevEnv>("style");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    const TDevEnv delphi = TDevEnv::deDelphi;
    QTest::newRow("delphi assignment") << delphi << "Log.Count := 50 //Lines"
                                       << "Log.Count := 50 //Lines";
    QTest::newRow("delphi tilde") << delphi << "etLine~Device.Active := True"
                                  << "etLine.Device.Active := True";
    QTest::newRow("delphi value") << delphi << "\tError.Text = ''"
                                  << "\tError.Text = ''";

    const TDevEnv cpp = TDevEnv::deCppBuilder;
    QTest::newRow("cpp assignment") << cpp << "Log.Count := 50 //Lines"
                                    << "Log->Count = 50 //Lines";
    QTest::newRow("cpp value") << cpp << "\tError.Text = ''"
                               << "\tError->Text == \"\"";
    QTest::newRow("cpp tilde") << cpp << "etLine~Device.Active := True"
                               << "etLine->Device->Active = True";
    QTest::newRow("cpp points inside values") << cpp << "Call.PhoneNumber := '555.1234'"
                                              << "Call->PhoneNumber = \"555->1234\"";
    QTest::newRow("cpp first := only") << cpp << "A := B := C"
                                       << "A = B := C";
    QTest::newRow("cpp every ' = ' until none") << cpp << "A = = B"
                                                << "A == == B";

    for (const TDevEnv style : {TDevEnv::deVisualBasic, TDevEnv::deOther}) {
        const char* name = style == TDevEnv::deOther ? "other" : "vb";
        QTest::addRow("%s assignment", name) << style << "Log.Count := 50 //Lines"
                                             << "LogCount = 50 'Lines";
        QTest::addRow("%s tilde", name) << style << "etLine~Device.Active := "
                                        << "etLine.DeviceActive = ";
        QTest::addRow("%s value", name) << style << "\tError.Text = ''"
                                        << "\tErrorText = \"\"";
        QTest::addRow("%s points after =", name) << style << "Call.Rate = 1.5"
                                                 << "CallRate = 1.5";
        QTest::addRow("%s double point", name) << style << "A.B := 1..5"
                                               << "AB = 1..5";
        QTest::addRow("%s no = keeps a final point", name) << style << "Call.Drop."
                                                           << "CallDrop.";
        QTest::addRow("%s no = no final point", name) << style << "Call.Drop"
                                                      << "CallDrop";
        QTest::addRow("%s first // only", name) << style << "A.B := 1 //x //y"
                                                << "AB = 1 'x //y";
        QTest::addRow("%s DevEnv line", name) << style << "DevEnv := deVisualBasic"
                                              << "DevEnv = deVisualBasic";
    }
}

void TestVigil::formatSyntax() {
    QFETCH(TDevEnv, style);
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(TetVigil::FormatSyntax(line, style), expected);
}

void TestVigil::boolAndHexText_data() {
    QTest::addColumn<uint32_t>("value");
    QTest::addColumn<QString>("form");
    QTest::newRow("0") << 0u << "00000000";
    QTest::newRow("0x2C") << 0x2Cu << "0000002C";
    QTest::newRow("0x8000002C") << 0x8000002Cu << "8000002C";
    QTest::newRow("-3") << static_cast<uint32_t>(-3) << "FFFFFFFD";
    QTest::newRow("0xabcdef12") << 0xabcdef12u << "ABCDEF12";
}

void TestVigil::boolAndHexText() {
    QFETCH(uint32_t, value);
    QFETCH(QString, form);
    QCOMPARE(TetVigil::HexForm(value), form);
    QCOMPARE(TetVigil::HexText(value), u'[' + form + u']');
    QCOMPARE(TetVigil::BoolText(true), QStringLiteral("True"));
    QCOMPARE(TetVigil::BoolText(false), QStringLiteral("False"));
}

void TestVigil::settingDevEnvWritesInTheNewStyle_data() {
    QTest::addColumn<TDevEnv>("style");
    QTest::addColumn<QString>("line");
    QTest::newRow("deVisualBasic") << TDevEnv::deVisualBasic << "DevEnv = deVisualBasic";
    QTest::newRow("deOther") << TDevEnv::deOther << "DevEnv = deOther";
    QTest::newRow("deCppBuilder") << TDevEnv::deCppBuilder << "DevEnv = deCppBuilder";
    QTest::newRow("deDelphi") << TDevEnv::deDelphi << "DevEnv := deDelphi";
}

void TestVigil::settingDevEnvWritesInTheNewStyle() {
    QFETCH(TDevEnv, style);
    QFETCH(QString, line);
    Component c;
    c.vigil()->setDevEnv(style);
    QCOMPARE(c.vigil()->DevEnv(), style);
    QCOMPARE(c.lines().last(), line);
    QCOMPARE(c.delivered, QStringList{line});
}

void TestVigil::visibleStaysFalseWithoutAMonitor() {
    Component c;
    c.vigil()->setVisible(true);
    QVERIFY(!c.vigil()->Visible());
    QCOMPARE(c.delivered, QStringList{"Vigil.Visible := True"});
    c.vigil()->setVisible(false);
    QCOMPARE(c.lines().last(), QStringLiteral("Vigil.Visible := False"));
    c.vigil()->ShowMonitor();
    c.vigil()->ShowOnEvent(true);
    c.vigil()->ShowOnEvent(false);
    QVERIFY(!c.vigil()->Visible());
    QCOMPARE(c.delivered.size(), 2);
    c.vigil()->setStayOnTop(true);
    QVERIFY(c.vigil()->StayOnTop());
    QCOMPARE(c.delivered.size(), 2); // no line for StayOnTop
}

void TestVigil::geometryReadsZeroWithoutAMonitor() {
    Component c;
    TetVigil* vigil = c.vigil();
    vigil->setTop(10);
    vigil->setLeft(20);
    vigil->setWidth(300);
    vigil->setHeight(400);
    vigil->setWindowState(TWindowState::wsMaximized);
    QCOMPARE(vigil->Top(), 0);
    QCOMPARE(vigil->Left(), 0);
    QCOMPARE(vigil->Width(), 0);
    QCOMPARE(vigil->Height(), 0);
    QCOMPARE(vigil->WindowState(), TWindowState::wsNormal);
}

void TestVigil::settingsDump() {
    Component c;
    c.log()->Clear();
    QVERIFY(c.vigil()->LogProperties(QString(), QString(), QStringLiteral("\t")));
    QCOMPARE(c.lines(),
             QStringList({"\tVigil.DevEnv = deDelphi", "\tVigil.Events = True",
                          "\tVigil.Height = 0", "\tVigil.Left = 0", "\tVigil.StayOnTop = False",
                          "\tVigil.Top = 0", "\tVigil.Visible = False", "\tVigil.Width = 0",
                          "\tVigil.WindowState = wsNormal"}));

    // DevEnv and WindowState are stamped lines, the rest detail lines.
    c.log()->setTimeStamp(true);
    c.vigil()->setEvents(false);
    c.log()->Clear();
    c.vigil()->LogProperties(QStringLiteral("Dump"), QString(), QStringLiteral("\t"));
    const QStringList lines = c.lines();
    QCOMPARE(lines.size(), 10);
    QVERIFY(lines.at(0).endsWith(QStringLiteral("\tDump")));
    QVERIFY(!lines.at(1).startsWith(u'\t'));
    QVERIFY(lines.at(1).endsWith(QStringLiteral("\t\tVigil.DevEnv = deDelphi")));
    QCOMPARE(lines.at(2), QStringLiteral("\t\t\tVigil.Events = False"));
    QVERIFY(!lines.at(9).startsWith(u'\t'));
    QVERIFY(lines.at(9).endsWith(QStringLiteral("\t\tVigil.WindowState = wsNormal")));
}

void TestVigil::popupFlagsAndDump() {
    Component c;
    TetPopup popup(&c.control);
    popup.setOnError(true);
    QVERIFY(popup.OnError());
    QVERIFY(popup.Get(TetPopup::Flag::OnError));
    popup.Set(TetPopup::Flag::OnDigitsGathered, true);
    QVERIFY(popup.OnDigitsGathered());

    c.log()->Clear();
    QVERIFY(popup.LogProperties(QString(), QString(), QStringLiteral("\t")));
    const QStringList names = {"OnAddressState",
                               "OnLineState",
                               "OnDevSpecific",
                               "OnDevSpecificFeature",
                               "OnCallerID",
                               "OnIdle",
                               "OnError",
                               "OnRing",
                               "OnCalledID",
                               "OnConnectedID",
                               "OnRedirectionID",
                               "OnRedirectingID",
                               "OnMessageOn",
                               "OnMessageOff",
                               "OnBusy",
                               "OnCallBegin",
                               "OnCallEnd",
                               "OnCallInfo",
                               "OnCallMediaModeChange",
                               "OnCallOwnerChange",
                               "OnCallState",
                               "OnConferenced",
                               "OnRingBack",
                               "OnConnected",
                               "OnSpecialInfo",
                               "OnDialing",
                               "OnDialtone",
                               "OnProceeding",
                               "OnDigitReceived",
                               "OnDigitsSent",
                               "OnHold",
                               "OnHoldPendingConference",
                               "OnHoldPendingTransfer",
                               "OnToneSent",
                               "OnDisconnected",
                               "OnOffering",
                               "OnSilence",
                               "OnTAPIMessage",
                               "OnTAPIReply",
                               "OnAddressForward",
                               "OnDigitsGathered"};
    QCOMPARE(names.size(), 41);
    QStringList expected;
    for (const QString& name : names) {
        const bool set = name == u"OnError" || name == u"OnDigitsGathered";
        expected << QStringLiteral("\tPopup.") + name + QStringLiteral(" = ") +
                        (set ? QStringLiteral("True") : QStringLiteral("False"));
    }
    QCOMPARE(c.lines(), expected);
    QCOMPARE(TetPopup::FlagName(TetPopup::Flag::OnTAPIReply), QStringLiteral("OnTAPIReply"));

    c.log()->setActive(false);
    QVERIFY(!popup.LogProperties(QString(), QString(), QStringLiteral("\t")));
}

void TestVigil::logBits_data() {
    QTest::addColumn<uint32_t>("value");
    QTest::addColumn<QString>("family");
    QTest::addColumn<uint32_t>("last");
    QTest::addColumn<uint32_t>("first");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing set") << 0u << "CallState" << 0x8000u << 1u
                                 << QStringList{"\tCall.State = [00000000]"};
    QTest::newRow("two call states")
        << 0x22u << "CallState" << 0x8000u << 1u
        << QStringList{"\tCall.State = [00000022]", "\t\tLINECALLSTATE_OFFERING",
                       "\t\tLINECALLSTATE_RINGBACK"};
    QTest::newRow("the top bit is named last")
        << 0x8001u << "CallState" << 0x8000u << 1u
        << QStringList{"\tCall.State = [00008001]", "\t\tLINECALLSTATE_IDLE",
                       "\t\tLINECALLSTATE_UNKNOWN"};
    QTest::newRow("bits above Last are not named")
        << 0x10004u << "CallState" << 0x8000u << 1u
        << QStringList{"\tCall.State = [00010004]", "\t\tLINECALLSTATE_ACCEPTED"};
    QTest::newRow("a walk that stops early")
        << 0x101u << "CallState" << 0x80u << 1u
        << QStringList{"\tCall.State = [00000101]", "\t\tLINECALLSTATE_IDLE"};
    QTest::newRow("a bit the family does not name")
        << 0x9u << "CallOrigin" << 0x80u << 1u
        << QStringList{"\tCall.Origin = [00000009]", "\t\tLINECALLORIGIN_OUTBOUND",
                       "\t\tLINECALLORIGIN_???"};
    QTest::newRow("media walk starts at 2")
        << 0x7u << "MediaMode" << 0x8000u << 2u
        << QStringList{"\tCall.MediaMode = [00000007]", "\t\tLINEMEDIAMODE_UNKNOWN",
                       "\t\tLINEMEDIAMODE_INTERACTIVEVOICE"};
    QTest::newRow("tone walk from 0 never names NONE")
        << 0x0u << "ToneMode" << 0x10u << 0u << QStringList{"\tTone.Mode = [00000000]"};
    QTest::newRow("tone walk from 0")
        << 0x12u << "ToneMode" << 0x10u << 0u
        << QStringList{"\tTone.Mode = [00000012]", "\t\tLINETONEMODE_RINGBACK",
                       "\t\tLINETONEMODE_BILLING"};
    QTest::newRow("call features to the top bit")
        << 0x80000001u << "CallFeature" << 0x80000000u << 1u
        << QStringList{"\tCall.Features = [80000001]", "\t\tLINECALLFEATURE_ACCEPT",
                       "\t\tLINECALLFEATURE_SETCALLDATA"};
}

void TestVigil::logBits() {
    QFETCH(uint32_t, value);
    QFETCH(QString, family);
    QFETCH(uint32_t, last);
    QFETCH(uint32_t, first);
    QFETCH(QStringList, expected);
    const QHash<QString, std::pair<TetNameFunction, QString>> families = {
        {"CallState", {&CallStateName, "\tCall.State"}},
        {"CallOrigin", {&CallOriginName, "\tCall.Origin"}},
        {"MediaMode", {&MediaModeName, "\tCall.MediaMode"}},
        {"ToneMode", {&ToneModeName, "\tTone.Mode"}},
        {"CallFeature", {&CallFeatureName, "\tCall.Features"}}};
    const auto [nameOf, label] = families.value(family);
    Component c;
    c.log()->Clear();
    c.vigil()->LogBits(label, value, nameOf, last, first);
    QCOMPARE(c.lines(), expected);
    QCOMPARE(c.delivered, expected);
}

// Bounds that the doubling walk can never meet end the walk at the top bit instead of hanging.
void TestVigil::logBitsEndsForAnyBounds() {
    Component c;
    c.log()->setCount(100);
    c.log()->Clear();
    c.vigil()->LogBits(QStringLiteral("X"), 0x80000005u, &CallFeatureName, 3u, 1u);
    QCOMPARE(
        c.lines(),
        QStringList({"X = [80000005]", "\t\tLINECALLFEATURE_ACCEPT", "\t\tLINECALLFEATURE_ANSWER",
                     "\t\tLINECALLFEATURE_SETCALLDATA", "\t\tLINECALLFEATURE_ACCEPT"}));
    c.log()->Clear();
    c.vigil()->LogBits(QStringLiteral("Y"), 0x6u, &CallStateName, 0x8000u, 3u);
    QCOMPARE(c.lines().first(), QStringLiteral("Y = [00000006]"));
    QVERIFY(c.lines().size() < 40);
}

void TestVigil::logValueRange() {
    Component c;
    c.log()->Clear();
    c.vigil()->LogValueRange(QStringLiteral("\tConference.Remove"), 3, &RemoveFromConfName, 3, 1);
    QCOMPARE(c.lines(),
             QStringList({"\tConference.Remove = [00000003]", "\t\tLINEREMOVEFROMCONF_NONE",
                          "\t\tLINEREMOVEFROMCONF_LAST", "\t\tLINEREMOVEFROMCONF_ANY"}));
    c.log()->Clear();
    c.vigil()->LogValueRange(QStringLiteral("R"), 2, &RemoveFromConfName, 3, 1);
    QCOMPARE(c.lines(), QStringList({"R = [00000002]", "\t\tLINEREMOVEFROMCONF_LAST",
                                     "\t\tLINEREMOVEFROMCONF_LAST"}));
}

QTEST_GUILESS_MAIN(TestVigil)
#include "test_vigil.moc"
