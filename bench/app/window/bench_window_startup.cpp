// Start-up of the main window with a very long call log: from construction (settings,
// phonebook and a 1,000,000-row log2.csv read) to the first shown window, offscreen.

#include "app/window/main_window.h"

#include "app/core/call_log_model.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int LogRows = 1'000'000;

QTemporaryDir& dataDir() {
    static QTemporaryDir dir;
    return dir;
}

void writeLongLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    chunk += "In/Out,Inkomend,Tijd,Nummer,Naam\r\n";
    for (int i = 0; i < LogRows; ++i) {
        const bool in = i % 3 != 0;
        chunk += in ? "IN,Verkoop," : "OUT,\"\",";
        chunk += QByteArray::number(10 + i % 14) + ':' + QByteArray::number(10 + i % 50) + ',';
        chunk += "020" + QByteArray::number(1000000 + i) + ',';
        chunk += i % 4 == 0 ? QByteArray("\"Jansen, P.\"") : QByteArray("\"\"");
        chunk += "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
}

void BM_WindowStartupWithMillionRowLog(benchmark::State& state) {
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>(nullptr, QStringList{});
        form->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form->logModel()->rowCount());
        state.PauseTiming();
        if (form->logModel()->rowCount() != LogRows)
            state.SkipWithError("log not loaded");
        form.reset(); // writes the log back; not part of start-up
        state.ResumeTiming();
    }
    state.counters["rows"] = LogRows;
}
BENCHMARK(BM_WindowStartupWithMillionRowLog)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!dataDir().isValid())
        return 1;
    qputenv("VORBEL_DATA_DIR", dataDir().path().toLocal8Bit());
    writeLongLog(dataDir().filePath(QStringLiteral("log2.csv")));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
