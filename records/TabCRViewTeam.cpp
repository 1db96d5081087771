#include "records/TabCRViewTeam.h"

#include "data/DBClass.h"
#include "records/ChgRstTeamDlg.h"
#include "ui/ResourceIds.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

CTabCRViewTeam::CTabCRViewTeam(CDBClass& db, QWidget* parent)
    : CTabPage(384, parent)
    , m_db(db)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* grid = new QGridLayout(this);
    m_team = new QListWidget(this);
    SetControlId(m_team, kIdTeam);
    m_team->setSortingEnabled(true);
    auto* label = new QLabel(QStringLiteral("&Team :"), this);
    label->setBuddy(m_team);
    QPushButton* change = AddCommandButton(QStringLiteral("Chan&ge Team"), kIdChangeTeam);
    change->setAutoDefault(false);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_team, 1, 0);
    grid->addWidget(change, 1, 1, Qt::AlignTop);
    grid->setRowStretch(1, 1);
}

void CTabCRViewTeam::Load(int chgReqId, const QList<int>& team)
{
    m_chgReqId = chgReqId;
    m_gone = false;
    QStringList names;
    for (int empId : team) {
        const QString name = m_db.GetEmpFullNameById(empId);
        names << (name.isEmpty() ? QStringLiteral("Employee %1").arg(empId) : name);
    }
    Show(names);
}

void CTabCRViewTeam::Show(const QStringList& names)
{
    m_team->clear();
    m_team->addItems(names);
}

QStringList CTabCRViewTeam::Names() const
{
    QStringList names;
    for (int row = 0; row < m_team->count(); ++row)
        names << m_team->item(row)->text();
    return names;
}

bool CTabCRViewTeam::OnPageCommand(int id)
{
    if (id == kIdChangeTeam) {
        ChangeTeam();
        return true;
    }
    return CTabPage::OnPageCommand(id);
}

bool CTabCRViewTeam::ChangeTeam()
{
    if (m_chgReqId < 0)
        return false;
    CChgRstTeamDlg dialog(m_chgReqId, m_db, this);
    const bool changed = dialog.DoModal() == IDOK;
    m_gone = dialog.RequestGone();
    if (changed)
        Show(dialog.TeamNames());
    return changed;
}
