#include "CliInputLimit.h"

#include <limits>

namespace cli {

void checkInputSize(qint64 read, qint64 limit, const QString &what)
{
    if (read > limit)
        throw InputTooLarge(QStringLiteral("%1 is larger than %2 bytes; stopped reading (--max-input SIZE reads more)")
                                .arg(what)
                                .arg(limit)
                                .toStdString());
}

std::optional<qint64> parseSize(const QString &text)
{
    QString digits = text.trimmed();
    int shift = 0;
    if (!digits.isEmpty()) {
        switch (digits.back().toUpper().unicode()) {
        case u'K': shift = 10; break;
        case u'M': shift = 20; break;
        case u'G': shift = 30; break;
        case u'T': shift = 40; break;
        default: break;
        }
        if (shift > 0)
            digits.chop(1);
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok || value <= 0 || digits.startsWith(u'+') || value > (std::numeric_limits<qint64>::max() >> shift))
        return std::nullopt;
    return value << shift;
}

QString takeMaxInput(QStringList &args, qint64 &limit)
{
    static const QString option = QStringLiteral("--max-input");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--"))
            break;
        QString value;
        if (arg == option) {
            if (i + 1 >= args.size())
                return QStringLiteral("--max-input needs a size");
            value = args.at(i + 1);
            args.remove(i, 2);
        } else if (arg.startsWith(option + QLatin1Char('='))) {
            value = arg.mid(option.size() + 1);
            args.remove(i);
        } else {
            continue;
        }
        const std::optional<qint64> size = parseSize(value);
        if (!size)
            return QStringLiteral("--max-input wants a size such as 500M or 2G, not %1").arg(value);
        limit = *size;
        --i;
    }
    return QString();
}

} // namespace cli
