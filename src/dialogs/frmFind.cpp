#include "dialogs/frmFind.h"

#include "dialogs/FindHistory.h"
#include "dialogs/FlattenControls.h"
#include "platform/ProgramFolder.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kApp = QStringLiteral("ScintillaClass");
const QString kSection = QStringLiteral("Settings");
} // namespace

frmFind::frmFind(ISettingsStore &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("查找"));

    auto *lblFind = new QLabel(QStringLiteral("查找内容:"), this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    m_cmbFind = new QComboBox(this);
    m_cmbFind->setObjectName(QStringLiteral("cmbFind"));
    m_cmbFind->setEditable(true);
    m_cmbFind->setInsertPolicy(QComboBox::NoInsert);
    m_cmbFind->setMinimumWidth(260);
    lblFind->setBuddy(m_cmbFind);

    auto *frmDirection = new QGroupBox(QStringLiteral("方向"), this);
    frmDirection->setObjectName(QStringLiteral("frmDirection"));
    m_optUp = new QRadioButton(QStringLiteral("向上(&U)"), frmDirection);
    m_optUp->setObjectName(QStringLiteral("optUp"));
    m_optDown = new QRadioButton(QStringLiteral("向下(&D)"), frmDirection);
    m_optDown->setObjectName(QStringLiteral("optDown"));
    auto *directionLayout = new QHBoxLayout(frmDirection);
    directionLayout->addWidget(m_optUp);
    directionLayout->addWidget(m_optDown);

    m_checks = dialogs::createSearchChecks(this);

    auto *cmdFind = new QPushButton(QStringLiteral("查找(&F)"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setDefault(true);
    auto *cmdCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFind::cmdCancel_Click);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblFind, 0, 0);
    grid->addWidget(m_cmbFind, 0, 1, 1, 2);
    grid->addWidget(cmdFind, 0, 3);
    grid->addWidget(m_checks.chkCase, 1, 0, 1, 2);
    grid->addWidget(frmDirection, 1, 2, 2, 1);
    grid->addWidget(cmdCancel, 1, 3);
    grid->addWidget(m_checks.chkWhole, 2, 0, 1, 2);
    grid->addWidget(m_checks.chkRegExp, 3, 0, 1, 2);
    grid->addWidget(m_checks.chkWrap, 4, 0, 1, 2);

    // Load: flat borders, stored position and options, the history.
    FlattenControls(*this);
    dialogs::restorePosition(*this, m_settings, QStringLiteral("FindLeft"), QStringLiteral("FindTop"));
    dialogs::restoreSearchChecks(m_checks, m_settings, QStringLiteral("F"));
    const bool up = dialogs::readTrueFalse(m_settings, QStringLiteral("FOptUp"), false);
    m_optUp->setChecked(up);
    m_optDown->setChecked(!up);
    m_cmbFind->addItems(FindHistory::LoadFindList(FindHistory::historyFolder(platform::programFolder())));
    m_cmbFind->setEditText(QString());
}

frmFind::~frmFind()
{
    dialogs::storePosition(*this, m_settings, QStringLiteral("FindLeft"), QStringLiteral("FindTop"));
    dialogs::storeSearchChecks(m_checks, m_settings, QStringLiteral("F"));
    m_settings.write(kApp, kSection, QStringLiteral("FOptUp"),
                     m_optUp->isChecked() ? QStringLiteral("True") : QStringLiteral("False"));
}

bool frmFind::optUpChecked() const { return m_optUp->isChecked(); }

bool frmFind::checked(const char *checkBoxName) const
{
    const auto *box = findChild<QCheckBox *>(QString::fromLatin1(checkBoxName));
    return box && box->isChecked();
}

void frmFind::cmdFind_Click()
{
    DoWhat = 1;
    const QString text = m_cmbFind->currentText();
    // A history that cannot be written leaves the search unaffected.
    if (!text.trimmed().isEmpty()) {
        if (m_history)
            m_history->record(FindHistory::historyFolder(platform::programFolder()), text);
        else
            FindHistory::AddToFindList(FindHistory::historyFolder(platform::programFolder()), text);
    }
    accept();
}

void frmFind::cmdCancel_Click() { reject(); }
