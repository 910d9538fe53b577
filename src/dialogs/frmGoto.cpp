#include "dialogs/frmGoto.h"

#include "dialogs/DialogSettings.h"
#include "dialogs/FlattenControls.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>

namespace {
QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

int toTarget(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 1;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok) {
        // Only a run of digits too long for any integer is still a (huge) number.
        const bool digits = std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); });
        return digits ? std::numeric_limits<int>::max() : 1;
    }
    return static_cast<int>(std::clamp<qlonglong>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

frmGoto::frmGoto(ISettingsStore &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("frmGoto"));
    setWindowTitle(QStringLiteral("跳转"));
    m_lblCurLine = label(this, "lblCurLine", QStringLiteral("当前行: "));
    m_lblLineCount = label(this, "lblLineCount", QStringLiteral("末尾行:"));
    m_lblColumn = label(this, "lblColumn", QStringLiteral("列: "));
    QLabel *lblLine = label(this, "lblData", QStringLiteral("目标行:"));
    QLabel *lblCol = label(this, "lblData", QStringLiteral("列:"));
    m_txtLine = new QLineEdit(this);
    m_txtLine->setObjectName(QStringLiteral("txtLine"));
    m_txtColumn = new QLineEdit(this);
    m_txtColumn->setObjectName(QStringLiteral("txtColumn"));
    lblLine->setBuddy(m_txtLine);
    lblCol->setBuddy(m_txtColumn);
    m_txtLine->installEventFilter(this);
    m_txtColumn->installEventFilter(this);

    auto *cmdGo = new QPushButton(QStringLiteral("跳转(&G)"), this);
    cmdGo->setObjectName(QStringLiteral("cmdGo"));
    cmdGo->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdGo, &QPushButton::clicked, this, [this] {
        iWhatToDo = 1;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        iWhatToDo = 0;
        reject();
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_lblCurLine, 0, 0, 1, 2);
    grid->addWidget(m_lblLineCount, 1, 0, 1, 2);
    grid->addWidget(m_lblColumn, 2, 0, 1, 2);
    grid->addWidget(lblLine, 3, 0);
    grid->addWidget(m_txtLine, 3, 1);
    grid->addWidget(cmdGo, 3, 2);
    grid->addWidget(lblCol, 4, 0);
    grid->addWidget(m_txtColumn, 4, 1);
    grid->addWidget(cmdCancel, 4, 2);

    FlattenControls(*this);
    dialogs::restorePosition(*this, m_settings, QStringLiteral("GotoLeft"), QStringLiteral("GotoTop"));
}

frmGoto::~frmGoto() { dialogs::storePosition(*this, m_settings, QStringLiteral("GotoLeft"), QStringLiteral("GotoTop")); }

void frmGoto::setLabels(const QString &curLine, const QString &lineCount, const QString &column)
{
    m_lblCurLine->setText(curLine);
    m_lblLineCount->setText(lineCount);
    m_lblColumn->setText(column);
}

int frmGoto::targetLine() const { return toTarget(m_txtLine->text()); }
int frmGoto::targetColumn() const { return toTarget(m_txtColumn->text()); }

bool frmGoto::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_txtLine || watched == m_txtColumn) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        // Typed characters other than digits never reach the box; editing keys and shortcuts do.
        const bool printable = !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier);
        if (printable && !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
