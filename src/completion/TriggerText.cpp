#include "completion/TriggerText.h"

QByteArray AfterLast(QByteArrayView text, QByteArrayView separator)
{
    if (separator.isEmpty())
        return text.toByteArray();
    // Case-insensitive last occurrence, ASCII letters only.
    for (qsizetype i = text.size() - separator.size(); i >= 0; --i) {
        if (QByteArrayView(text.data() + i, separator.size()).compare(separator, Qt::CaseInsensitive) == 0)
            return text.sliced(i + separator.size()).toByteArray();
    }
    return text.toByteArray();
}

QByteArray TrimSpaces(QByteArrayView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin).toByteArray();
}

QByteArray LastTokenWith(QByteArrayView text, QByteArrayView marker)
{
    const qsizetype space = text.lastIndexOf(' ');
    QByteArray token = space >= 0 ? TrimSpaces(text.sliced(space + 1)) : text.toByteArray().replace('\t', QByteArray());
    if (!token.contains(marker))
        return {};
    return token.replace("\r\n", QByteArray());
}
