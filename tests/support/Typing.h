#pragma once
// Typing into the real editing component as a person does, so that it adds each character
// itself and reports it; and what its completion list shows.

#include <Qsci/qsciscintillabase.h>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QStringList>
#include <QTest>

// ASCII through key clicks; other characters (Chinese, emoji) as key events carrying their text.
inline void typeText(QsciScintillaBase &editor, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 128 && c.unicode() >= 32) {
            QTest::keyClick(&editor, c.toLatin1());
            continue;
        }
        QString piece(c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            piece += text.at(++i);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, piece);
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, piece);
        QApplication::sendEvent(&editor, &release);
    }
}

inline bool listActive(QsciScintillaBase &editor) { return editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE) != 0; }

// The items of the open completion list, in the order shown; empty without a list.
inline QStringList shownItems(QsciScintillaBase &editor)
{
    if (!listActive(editor))
        return {};
    QStringList items;
    for (QListWidget *list : editor.findChildren<QListWidget *>()) {
        if (!list->isVisible())
            continue;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
    }
    return items;
}

// Chooses the list's current item as Return does.
inline void chooseCurrent(QsciScintillaBase &editor) { QTest::keyClick(&editor, Qt::Key_Return); }

inline QString documentText(QsciScintillaBase &editor)
{
    const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    QByteArray bytes(length + 1, '\0');
    editor.SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
    return QString::fromUtf8(bytes.constData());
}
