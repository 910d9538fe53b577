// Replace-all of a common word in a define document in the real component, offscreen, and one
// Undo of it, at several sizes up to 20 MB, so that the time's growth with the document shows.
#include "BenchInputs.h"
#include "OffscreenMain.h"

#include "support/EditorHost.h" // the tests' offscreen form with one editor control

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_ReplaceAllCommonWord(benchmark::State &state)
{
    const QString text =
        QString::fromUtf8(makeDefineDocument(state.range(0) * kMiB, DefineForm::ReadableUtf8).readableUtf8);
    EditorHost host;
    clsScintilla &s = host.sci();
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

BENCHMARK(BM_ReplaceAllCommonWord)
    ->Arg(1)
    ->Arg(5)
    ->Arg(10)
    ->Arg(20)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_UndoReplaceAll)->Arg(5)->Arg(20)->Iterations(2)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
