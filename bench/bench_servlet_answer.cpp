// A 250 MiB servlet answer read into a table, in a fresh process: the time it takes and the
// process's peak memory against the answer's size (target: at most 4×, the answer counted).
// Two shapes: rows that each carry a value, and empty rows that only count.

#include "link/ServletResult.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr qsizetype kAnswerBytes = qsizetype(250) << 20;

qint64 peakBytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

struct Measured {
    double seconds = 0;
    double peakPerAnswerByte = 0;
    qint64 rows = -1; // -1: refused
};

// Builds the answer and reads it in a forked child, so that the peak is this answer's alone.
Measured measure(const QByteArray &row)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        const qint64 before = peakBytes();
        QByteArray answer = "<data result=\"ok\">";
        answer.reserve(kAnswerBytes + 64);
        while (answer.size() < kAnswerBytes)
            answer += row;
        answer += "</data>";
        QString message;
        const auto began = std::chrono::steady_clock::now();
        const std::optional<ResultTable> table = ParseServletResult(answer, message);
        Measured m;
        m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        m.peakPerAnswerByte = double(peakBytes() - before) / double(answer.size());
        m.rows = table ? table->rowCount() : -1;
        [[maybe_unused]] const auto written = ::write(pipeEnds[1], &m, sizeof m);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    Measured m;
    [[maybe_unused]] const auto read = ::read(pipeEnds[0], &m, sizeof m);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return m;
}

void report(benchmark::State &state, const QByteArray &row)
{
    Measured m;
    for (auto _ : state) {
        m = measure(row);
        state.SetIterationTime(m.seconds);
    }
    state.counters["peak/answer"] = m.peakPerAnswerByte;
    state.counters["rows"] = double(m.rows);
    state.SetBytesProcessed(state.iterations() * kAnswerBytes);
}

void BM_AnswerOfTableNames(benchmark::State &state) { report(state, "<row tablename=\"tbl_bill_1234\"/>"); }
BENCHMARK(BM_AnswerOfTableNames)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

// 65 million rows: refused at the cell limit while reading, never all held.
void BM_AnswerOfEmptyRows(benchmark::State &state) { report(state, "<r/>"); }
BENCHMARK(BM_AnswerOfEmptyRows)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
