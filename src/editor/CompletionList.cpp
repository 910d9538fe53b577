#include "editor/CompletionList.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <vector>

using Sci = QsciScintillaBase;

QString SortString(QStringView str)
{
    if (str.isEmpty())
        return {};
    struct Item {
        QStringView text;
        QString key;
    };
    std::vector<Item> items;
    for (const QStringView piece : str.tokenize(u'|'))
        items.push_back({piece, piece.toString().toUpper()});

    const std::size_t last = items.size() - 1;
    std::size_t gap = 1;
    do
        gap = 3 * gap + 1;
    while (gap <= last);
    do {
        gap /= 3;
        for (std::size_t i = gap; i <= last; ++i) {
            Item moving = std::move(items[i]);
            std::size_t j = i;
            while (j >= gap && items[j - gap].key > moving.key) {
                items[j] = std::move(items[j - gap]);
                j -= gap;
            }
            items[j] = std::move(moving);
        }
    } while (gap > 1);

    QString sorted;
    sorted.reserve(str.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            sorted += u'|';
        sorted += items[i].text;
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
