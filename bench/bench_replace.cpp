// Replace-all of a common word in a define document in the real component, offscreen, and one
// Undo of it, at several sizes up to 20 MB, so that the time's growth with the document shows;
// beside it sed -i making the same replacements in a file of the same text.
#include "BenchInputs.h"
#include "ChildProcess.h"
#include "OffscreenMain.h"

#include "support/EditorHost.h" // the tests' offscreen form with one editor control

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void replaceAllCommonWord(benchmark::State &state, ReplaceAllPath path)
{
    const QString text =
        QString::fromUtf8(makeDefineDocument(state.range(0) * kMiB, DefineForm::ReadableUtf8).readableUtf8);
    EditorHost host;
    clsScintilla &s = host.sci();
    s.search().setReplaceAllPath(path);
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.SetText(text);
        s.ClearUndoBuffer();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        count = s.ReplaceAll(QStringLiteral("tblBill"), QStringLiteral("tblBillMain"));
    }
    state.counters["replacements"] = count;
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}
void BM_ReplaceAllCommonWord(benchmark::State &state) { replaceAllCommonWord(state, ReplaceAllPath::Auto); }
// The path that searches again after each replacement, for comparison.
void BM_ReplaceAllEachMatch(benchmark::State &state) { replaceAllCommonWord(state, ReplaceAllPath::EachMatch); }
// One Undo takes the whole replace-all back.
void BM_UndoReplaceAll(benchmark::State &state)
{
    const QString text =
        QString::fromUtf8(makeDefineDocument(state.range(0) * kMiB, DefineForm::ReadableUtf8).readableUtf8);
    EditorHost host;
    clsScintilla &s = host.sci();
    for (auto _ : state) {
        state.PauseTiming();
        s.SetText(text);
        s.ClearUndoBuffer();
        s.ReplaceAll(QStringLiteral("tblBill"), QStringLiteral("tblBillMain"));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        s.Undo();
    }
    state.SetComplexityN(state.range(0));
}

// The reference: the whole sed process, reading and writing the file included, without case
// as the editor's replace-all.
void BM_SedReplaceAll(benchmark::State &state)
{
    const QByteArray text = makeDefineDocument(state.range(0) * kMiB, DefineForm::ReadableUtf8).readableUtf8;
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("define.xml"));
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) {
            state.SkipWithError("cannot write the input file");
            return;
        }
        file.close();
        const ChildRun run = runChild(QStandardPaths::findExecutable(QStringLiteral("sed")), {QStringLiteral("-i"), QStringLiteral("s/tblBill/tblBillMain/gI"), path});
        if (run.exitCode != 0) {
            state.SkipWithError("sed failed");
            return;
        }
        state.SetIterationTime(run.seconds);
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

BENCHMARK(BM_ReplaceAllCommonWord)
    ->Arg(1)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ReplaceAllEachMatch)->Arg(20)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SedReplaceAll)->Arg(20)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoReplaceAll)->Arg(5)->Arg(20)->Iterations(2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
