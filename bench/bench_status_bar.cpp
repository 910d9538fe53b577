// The status bar following the caret in a 50 MB document in the real component, offscreen: one
// step right and one line down, each with the status bar read again, at the top of the document
// and near its end (where a count from the start would show).
#include "BenchInputs.h"
#include "OffscreenMain.h"

#include "app/MainStatusBar.h"
#include "support/EditorHost.h" // the tests' offscreen form with one editor control

#include <QLabel>
#include <benchmark/benchmark.h>

namespace {

using Sci = QsciScintillaBase;

enum class Start { Top, NearTheEnd };

void follow(benchmark::State &state, const QByteArray &text, unsigned int move, Start where)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.LoadTextBytes(text);
    MainStatusBar bar(s);
    // Near the end: a few thousand lines before it, so the steps below stay there.
    const auto lines = static_cast<platform::WParam>(s.SendEditor(Sci::SCI_GETLINECOUNT));
    const int start = where == Start::Top ? 0 : static_cast<int>(s.SendEditor(Sci::SCI_POSITIONFROMLINE, lines - 3000));
    s.SetSel(start, start);
    bar.updateCaret();
    for (auto _ : state) {
        s.SendEditor(move);
        if (s.GetCurPos() >= s.GetLen() - 2) {
            state.PauseTiming();
            s.SetSel(start, start);
            bar.updateCaret();
            state.ResumeTiming();
        }
        bar.updateCaret();
    }
    benchmark::DoNotOptimize(bar.position()->text());
}

const QByteArray &document()
{
    static const QByteArray text = makeDefineDocument(50 * kMiB, DefineForm::ReadableUtf8).readableUtf8;
    return text;
}

void BM_CaretRight50MB(benchmark::State &state) { follow(state, document(), Sci::SCI_CHARRIGHT, Start::Top); }
void BM_LineDown50MB(benchmark::State &state) { follow(state, document(), Sci::SCI_LINEDOWN, Start::Top); }
void BM_CaretRightNearTheEnd50MB(benchmark::State &state)
{
    follow(state, document(), Sci::SCI_CHARRIGHT, Start::NearTheEnd);
}
void BM_LineDownNearTheEnd50MB(benchmark::State &state)
{
    follow(state, document(), Sci::SCI_LINEDOWN, Start::NearTheEnd);
}

} // namespace

BENCHMARK(BM_CaretRight50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_LineDown50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_CaretRightNearTheEnd50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_LineDownNearTheEnd50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
