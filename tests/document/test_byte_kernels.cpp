// Every kernel of the byte conversions against the scalar one: the same bytes out of every
// conversion, on random bytes of every value, on entities and tags cut at every place of a
// block, on GBK text and on the conversion corpus. The scalar kernel meets itself, which holds
// its single-pass escape against its escape and tag restore.
#include "document/DefineBytes.h"
#include "support/GbkSamples.h"
#include "support/KernelConversions.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace {

class KernelAgainstScalar : public ::testing::TestWithParam<ByteKernel> {
protected:
    ::testing::AssertionResult sameAsScalar(const QByteArray &bytes, qsizetype pieceBytes = 1 << 20) const
    {
        const KernelConversions want = KernelConversions::of(bytes, ByteKernel::Scalar, pieceBytes);
        const KernelConversions got = KernelConversions::of(bytes, GetParam(), pieceBytes);
        if (const char *differs = got.firstDifference(want))
            return ::testing::AssertionFailure() << differs << " differs on " << bytes.toHex(' ').toStdString();
        return ::testing::AssertionSuccess();
    }
};

TEST_P(KernelAgainstScalar, EveryByteValueAtEveryPlaceOfABlock)
{
    // Plain text and escaped text around it, so that the byte also meets an entity's letters and
    // follows "&amp;" as the letter a chain would have; long enough for two 64-byte blocks.
    for (const QByteArray &ground : {QByteArray(140, 'a'), QByteArray("&lt;sql&gt;&quot;x&amp;y").repeated(7)}) {
        for (int byte = 0; byte < 256; ++byte) {
            for (int at = 0; at < ground.size(); ++at) {
                QByteArray bytes = ground;
                bytes[at] = static_cast<char>(byte);
                ASSERT_TRUE(sameAsScalar(bytes, 1 + at % 40));
            }
        }
    }
}

TEST_P(KernelAgainstScalar, RandomBytesOfEveryLength)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int length = 0; length < 300; ++length) {
        for (int i = 0; i < 10; ++i) {
            QByteArray bytes(length, Qt::Uninitialized);
            for (char &c : bytes)
                c = static_cast<char>(byte(random));
            ASSERT_TRUE(sameAsScalar(bytes, 1 + i * 7));
        }
    }
}

TEST_P(KernelAgainstScalar, EntitiesAndTagsAcrossBlockEdges)
{
    // Fillers of a block's length and one either side move every piece across the edges.
    static const QByteArrayList pieces = {
        "&", "amp;", "lt;", "gt;", "quot;", "<", ">", "\"", "'", "-", "--", "!--", "type=", "condition=",
        "define", "sql", "select", "exec", "error", "/", "&lt;", "&gt;", "&quot;", "&amp;", "&amp;lt;",
        "&lt;define&gt;", "&lt;/sql&gt;", "&lt;!--", "--&gt;", "type=&quot;", "<sql type=\"select\">", "\r\n", "\n",
        "<define>", "<define", "</define>", "</sql>", "<condition", "</error>", "<!--", "-->", "condition=\"",
        "中", "\xD6\xD0", "\x81t", QByteArray(7, 'a'), QByteArray(15, 'b'), QByteArray(16, 'c'),
        QByteArray(17, 'd'), QByteArray(31, 'e'), QByteArray(32, 'f'), QByteArray(33, 'g'), QByteArray(64, 'h'),
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<int> count(0, 60);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(pieces.size()) - 1);
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes;
        for (int n = count(random); n > 0; --n)
            bytes += pieces.at(pick(random));
        ASSERT_TRUE(sameAsScalar(bytes, 1 + i % 97));
    }
}

TEST_P(KernelAgainstScalar, ReadableTagsAtEveryPlaceOfTheBlocks)
{
    // The single-pass escape chooses for a whole block at once: a tag's ">" may lie in the next
    // block or past the last one, and "--", "type=" or "condition=" in the block before. The
    // first bytes and the last go a byte at a time, and every shift moves a tag across those edges.
    const QByteArray unit = "<condition>--><sql type=\"s\" condition=\"c\">a<b</sql><!-- --></define>";
    for (int shift = 0; shift < 140; ++shift)
        for (const int tail : {0, 1, 63, 64, 65, 127})
            ASSERT_TRUE(sameAsScalar(QByteArray(shift, 'a') + unit + QByteArray(tail, '-'))) << shift << ", " << tail;
}

TEST_P(KernelAgainstScalar, RunsMovedBackBySmallDistances)
{
    // The in-place loops copy a run as a whole block only once the output trails the input by a
    // block; until then they move it by parts. Gaps of every length between entities, at every
    // place of a block, let the output trail by every distance the entities allow.
    for (int gap = 0; gap <= 70; ++gap) {
        const QByteArray unit = QByteArray(gap, 'a') + "&lt;sql type=&quot;x&quot;&gt;";
        const QByteArray text = unit.repeated(1 + 700 / unit.size());
        for (int shift = 0; shift < 64; ++shift)
            ASSERT_TRUE(sameAsScalar(QByteArray(shift, ' ') + text)) << "gap " << gap << ", shift " << shift;
    }
}

TEST_P(KernelAgainstScalar, GbkText)
{
    GbkSamples samples(26);
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(sameAsScalar(samples.next()));
    // A long text, where the in-place loops write whole blocks far behind what they read.
    EXPECT_TRUE(sameAsScalar(samples.lines(256 * 1024, "\r\n"), 4096));
}

TEST_P(KernelAgainstScalar, ConversionCorpus)
{
    const QDir corpus(QStringLiteral(PLENDOR_CONVERSION_CORPUS));
    const QStringList files = corpus.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << corpus.path().toStdString();
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray text = file.readAll();
        // Every shift of the text against the blocks, and the text many times over.
        for (int shift = 0; shift < 33; ++shift)
            ASSERT_TRUE(sameAsScalar(QByteArray(shift, ' ') + text, 1 + shift * 13)) << name.toStdString();
        EXPECT_TRUE(sameAsScalar(text.repeated(200), 1000)) << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, KernelAgainstScalar, ::testing::ValuesIn(runnableByteKernels()),
                         [](const auto &info) { return std::string(byteKernelName(info.param)); });

} // namespace
