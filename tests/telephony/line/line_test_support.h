#pragma once

// Shared pieces of the line component tests: scenario files of the simulator provider and a
// recorder of the component's events.

#include "tests/support/simulator_scenario.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include "telephony/line/line.h"

namespace linetest {

inline QString ScenarioPath(const QString& name) {
    return simtest::ScenarioPath(QStringLiteral("tests/telephony/line/scenarios"), name);
}

inline void UseScenario(const QString& name) {
    simtest::UseScenario(QStringLiteral("tests/telephony/line/scenarios"), name);
}

inline void Settle(int milliseconds = 50) {
    simtest::Settle(milliseconds, 10);
}

// Records the events that the component fires, by name and call handle.
struct Recorder {
    QStringList events;
    int errors = 0;
    QStringList errorTexts;

    void Attach(TetLine& line) {
        auto call = [this](const char* name) {
            return [this, name](TetSharedControl*, int32_t handle) {
                events << QLatin1String(name) + QLatin1Char(' ') +
                              TetLineInternal::Hex8(static_cast<uint32_t>(handle));
            };
        };
        line.OnCallBegin = call("OnCallBegin");
        line.OnCallEnd = call("OnCallEnd");
        line.OnIdle = call("OnIdle");
        line.OnOffering = call("OnOffering");
        line.OnCallerID = call("OnCallerID");
        line.OnError = [this, &line](TetSharedControl*) {
            ++errors;
            errorTexts << line.Error()->Text();
            events << QStringLiteral("OnError");
        };
        line.OnLineState = [this](TetSharedControl*, uint32_t, uint32_t, uint32_t) {
            events << QStringLiteral("OnLineState");
        };
        line.OnCallState = [this](TetSharedControl*, int32_t, uint32_t, uint32_t, uint32_t) {
            events << QStringLiteral("OnCallState");
        };
    }
};

} // namespace linetest
