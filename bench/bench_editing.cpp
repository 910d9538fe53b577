// Editing at the top and at the end of a 20 MB define file in the real main window, offscreen,
// with everything that listens to the editor attached (object window, status bar, problem
// markers, the check): one typed character, one caret move, one scroll step of the stored pane,
// each carried through every notification and the repaint that follows. The end should cost
// what the top costs.
#include "BenchInputs.h"
#include "BenchWindow.h"
#include "OffscreenMain.h"

#include <QFile>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using Sci = QsciScintillaBase;

// One main window holding the 20 MB document, opened from a stored file as a drop would.
struct OpenWindow : BenchWindow {
    OpenWindow()
    {
        const QString path = dir.filePath(QStringLiteral("bills.xml"));
        {
            const QByteArray bytes = makeDefineDocument(20 * kMiB, DefineForm::StoredGbk).storedGbk;
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the benchmark's document");
        }
        window->openDropped({path});
        settle();
    }
};

OpenWindow &openWindow()
{
    static OpenWindow open;
    return open;
}

enum class Where { Top, End };

// Puts the caret on a line of SQL near the top or the end, and shows it.
void placeCaret(clsScintilla &s, Where where)
{
    const int lines = s.GetLineCount();
    const int line = where == Where::Top ? 3 : lines - 4;
    const int pos = s.GetLineEndPosition(line);
    s.SetSel(pos, pos);
    s.SendEditor(Sci::SCI_SCROLLCARET);
    settle();
}

void typing(benchmark::State &state, Where where)
{
    frmMain &w = *openWindow().window;
    clsScintilla &s = w.wrapper();
    QWidget &view = *s.widget();
    placeCaret(s, where);
    const int start = s.GetCurPos();
    int typed = 0;
    for (auto _ : state) {
        QTest::keyClick(&view, Qt::Key_A);
        view.repaint();
        settle();
        if (++typed == 50) { // keep the document as it was
            state.PauseTiming();
            s.SendEditor(Sci::SCI_DELETERANGE, static_cast<platform::WParam>(start), typed);
            s.SetSel(start, start);
            settle();
            typed = 0;
            state.ResumeTiming();
        }
    }
    s.SendEditor(Sci::SCI_DELETERANGE, static_cast<platform::WParam>(start), typed);
    settle();
}

void caretMoves(benchmark::State &state, Where where)
{
    frmMain &w = *openWindow().window;
    clsScintilla &s = w.wrapper();
    QWidget &view = *s.widget();
    placeCaret(s, where);
    bool down = where == Where::Top;
    for (auto _ : state) {
        QTest::keyClick(&view, down ? Qt::Key_Down : Qt::Key_Up);
        down = !down;
        view.repaint();
        settle();
    }
}

// The stored pane scrolled by wheel-sized steps, its caret beside the "<" of the first line,
// which has no partner in the stored form.
void storedScroll(benchmark::State &state, Where where)
{
    frmMain &w = *openWindow().window;
    clsScintilla &s = w.objWindow().wrapper();
    QWidget &view = *s.widget();
    s.SetSel(0, 0);
    const int lines = s.GetLineCount();
    s.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<platform::WParam>(where == Where::Top ? 0 : lines - 200));
    view.repaint();
    settle();
    int step = 3;
    for (auto _ : state) {
        s.SendEditor(Sci::SCI_LINESCROLL, 0, step);
        step = -step;
        view.repaint();
        settle();
    }
}

void BM_TypeAtTop20MB(benchmark::State &state) { typing(state, Where::Top); }
void BM_TypeAtEnd20MB(benchmark::State &state) { typing(state, Where::End); }
void BM_CaretMoveAtTop20MB(benchmark::State &state) { caretMoves(state, Where::Top); }
void BM_CaretMoveAtEnd20MB(benchmark::State &state) { caretMoves(state, Where::End); }
void BM_StoredScrollAtTop20MB(benchmark::State &state) { storedScroll(state, Where::Top); }
void BM_StoredScrollAtEnd20MB(benchmark::State &state) { storedScroll(state, Where::End); }

BENCHMARK(BM_TypeAtTop20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_TypeAtEnd20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_CaretMoveAtTop20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_CaretMoveAtEnd20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_StoredScrollAtTop20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_StoredScrollAtEnd20MB)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { openWindow().window.reset(); });
}
