#pragma once
// Reading the servlet's XML answer: data/@result and one element per row.

#include "link/ResultTable.h"

#include <QByteArray>
#include <optional>

// std::nullopt when the answer is a failure (result not "ok", or a malformed success);
// a table that is not open when the answer is not XML, has no data element or no rows.
// A table that would pass maxCells is a failure too, with a message saying so.
std::optional<ResultTable> ParseServletResult(const QByteArray &answer, QString &message,
                                              qint64 maxCells = ResultTable::kMaxCells);
