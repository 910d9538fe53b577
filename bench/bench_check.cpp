// The define-file checker on a realistic 100 MB and 20 MB document (throughput; the check escapes
// the text as the save does and reads the stored form back), on 20 MB with the example rule file,
// and on 1 MB, the size whose check the editor runs on its user-interface thread after a pause.
#include "BenchInputs.h"

#include "document/DefineCheck.h"

#include <benchmark/benchmark.h>

namespace {

void checkDocument(benchmark::State &state, qsizetype bytes, bool withRules = false)
{
    const QByteArray text = makeDefineDocument(bytes, DefineForm::ReadableUtf8).readableUtf8;
    const KeyWordRules rules =
        KeyWordRules::fromText(QStringLiteral("<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n"));
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

} // namespace

BENCHMARK(BM_Check100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Check20MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Check20MBWithRules)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Check1MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
