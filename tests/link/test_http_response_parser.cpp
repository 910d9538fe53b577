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
QByteArray chunked(const QByteArray &chunks) { return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunks; }

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

// Read in full without a close; refused once the server has closed; refused before any close.
AnswerRow done(const char *name, const QByteArray &bytes, const QByteArray &body, int status = 200, qint64 cap = kDefaultCap)
{
    return {name, bytes, false, Progress::Done, body, {}, status, cap};
}
AnswerRow refused(const char *name, const QByteArray &bytes, const QString &error, int status = 200)
{
    return {name, bytes, true, Progress::Failed, {}, error, status};
}
AnswerRow cutOff(const char *name, const QByteArray &bytes, const QString &error, qint64 cap = kDefaultCap, int status = 200)
{
    return {name, bytes, false, Progress::Failed, {}, error, status, cap};
}

const AnswerRow kRows[] = {
    // Complete answers, whatever lies around them.
    done("LengthFramesTheBody", withLength(" 5", "helloEXTRA"), "hello"),
    done("BlanksAroundTheLengthAreAllowed", withLength("  5 \t", "hello"), "hello"),
    done("EqualLengthsRepeated", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nok", "ok"),
    done("ZeroLength", withLength(" 0", ""), ""),
    done("Chunks", chunked("5;ext=1\r\nhello\r\na \r\n, 12345678\r\n0\r\n\r\n"), "hello, 12345678"),
    done("ChunkedWinsOverLength",
         "HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n", "ok"),
    {"BodyToTheClose", "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n<data/>", true, Progress::Done, "<data/>", {}},
    done("BareLineFeeds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", "ok"),
    done("InterimAnswerIsSkipped",
         "HTTP/1.1 100 Continue\r\nContent-Length: 7\r\n\r\nHTTP/1.1 201 Created\r\nContent-Length: 1\r\n\r\nx", "x", 201),
    done("NoContentNeedsNoClose", "HTTP/1.1 204 No Content\r\n\r\n", "", 204),
    done("StatusWithoutReason", "HTTP/1.1 500\r\nContent-Length: 1\r\n\r\nx", "x", 500),
    done("LinesWithoutColonAreIgnored", "HTTP/1.1 200 OK\r\nnonsense\r\nContent-Length: 1\r\n\r\nx", "x"),
    done("BodyExactlyAtTheCap", withLength("16", "0123456789abcdef"), "0123456789abcdef", 200, 16),

    // Answers that lie about their length.
    refused("LengthWithLetters", withLength(" 12abc", "hello"), kBadLength),
    refused("NegativeLength", withLength(" -1", "hello"), kBadLength),
    refused("SignedLength", withLength(" +5", "hello"), kBadLength),
    refused("FormFeedBeforeLength", withLength(" \f5", "hello"), kBadLength),
    refused("BlankInsideLength", withLength(" 5 5", "hello"), kBadLength),
    refused("EmptyLength", withLength("", "hello"), kBadLength),
    refused("ListOfLengths", withLength(" 5, 5", "hello"), kBadLength),
    refused("TwoDifferentLengths", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 12\r\n\r\nhello", kBadLength),
    cutOff("LengthPastAnyNumber", withLength(" 99999999999999999999999999", "hello"), kOver256MB),
    refused("ChunkSizeNearTheLargestNumber", chunked("FFFFFFFFFFFFFFFF\r\nhello\r\n0\r\n\r\n"), kOver256MB),
    refused("ChunkSizePastAnyNumber", chunked("1FFFFFFFFFFFFFFFFFFFFFFFF\r\nhello\r\n"), kOver256MB),
    refused("ChunkSizeNotHex", chunked("5x\r\nhello\r\n0\r\n\r\n"), kUnreadable),
    refused("ChunkSizeSigned", chunked("-1\r\nhello\r\n0\r\n\r\n"), kUnreadable),
    refused("ChunkSizeMissing", chunked("\r\nhello\r\n0\r\n\r\n"), kUnreadable),
    refused("ChunkLongerThanItSays", chunked("3\r\nhello\r\n0\r\n\r\n"), kUnreadable),

    // Answers that are not HTTP or are cut short.
    refused("HtmlInsteadOfStatus", "<html>error</html>\r\n\r\n", kUnreadable, 0),
    refused("SignedStatus", "HTTP/1.1 +20 OK\r\n\r\n", kUnreadable, 0),
    refused("FourDigitStatus", "HTTP/1.1 2000 OK\r\n\r\n", kUnreadable, 0),
    refused("FoldedHeaderLine", "HTTP/1.1 200 OK\r\nX-Note: a\r\n b\r\nContent-Length: 5\r\n\r\nhello", kUnreadable),
    refused("NothingAtAll", "", kClosed, 0),
    refused("ClosedInTheHeaders", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", kClosed),
    refused("ClosedInTheBody", withLength(" 5", "hel"), kIncomplete),
    refused("ClosedBetweenChunks", chunked("2\r\nok\r\n"), kIncomplete),
    refused("ClosedInAChunk", chunked("5\r\nhel"), kIncomplete),
    {"StillWaiting", withLength(" 5", "hel"), false, Progress::NeedMore, {}, {}},

    // Answers past the limits: cut off as soon as they are known to be too large.
    cutOff("LengthPastTheCap", withLength(" 17", ""), kOver16Bytes, 16),
    cutOff("BodyToTheClosePastTheCap", "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(17, 'x'), kOver16Bytes, 16),
    cutOff("ChunksPastTheCapTogether", chunked("a\r\n0123456789\r\na\r\n"), kOver16Bytes, 16),
    cutOff("OneLongHeaderLine", "HTTP/1.1 200 OK\r\nX-Long: " + QByteArray(64 * 1024, 'a'), kHeadersTooLong),
    cutOff("ManyHeaderLines", "HTTP/1.1 200 OK\r\n" + ("X-Filler: " + QByteArray(40, 'a') + "\r\n").repeated(1500),
           kHeadersTooLong),
    cutOff("EndlessInterimAnswers", QByteArray("HTTP/1.1 100 Continue\r\n\r\n").repeated(3000), kHeadersTooLong,
           kDefaultCap, 100),
    cutOff("OneLongChunkLine", chunked("5;" + QByteArray(64 * 1024, 'e')), kUnreadable),
};

void PrintTo(const AnswerRow &row, std::ostream *os) { *os << row.name; }

// Every answer must read the same whichever way the connection splits it.
class AnswerBytes : public ::testing::TestWithParam<std::tuple<AnswerRow, bool>> {};

TEST_P(AnswerBytes, ReadTheSameHoweverSplit)
{
    const auto &[row, byteByByte] = GetParam();
    HttpResponseParser parser(row.cap);
    Progress progress = Progress::NeedMore;
    if (!byteByByte)
        progress = parser.feed(row.bytes.constData(), static_cast<std::size_t>(row.bytes.size()));
    for (qsizetype i = 0; byteByByte && i < row.bytes.size() && progress == Progress::NeedMore; ++i)
        progress = parser.feed(row.bytes.constData() + i, 1);
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

INSTANTIATE_TEST_SUITE_P(Answers, AnswerBytes, ::testing::Combine(::testing::ValuesIn(kRows), ::testing::Bool()),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_ByteByByte" : "_AllAtOnce");
                         });

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
