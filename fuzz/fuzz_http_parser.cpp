// The HTTP answer parser fed bytes as a connection delivers them. The first input byte chooses
// how the rest is cut into pieces and how large a body may be; the answer must not depend on
// where the pieces were cut, and nothing after a complete answer may change it.

#include "FuzzSupport.h"
#include "link/HttpResponseParser.h"

namespace {

struct Outcome {
    HttpResponseParser::Progress progress;
    QString error;
    int status;
    QByteArray contentType;
    QByteArray body;

    bool operator==(const Outcome &) const = default;
};

// The body of a failed answer is never used, and how much of it was read depends on the pieces.
Outcome outcomeOf(const HttpResponseParser &parser)
{
    const bool done = parser.progress() == HttpResponseParser::Progress::Done;
    return {parser.progress(), parser.error(), parser.status(), parser.contentType(),
            done ? parser.body() : QByteArray()};
}

// Feeds the answer in pieces whose lengths follow from the seed, then ends the connection.
Outcome parseInPieces(const QByteArray &answer, unsigned seed, qint64 maxBody)
{
    HttpResponseParser parser(maxBody);
    qsizetype at = 0;
    unsigned state = seed * 2654435761u + 1;
    while (at < answer.size()) {
        state = state * 1103515245u + 12345u;
        const qsizetype piece = std::min<qsizetype>(answer.size() - at, 1 + (state >> 16) % (seed % 7 == 0 ? 3 : 97));
        parser.feed(answer.constData() + at, static_cast<std::size_t>(piece));
        at += piece;
    }
    parser.finish();
    return outcomeOf(parser);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned seed = data[0];
    const QByteArray answer = fuzz::bytes(data + 1, size - 1);
    // Mostly the real limit; sometimes a small one, so that the limits are reached too.
    const qint64 maxBody = seed % 4 == 0 ? seed : HttpResponseParser::kMaxBodyBytes;

    HttpResponseParser whole(maxBody);
    whole.feed(answer.constData(), static_cast<std::size_t>(answer.size()));
    const HttpResponseParser::Progress beforeEnd = whole.progress();
    whole.finish();
    const Outcome outcome = outcomeOf(whole);

    fuzz::expect("the answer is decided once the connection ends",
                 outcome.progress != HttpResponseParser::Progress::NeedMore);
    fuzz::expect("a failure says why, a success says nothing",
                 (outcome.progress == HttpResponseParser::Progress::Failed) != outcome.error.isEmpty());
    fuzz::expect("the body stays within its limit", whole.body().size() <= maxBody);
    fuzz::expect("the body is never longer than the answer", whole.body().size() <= answer.size());
    if (outcome.progress == HttpResponseParser::Progress::Done) {
        fuzz::expect("interim answers are skipped", outcome.status >= 200);
        if (!answer.toLower().contains("chunked"))
            fuzz::expect("a body not in chunks is a piece of the answer", answer.contains(outcome.body));
    }

    fuzz::expect("the pieces do not matter", parseInPieces(answer, seed, maxBody) == outcome);

    if (beforeEnd != HttpResponseParser::Progress::NeedMore) {
        // Decided before the end: what follows is not part of it.
        const QByteArray more = answer.isEmpty() ? QByteArray("x") : answer;
        whole.feed(more.constData(), static_cast<std::size_t>(more.size()));
        fuzz::expect("bytes after a decided answer change nothing", outcomeOf(whole) == outcome);
    }
    return 0;
}
