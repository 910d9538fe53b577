#include "platform/Prompt.h"

#include <QWidget>

#include <QFileDialog>
#include <QMessageBox>

namespace platform {
namespace {
QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(Answer answer)
{
    switch (answer) {
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Ok: return QMessageBox::Ok;
    }
    return QMessageBox::NoButton;
}
} // namespace

Answer QtPrompt::ask(const QString &title, const QString &text, Buttons buttons, Icon icon, Answer defaultAnswer)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, m_parent);
    switch (buttons) {
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    box.setDefaultButton(toQt(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

void QtPrompt::inform(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtPrompt::chooseOpenFile(const QString &title, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString QtPrompt::chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix,
                                 const QString &suggestedName)
{
    QFileDialog dialog(m_parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // The caller asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void QtPrompt::runModal(QDialog &dialog)
{
    dialog.exec();
    // Without a window manager nothing hands activation back, and the window's shortcuts
    // would stay dead until the user clicks it.
    if (QWidget *owner = dialog.parentWidget())
        owner->window()->activateWindow();
}

} // namespace platform
