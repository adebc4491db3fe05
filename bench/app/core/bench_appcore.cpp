// Speed and memory of the call log's file form and of the status page extraction.
//
//   bench_appcore --benchmark_filter=...   (VORBEL_BENCH_ROWS overrides the 1,000,000 rows)
//
// The load and save benchmarks measure their plain baselines in the same run and report the
// ratio as a counter: loading must stay within 3x of reading the file and finding its line
// ends with memchr, saving within 3x of a plain write of the same bytes. A save is atomic and
// flushed to disk before the rename, which a plain write is not, so the save also reports its
// ratio to an atomic write of the same bytes.

#include "app/core/atomic_write.h"
#include "app/core/call_log_model.h"
#include "app/core/csv_form.h"
#include "app/core/status_page_parser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

namespace {

int benchRows() {
    bool ok = false;
    const int rows = qEnvironmentVariableIntValue("VORBEL_BENCH_ROWS", &ok);
    return ok && rows > 0 ? rows : 1'000'000;
}

// One temporary folder with the generated log for the whole run.
struct LogFixture {
    QTemporaryDir dir;
    QString logPath;
    qint64 bytes = 0;

    LogFixture() {
        logPath = dir.filePath(QStringLiteral("log2.csv"));
        QFile f(logPath);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the benchmark log");
        static const char* const names[] = {"\"\"", "Jansen", "\"Jansen, P.\"", "Bakker B.V.",
                                            "\"de Vries, \"\"Kees\"\"\""};
        static const char* const lines[] = {"Receptie", "\"\"", "lijn 2", "Tapi"};
        QByteArray chunk = "In/Out,Inkomend,Tijd,Nummer,Naam\r\n";
        const int rows = benchRows();
        for (int i = 0; i < rows; ++i) {
            char row[160];
            const int n = std::snprintf(row, sizeof row, "%s,%s,%02d:%02d,06%08d,%s\r\n",
                                        i % 3 == 0 ? "OUT" : "IN", lines[i % 4], (i / 60) % 24,
                                        i % 60, (i * 7919) % 100000000, names[i % 5]);
            chunk.append(row, n);
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
        bytes = f.size();
    }
};

LogFixture& fixture() {
    static LogFixture f;
    return f;
}

qint64 scanWithMemchr(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    qint64 lines = 0;
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (
        (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
        ++lines;
        ++p;
    }
    return lines;
}

// Wall and CPU seconds of one run of work; the CPU figure is steadier on a busy machine.
struct Seconds {
    double wall = 0;
    double cpu = 0;
};

double cpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

Seconds timed(const std::function<void()>& work) {
    QElapsedTimer t;
    const double cpu0 = cpuNow();
    t.start();
    work();
    return {static_cast<double>(t.nsecsElapsed()) / 1e9, cpuNow() - cpu0};
}

Seconds bestOf(int runs, const std::function<void()>& work) {
    Seconds best{1e30, 1e30};
    for (int i = 0; i < runs; ++i) {
        const Seconds s = timed(work);
        best.wall = std::min(best.wall, s.wall);
        best.cpu = std::min(best.cpu, s.cpu);
    }
    return best;
}

void reportRatio(benchmark::State& state, const char* name, const Seconds& best,
                 const Seconds& baseline) {
    state.counters[std::string(name) + "_wall"] = best.wall / baseline.wall;
    state.counters[std::string(name) + "_cpu"] = best.cpu / baseline.cpu;
    state.counters[std::string(name) + "_baseline_ms"] = baseline.wall * 1e3;
}

long vmHwmKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// Runs first, so that the peak of the process is the peak of one load.
void BM_LogPeakMemory(benchmark::State& state) {
    const QString path = fixture().logPath;
    const long before = vmHwmKiB();
    std::size_t tableBytes = 0;
    for (auto _ : state) {
        CallLogModel model;
        benchmark::DoNotOptimize(model.load(path));
        tableBytes = model.table().memoryBytes();
    }
    state.counters["VmHWM_MiB"] = static_cast<double>(vmHwmKiB()) / 1024.0;
    state.counters["VmHWM_before_MiB"] = static_cast<double>(before) / 1024.0;
    state.counters["table_MiB"] = static_cast<double>(tableBytes) / (1024.0 * 1024.0);
    state.counters["file_MiB"] = static_cast<double>(fixture().bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_LogPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LogReadAndMemchrLineEnds(benchmark::State& state) {
    const QString path = fixture().logPath;
    for (auto _ : state)
        benchmark::DoNotOptimize(scanWithMemchr(path));
    state.SetBytesProcessed(state.iterations() * fixture().bytes);
}
BENCHMARK(BM_LogReadAndMemchrLineEnds)->Unit(benchmark::kMillisecond);

void BM_LogLoadIntoModel(benchmark::State& state) {
    const QString path = fixture().logPath;
    const Seconds baseline = bestOf(3, [&] { benchmark::DoNotOptimize(scanWithMemchr(path)); });
    Seconds best{1e30, 1e30};
    for (auto _ : state) {
        CallLogModel model;
        const Seconds s = timed([&] {
            if (!model.load(path))
                state.SkipWithError("load failed");
        });
        best.wall = std::min(best.wall, s.wall);
        best.cpu = std::min(best.cpu, s.cpu);
        state.SetIterationTime(s.wall);
    }
    reportRatio(state, "ratio_to_memchr_scan", best, baseline);
    state.SetBytesProcessed(state.iterations() * fixture().bytes);
}
BENCHMARK(BM_LogLoadIntoModel)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LogPlainWrite(benchmark::State& state) {
    QFile in(fixture().logPath);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const QString out = fixture().dir.filePath(QStringLiteral("plain.csv"));
    for (auto _ : state) {
        QFile f(out);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmark::DoNotOptimize(f.write(bytes));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LogPlainWrite)->Unit(benchmark::kMillisecond);

void BM_LogSave(benchmark::State& state) {
    CallLogModel model;
    model.load(fixture().logPath);
    QFile in(fixture().logPath);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const QString plain = fixture().dir.filePath(QStringLiteral("plain.csv"));
    const Seconds baseline = bestOf(3, [&] {
        QFile f(plain);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    });
    const QString out = fixture().dir.filePath(QStringLiteral("saved.csv"));
    Seconds best{1e30, 1e30};
    for (auto _ : state) {
        const Seconds s = timed([&] {
            if (!model.save(out))
                state.SkipWithError("save failed");
        });
        best.wall = std::min(best.wall, s.wall);
        best.cpu = std::min(best.cpu, s.cpu);
        state.SetIterationTime(s.wall);
    }
    reportRatio(state, "ratio_to_plain_write", best, baseline);
    // The same bytes written the safe way (temporary file, flushed to disk, renamed): the
    // difference to this is what the encoding costs.
    const Seconds atomic = bestOf(3, [&] { writeFileAtomically(plain, bytes); });
    reportRatio(state, "ratio_to_atomic_write", best, atomic);
    QFile saved(out);
    saved.open(QIODevice::ReadOnly);
    if (saved.readAll() != bytes)
        state.SkipWithError("the saved log differs from the file it was read from");
}
BENCHMARK(BM_LogSave)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LogAtomicWriteOfBytes(benchmark::State& state) {
    QFile in(fixture().logPath);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const QString out = fixture().dir.filePath(QStringLiteral("atomic.csv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(writeFileAtomically(out, bytes));
}
BENCHMARK(BM_LogAtomicWriteOfBytes)->Unit(benchmark::kMillisecond);

// A status page of about 100 KB with the line elements spread through it, the last ones near
// the end, as on the phones' own pages.
QString hundredKilobytePage() {
    QString page = QStringLiteral("<?xml version=\"1.0\"?>\r\n<flat-profile>\r\n");
    int filler = 0;
    const auto fill = [&](int count) {
        for (int i = 0; i < count; ++i, ++filler)
            page += QStringLiteral("<Setting_%1 group=\"System/Misc\">Value %1</Setting_%1>\r\n")
                        .arg(filler);
    };
    for (int n = 1; n <= 8; ++n) {
        fill(120);
        page += QStringLiteral("<User_ID_%1_ group=\"Ext_%1/Subscriber_Information\">20%1"
                               "</User_ID_%1_>\r\n")
                    .arg(n);
    }
    for (int n = 1; n <= 8; ++n) {
        fill(100);
        const QString g = QStringLiteral("Info/Line_%1_Call_1_Status").arg(n);
        page += QStringLiteral("<Call_State group=\"%1\">Connected</Call_State>\r\n"
                               "<Type group=\"%1\"> inbound </Type>\r\n"
                               "<Peer_Name group=\"%1\">Jansen</Peer_Name>\r\n"
                               "<Peer_Phone group=\"%1\">0612345678</Peer_Phone>\r\n")
                    .arg(g);
    }
    while (page.size() < 100 * 1024)
        fill(10);
    page += QStringLiteral("</flat-profile>\r\n");
    return page;
}

void BM_PageExtractEightLines(benchmark::State& state) {
    const QString page = hundredKilobytePage();
    const std::array<bool, 8> all{true, true, true, true, true, true, true, true};
    LineStateTable table;
    for (auto _ : state)
        benchmark::DoNotOptimize(StatusPageParser::parse(page, 1, 8, all, table, 0));
    if (table.CurPhone[8].text() != QStringLiteral("0612345678"))
        state.SkipWithError("line 8 not found");
    state.counters["page_KiB"] = static_cast<double>(page.size()) / 1024.0;
}
BENCHMARK(BM_PageExtractEightLines)->Unit(benchmark::kMicrosecond);

void BM_PageExtractMissingTags(benchmark::State& state) {
    // The worst case: no line element at all, every search runs to the end of the page.
    QString page = hundredKilobytePage();
    page.replace(QStringLiteral("group=\"Info/Line_"), QStringLiteral("group=\"Info/Lijn_"));
    page.replace(QStringLiteral("/Subscriber_Information"), QStringLiteral("/Subscriber"));
    const std::array<bool, 8> all{true, true, true, true, true, true, true, true};
    LineStateTable table;
    for (auto _ : state)
        benchmark::DoNotOptimize(StatusPageParser::parse(page, 1, 8, all, table, 0));
}
BENCHMARK(BM_PageExtractMissingTags)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
