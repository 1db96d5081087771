#pragma once

#include "records/CommentFilter.h"
#include "records/CommentListOwner.h"
#include "records/CommentRow.h"
#include "records/RecordListDlg.h"
#include "records/RecordRows.h"

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
class CCommentDlg : public CRecordListDlg, public ICommentListOwner {
    Q_OBJECT
public:
    enum : int {
        kIdStatus = 1058,
        kIdView = 1087,
        kIdType = 1089,
        kIdUser = 1278,
        kIdShowAll = 1217,
        // Commands
        kCmdDone = 159,
        kCmdAdd = 12852,
        kCmdDelete = 12853,
        kCmdView = 12854,
        kCmdSearch = 12839,
    };

    CCommentDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CCommentDlg() override;

    bool OnCommand(int id) override;

    // Reads the hub's view request: a company's comments, or a project's
    // comments or to-dos.
    void SyncToMainProject();
    // Fills the list for the node; true when it did nothing because a fill
    // was running, or when the query ran.
    bool DoUpdateCommentData(const QString& nodeText, bool refill);
    CCommentFilter BuildCommentFilter();
    // The parts of the list's filter: the tree node's id (-1 for the root)
    // and the user's (-1 or 0 for everybody).
    int FilterNodeId();
    int FilterUserId() const;
    // After an add: when the comment is not in the list, the status line
    // says which part of the filter leaves it out.
    void TellWhyNotListed(int commentId);
    // The context menu at a point of the list (fromList) or the tree.
    void ShowListMenu(int x, int y, bool fromList);

    // ---- IHubWindow --------------------------------------------------------------
    // Brought forward by the hub: with a view request the window follows it,
    // otherwise the list is read again.
    void Refresh() override;

    // ---- ICommentListOwner ------------------------------------------------------
    int CommentRowCount() const override;
    void StepToCommentRow(int oldRow, int newRow) override;
    void RefreshComments() override;

    // ---- State for the dialogs and the tests ---------------------------------------
    bool IsCompanyView() const;
    // The comment of a list row; null when the row is none.
    const CCommentRow* RowAt(int row) const { return m_rows.At(row); }
    QString StatusText() const;
    CCmtViewDlg* RunningViewDialog() const { return m_viewDlg; }

    // ---- The tree/list operations -------------------------------------------------
    void OnListRowSelected(int row) override;
    void OnTreeItemActivated(QTreeWidgetItem* item) override;
    void OnContextMenu(int x, int y, bool fromList) override;
    void OnContextMenuClosed() override;
    void OnListFocus(int row) override;
    void OnFillList() override;
    QString GetColumnSqlName(int column) override;
    int GetColumnDataKind(int column) override;

protected:
    bool OnInitDialog() override;

    // ---- CRecordListDlg ------------------------------------------------------------------
    void ViewItem(int row) override;
    void OnAddItem() override { OnAddTask(); }
    void OnDeleteItem() override { OnDeleteTask(); }
    void FillTree() override;
    void BuildList() override;
    void RefillList() override { DoUpdateCommentData(m_nodeText, true); }
    int DefaultSortKind() const override;
    void OnClosing() override;
    void ReadFilters() override;

private:
    void BuildControls();
    void BuildMenus();
    // The user and type filters, read from the database.
    void FillFilterCombos();
    void SelectTypeEntry(const QString& text);
    // Shows the rows in the list's order for its sort column.
    void FillRows(QList<CCommentRow> rows);
    bool ReadRows(const CCommentFilter& where, QList<CCommentRow>& rows);
    QString SortText() const;
    void SortByColumn();

    void OnSelChangeView();
    void OnSelChangeType();
    void OnSelChangeUser();
    void OnShowAllProjects();
    void OnTreeSelChanged();
    void OnSetDone();
    void OnDeleteTask();
    void OnAddTask();
    void OnSearch();
    bool RequestPending() const;
    QString DefaultUserName() const;

    QComboBox* m_view = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_user = nullptr;
    QCheckBox* m_showAll = nullptr;
    QLabel* m_status = nullptr;
    // The filters as read when the window opened; false when they could not be.
    bool m_filtersRead = false;
    QString m_typePreset;

    QString m_companyName;
    int m_companyId = -1;
    bool m_isToDo = false;
    CCmtViewDlg* m_viewDlg = nullptr;
    std::unique_ptr<CCommentSet> m_set;
    CRecordRows<CCommentRow, &CCommentRow::CommentID> m_rows;
    // The condition of the last fill, for sorting the same rows again.
    CCommentFilter m_where;
};
