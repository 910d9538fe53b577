// The defines dock on a 20 MB document with 50,000 defines, in the real main window, offscreen:
// what an update costs the window's thread (the check that reads the defines runs beside it).
// BM_OutlineShown: a check's outline handed to the dock, the current row found, the dock
// repainted. BM_KeystrokeWithOutline: a key typed, the check beside the window, then everything
// the window does with its result; CPU time is the window's thread only.
#include "BenchWindow.h"
#include "OffscreenMain.h"

#include "app/DefineCheckRunner.h"
#include "app/DefinesDock.h"

#include <benchmark/benchmark.h>

namespace {

using Sci = QsciScintillaBase;

constexpr int kDefines = 50'000;
constexpr qsizetype kBytes = 20 * 1024 * 1024;

QByteArray bigDocument()
{
    const QByteArray sql = "\t\tselect b.billNo, b.amount, c.name from tblBill b join tblClient c on b.clientId = c.id\r\n"
                           "\t\twhere b.amount > 100 and b.state <> 'X' and c.kind = '\xE5\xAE\xA2\xE6\x88\xB7'\r\n";
    QByteArray text = "<defineSqls>\r\n";
    text.reserve(kBytes + 4096);
    const qsizetype perDefine = kBytes / kDefines;
    for (int i = 0; i < kDefines; ++i) {
        const qsizetype start = text.size();
        text += "\t<define name=\"query" + QByteArray::number(i) + "\" caption=\"\xE6\x9F\xA5\xE8\xAF\xA2" +
                QByteArray::number(i) + "\">\r\n\t\t<sql type=\"define\">\r\n";
        while (text.size() - start < perDefine - 40)
            text += sql;
        text += "\t\t</sql>\r\n\t</define>\r\n";
    }
    text += "</defineSqls>\r\n";
    return text;
}

struct OutlineWindow : BenchWindow {
    OutlineWindow()
    {
        loadAndCheck(bigDocument());
        window->definesDock()->show();
        window->definesDock()->raise();
        settle();
    }
};

OutlineWindow &outlineWindow()
{
    static OutlineWindow window;
    return window;
}

void BM_OutlineShown(benchmark::State &state)
{
    frmMain &w = *outlineWindow().window;
    DefinesDock &dock = *w.definesDock();
    const DefineOutline &outline = *w.checkRunner()->outline();
    // Near the end of the text, so finding the caret's define is not helped by being first.
    w.wrapper().SendEditor(Sci::SCI_GOTOPOS, static_cast<platform::WParam>(outline.back().offset + 10));
    for (auto _ : state) {
        state.PauseTiming();
        auto fresh = std::make_shared<const DefineOutline>(outline); // as a new check hands one over
        state.ResumeTiming();
        dock.showOutline(std::move(fresh));
        dock.followCaret(w.wrapper().SendEditor(Sci::SCI_GETCURRENTPOS));
        dock.repaint();
    }
    state.counters["defines"] = static_cast<double>(dock.model().rowCount());
    state.counters["MiB"] = static_cast<double>(w.wrapper().GetLen()) / (1024.0 * 1024.0);
}

void BM_KeystrokeWithOutline(benchmark::State &state)
{
    OutlineWindow &w = outlineWindow();
    w.caretAtLineEnd(-4);
    bool type = true;
    for (auto _ : state) {
        w.keyAndCheck(type);
        type = !type;
        w.window->definesDock()->repaint();
    }
    state.counters["defines"] = static_cast<double>(w.window->checkRunner()->outline()->size());
}

BENCHMARK(BM_OutlineShown)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_KeystrokeWithOutline)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { outlineWindow().window.reset(); });
}
