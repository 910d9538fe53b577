// Escape and unescape of a realistic 50 MB define document, beside a plain copy of the same bytes.
#include "document/DefineEscaping.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

QString readableDocument(qsizetype targetBytes)
{
    const QString block = QStringLiteral(
        "\t<define name=\"saveBill%1\" caption=\"保存单据\">\r\n"
        "\t\t<sql type=\"condition\">\r\n"
        "\t\t\tselect count(*) from tblBill where billNo = '@billNo' and amount > 0 and qty <= 100\r\n"
        "\t\t</sql>\r\n"
        "\t\t<error>单据号已存在, 请检查 \"单据号\" & 日期</error>\r\n"
        "\t\t<sql type=\"exec\">\r\n"
        "\t\t\tupdate tblBill set status = 1 where billId = @billId and (flag <> 2 or memo = 'A & B')\r\n"
        "\t\t</sql>\r\n"
        "\t\t<!-- 审核后不能修改 -->\r\n"
        "\t\t<confirm>确认要保存吗?</confirm>\r\n"
        "\t\t<sucess>保存成功</sucess>\r\n"
        "\t</define>\r\n");
    QString doc = QStringLiteral("<defineSqls>\r\n");
    for (int i = 0; doc.toUtf8().size() < 1024 || doc.size() * 2 < targetBytes; ++i)
        doc += block.arg(i);
    return doc + QStringLiteral("</defineSqls>\r\n");
}

const QByteArray &readableUtf8()
{
    static const QByteArray bytes = readableDocument(50 * 1024 * 1024).toUtf8().left(50 * 1024 * 1024);
    return bytes;
}

const QByteArray &storedUtf8()
{
    static const QByteArray bytes = [] {
        QByteArray b = escapeEntitiesUtf8(readableUtf8());
        restoreTagsUtf8(b);
        return b;
    }();
    return bytes;
}

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

void BM_Escape(benchmark::State &state)
{
    const QByteArray &in = readableUtf8();
    for (auto _ : state) {
        QByteArray out = escapeEntitiesUtf8(in);
        restoreTagsUtf8(out);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

void BM_Unescape(benchmark::State &state)
{
    const QByteArray &in = storedUtf8();
    for (auto _ : state) {
        QByteArray out = unescapeDefineUtf8(in);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * in.size());
}

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
BENCHMARK(BM_Unescape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EscapeDefineText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnescapeDefineText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
