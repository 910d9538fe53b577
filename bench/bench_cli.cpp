// plendor-cli on 50 MB of GBK input, run as a child process: the conversion's wall time and the
// peak resident memory the system counted for it. The program runs from a private folder, so
// no rule file lies beside it unless a run names one (and then the text has to be decoded).
#include "BenchInputs.h"
#include "ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

struct CliFolder {
    QTemporaryDir dir;
    QString cli = dir.filePath(QStringLiteral("plendor-cli"));
    QString readable = dir.filePath(QStringLiteral("readable.xml"));
    QString stored = dir.filePath(QStringLiteral("stored.xml"));
    QString rules = dir.filePath(QStringLiteral("rules.txt"));
    QString output = dir.filePath(QStringLiteral("out.xml"));
    qint64 readableSize = 0;
    qint64 storedSize = 0;

    CliFolder()
    {
        QFile::copy(siblingProgram(QStringLiteral("plendor-cli")), cli);
        QDir(dir.path()).mkdir(QStringLiteral("highlighters"));
        QFile::copy(siblingProgram(QStringLiteral("highlighters/SQL.bin")), dir.filePath(QStringLiteral("highlighters/SQL.bin")));
        runForked([this] {
            return write(readable, makeDefineDocument(50 * kMiB, DefineForm::ReadableGbk).readableGbk) &&
                   write(stored, makeDefineDocument(50 * kMiB, DefineForm::StoredGbk).storedGbk) &&
                   write(rules, siteRuleFile(50).toUtf8()); // ASCII only: the same bytes in GBK
        });
        readableSize = QFileInfo(readable).size();
        storedSize = QFileInfo(stored).size();
    }

    static bool write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
};

const CliFolder &folder()
{
    static const CliFolder f;
    return f;
}

void runConversion(benchmark::State &state, const QString &program, const QStringList &arguments,
                   qint64 inputSize)
{
    qint64 peak = 0;
    for (auto _ : state) {
        const ChildRun run = runChild(program, arguments);
        if (run.exitCode != 0) {
            state.SkipWithError("plendor-cli failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakBytes);
    }
    state.counters["input_MiB"] = static_cast<double>(inputSize) / kMiB;
    state.counters["peak_MiB"] = static_cast<double>(peak) / kMiB;
    state.counters["peak_per_input"] = static_cast<double>(peak) / static_cast<double>(inputSize);
}

void BM_CliUnescape50MB(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, f.cli, {QStringLiteral("unescape"), f.stored, QStringLiteral("-o"), f.output}, f.storedSize);
}

void BM_CliEscape50MB(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, f.cli, {QStringLiteral("escape"), f.readable, QStringLiteral("-o"), f.output}, f.readableSize);
}

void BM_CliEscape50MBWith50Rules(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, f.cli,
                  {QStringLiteral("escape"), f.readable, QStringLiteral("--keywords"), f.rules, QStringLiteral("-o"),
                   f.output},
                  f.readableSize);
}

// Standard input to standard output, as in a pipeline.
void BM_CliUnescape50MBPiped(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" unescape < \"$1\" > \"$2\""), f.cli, f.stored,
                   f.output},
                  f.storedSize);
}

// The HTML page to a file and to standard output: the page is streamed either way, so the peaks
// should match.
void BM_CliHtml50MB(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, f.cli, {QStringLiteral("html"), f.stored, QStringLiteral("-o"), f.output}, f.storedSize);
}

void BM_CliHtml50MBToStandardOutput(benchmark::State &state)
{
    const CliFolder &f = folder();
    runConversion(state, QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" html \"$1\" > \"$2\""), f.cli, f.stored, f.output},
                  f.storedSize);
}

// An output with a second hard link: its old bytes are copied aside before it is rewritten.
void BM_CliUnescape50MBOverALinkedFile(benchmark::State &state)
{
    const CliFolder &f = folder();
    const QString linked = f.dir.filePath(QStringLiteral("linked.xml"));
    QFile::remove(linked);
    QFile::remove(f.output);
    QFile::copy(f.stored, f.output);
    if (::link(QFile::encodeName(f.output).constData(), QFile::encodeName(linked).constData()) != 0) {
        state.SkipWithError("cannot make a hard link");
        return;
    }
    runConversion(state, f.cli, {QStringLiteral("unescape"), f.stored, QStringLiteral("-o"), f.output}, f.storedSize);
}

BENCHMARK(BM_CliUnescape50MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliEscape50MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliUnescape50MBPiped)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliEscape50MBWith50Rules)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliHtml50MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliHtml50MBToStandardOutput)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliUnescape50MBOverALinkedFile)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
