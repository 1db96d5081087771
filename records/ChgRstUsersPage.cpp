#include "records/ChgRstUsersPage.h"

#include "data/DBClass.h"
#include "records/ChgRqstTeamList.h"
#include "ui/ComboItems.h"

#include <QComboBox>
#include <QFormLayout>
#include <QListWidget>

CChgRstUsersPage::CChgRstUsersPage(CDBClass& db, QWidget* parent)
    : CTabPage(381, parent)
    , m_db(db)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* form = new QFormLayout(this);
    m_authority = new QComboBox(this);
    SetControlId(m_authority, kIdAuthority);
    m_team = new QListWidget(this);
    SetControlId(m_team, kIdTeam);
    form->addRow(QStringLiteral("&Authority:"), m_authority);
    form->addRow(QStringLiteral("&Team:"), m_team);
}

void CChgRstUsersPage::Fill(const QString& userName)
{
    CComboItems authorities(m_authority);
    if (m_db.FillEmployeeCombo(authorities, userName, -1) < 0) {
        QString current;
        if (m_db.GetCurrentUser(current))
            m_db.FillEmployeeCombo(authorities, current, -1);
    }
    FillTeamList(m_db, m_team, {});
}

int CChgRstUsersPage::AuthorityId() const
{
    return m_authority->currentIndex() >= 0 ? m_authority->currentData().toInt() : -1;
}

QString CChgRstUsersPage::AuthorityName() const
{
    return m_authority->currentText();
}

void CChgRstUsersPage::Team(QStringList& names, QList<int>& ids) const
{
    SelectedTeam(m_team, names, ids);
}
