#include "platform/Prompt.h"

#include <QProgressDialog>

namespace platform {
namespace {

class NeverCancelled : public IBusy {
public:
    bool cancelRequested() override { return false; }
};

// An indefinite progress dialog, modal to its window, whose one button is "取消".
class ProgressBusy : public IBusy {
public:
    ProgressBusy(QWidget *parent, const QString &title, const QString &text)
        : m_dialog(text, QStringLiteral("取消"), 0, 0, parent)
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.show();
    }
    bool cancelRequested() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

std::unique_ptr<IBusy> IPrompt::showBusy(const QString &, const QString &)
{
    return std::make_unique<NeverCancelled>();
}

std::unique_ptr<IBusy> QtPrompt::showBusy(const QString &title, const QString &text)
{
    return std::make_unique<ProgressBusy>(m_parent, title, text);
}

} // namespace platform
