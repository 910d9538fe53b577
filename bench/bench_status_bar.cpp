// The status bar following the caret in a 50 MB document in the real component, offscreen: one
// step right and one line down, each with the status bar read again.
#include "BenchInputs.h"

#include "app/MainStatusBar.h"
#include "support/EditorHost.h" // the tests' offscreen form with one editor control

#include <QApplication>
#include <QLabel>
#include <benchmark/benchmark.h>

namespace {

using Sci = QsciScintillaBase;

void follow(benchmark::State &state, const QByteArray &text, unsigned int move)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.LoadTextBytes(text);
    MainStatusBar bar(s);
    s.SetSel(0, 0);
    bar.updateCaret();
    for (auto _ : state) {
        s.SendEditor(move);
        if (s.GetCurPos() >= s.GetLen() - 2) {
            state.PauseTiming();
            s.SetSel(0, 0);
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

void BM_CaretRight50MB(benchmark::State &state) { follow(state, document(), Sci::SCI_CHARRIGHT); }
void BM_LineDown50MB(benchmark::State &state) { follow(state, document(), Sci::SCI_LINEDOWN); }

} // namespace

BENCHMARK(BM_CaretRight50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_LineDown50MB)->Unit(benchmark::kMicrosecond)->Iterations(20000);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
