#pragma once

#include "ui/DialogBase.h"

#include <QList>
#include <QStringList>

class CDBClass;
class QListWidget;

// "Change Team For Change Request": the team of one change request, chosen
// from the current employees. The team is shown and written by employee
// id; a member who has left stays on it until deselected. OK writes the
// team at once, in one transaction.
class CChgRstTeamDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int { kIdTeam = 1254 };

    CChgRstTeamDlg(int chgReqId, CDBClass& db, QWidget* parent = nullptr);

    // After OK: the team in list order.
    const QStringList& TeamNames() const { return m_names; }
    const QList<int>& TeamIds() const { return m_ids; }
    // Gone: the request was deleted elsewhere (the dialog then ends with Cancel).
    bool RequestGone() const { return m_gone; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // What a failure leaves undone.
    QString NotChanged() const;

    CDBClass& m_db;
    int m_chgReqId;
    QListWidget* m_team = nullptr;
    QStringList m_names;
    QList<int> m_ids;
    bool m_gone = false;
};
