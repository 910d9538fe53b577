#pragma once
// How much of one input a batch command reads: endless input (/dev/zero, a runaway pipe) ends
// with one line and exit 2 instead of filling the memory.

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

namespace cli {

// Thrown by a reader that passed the limit; runCli turns it into a message and exit 2.
class InputTooLarge : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws InputTooLarge when read bytes of the input named `what` pass the limit.
void checkInputSize(qint64 read, qint64 limit, const QString &what);

// "2147483648", "64K", "512M", "2G" (binary units, upper or lower case); nullopt otherwise.
std::optional<qint64> parseSize(const QString &text);

// Removes "--max-input SIZE" and "--max-input=SIZE" (before any "--") from args into limit;
// the message of a missing or bad size, or an empty string.
QString takeMaxInput(QStringList &args, qint64 &limit);

} // namespace cli
