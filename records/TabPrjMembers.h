#pragma once

#include "data/ProjectTypes.h"
#include "records/ProjectPage.h"

#include <QList>

class CMyListCtrl;

// "Proj &Members": the project's leader and team with the hours each booked
// on the project.
class CTabPrjMembers : public CProjectPage {
    Q_OBJECT
public:
    enum : int { IDD = 355 };
    enum Column : int { kColId, kColName, kColHours, kColumnCount };

    explicit CTabPrjMembers(CShowPrjDlg* owner, QWidget* parent = nullptr);

    // The list, empty first, for the project.
    void FillMembers(int projId);
    CMyListCtrl* List() const { return m_list; }
    const QList<CProjectMember>& Members() const { return m_memberRows; }
    QString Cell(int row, int key) const;

protected:
    void Fill() override;

private:
    CMyListCtrl* m_list = nullptr;
    QList<int> m_columnKeys;
    QList<CProjectMember> m_memberRows;
};
