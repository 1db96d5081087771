#pragma once

#include "app/HubWindow.h"
#include "ui/AcceleratorTable.h"
#include "ui/KeyFilter.h"
#include "ui/TipButton.h"
#include "ui/TreeListDlg.h"

#include <QList>
#include <QPointer>

#include <memory>

class CDBClass;
class CDummyDlg;
class CMyAdoRecordSet;
class CPageTabCtrl;
class CProjStatsDlg;
class CProjectPage;
class CProjectSet;
class CProjectTasksDlg;
class CRichTextCtrl;
class CTabPrjCustomer;
class CTabPrjLocation;
class CTabPrjMembers;
class CTabPrjOverview;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;

// "Project Information": one project at a time, chosen from the user's
// projects or from all of them; its leader and abstract, its active tasks
// with estimated and actual hours, and five pages (location, progress,
// customer, members, documentation). Update Totals recomputes the project's
// hours; a task opens in the project tasks dialog.
class CShowPrjDlg : public CTreeListDlg,
                    public IHubWindow,
                    public ITipButtonOwner,
                    public IKeyPreTranslator {
    Q_OBJECT
public:
    enum : int {
        IDD = 190,
        kIdProjectName = 1148,
        kIdLeader = 1151,
        kIdAbstract = 1116,
        kIdTaskLabel = 1180,
        kIdProject = 1345,
        kIdMyActive = 1347,
        kIdTabs = 1380,
        kIdUpdateTotals = 1385,
        // Commands of the window's menu and keys.
        kCmdClose = 12834,
        kCmdViewTask = 12854,
        kCmdFocusTasks = 12886,
    };
    // The task list's columns, by key; a stored layout may show them in
    // another order.
    enum TaskColumn : int {
        kColId,
        kColTask,
        kColEstHours,
        kColActHours,
        kColPercent,
        kColDetails,
        kTaskColumnCount,
    };

    // empId -1: the current user; projId -1: the user's first project (by
    // name), or the first project of all (by id) when the user has none.
    CShowPrjDlg(CDummyDlg* hub, CDBClass& db, int empId, int projId, QWidget* parent = nullptr);
    ~CShowPrjDlg() override;

    bool OnCommand(int id) override;

    // ---- What the pages and the tasks dialog read -------------------------------
    CDBClass& Db() const { return m_db; }
    CDummyDlg* Hub() const { return m_hub; }
    // The project shown; null when none could be read.
    const CProjectSet* Project() const;
    int ProjectId() const { return m_projId; }
    const QString& ProjectName() const { return m_projectName; }
    const QString& LeaderName() const { return m_leaderName; }
    int LeaderId() const { return m_leaderId; }
    // The number of the project's members (leader and team); at least 1.
    int MemberCount() const;
    // A search-result window of the project's time sheets and its rows; both
    // live as long as this window.
    void KeepSearchResult(CMyAdoRecordSet* rows, QObject* view);
    const QList<QPointer<QObject>>& SearchViews() const { return m_searchViews; }

    // ---- The chooser and the project ------------------------------------------------
    int EmployeeFilter() const { return m_empId; }
    bool MyActiveProjects() const { return m_myActive; }
    // Selects the chooser's item of the project (none changes when it has none).
    void SelectProject(int projId);
    // Loads the project the chooser shows, unless it is the one shown.
    void OnSelchangeProject();
    void OnMyActiveProjects();
    // ITipButtonOwner: "&Update Totals".
    void OnUpdateTotals() override;

    // ---- The task list ---------------------------------------------------------------
    // The project's active tasks; true when rows were read.
    bool FillTaskList(int projId);
    // The list column that shows a column key (-1 when none).
    int ColumnOfKey(int key) const { return static_cast<int>(m_columnKeys.indexOf(key)); }
    QString TaskCell(int row, int key) const;
    // Opens the row's task in the project tasks dialog.
    void ViewTask(int row);

    // ---- Pages ---------------------------------------------------------------------------
    CPageTabCtrl* Tabs() const { return m_tabs; }
    CTabPrjLocation* LocationPage() const { return m_location; }
    CProjStatsDlg* ProgressPage() const { return m_progress; }
    CTabPrjCustomer* CustomerPage() const { return m_customer; }
    CTabPrjMembers* MembersPage() const { return m_members; }
    CTabPrjOverview* OverviewPage() const { return m_overview; }
    QString AbstractText() const;

    // ---- IHubWindow ------------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    // Asked again by the hub: shows the employee's project it requested.
    void Refresh() override;
    // The project, its chooser, pages and tasks, when they could not be read.
    void ReadAgain() override;

    // ---- The list's operations (only the task list acts) ---------------------------------
    void OnListRowSelected(int) override {}
    void OnListRowActivated(int row, CMyListCtrl* list) override;
    void OnTreeItemActivated(QTreeWidgetItem*) override {}
    void OnContextMenu(int, int, bool) override {}
    void OnContextMenuClosed() override {}
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnListFocus(int) override {}
    void OnKeyDown(int, bool) override {}
    void OnFillList() override {}
    QString GetColumnSqlName(int) override { return QString(); }
    int GetColumnDataKind(int column) override;

    // ---- Keys: Alt+A and Alt+L to the task list, Ctrl+T views the task ------------------
    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;

protected:
    bool OnInitDialog() override;
    // Enter does nothing; Esc closes the window as its close command does.
    void OnOK() override {}
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The signed-on employee and the first of the employee's projects, where none was given.
    void TakeEmployeeAndProject();
    void BuildControls();
    void BuildMenus();
    void BuildTaskList();
    void AddPages();
    // Reads the project; false (the old one kept) when it cannot be read.
    bool OpenProject(int projId);
    // Fills the chooser for the filter (all projects when off) and selects
    // the shown project; when the filter's list lacks it, all projects are
    // listed and the filter is turned off.
    void FillChooser();
    // The employee's projects (every project with the filter off), by name,
    // none chosen.
    void FillChooserItems();
    void OfferAllProjects();
    // Leader, pages, abstract and caption from the project record.
    void RefreshProject();
    void LoadChosenProject(int projId);
    void FocusTaskList();

    CDummyDlg* m_hub;
    CDBClass& m_db;
    QComboBox* m_chooser = nullptr;
    QCheckBox* m_myActiveCheck = nullptr;
    QLabel* m_leader = nullptr;
    QLabel* m_nameLabel = nullptr;
    CRichTextCtrl* m_abstract = nullptr;
    CTipButton* m_updateTotals = nullptr;
    CPageTabCtrl* m_tabs = nullptr;
    CTabPrjLocation* m_location = nullptr;
    CProjStatsDlg* m_progress = nullptr;
    CTabPrjCustomer* m_customer = nullptr;
    CTabPrjMembers* m_members = nullptr;
    CTabPrjOverview* m_overview = nullptr;
    QList<CProjectPage*> m_pages;
    CAcceleratorTable m_accelerators;

    std::unique_ptr<CProjectSet> m_project;
    QPointer<CProjectTasksDlg> m_tasksDlg;
    QList<QPointer<QObject>> m_searchViews;
    QList<CMyAdoRecordSet*> m_searchRows;
    QList<int> m_columnKeys;
    QString m_projectName;
    QString m_leaderName;
    int m_leaderId = -1;
    int m_projId = -1;
    // The project the task list, pages and caption describe (-1 before the first).
    int m_loadedProjId = -1;
    int m_empId = -1;
    bool m_myActive = true;
    bool m_connected = false;
    bool m_closing = false;
};
