// HTML export of a 20 MB highlighted define document in the real component, offscreen: the
// component handing over the styled text, the export of that text (written to /dev/null, as
// the export writes a file, a piece at a time), and both with the file written, each in MB of
// document per second. Last, what the user waits for: a document just loaded, highlighted with
// the shipped SQL highlighter (which lexes it whole) and exported.

#include "BenchInputs.h"
#include "OffscreenMain.h"

#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"
#include "highlight/usrHighlighters.h"
#include "ChildProcess.h"
#include "support/EditorHost.h" // the tests' offscreen form with one editor control

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kDocumentBytes = 20 * kMiB;

// A SQL highlighter of the shape the shipped one has, in the shared table.
void loadSqlHighlighter()
{
    modHighlighter::ClearHighlighters();
    HighlighterRecord r;
    for (int s = 0; s < kHighlighterStyles; ++s) {
        r.Visible[s] = 1;
        r.Back[s] = 0xFFFFFF;
        r.Size[s] = 10;
        r.Font[s] = QStringLiteral("DejaVu Sans Mono");
    }
    r.Fore[1] = r.Fore[2] = 0x008000;
    r.Fore[4] = 0x0066FF;
    r.Fore[5] = 0xFF0000;
    r.Bold[5] = 1;
    r.Fore[6] = r.Fore[7] = 0x0000C0;
    r.Fore[10] = 0x808080;
    r.Keywords[0] = QStringLiteral("select from where and or insert into update set delete declare begin end if else "
                                   "exec as on join left inner order by group having int varchar");
    r.Name = QStringLiteral("SQL");
    r.Lexer = 7;
    modHighlighter::HighlighterTable.push_back(r);
}

struct Fixture {
    Fixture()
    {
        loadSqlHighlighter();
        const QByteArray text = makeDefineDocument(kDocumentBytes, DefineForm::ReadableUtf8).readableUtf8;
        bytes = text.size();
        host.sci().LoadTextBytes(text);
        modHighlighter::ApplyHighlighter(host.sci(), QStringLiteral("SQL"));
    }
    EditorHost host;
    qsizetype bytes = 0;
};

// Made once, and gone before the application object is.
std::unique_ptr<Fixture> shared;

Fixture &fixture()
{
    if (!shared)
        shared = std::make_unique<Fixture>();
    return *shared;
}

void BM_HandOverStyledText(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(readStyledText(f.host.sci()));
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_ExportHtmlOfStyledText(benchmark::State &state)
{
    Fixture &f = fixture();
    const EditorStyledText text = readStyledText(f.host.sci());
    const StyledText view{.utf8 = text.utf8, .styles = text.styles, .tabWidth = 5};
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly);
    for (auto _ : state)
        writeHtmlDocument(sink, view, &modHighlighter::HighlighterTable[0]);
    state.counters["html_MB"] = static_cast<double>(htmlDocument(view, &modHighlighter::HighlighterTable[0]).size()) / kMiB;
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_ExportHTMLFile(benchmark::State &state)
{
    Fixture &f = fixture();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.html"));
    for (auto _ : state)
        ExportHTMLFile(path, f.host.sci());
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

// The shipped highlighter, built beside the benchmark.
void BM_ExportJustOpenedWithShippedHighlighter(benchmark::State &state)
{
    Fixture &f = fixture();
    const QByteArray text = f.host.sci().GetTextBytes();
    usrHighlighters highlighters;
    highlighters.setHighlighterDir(siblingProgram(QStringLiteral("highlighters")));
    highlighters.LoadHighlighters();
    if (modHighlighter::HighlighterCount() == 0) {
        state.SkipWithError("no shipped highlighter beside the benchmark: build the highlighters target");
        return;
    }
    EditorHost host;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.html"));
    for (auto _ : state) {
        state.PauseTiming();
        host.sci().LoadTextBytes(text);
        state.ResumeTiming();
        // Applying the highlighter lexes the whole text, once; the export then finds it styled.
        highlighters.SetHighlighterEditor(*host.control, QStringLiteral("SQL"));
        ExportHTMLFile(path, host.sci());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

BENCHMARK(BM_HandOverStyledText)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtmlOfStyledText)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHTMLFile)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportJustOpenedWithShippedHighlighter)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks(argc, argv, [] { shared.reset(); });
}
