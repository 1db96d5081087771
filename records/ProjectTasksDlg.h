#pragma once

#include "data/DateTime.h"
#include "ui/DialogBase.h"
#include "ui/TipButton.h"

class CBindingSet;
class CDBClass;
class COptionalDateEdit;
class CRichTextCtrl;
class CRichTextMenu;
class CShowPrjDlg;
class CTaskSet;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Project : ": the tasks of one project. A task shows its estimated and
// actual dates and hours, its percentage complete, its order and default
// work type, its state and its details; tasks are added, updated and
// deleted here. The project information window that opens it refills its
// task list after every change.
class CProjectTasksDlg : public CDialogBase, public ITipButtonOwner {
    Q_OBJECT
public:
    enum : int {
        IDD = 293,
        kIdWorkType = 1017,
        kIdAdd = 1090,
        kIdEstEnd = 1140,
        kIdActStart = 1141,
        kIdActEnd = 1142,
        kIdUpdate = 1163,
        kIdDelete = 1197,
        kIdActHours = 1326,
        kIdPercent = 1332,
        kIdTask = 1333,
        kIdEstHours = 1334,
        kIdDetails = 1335,
        kIdEstStart = 1336,
        kIdOrder = 1339,
        kIdActiveOnly = 1346,
        kIdState = 1376,
        kIdAuto = 1383,
    };
    static inline const QColor kNormalColor = QColor(0, 128, 64);
    static inline const QColor kOverColor = QColor(255, 0, 0);
    static inline const QColor kNoEstimateColor = QColor(0, 0, 255);
    static inline const QString kNoTasks = QStringLiteral("No Tasks");
    static inline const QString kNotAssigned = QStringLiteral("Not Assigned");
    // The most estimated hours a task takes (stored as a single).
    static constexpr double kMostHours = 999999.99;

    CProjectTasksDlg(const QString& projectName, int projId, const QString& taskName, int taskId,
                     CShowPrjDlg* owner, CDBClass& db, QWidget* parent = nullptr);
    ~CProjectTasksDlg() override;

    bool OnCommand(int id) override;

    void OnAddTask();
    void OnUpdateTask();
    void OnDeleteTask();
    void OnActiveTasksOnly();
    void OnSelchangeTask();
    // ITipButtonOwner: "Auto" sets the estimated hours from the estimated dates.
    void OnAutoEstimate(int buttonId) override;

    // A change was written (the owner refills its task list).
    bool Changed() const { return m_changed; }
    int TaskId() const { return m_taskId; }
    const QString& TaskName() const { return m_taskName; }
    bool ActiveOnly() const { return m_activeOnly; }
    QColor PercentColor() const;

    // The date a stored value shows as: none for no date, a zero date or a
    // year before 1901; 1 January 1990 for a year before 1990 (the
    // pickers' first day); the value otherwise.
    static CDateTime ShownDate(const CDateTime& value);

protected:
    bool OnInitDialog() override;

private:
    void BuildControls();
    void FillTaskCombo();
    void LoadTask(int projId, int taskId);
    void ResetControls();
    void UpdateButtons();
    // The hours text as a number; false (the user told) when it is none.
    bool ReadEstimatedHours(double& hours);
    // The name in the task combo; false (the user told) when it is blank or
    // another task of the project has it, or when that cannot be read (then
    // with what was not done).
    bool CheckTaskName(const QString& name, int exceptTaskId, const QString& notDone);
    // Tells a read or write of the set that failed: what was not done over why.
    static void TellNotDone(const QString& notDone, const CBindingSet& set);
    // The task name and details as they are written, checked against their
    // columns; false (the user told) when refused.
    bool TypedTexts(QString& name, QString& comment);
    // The item data of a combo's choice; -1 for none or "Not Assigned".
    static int ChosenId(const QComboBox* combo);
    static void SelectId(QComboBox* combo, int id, bool firstWhenMissing);
    void SetPercent(double percent, bool noEstimate);
    void AfterChange();

    CShowPrjDlg* m_owner;
    CDBClass& m_db;
    QString m_projectName;
    int m_projId;
    QString m_taskName;
    int m_taskId;
    bool m_activeOnly = true;
    bool m_changed = false;
    // Kept from the task loaded and written back unchanged.
    bool m_milestone = false;
    bool m_critical = false;
    // The task's comment as stored: a rich text left unedited is kept.
    QString m_storedComment;
    // The estimated hours were typed or worked out by Auto since the task
    // was loaded: Add stores them rather than working them out.
    bool m_hoursChosen = false;

    QComboBox* m_task = nullptr;
    COptionalDateEdit* m_estStart = nullptr;
    COptionalDateEdit* m_estEnd = nullptr;
    COptionalDateEdit* m_actStart = nullptr;
    COptionalDateEdit* m_actEnd = nullptr;
    QLineEdit* m_estHours = nullptr;
    QLabel* m_actHours = nullptr;
    QLabel* m_percent = nullptr;
    QComboBox* m_order = nullptr;
    QComboBox* m_workType = nullptr;
    QLabel* m_state = nullptr;
    CRichTextCtrl* m_details = nullptr;
    CRichTextMenu* m_textMenu = nullptr;
    QCheckBox* m_activeCheck = nullptr;
    CTipButton* m_auto = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_update = nullptr;
    QPushButton* m_delete = nullptr;
};
