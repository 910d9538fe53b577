// A keystroke in a document with about a million problems, in the real main window, offscreen:
// the key, the check it sets off, and the markers, problems list and status bar it updates, all
// carried through to the repaint. The CPU time counted is the window's thread only; the check
// itself runs beside it.
#include "BenchWindow.h"
#include "OffscreenMain.h"

#include "app/DefineCheckRunner.h"

#include <benchmark/benchmark.h>

namespace {

// Defines whose SQL holds characters the code page cannot store: each one is a warning.
QByteArray manyProblems(int warnings)
{
    const QByteArray line = QByteArrayLiteral("\t\t\tselect '\xF0\x9F\x98\x80 \xF0\x9F\x98\x80 \xF0\x9F\x98\x80 "
                                              "\xF0\x9F\x98\x80' from tblBill\r\n");
    constexpr int kPerLine = 4;
    constexpr int kLinesPerDefine = 40;
    QByteArray text = QByteArrayLiteral("<defineSqls>\r\n");
    for (int define = 0; define * kLinesPerDefine * kPerLine < warnings; ++define) {
        text += "\t<define name=\"check" + QByteArray::number(define) + "\" caption=\"\xE6\xA3\x80\xE6\x9F\xA5\">\r\n\t\t<sql>\r\n";
        for (int i = 0; i < kLinesPerDefine; ++i)
            text += line;
        text += "\t\t</sql>\r\n\t</define>\r\n";
    }
    text += "</defineSqls>\r\n";
    return text;
}

struct ProblemWindow : BenchWindow {
    ProblemWindow()
    {
        loadAndCheck(manyProblems(1'000'000));
    }
};

ProblemWindow &problemWindow()
{
    static ProblemWindow window;
    return window;
}

void keystroke(benchmark::State &state, bool atEnd)
{
    ProblemWindow &w = problemWindow();
    w.caretAtLineEnd(atEnd ? -4 : 3);
    bool type = true;
    for (auto _ : state) {
        // A space typed, then taken back, so the document stays as it was.
        w.keyAndCheck(type);
        type = !type;
    }
    const DefineCheckResult &result = w.window->checkRunner()->result();
    state.counters["problems"] = static_cast<double>(result.errors + result.warnings);
}

void BM_KeystrokeAtTopMillionProblems(benchmark::State &state) { keystroke(state, false); }
void BM_KeystrokeAtEndMillionProblems(benchmark::State &state) { keystroke(state, true); }

BENCHMARK(BM_KeystrokeAtTopMillionProblems)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_KeystrokeAtEndMillionProblems)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { problemWindow().window.reset(); });
}
