#include "dialogs/FlattenControls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {
bool insideComboBox(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox *>(p))
            return true;
    }
    return false;
}

void flatten(QWidget &w)
{
    w.setProperty("flatBorder", true);
    if (auto *frame = qobject_cast<QFrame *>(&w)) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        return;
    }
    const QString cls = QString::fromLatin1(w.metaObject()->className());
    w.setStyleSheet(cls + QStringLiteral(" { border: 1px solid palette(dark); padding: 2px 6px; }"));
}
} // namespace

void FlattenControls(QWidget &form)
{
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (insideComboBox(w))
            continue;
        const auto *label = qobject_cast<const QLabel *>(w);
        const bool picture = label && !label->pixmap().isNull();
        if (qobject_cast<QPushButton *>(w) || qobject_cast<QLineEdit *>(w) || qobject_cast<QProgressBar *>(w) ||
            qobject_cast<QAbstractItemView *>(w) || picture)
            flatten(*w);
    }
}
