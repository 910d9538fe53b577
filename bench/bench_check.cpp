// The define-file checker on a realistic 20 MB document (throughput), and on 1 MB, the size whose
// check the editor runs on its user-interface thread after a typing pause.
#include "BenchInputs.h"

#include "document/DefineCheck.h"

#include <benchmark/benchmark.h>

namespace {

void checkDocument(benchmark::State &state, qsizetype bytes)
{
    const QByteArray text = makeDefineDocument(bytes, DefineForm::ReadableUtf8).readableUtf8;
    checkDefineText(text); // the code page's table is built once per process, not per check
    for (auto _ : state) {
        const DefineCheckResult result = checkDefineText(text);
        benchmark::DoNotOptimize(result.problems.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Check20MB(benchmark::State &state) { checkDocument(state, 20 * kMiB); }
void BM_Check1MB(benchmark::State &state) { checkDocument(state, kMiB); }

} // namespace

BENCHMARK(BM_Check20MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Check1MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
