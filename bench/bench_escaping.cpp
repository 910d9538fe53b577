// Escape and unescape of a realistic 50 MB define document, beside a plain copy of the same bytes,
// and the escape with a rule file of 50 site rules beside the same escape without rules.
#include "BenchInputs.h"

#include "document/DefineEscaping.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

const DefineDocument &document()
{
    static const DefineDocument doc = makeDefineDocument(50 * kMiB, DefineForm::ReadableUtf8);
    return doc;
}

const QByteArray &readableUtf8() { return document().readableUtf8; }
const QByteArray &storedUtf8() { return document().storedUtf8; }

void BM_PlainCopy(benchmark::State &state)
{
    const QByteArray &in = readableUtf8();
    QByteArray out(in.size(), Qt::Uninitialized);
    for (auto _ : state) {
        std::memcpy(out.data(), in.constData(), static_cast<size_t>(in.size()));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

// The cores with the widest kernel the processor runs; the Scalar variants show what the
// vector kernels gain, and the Avx2 one what the compress gains where the processor has it.
void escapeCore(benchmark::State &state, ByteKernel kernel)
{
    const QByteArray &in = readableUtf8();
    for (auto _ : state) {
        QByteArray out = escapeDefineUtf8(in, kernel);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

// The escape and the tag restore one after the other, as they run between a rule file's rules:
// what the single pass gains.
void BM_EscapeInTwoPasses(benchmark::State &state)
{
    const QByteArray &in = readableUtf8();
    for (auto _ : state) {
        QByteArray out = escapeEntitiesUtf8(in);
        restoreTagsUtf8(out);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void unescapeCore(benchmark::State &state, ByteKernel kernel)
{
    const QByteArray &in = storedUtf8();
    for (auto _ : state) {
        QByteArray out = unescapeDefineUtf8(in, kernel);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void BM_Escape(benchmark::State &state) { escapeCore(state, widestByteKernel()); }
void BM_EscapeScalar(benchmark::State &state) { escapeCore(state, ByteKernel::Scalar); }
void BM_Unescape(benchmark::State &state) { unescapeCore(state, widestByteKernel()); }
void BM_UnescapeScalar(benchmark::State &state) { unescapeCore(state, ByteKernel::Scalar); }
void BM_UnescapeAvx2(benchmark::State &state) { unescapeCore(state, ByteKernel::Avx2); }

// The editor's own entry points, with the conversion from and to its text.
void BM_EscapeDefineText(benchmark::State &state)
{
    const QString in = QString::fromUtf8(readableUtf8());
    for (auto _ : state) {
        const EscapeOutcome out = EscapeDefineText(in, KeyWordRules{});
        benchmark::DoNotOptimize(out.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * readableUtf8().size());
}

void BM_EscapeDefineTextWith50Rules(benchmark::State &state)
{
    const QString in = QString::fromUtf8(readableUtf8());
    const KeyWordRules rules = KeyWordRules::fromText(siteRuleFile(50));
    for (auto _ : state) {
        const EscapeOutcome out = EscapeDefineText(in, rules);
        if (!out.ok()) {
            state.SkipWithError(qPrintable(out.error));
            return;
        }
        benchmark::DoNotOptimize(out.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * readableUtf8().size());
}

void BM_UnescapeDefineText(benchmark::State &state)
{
    const QString in = QString::fromUtf8(storedUtf8());
    for (auto _ : state) {
        const QString out = UnescapeDefineText(in);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * storedUtf8().size());
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Escape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeScalar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeInTwoPasses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unescape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnescapeScalar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnescapeAvx2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeDefineText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeDefineTextWith50Rules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnescapeDefineText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
