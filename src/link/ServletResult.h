#pragma once
// Reading the servlet's XML answer: data/@result and one element per row.

#include "link/ResultTable.h"

#include <QByteArray>
#include <chrono>
#include <optional>

// The message of an answer that could not be read before its deadline.
inline const QString kAnswerTimedOut = QStringLiteral("读取服务器的应答超时");

// std::nullopt when the answer is a failure (result not "ok", or a malformed success);
// a table that is not open when the answer is not XML, has no data element or no rows.
// A table that would pass maxCells is a failure too, with a message saying so, and so is an
// answer not read by the deadline. Rows are counted as they are read: memory stays in proportion
// to the answer's values, whatever its size.
std::optional<ResultTable> ParseServletResult(
    const QByteArray &answer, QString &message, qint64 maxCells = ResultTable::kMaxCells,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());
