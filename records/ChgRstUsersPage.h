#pragma once

#include "ui/TabPage.h"

#include <QList>
#include <QStringList>

class CDBClass;
class QComboBox;
class QListWidget;

// The "&Users" page of "Add Change Request": the authority and the team.
class CChgRstUsersPage : public CTabPage {
    Q_OBJECT
public:
    enum : int { kIdTeam = 1254, kIdAuthority = 12826 };

    CChgRstUsersPage(CDBClass& db, QWidget* parent = nullptr);

    // The employees again, the user as authority and nobody on the team.
    void Fill(const QString& userName);
    // -1 when none is chosen.
    int AuthorityId() const;
    QString AuthorityName() const;
    void Team(QStringList& names, QList<int>& ids) const;

private:
    CDBClass& m_db;
    QComboBox* m_authority = nullptr;
    QListWidget* m_team = nullptr;
};
