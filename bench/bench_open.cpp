// Opening a 50 MB define file in the real main window, offscreen: the time until the readable
// view is ready and the peak resident memory of the process, each run in a fresh process.
#include "support/ScriptedPrompt.h"
#include "BenchInputs.h"
#include "ChildProcess.h"

#include "app/frmMain.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const char kChildFlag[] = "--open-in-child";

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

// The window's own thread: on a busy machine its CPU time says more than the clock.
double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The measured process: a shown main window that opens the file as a drop would.
int openInChild(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setProgramFolder(dir.filePath(QStringLiteral("program")));
    QSettingsStore settings(dir.filePath(QStringLiteral("settings")));
    ScriptedPrompt prompt; // nothing scripted: every question takes its default, every dialog is cancelled
    frmMain window(settings, prompt, QString());
    window.show();
    settle();

    const qint64 before = residentBytes();
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = threadCpuSeconds();
    window.openDropped({QString::fromLocal8Bit(argv[2])});
    settle();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double cpu = threadCpuSeconds() - cpuStarted;
    std::printf("%.6f %lld %d %.6f\n", seconds, static_cast<long long>(before), window.wrapper().GetLen(), cpu);
    std::fflush(stdout);
    return 0;
}

struct StoredFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("bills.xml"));
    qint64 size = 0;

    StoredFile()
    {
        runForked([this] {
            const QByteArray bytes = makeDefineDocument(50 * kMiB, DefineForm::StoredGbk).storedGbk;
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        });
        size = QFileInfo(path).size();
    }
};

void BM_OpenDefineFile50MB(benchmark::State &state)
{
    static const StoredFile stored;
    qint64 peak = 0;
    qint64 before = 0;
    double cpu = 0;
    for (auto _ : state) {
        const ChildRun run =
            runChild(siblingProgram(QStringLiteral("bench_open")), {QString::fromLatin1(kChildFlag), stored.path});
        const QList<QByteArray> fields = run.out.trimmed().split(' ');
        if (run.exitCode != 0 || fields.size() != 4 || fields.at(2).toLongLong() <= 0) {
            state.SkipWithError("the open did not finish");
            return;
        }
        state.SetIterationTime(fields.at(0).toDouble());
        before = fields.at(1).toLongLong();
        cpu = std::max(cpu, fields.at(3).toDouble());
        peak = std::max(peak, run.peakBytes);
    }
    state.counters["file_MiB"] = static_cast<double>(stored.size) / kMiB;
    state.counters["window_MiB"] = static_cast<double>(before) / kMiB;
    state.counters["window_thread_cpu_ms"] = cpu * 1000;
    state.counters["peak_MiB"] = static_cast<double>(peak) / kMiB;
    state.counters["peak_per_file"] = static_cast<double>(peak) / static_cast<double>(stored.size);
}
BENCHMARK(BM_OpenDefineFile50MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0)
        return openInChild(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
