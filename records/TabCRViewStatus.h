#pragma once

#include "data/DateTime.h"
#include "ui/TabPage.h"

class CDBClass;
class QCheckBox;
class QComboBox;
class QDateEdit;

// The "Status" page of "Edit Change Request": the status, whether the
// request is completed and the date it was.
class CTabCRViewStatus : public CTabPage {
    Q_OBJECT
public:
    enum : int { kIdDate = 1249, kIdCompleted = 1250, kIdStatus = 1305 };

    CTabCRViewStatus(CDBClass& db, QWidget* parent = nullptr);

    // The statuses of change requests (read once), the request's selected.
    // The date is the completion date of a completed request, else today.
    void Load(int statusId, bool completed, const CDateTime& completedDate);
    // The selected status; the one loaded when none is selected.
    int StatusId() const;
    bool Completed() const;
    QDate Date() const;
    // "Com&pleted" clicked: checked selects the completed status; cleared,
    // a completed status becomes the reopened one. The status is chosen
    // only while the request is not completed.
    void OnCompleted();

protected:
    bool OnPageCommand(int id) override;

private:
    void Select(int statusId);

    CDBClass& m_db;
    QComboBox* m_status = nullptr;
    QCheckBox* m_completed = nullptr;
    QDateEdit* m_date = nullptr;
    int m_statusId = -1;
};
