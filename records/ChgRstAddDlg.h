#pragma once

#include "data/DateTime.h"
#include "ui/DialogBase.h"

#include <QList>

class CChgRstItemsPage;
class CChgRstRefPage;
class CChgRstUsersPage;
class CDBClass;
class CPageTabCtrl;
class QComboBox;
class QDateEdit;

// "Add Change Request": a new change request of a project with its items,
// reference, company and contact, authority, team and priority. OK writes
// one request per item, each with its team, in one transaction, then
// offers the notification mails the options ask for.
class CChgRstAddDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        kIdProjectText = 1012,
        kIdPriority = 1106,
        kIdProject = 1345,
        kIdTabs = 1380,
        kIdDate = 12828,
    };
    // byCompany clear: name and id are the project's, which is preset; set:
    // id is a company's and no project is chosen.
    CChgRstAddDlg(bool byCompany, const QString& name, int id, CDBClass& db,
                  QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    CChgRstRefPage* RefPage() const { return m_refPage; }
    CChgRstUsersPage* UsersPage() const { return m_usersPage; }
    CChgRstItemsPage* ItemsPage() const { return m_itemsPage; }
    // After OK: the ids of the requests written, in item order.
    const QList<int>& WrittenIds() const { return m_writtenIds; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void InitPages();
    void OnSelChangeProject();
    bool CheckInput();
    // The notices the option "ChgRqstNot" asks for (0 none, 1 ask, 2 the
    // team, 3 the team and the authority).
    void AskNotifications(int option, const QString& authority, int chgReqId,
                          const QString& reference, const CDateTime& stamp);
    QStringList Addresses(const QList<int>& empIds);

    CDBClass& m_db;
    QString m_projectName;
    int m_projId = -1;
    int m_companyId = -1;
    int m_empId = -1;
    QString m_userName;
    QList<int> m_writtenIds;

    QComboBox* m_project = nullptr;
    QComboBox* m_priority = nullptr;
    QDateEdit* m_date = nullptr;
    CPageTabCtrl* m_tabs = nullptr;
    CChgRstRefPage* m_refPage = nullptr;
    CChgRstUsersPage* m_usersPage = nullptr;
    CChgRstItemsPage* m_itemsPage = nullptr;
};
