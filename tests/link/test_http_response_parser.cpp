#include "link/HttpResponseParser.h"

#include <gtest/gtest.h>

namespace {

using Progress = HttpResponseParser::Progress;

const QString kClosed = QStringLiteral("服务器关闭了连接");
const QString kUnreadable = QStringLiteral("服务器的应答无法识别");
const QString kIncomplete = QStringLiteral("服务器的应答不完整");
const QString kBadLength = QStringLiteral("服务器的应答长度无效");
const QString kHeadersTooLong = QStringLiteral("服务器的应答头超过 64 KB,已停止接收");
const QString kOver256MB = QStringLiteral("服务器的应答超过 256 MB,已停止接收");
const QString kOver16Bytes = QStringLiteral("服务器的应答超过 16 字节,已停止接收");

constexpr qint64 kDefaultCap = HttpResponseParser::kMaxBodyBytes;

QByteArray withLength(const QByteArray &length, const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length:" + length + "\r\n\r\n" + body;
}

QByteArray chunked(const QByteArray &chunks)
{
    return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunks;
}

struct AnswerRow {
    const char *name;
    QByteArray bytes;
    bool closed; // the server closes the connection after the bytes
    Progress progress;
    QByteArray body;
    QString error;
    int status = 200;
    qint64 cap = kDefaultCap;
};

const AnswerRow kRows[] = {
    // Complete answers, whatever lies around them.
    {"LengthFramesTheBody", withLength(" 5", "helloEXTRA"), false, Progress::Done, "hello", {}},
    {"BlanksAroundTheLengthAreAllowed", withLength("  5 \t", "hello"), false, Progress::Done, "hello", {}},
    {"EqualLengthsRepeated", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok", false,
     Progress::Done, "ok", {}},
    {"ZeroLength", withLength(" 0", ""), false, Progress::Done, "", {}},
    {"Chunks", chunked("5;ext=1\r\nhello\r\na \r\n, 12345678\r\n0\r\n\r\n"), false, Progress::Done,
     "hello, 12345678", {}},
    {"ChunkedWinsOverLength",
     "HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n", false,
     Progress::Done, "ok", {}},
    {"BodyToTheClose", "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<data/>", true, Progress::Done, "<data/>",
     {}},
    {"BareLineFeeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", false, Progress::Done, "ok", {}},
    {"InterimAnswerIsSkipped",
     "HTTP/1.1 100 Continue\r\nContent-Length: 7\r\n\r\nHTTP/1.1 201 Created\r\nContent-Length: 1\r\n\r\nx", false,
     Progress::Done, "x", {}, 201},
    {"NoContentNeedsNoClose", "HTTP/1.1 204 No Content\r\n\r\n", false, Progress::Done, "", {}, 204},
    {"StatusWithoutReason", "HTTP/1.1 500\r\nContent-Length: 1\r\n\r\nx", false, Progress::Done, "x", {}, 500},
    {"LinesWithoutColonAreIgnored", "HTTP/1.1 200 OK\r\nnonsense\r\nContent-Length: 1\r\n\r\nx", false,
     Progress::Done, "x", {}},
    {"BodyExactlyAtTheCap", withLength("16", "0123456789abcdef"), false, Progress::Done, "0123456789abcdef", {}, 200,
     16},

    // Answers that lie about their length.
    {"LengthWithLetters", withLength(" 12abc", "hello"), true, Progress::Failed, {}, kBadLength},
    {"NegativeLength", withLength(" -1", "hello"), true, Progress::Failed, {}, kBadLength},
    {"SignedLength", withLength(" +5", "hello"), true, Progress::Failed, {}, kBadLength},
    {"FormFeedBeforeLength", withLength(" \f5", "hello"), true, Progress::Failed, {}, kBadLength},
    {"BlankInsideLength", withLength(" 5 5", "hello"), true, Progress::Failed, {}, kBadLength},
    {"EmptyLength", withLength("", "hello"), true, Progress::Failed, {}, kBadLength},
    {"ListOfLengths", withLength(" 5, 5", "hello"), true, Progress::Failed, {}, kBadLength},
    {"TwoDifferentLengths", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 12\r\n\r\nhello", true,
     Progress::Failed, {}, kBadLength},
    {"LengthPastAnyNumber", withLength(" 99999999999999999999999999", "hello"), false, Progress::Failed, {},
     kOver256MB},
    {"ChunkSizeNearTheLargestNumber", chunked("FFFFFFFFFFFFFFFF\r\nhello\r\n0\r\n\r\n"), true, Progress::Failed, {},
     kOver256MB},
    {"ChunkSizePastAnyNumber", chunked("1FFFFFFFFFFFFFFFFFFFFFFFF\r\nhello\r\n"), true, Progress::Failed, {},
     kOver256MB},
    {"ChunkSizeNotHex", chunked("5x\r\nhello\r\n0\r\n\r\n"), true, Progress::Failed, {}, kUnreadable},
    {"ChunkSizeSigned", chunked("-1\r\nhello\r\n0\r\n\r\n"), true, Progress::Failed, {}, kUnreadable},
    {"ChunkSizeMissing", chunked("\r\nhello\r\n0\r\n\r\n"), true, Progress::Failed, {}, kUnreadable},
    {"ChunkLongerThanItSays", chunked("3\r\nhello\r\n0\r\n\r\n"), true, Progress::Failed, {}, kUnreadable},

    // Answers that are not HTTP or are cut short.
    {"HtmlInsteadOfStatus", "<html>error</html>\r\n\r\n", true, Progress::Failed, {}, kUnreadable, 0},
    {"SignedStatus", "HTTP/1.1 +20 OK\r\n\r\n", true, Progress::Failed, {}, kUnreadable, 0},
    {"FourDigitStatus", "HTTP/1.1 2000 OK\r\n\r\n", true, Progress::Failed, {}, kUnreadable, 0},
    {"FoldedHeaderLine", "HTTP/1.1 200 OK\r\nX-Note: a\r\n b\r\nContent-Length: 5\r\n\r\nhello", true,
     Progress::Failed, {}, kUnreadable},
    {"NothingAtAll", "", true, Progress::Failed, {}, kClosed, 0},
    {"ClosedInTheHeaders", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", true, Progress::Failed, {}, kClosed},
    {"ClosedInTheBody", withLength(" 5", "hel"), true, Progress::Failed, {}, kIncomplete},
    {"ClosedBetweenChunks", chunked("2\r\nok\r\n"), true, Progress::Failed, {}, kIncomplete},
    {"ClosedInAChunk", chunked("5\r\nhel"), true, Progress::Failed, {}, kIncomplete},
    {"StillWaiting", withLength(" 5", "hel"), false, Progress::NeedMore, {}, {}},

    // Answers past the limits: cut off as soon as they are known to be too large.
    {"LengthPastTheCap", withLength(" 17", ""), false, Progress::Failed, {}, kOver16Bytes, 200, 16},
    {"BodyToTheClosePastTheCap", "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(17, 'x'), false, Progress::Failed, {},
     kOver16Bytes, 200, 16},
    {"ChunksPastTheCapTogether", chunked("a\r\n0123456789\r\na\r\n"), false, Progress::Failed, {}, kOver16Bytes, 200,
     16},
    {"OneLongHeaderLine", "HTTP/1.1 200 OK\r\nX-Long: " + QByteArray(64 * 1024, 'a'), false, Progress::Failed, {},
     kHeadersTooLong},
    {"ManyHeaderLines", "HTTP/1.1 200 OK\r\n" + ("X-Filler: " + QByteArray(40, 'a') + "\r\n").repeated(1500), false,
     Progress::Failed, {}, kHeadersTooLong},
    {"EndlessInterimAnswers", QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(3000), false, Progress::Failed, {},
     kHeadersTooLong, 100},
    {"OneLongChunkLine", chunked("5;" + QByteArray(64 * 1024, 'e')), false, Progress::Failed, {}, kUnreadable},
};

enum class Feeding { AllAtOnce, ByteByByte };

void PrintTo(const AnswerRow &row, std::ostream *os) { *os << row.name; }
void PrintTo(Feeding feeding, std::ostream *os)
{
    *os << (feeding == Feeding::AllAtOnce ? "all at once" : "byte by byte");
}

class AnswerBytes : public ::testing::TestWithParam<std::tuple<AnswerRow, Feeding>> {};

// Every answer must read the same whichever way the connection splits it.
TEST_P(AnswerBytes, ReadTheSameHoweverSplit)
{
    const auto &[row, feeding] = GetParam();
    HttpResponseParser parser(row.cap);
    Progress progress = Progress::NeedMore;
    if (feeding == Feeding::AllAtOnce) {
        progress = parser.feed(row.bytes.constData(), static_cast<std::size_t>(row.bytes.size()));
    } else {
        for (qsizetype i = 0; i < row.bytes.size() && progress == Progress::NeedMore; ++i)
            progress = parser.feed(row.bytes.constData() + i, 1);
    }
    if (row.closed)
        progress = parser.finish();
    EXPECT_EQ(progress, row.progress);
    EXPECT_EQ(parser.progress(), progress);
    EXPECT_EQ(parser.error(), row.error);
    EXPECT_EQ(parser.status(), row.status);
    if (row.progress == Progress::Done) {
        EXPECT_EQ(parser.body(), row.body);
    }
}

std::string answerName(const ::testing::TestParamInfo<std::tuple<AnswerRow, Feeding>> &info)
{
    const bool atOnce = std::get<Feeding>(info.param) == Feeding::AllAtOnce;
    return std::string(std::get<AnswerRow>(info.param).name) + (atOnce ? "_AllAtOnce" : "_ByteByByte");
}

INSTANTIATE_TEST_SUITE_P(Answers, AnswerBytes,
                         ::testing::Combine(::testing::ValuesIn(kRows),
                                            ::testing::Values(Feeding::AllAtOnce, Feeding::ByteByByte)),
                         answerName);

TEST(HttpResponseParser, KeepsTheContentTypeAndGivesUpTheBody)
{
    HttpResponseParser parser;
    const QByteArray bytes = "HTTP/1.1 200 OK\r\nContent-Type:  text/xml; charset=GBK \r\nContent-Length: 2\r\n\r\nok";
    ASSERT_EQ(parser.feed(bytes.constData(), static_cast<std::size_t>(bytes.size())), Progress::Done);
    EXPECT_EQ(parser.contentType(), QByteArray("text/xml; charset=GBK"));
    EXPECT_EQ(parser.takeBody(), QByteArray("ok"));
    EXPECT_TRUE(parser.body().isEmpty());
    EXPECT_EQ(parser.feed("more", 4), Progress::Done) << "bytes after a complete answer are not part of it";
    EXPECT_EQ(parser.finish(), Progress::Done);
}

} // namespace
