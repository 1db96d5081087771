#pragma once

#include "app/PickListDlg.h"
#include "timesheet/EntryContext.h"
#include "ui/DialogBase.h"

class CDBClass;
class QLabel;
class QPushButton;
class QTextEdit;

// The order a task of the project is booked on, when it names one.
bool TaskOrder(CDBClass& db, int projId, int taskId, int& orderId, QString& code);

// What Save Times reads and writes of the window that runs it.
class ISaveTimesOwner : public IPickListOwner {
public:
    // The entry the window books: Save Times writes its choices back here.
    virtual CEntryContext& EntryContext() = 0;
    virtual bool& ShowAllProjects() = 0;
    virtual QString EmployeeName() = 0;
    virtual CDBClass& Facade() = 0;
    // The block on the time line now belongs to another project.
    virtual void MoveBlockToProject(int timeId, int oldProjId, int newProjId) = 0;
    // The default task, order and work type of a project, into `entry`.
    virtual void ApplyProjectDefaults(int projId, CEntryContext& entry) = 0;
    virtual void SetProjectChangedOnLine(bool changed) = 0;
};

// What Save Times starts with.
struct CSaveTimesInput {
    int projId = -1;
    QString projName;
    QString startText;
    QString stopText;
    int orderId = -1;
    QString orderName;
    int taskId = -1;
    QString taskName;
    int workTypeId = -1;
    QString workTypeName;
    QString comment;
    int timeId = -1;
    // The remembered task and work type are not applied.
    bool noDefaults = false;
    int chgReqId = -2;
};

// Completes a time block before it is stored: project, order, task, work
// type and comment. After OK the owner's entry holds the choices and
// Comment() the comment.
class CSaveTimesDlg : public CDialogBase {
    Q_OBJECT
public:
    CSaveTimesDlg(ISaveTimesOwner& owner, const CSaveTimesInput& input, QWidget* parent = nullptr,
                  int templateId = 147);

    // Takes new values for the next run.
    virtual void Refill(const CSaveTimesInput& input);

    bool OnCommand(int id) override;

    QString Comment() const { return m_comment; }
    bool ProjectChanged() const { return m_projectChanged; }
    int ProjId() const { return m_projId; }
    int TaskId() const { return m_taskId; }
    int OrderId() const { return m_orderId; }
    int WorkTypeId() const { return m_workTypeId; }
    QString ProjName() const { return m_projName; }
    QString TaskName() const { return m_taskName; }
    QString OrderName() const { return m_orderName; }
    QString WorkTypeName() const { return m_workTypeName; }
    // The change-request line of the variant; empty here.
    virtual QString ChgReqText() const { return QString(); }
    virtual int ChgReqId() const { return -2; }

    // Applies a project by name; false (nothing changed) when it is unknown.
    bool ApplyProject(const QString& name);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    void OnCancel() override;
    // The grid the variant adds its change-request line to.
    class QGridLayout* Grid() const { return m_grid; }
    ISaveTimesOwner& Owner() { return m_owner; }

private:
    void PickProject();
    void PickTask();
    void PickOrder();
    void PickWorkType();
    void SetPickerCaptions();
    void ShowCommentMenu(const QPoint& at);

    ISaveTimesOwner& m_owner;
    CDBClass& m_db;
    int m_projId = -1;
    int m_taskId = -1;
    int m_workTypeId = -1;
    int m_orderId = -1;
    bool m_noDefaults = false;
    QString m_startText;
    QString m_projName;
    QString m_stopText;
    QString m_orderName;
    QString m_taskName;
    QString m_workTypeName;
    QString m_commentIn;
    QString m_comment;
    int m_timeId = -1;
    bool m_projectChanged = false;

    QGridLayout* m_grid = nullptr;
    QTextEdit* m_commentEdit = nullptr;
    QLabel* m_projLabel = nullptr;
    QLabel* m_startLabel = nullptr;
    QLabel* m_stopLabel = nullptr;
    QLabel* m_orderLabel = nullptr;
    QLabel* m_taskLabel = nullptr;
    QLabel* m_workLabel = nullptr;
    QPushButton* m_orderButton = nullptr;
    QPushButton* m_taskButton = nullptr;
    QPushButton* m_workButton = nullptr;
    QPushButton* m_projButton = nullptr;
};
