#include "dialogs/frmReplace.h"

#include "dialogs/FlattenControls.h"
#include "platform/Messages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QPointer<frmReplace> &theDialog()
{
    static QPointer<frmReplace> dialog;
    return dialog;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

frmReplace *frmReplace::instance() { return theDialog(); }

frmReplace &frmReplace::show(ISettingsStore &settings, platform::IPrompt &prompt, QWidget *parent)
{
    QPointer<frmReplace> &dialog = theDialog();
    if (!dialog)
        dialog = new frmReplace(settings, prompt, parent ? parent->window() : nullptr); // deletes itself on close
    dialog->QDialog::show();
    dialog->raise();
    dialog->activateWindow();
    return *dialog;
}

frmReplace::frmReplace(ISettingsStore &settings, platform::IPrompt &prompt, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmReplace"));
    setWindowTitle(QStringLiteral("替换"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto *lblFind = new QLabel(QStringLiteral("查找内容:"), this);
    lblFind->setObjectName(QStringLiteral("lblData"));
    auto *lblWith = new QLabel(QStringLiteral("替换为:"), this);
    lblWith->setObjectName(QStringLiteral("lblData"));
    m_cmbFind = new QComboBox(this);
    m_cmbFind->setObjectName(QStringLiteral("cmbFind"));
    m_cmbReplace = new QComboBox(this);
    m_cmbReplace->setObjectName(QStringLiteral("cmbReplace"));
    for (QComboBox *box : {m_cmbFind, m_cmbReplace}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(240);
    }
    m_lblReplace = new QLabel(this);
    m_lblReplace->setObjectName(QStringLiteral("lblReplace"));
    m_checks = dialogs::createSearchChecks(this);
    QPushButton *cmdFindNext = button(this, "cmdFindNext", QStringLiteral("查找下一个(&F)"));
    cmdFindNext->setDefault(true);
    QPushButton *cmdReplace = button(this, "cmdReplace", QStringLiteral("替换(&R)"));
    QPushButton *cmdReplaceAll = button(this, "cmdReplaceAll", QStringLiteral("替换全部(&A)"));
    QPushButton *cmdClose = button(this, "cmdClose", QStringLiteral("关闭"));
    connect(cmdFindNext, &QPushButton::clicked, this, &frmReplace::cmdFindNext_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmReplace::cmdReplace_Click);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmReplace::cmdReplaceAll_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblFind, 0, 0);
    grid->addWidget(m_cmbFind, 0, 1);
    grid->addWidget(cmdFindNext, 0, 2);
    grid->addWidget(lblWith, 1, 0);
    grid->addWidget(m_cmbReplace, 1, 1);
    grid->addWidget(cmdReplace, 1, 2);
    grid->addWidget(m_checks.chkCase, 2, 0, 1, 2);
    grid->addWidget(cmdReplaceAll, 2, 2);
    grid->addWidget(m_checks.chkWhole, 3, 0, 1, 2);
    grid->addWidget(cmdClose, 3, 2);
    grid->addWidget(m_checks.chkRegExp, 4, 0, 1, 2);
    grid->addWidget(m_checks.chkWrap, 5, 0, 1, 2);
    grid->addWidget(m_lblReplace, 6, 0, 1, 3);

    FlattenControls(*this);
    dialogs::restorePosition(*this, m_settings, QStringLiteral("ReplaceLeft"), QStringLiteral("ReplaceTop"));
    dialogs::restoreSearchChecks(m_checks, m_settings, QStringLiteral("R"));
}

FindOptions frmReplace::options() const
{
    FindOptions o;
    o.WrapDocument = m_checks.chkWrap->isChecked();
    o.CaseSensative = m_checks.chkCase->isChecked();
    o.WholeWord = m_checks.chkWhole->isChecked();
    o.RegExp = m_checks.chkRegExp->isChecked();
    return o;
}

bool frmReplace::findNext()
{
    if (!cScintilla)
        return false;
    const FindOutcome outcome = cScintilla->search().find(m_cmbFind->currentText(), options());
    if (outcome.invalidPattern)
        m_prompt.inform(platform::appTitle(), platform::messages::invalidPattern(m_cmbFind->currentText()),
                        platform::Icon::Information);
    return outcome.found;
}

void frmReplace::cmdFindNext_Click() { findNext(); }

void frmReplace::cmdReplace_Click()
{
    if (!cScintilla)
        return;
    const QString find = m_cmbFind->currentText();
    // The selection must begin with the find text itself, compared with case.
    if (cScintilla->GetSelText().startsWith(find, Qt::CaseSensitive))
        cScintilla->ReplaceSel(m_cmbReplace->currentText());
    findNext();
}

void frmReplace::cmdReplaceAll_Click()
{
    if (!cScintilla)
        return;
    const QString find = m_cmbFind->currentText();
    const ReplaceOutcome outcome = cScintilla->search().replaceAll(find, m_cmbReplace->currentText(), options());
    if (outcome.invalidPattern) {
        m_prompt.inform(platform::appTitle(), platform::messages::invalidPattern(find), platform::Icon::Information);
        return;
    }
    const int n = outcome.count;
    if (n >= 1)
        m_lblReplace->setText(QStringLiteral("替换了 ") + QString::number(n) + QStringLiteral(" 次"));
    else
        m_prompt.inform(platform::appTitle(), QStringLiteral("内容 \"") + find + QStringLiteral("\"  没有找到"),
                        platform::Icon::Information);
}

bool frmReplace::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_cmbFind->setFocus(Qt::ActiveWindowFocusReason);
    return QDialog::event(event);
}

void frmReplace::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    dialogs::storePosition(*this, m_settings, QStringLiteral("ReplaceLeft"), QStringLiteral("ReplaceTop"));
    dialogs::storeSearchChecks(m_checks, m_settings, QStringLiteral("R"));
    if (cScintilla)
        cScintilla->SetFocus();
}

void frmReplace::closeEvent(QCloseEvent *event)
{
    unload();
    QDialog::closeEvent(event);
}
