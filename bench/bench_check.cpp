// The define-file checker on a realistic 100 MB and 20 MB document (throughput; the check escapes
// the text as the save does and reads the stored form back), on 20 MB with the example rule file,
// and on 1 MB, the size whose check the editor runs on its user-interface thread after a pause.
// The checks with a rule file also run in a fresh process each, for their peak memory: with the
// example rule file (literal rules, read a piece at a time) and with 50 site rules, some of them
// regular expressions that may span lines.
#include "BenchInputs.h"
#include "ChildProcess.h"

#include "document/DefineCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char kChildFlag[] = "--check-in-child";

QString exampleRuleFile() { return QStringLiteral("<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n"); }

void checkDocument(benchmark::State &state, qsizetype bytes, bool withRules = false)
{
    const QByteArray text = makeDefineDocument(bytes, DefineForm::ReadableUtf8).readableUtf8;
    const KeyWordRules rules = KeyWordRules::fromText(exampleRuleFile());
    DefineCheckOptions options;
    options.rules = withRules ? &rules : nullptr;
    checkDefineText(text, options); // the code page's table is built once per process, not per check
    for (auto _ : state) {
        const DefineCheckResult result = checkDefineText(text, options);
        benchmark::DoNotOptimize(result.problems.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Check100MB(benchmark::State &state) { checkDocument(state, 100 * kMiB); }
void BM_Check20MB(benchmark::State &state) { checkDocument(state, 20 * kMiB); }
void BM_Check20MBWithRules(benchmark::State &state) { checkDocument(state, 20 * kMiB, true); }
void BM_Check1MB(benchmark::State &state) { checkDocument(state, kMiB); }

// A field of the process's status in bytes. Its peak (VmHWM), unlike what wait4 counts, starts
// anew at exec, so the memory of the benchmarks that ran before in the parent does not show.
qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

// The measured process: reads the text and the rule file, checks once, prints the check's time
// and the process's peak memory.
int checkInChild(const char *textPath, const char *rulesPath)
{
    const qint64 before = statusBytes("VmRSS:");
    QFile file(QString::fromLocal8Bit(textPath));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray text = file.readAll();
    const KeyWordRules rules = KeyWordRules::load(QString::fromLocal8Bit(rulesPath));
    DefineCheckOptions options;
    options.rules = &rules;
    const auto started = std::chrono::steady_clock::now();
    const DefineCheckResult result = checkDefineText(text, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%.6f %lld %lld %lld\n", seconds, static_cast<long long>(result.errors),
                static_cast<long long>(statusBytes("VmHWM:")), static_cast<long long>(before));
    return 0;
}

struct CheckFiles {
    QTemporaryDir dir;
    QString text = dir.filePath(QStringLiteral("readable.xml"));
    QString exampleRules = dir.filePath(QStringLiteral("example.txt"));
    QString siteRules = dir.filePath(QStringLiteral("site.txt"));
    qint64 size = 0;

    CheckFiles()
    {
        runForked([this] {
            return write(text, makeDefineDocument(20 * kMiB, DefineForm::ReadableUtf8).readableUtf8) &&
                   write(exampleRules, exampleRuleFile().toUtf8()) && write(siteRules, siteRuleFile(50).toUtf8());
        });
        size = QFile(text).size();
    }

    static bool write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
};

void checkInFreshProcess(benchmark::State &state, bool siteRules)
{
    static const CheckFiles files;
    qint64 peak = 0;
    qint64 before = 0;
    for (auto _ : state) {
        const ChildRun run = runChild(siblingProgram(QStringLiteral("bench_check")),
                                      {QString::fromLatin1(kChildFlag), files.text,
                                       siteRules ? files.siteRules : files.exampleRules});
        const QList<QByteArray> fields = run.out.trimmed().split(' ');
        if (run.exitCode != 0 || fields.size() != 4) {
            state.SkipWithError("the check did not finish");
            return;
        }
        state.SetIterationTime(fields.at(0).toDouble());
        peak = std::max(peak, fields.at(2).toLongLong());
        before = fields.at(3).toLongLong();
    }
    state.SetBytesProcessed(state.iterations() * files.size);
    state.counters["input_MiB"] = static_cast<double>(files.size) / kMiB;
    state.counters["peak_MiB"] = static_cast<double>(peak) / kMiB;
    state.counters["peak_per_input"] = static_cast<double>(peak) / static_cast<double>(files.size);
    // Less what the process held before it read the text (the program and its libraries).
    state.counters["added_per_input"] = static_cast<double>(peak - before) / static_cast<double>(files.size);
}

void BM_Check20MBWithRulesFreshProcess(benchmark::State &state) { checkInFreshProcess(state, false); }
void BM_Check20MBWith50SiteRulesFreshProcess(benchmark::State &state) { checkInFreshProcess(state, true); }

} // namespace

BENCHMARK(BM_Check100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Check20MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Check20MBWithRules)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Check1MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Check20MBWithRulesFreshProcess)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check20MBWith50SiteRulesFreshProcess)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], kChildFlag) == 0)
        return checkInChild(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
