#pragma once

// Shared by the tests that drive the simulator provider: where a folder's scenario files are,
// choosing one for the next session, and letting queued messages and timers run.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

namespace simtest {

// folder is relative to the source tree, for example "tests/telephony/line/scenarios".
inline QString ScenarioPath(const QString& folder, const QString& name) {
    return qEnvironmentVariable("VORBEL_SOURCE_DIR") + QLatin1Char('/') + folder +
           QLatin1Char('/') + name;
}

// The simulator reads the scenario when a session starts.
inline void UseScenario(const QString& folder, const QString& name) {
    qputenv("VORBEL_TAPI_SIM", ScenarioPath(folder, name).toLocal8Bit());
}

// Lets queued TAPI messages and timers run for a while.
inline void Settle(int milliseconds, int slice = 5) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, slice);
}

} // namespace simtest
