#pragma once

#include "app/HubWindow.h"
#include "records/CommentFilter.h"
#include "records/CommentListOwner.h"
#include "records/CommentRow.h"
#include "ui/TreeListDlg.h"

#include <QHash>
#include <QList>

#include <memory>

class CCmtViewDlg;
class CCommentSet;
class CDBClass;
class CDummyDlg;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;

// The "Tasks" window: comments, to-dos and FAQs of projects or companies.
// The tree on the left lists the projects (or the companies); the list on
// the right shows the comments of the chosen node, narrowed by type, user
// and one column filter. From it comments are added, viewed and edited,
// marked done and deleted.
class CCommentDlg : public CTreeListDlg, public IHubWindow, public ICommentListOwner {
    Q_OBJECT
public:
    enum : int {
        kIdStatus = 1058,
        kIdView = 1087,
        kIdType = 1089,
        kIdUser = 1278,
        kIdShowAll = 1217,
        kIdSplitter = 12843,
        // Commands
        kCmdDone = 159,
        kCmdApplyFilter = 107,
        kCmdAdd = 12852,
        kCmdDelete = 12853,
        kCmdView = 12854,
        kCmdRemoveFilter = 12899,
        kCmdSearch = 12839,
        kCmdSaveLayout = 12845,
        kCmdDefaultLayout = 12846,
        kCmdRefresh = 12880,
        kCmdFocusList = 12886,
        kCmdFocusTree = 12887,
    };

    CCommentDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CCommentDlg() override;

    bool OnCommand(int id) override;

    // Reads the hub's view request: a company's comments, or a project's
    // comments or to-dos.
    void SyncToMainProject();
    // true restores the placement, false keeps it.
    void SaveRestorePlacement(bool restore);
    // Fills the list for the node; true when it did nothing because a fill
    // was running, or when the query ran.
    bool DoUpdateCommentData(const QString& nodeText, bool refill);
    CCommentFilter BuildCommentFilter();
    // The context menu at a point of the list (fromList) or the tree.
    void ShowListMenu(int x, int y, bool fromList);

    // ---- IHubWindow --------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    // Brought forward by the hub: with a view request the window follows it,
    // otherwise the list is read again.
    void Refresh() override;

    // ---- ICommentListOwner ------------------------------------------------------
    int CommentRowCount() const override;
    void StepToCommentRow(int oldRow, int newRow) override;
    void RefreshComments() override;

    // ---- State for the dialogs and the tests ---------------------------------------
    const QString& NodeText() const { return m_nodeText; }
    int NodeId() const { return m_nodeId; }
    bool IsCompanyView() const;
    // The comment of a list row; null when the row is none.
    const CCommentRow* RowAt(int row) const;
    // The list column that shows a code (-1 when none).
    int ColumnOfCode(int code) const;
    const CCommentFilter& AppliedColumnFilter() const { return m_appliedFilter; }
    QString StatusText() const;
    CCmtViewDlg* RunningViewDialog() const { return m_viewDlg; }

    // ---- The tree/list operations -------------------------------------------------
    void OnListRowSelected(int row) override;
    void OnListRowActivated(int row, CMyListCtrl* list) override;
    void OnTreeItemActivated(QTreeWidgetItem* item) override;
    void OnSplitterMoved(int phase, int x, int y) override;
    void OnContextMenu(int x, int y, bool fromList) override;
    void OnContextMenuClosed() override;
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    // The bar takes the mouse while it is dragged: its own release ends a drag.
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnListFocus(int row) override;
    void OnKeyDown(int virtualKey, bool fromTree) override;
    void OnFillList() override;
    QString GetColumnSqlName(int column) override;
    int GetColumnDataKind(int column) override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void FillTree();
    void BuildList();
    void LayoutArea();
    void SelectNodeByText(const QString& text);
    void SelectTypeEntry(const QString& text);
    void FillRows(const QList<CCommentRow>& rows, int select);
    bool ReadRows(const CCommentFilter& where, QList<CCommentRow>& rows);
    QString SortText() const;
    int SortColumn() const;
    void SortByColumn();
    void ShowSortMark();

    void OnSelChangeView();
    void OnSelChangeType();
    void OnSelChangeUser();
    void OnShowAllProjects();
    void OnTreeSelChanged();
    void OnSetDone();
    void OnDeleteTask();
    void OnAddTask();
    void ViewItem(int row);
    void OnSearch();
    void SaveListLayout();
    void ResetListLayout();
    void ApplyColumnFilter();
    void RemoveColumnFilter();
    void OnRefresh();
    bool RequestPending() const;
    QString DefaultUserName() const;
    int SelectedCommentId() const;
    int RowOfComment(int commentId) const;

    CDummyDlg* m_hub;
    CDBClass& m_db;
    QComboBox* m_view = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_user = nullptr;
    QCheckBox* m_showAll = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_area = nullptr;
    QMenu* m_mainMenu = nullptr;

    QString m_nodeText;
    int m_nodeId = -1;
    QString m_companyName;
    int m_companyId = -1;
    QString m_userName;
    QString m_defProject;
    bool m_isToDo = false;
    CCmtViewDlg* m_viewDlg = nullptr;
    std::unique_ptr<CCommentSet> m_set;
    // The list column of each code's cells, by list column (its code).
    QList<int> m_columnCodes;
    // The rows of the list in list order.
    QList<CCommentRow> m_rows;
    CCommentFilter m_pendingFilter;
    CCommentFilter m_appliedFilter;
    // The condition of the last fill, for sorting the same rows again.
    CCommentFilter m_where;
    int m_treeWidth = 180;
    bool m_refreshing = false;
    bool m_initialising = false;
    bool m_sizing = false;
    bool m_rebuildingTree = false;
    bool m_connected = false;
    bool m_closing = false;
};
