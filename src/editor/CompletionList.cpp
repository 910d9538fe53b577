#include "editor/CompletionList.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>
#include <vector>

using Sci = QsciScintillaBase;

namespace {

// Shell sort with Knuth's gaps (1, 4, 13, …); an item moves down only past greater keys.
template <typename Item> void shellSort(std::vector<Item> &items)
{
    const std::size_t last = items.size() - 1;
    std::size_t gap = 1;
    do
        gap = 3 * gap + 1;
    while (gap <= last);
    do {
        gap /= 3;
        for (std::size_t i = gap; i <= last; ++i) {
            const Item moving = items[i];
            std::size_t j = i;
            while (j >= gap && items[j - gap].key.compare(moving.key) > 0) {
                items[j] = items[j - gap];
                j -= gap;
            }
            items[j] = moving;
        }
    } while (gap > 1);
}

} // namespace

QString SortString(QStringView str)
{
    if (str.isEmpty())
        return {};
    // Items as places in the text, compared by their upper-cased form (one copy of the text).
    struct Item {
        qsizetype start;
        qsizetype length;
        QStringView key;
    };
    const QString upper = str.toString().toUpper();
    const bool samePlaces = upper.size() == str.size();
    std::vector<QString> ownKeys; // only when upper-casing moved characters
    std::vector<Item> items;
    qsizetype start = 0;
    while (true) {
        const qsizetype bar = str.indexOf(u'|', start);
        const qsizetype length = (bar < 0 ? str.size() : bar) - start;
        items.push_back({start, length, {}});
        if (bar < 0)
            break;
        start = bar + 1;
    }
    if (!samePlaces)
        ownKeys.reserve(items.size());
    for (Item &item : items) {
        if (samePlaces) {
            item.key = QStringView(upper).mid(item.start, item.length);
        } else {
            ownKeys.push_back(str.mid(item.start, item.length).toString().toUpper());
            item.key = ownKeys.back();
        }
    }

    // Where no two keys are equal the order is the same whatever the sort: take the quick one.
    // Otherwise the Shell sort decides where equal keys end up.
    std::vector<Item> quick = items;
    std::sort(quick.begin(), quick.end(), [](const Item &a, const Item &b) { return a.key.compare(b.key) < 0; });
    const bool keysDistinct = std::adjacent_find(quick.begin(), quick.end(), [](const Item &a, const Item &b) {
                                  return a.key.compare(b.key) == 0;
                              }) == quick.end();
    if (keysDistinct)
        items = std::move(quick);
    else
        shellSort(items);

    QString sorted;
    sorted.reserve(str.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            sorted += u'|';
        sorted += str.mid(items[i].start, items[i].length);
    }
    return sorted;
}

void CompletionList::notify(const SCNotification &record)
{
    if (record.nmhdr.code != scn::CharAdded || !m_editor.AutoShowAutoComplete())
        return;
    const QString &start = m_editor.AutoCompleteStart();
    if (start.isEmpty() || record.ch != static_cast<int>(start.front().unicode()))
        return;
    show(m_editor.AutoCompleteString(), 0);
}

void CompletionList::show(const QString &list, int typedLength)
{
    // The component would open an empty box that swallows the next Enter.
    if (list.isEmpty())
        return;
    m_editor.SendEditor(Sci::SCI_AUTOCSHOW, static_cast<platform::WParam>(qMax(0, typedLength)), SortString(list));
}

QString CompletionList::selectedText() const
{
    if (!m_editor.SendEditor(Sci::SCI_AUTOCACTIVE))
        return {};
    const auto length = m_editor.SendEditor(Sci::SCI_AUTOCGETCURRENTTEXT, 0, 0);
    if (length <= 0)
        return {};
    QByteArray buffer(length + 1, '\0');
    m_editor.SendEditor(Sci::SCI_AUTOCGETCURRENTTEXT, 0, reinterpret_cast<platform::LParam>(buffer.data()));
    return QString::fromUtf8(buffer.constData());
}
