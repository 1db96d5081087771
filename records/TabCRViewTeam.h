#pragma once

#include "ui/TabPage.h"

#include <QList>
#include <QStringList>

class CDBClass;
class QListWidget;

// The "Team" page of "Edit Change Request": the team, changed through
// "Change Team For Change Request", which writes it at once.
class CTabCRViewTeam : public CTabPage {
    Q_OBJECT
public:
    enum : int { kIdChangeTeam = 3, kIdTeam = 1254 };

    CTabCRViewTeam(CDBClass& db, QWidget* parent = nullptr);

    // The team of the request (ids, names from the employees).
    void Load(int chgReqId, const QList<int>& team);
    // The names as the request's team text keeps them.
    QStringList Names() const;
    // "Chan&ge Team": true when the team was written.
    bool ChangeTeam();
    // The team dialog found the request gone.
    bool RequestGone() const { return m_gone; }

protected:
    bool OnPageCommand(int id) override;

private:
    void Show(const QStringList& names);

    CDBClass& m_db;
    QListWidget* m_team = nullptr;
    int m_chgReqId = -1;
    bool m_gone = false;
};
