#pragma once

// Shared by the call tests: scenario files of the simulator provider, a line opened on the first
// device, and a trace of everything the component reports (events and log lines) in order, with
// call handles named A, B, ... by first appearance.

#include "tests/support/simulator_scenario.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

#include "telephony/call/call.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/line/line.h"
#include "telephony/line/line_device.h"

namespace calltest {

inline QString ScenarioPath(const QString& name) {
    return simtest::ScenarioPath(QStringLiteral("tests/telephony/call/scenarios"), name);
}

inline void UseScenario(const QString& name) {
    simtest::UseScenario(QStringLiteral("tests/telephony/call/scenarios"), name);
}

inline void Settle(int milliseconds) {
    simtest::Settle(milliseconds);
}

// Declare before the line: the line writes log lines while it is destroyed.
struct Trace {
    QStringList lines;
    bool withLog = true;
    QHash<uint32_t, QString> names;

    QString Name(int32_t handle) {
        const auto h = static_cast<uint32_t>(handle);
        if (h == 0)
            return QStringLiteral("0");
        auto it = names.find(h);
        if (it == names.end())
            it = names.insert(h, QString(QChar(static_cast<char16_t>(u'A' + names.size()))));
        return it.value();
    }
    // The handle that was named letter, 0 if none.
    uint32_t Handle(const QString& letter) const {
        for (auto it = names.begin(); it != names.end(); ++it)
            if (it.value() == letter)
                return it.key();
        return 0;
    }
    // The log lines with every handle written as its letter.
    QString Named(QString text) const {
        for (auto it = names.begin(); it != names.end(); ++it)
            text.replace(TetLineInternal::Hex8(it.key()), it.value());
        return text;
    }
    QStringList Events() const {
        QStringList out;
        for (const QString& l : lines)
            if (!l.startsWith(QStringLiteral("log ")))
                out << l;
        return out;
    }
    QStringList Log() const {
        QStringList out;
        for (const QString& l : lines)
            if (l.startsWith(QStringLiteral("log ")))
                out << Named(l.mid(4));
        return out;
    }
    // Events and log lines together, handles named.
    QStringList All() const {
        QStringList out;
        for (const QString& l : lines)
            out << Named(l);
        return out;
    }

    void Attach(TetLine& line) {
        line.Log()->setTimeStamp(false);
        auto call = [this](const char* name) {
            return [this, name](TetSharedControl*, int32_t handle) {
                lines << QLatin1String(name) + QLatin1Char(' ') + Name(handle);
            };
        };
        line.OnBusy = call("OnBusy");
        line.OnCallBegin = call("OnCallBegin");
        line.OnCallEnd = call("OnCallEnd");
        line.OnCalledID = call("OnCalledID");
        line.OnCallerID = call("OnCallerID");
        line.OnCallMediaModeChange = call("OnCallMediaModeChange");
        line.OnCallOwnerChange = call("OnCallOwnerChange");
        line.OnConferenced = call("OnConferenced");
        line.OnConnected = call("OnConnected");
        line.OnConnectedID = call("OnConnectedID");
        line.OnDialing = call("OnDialing");
        line.OnDialtone = call("OnDialtone");
        line.OnDigitsSent = call("OnDigitsSent");
        line.OnDisconnected = call("OnDisconnected");
        line.OnHold = call("OnHold");
        line.OnHoldPendingConference = call("OnHoldPendingConference");
        line.OnHoldPendingTransfer = call("OnHoldPendingTransfer");
        line.OnIdle = call("OnIdle");
        line.OnOffering = call("OnOffering");
        line.OnProceeding = call("OnProceeding");
        line.OnRedirectingID = call("OnRedirectingID");
        line.OnRedirectionID = call("OnRedirectionID");
        line.OnRingBack = call("OnRingBack");
        line.OnSilence = call("OnSilence");
        line.OnSpecialInfo = call("OnSpecialInfo");
        line.OnToneSent = call("OnToneSent");
        line.OnCallState = [this](TetSharedControl*, int32_t h, uint32_t state, uint32_t mode,
                                  uint32_t) {
            lines << QStringLiteral("OnCallState %1 %2 %3")
                         .arg(Name(h), TetLineInternal::Hex8(state), TetLineInternal::Hex8(mode));
        };
        line.OnCallInfo = [this](TetSharedControl*, int32_t h, uint32_t infoState) {
            lines << QStringLiteral("OnCallInfo %1 %2")
                         .arg(Name(h), TetLineInternal::Hex8(infoState));
        };
        line.OnLineState = [this](TetSharedControl*, uint32_t state, uint32_t, uint32_t) {
            lines << QStringLiteral("OnLineState ") + TetLineInternal::Hex8(state);
        };
        line.OnRing = [this](TetSharedControl*, uint32_t count, uint32_t mode) {
            lines << QStringLiteral("OnRing %1 %2").arg(count).arg(mode);
        };
        line.OnAddressState = [this](TetSharedControl*, uint32_t address, uint32_t state) {
            lines << QStringLiteral("OnAddressState %1 %2")
                         .arg(address)
                         .arg(TetLineInternal::Hex8(state));
        };
        line.OnAddressForward = [this](TetSharedControl*, uint32_t address) {
            lines << QStringLiteral("OnAddressForward %1").arg(address);
        };
        line.OnMessageOn = [this](TetSharedControl*) { lines << QStringLiteral("OnMessageOn"); };
        line.OnMessageOff = [this](TetSharedControl*) { lines << QStringLiteral("OnMessageOff"); };
        line.OnDevSpecific = [this](TetSharedControl*, uint32_t, uint32_t p1, uint32_t, uint32_t) {
            lines << QStringLiteral("OnDevSpecific %1").arg(p1);
        };
        line.OnDevSpecificFeature = [this](TetSharedControl*, uint32_t, uint32_t p1, uint32_t,
                                           uint32_t) {
            lines << QStringLiteral("OnDevSpecificFeature %1").arg(p1);
        };
        line.OnDigitReceived = [this](TetSharedControl*, int32_t h, char digit, int32_t) {
            lines << QStringLiteral("OnDigitReceived %1 %2").arg(Name(h)).arg(QLatin1Char(digit));
        };
        line.OnTAPIReply = [this](TetSharedControl*, uint32_t, uint32_t result, uint32_t) {
            lines << QStringLiteral("OnTAPIReply ") + TetLineInternal::Hex8(result);
        };
        line.OnError = [this, &line](TetSharedControl*) {
            lines << QStringLiteral("OnError ") + line.Error()->Hex();
        };
        line.OnLog = [this](TetSharedControl*, const QString& text) {
            if (withLog)
                lines << QStringLiteral("log ") + text;
        };
    }
};

// Enables the component and opens the scenario's first line device.
inline void OpenFirstDevice(TetLine& line) {
    line.setEnabled(true);
    line.Device()->setID(0);
    line.Device()->setActive(true);
}

// The part of list starting at the first element equal to from.
inline QStringList From(const QStringList& list, const QString& from) {
    const qsizetype at = list.indexOf(from);
    return at < 0 ? QStringList() : list.mid(at);
}

} // namespace calltest
