#pragma once

#include "ui/DialogBase.h"

#include <QString>

class CDBClass;
class CDateTime;
class CMyListCtrl;

// Lists the scheduled copies of a time block that clash with the employee's
// booked time, so the user sees which days Schedule Time leaves out.
class CClashViewDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int { kIdList = 1210 };

    CClashViewDlg(CDBClass& db, QWidget* parent, int clashCount, int empId, const QString& empName,
                  const QString& projName, const QString& taskName);

    CMyListCtrl* List() const { return m_list; }

    // The texts of a clash's date and times as the list shows them.
    static QString FormatWorkDate(const QDate& day);
    static QString FormatClashTime(const CDateTime& time);

protected:
    bool OnInitDialog() override;

private:
    CDBClass& m_db;
    int m_clashCount;
    int m_empId;
    QString m_empName;
    QString m_projName;
    QString m_taskName;
    CMyListCtrl* m_list = nullptr;
};
