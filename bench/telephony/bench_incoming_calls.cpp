// 100,000 simulated incoming calls (new call, offering with caller ID, two rings, idle) through
// the telephony layer and the line component, with the diagnostic log inactive: calls per
// second, and the resident memory after the first 10,000 and after all calls.

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

#include "telephony/call/call.h"
#include "telephony/line/line.h"
#include "telephony/line/line_device.h"
#include "telephony/tapi/tapi.h"
#include "telephony/tapi/tapisim.h"

namespace {

constexpr int Calls = 100'000;
constexpr int EarlyMark = 10'000;

// VmRSS of this process in kB, 0 when unknown.
double ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

bool UseOneLineScenario(QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("bench.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(
        R"({ "devices": [ { "name": "Bench Modem", "mediaModes": ["INTERACTIVEVOICE"] } ] })");
    file.close();
    qputenv("VORBEL_TAPI_SIM", path.toLocal8Bit());
    return true;
}

void BM_IncomingCalls(benchmark::State& state) {
    QTemporaryDir dir;
    if (!UseOneLineScenario(dir)) {
        state.SkipWithError("no scenario file");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        TetLine line;
        line.Log()->setActive(false);
        int callerIDs = 0;
        int ended = 0;
        line.OnCallerID = [&](TetSharedControl*, int32_t) { ++callerIDs; };
        line.OnCallEnd = [&](TetSharedControl*, int32_t) { ++ended; };
        line.setEnabled(true);
        line.Device()->setID(0);
        line.Device()->setActive(true);
        if (!line.Device()->Active()) {
            state.SkipWithError("line did not open");
            return;
        }
        tapisim::CallSetup setup;
        setup.caller.number = QStringLiteral("0612345678");
        setup.caller.name = QStringLiteral("JANSSEN PIET");
        double early = 0;
        const std::clock_t cpuStart = std::clock();
        state.ResumeTiming();

        for (int i = 1; i <= Calls; ++i) {
            const DWORD id = tapisim::injectIncomingCall(0, setup);
            tapisim::injectRing(0, 1);
            tapisim::injectRing(0, 2);
            tapisim::injectCallState(0, id, LINECALLSTATE_IDLE);
            QCoreApplication::processEvents();
            if (i == EarlyMark) {
                state.PauseTiming();
                early = ResidentKilobytes();
                state.ResumeTiming();
            }
        }

        state.PauseTiming();
        // The machine is shared: the rate on this process's own processor time as well.
        const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        state.counters["calls_per_cpu_second"] = cpuSeconds > 0 ? Calls / cpuSeconds : 0;
        if (ended != Calls || callerIDs != Calls || line.Call()->Count() != 0)
            state.SkipWithError("calls were lost");
        state.counters["rss_10k_kB"] = early;
        state.counters["rss_100k_kB"] = ResidentKilobytes();
        state.counters["records_left"] = static_cast<double>(line.Call()->RecordCount());
        state.ResumeTiming();
    }
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(Calls) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_IncomingCalls)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
