// The completion filter and the trigger texts over any typed text: FilterList never fails
// (an invalid pattern gives the empty list), keeps matching items unchanged and in order, and
// the contains mode finds at least what the starts-with mode finds; AfterLast and LastTokenWith
// give pieces of their input.

#include "FuzzSupport.h"
#include "completion/TriggerText.h"
#include "completion/Vocabularies.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    // The search text up to the first NUL, the list after it.
    const qsizetype cut = input.indexOf('\0');
    const QString search = QString::fromUtf8(cut < 0 ? input : input.left(cut));
    const QString list = cut < 0 ? QStringLiteral("tblBill:单据|tblBillDetail:明细|tblUser:用户|a[b]|?#*")
                                 : QString::fromUtf8(input.mid(cut + 1));

    const QString starts = FilterList(list, search, FilterMode::StartsWith);
    const QString contains = FilterList(list, search, FilterMode::Contains);
    const QStringList items = list.split(u'|');
    const auto inOrder = [&items](const QString &result) {
        if (result.isEmpty())
            return true;
        qsizetype next = 0;
        for (const QString &item : result.split(u'|')) {
            while (next < items.size() && items.at(next) != item)
                ++next;
            if (next == items.size())
                return false;
            ++next;
        }
        return true;
    };
    fuzz::expect("starts-with items come from the list in order", inOrder(starts));
    fuzz::expect("contains items come from the list in order", inOrder(contains));
    fuzz::expect("contains finds what starts-with finds", starts.isEmpty() || !contains.isEmpty());
    if (search.isEmpty())
        fuzz::expectEqual("an empty search keeps the list", starts, list);

    const QByteArray typed = search.toUtf8();
    fuzz::expect("after-last is a tail", typed.endsWith(AfterLast(typed, "?")));
    const QByteArray token = LastTokenWith(typed, "?");
    fuzz::expect("the token holds the marker", token.isEmpty() || token.contains('?'));
    fuzz::expect("the token is no longer than the text", token.size() <= typed.size());
    return 0;
}
