#pragma once

#include "app/HubWindow.h"
#include "records/BoundFilter.h"
#include "ui/TreeListDlg.h"

#include <QAbstractItemView>
#include <QList>
#include <QString>

class CDBClass;
class CDummyDlg;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
struct CMenuEntry;

// The base of the project-record windows (comments, change requests): a
// tree on the left and a list on the right over one area the splitter bar
// divides, the main menu with the hub's windows, the keys to list and tree,
// the list's column layout kept in the profile, the node of the tree the
// list shows, and the one column filter of the list.
class CRecordListDlg : public CTreeListDlg, public IHubWindow {
    Q_OBJECT
public:
    enum : int {
        kIdSplitter = 12843,
        // Commands
        kCmdApplyFilter = 107,
        kCmdSaveLayout = 12845,
        kCmdDefaultLayout = 12846,
        kCmdRefresh = 12880,
        kCmdFocusList = 12886,
        kCmdFocusTree = 12887,
        kCmdRemoveFilter = 12899,
    };

    // One column of a window's list: its title, default width, value kind
    // (ListColumnKind) and alignment.
    struct CListColumn {
        QString title;
        int width = 100;
        int kind = 0;
        bool right = false;
    };

    // The placement is kept in the profile under placementKey.
    CRecordListDlg(int templateId, CDummyDlg* hub, CDBClass& db, const QString& placementKey,
                   QWidget* parent = nullptr);

    // The main menu's other windows go to the hub; the keys' commands, the
    // layout, refresh and filter commands and "&Close" are handled here.
    bool OnCommand(int id) override;

    // true restores the placement (a default one the first time), false
    // keeps it.
    void SaveRestorePlacement(bool restore);

    // ---- State for the dialogs and the tests ---------------------------------------------
    const QString& NodeText() const { return m_nodeText; }
    int NodeId() const { return m_nodeId; }
    // The list column that shows a column kind of the window's table (-1 when none).
    int ColumnOf(int kind) const { return static_cast<int>(m_columns.indexOf(kind)); }
    // The column filter the list is narrowed by.
    const CBoundFilter& ListFilter() const { return m_listFilter; }

    // ---- IHubWindow --------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    // The filters it could not read, then the tree and the list.
    void ReadAgain() override;

    // ---- The tree/list operations the windows share ------------------------------------------
    void OnListRowActivated(int row, CMyListCtrl* list) override;
    void OnKeyDown(int virtualKey, bool fromTree) override;
    void OnSplitterMoved(int phase, int x, int y) override;
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    // The bar takes the mouse while it is dragged: its own release ends a drag.
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}

protected:
    // ---- What each window does ---------------------------------------------------------------
    // Views (edits) the record of a list row.
    virtual void ViewItem(int row) = 0;
    virtual void OnAddItem() = 0;
    virtual void OnDeleteItem() = 0;
    virtual void FillTree() = 0;
    // The list's columns made again (CreateListColumns).
    virtual void BuildList() = 0;
    // The rows of the current node read again.
    virtual void RefillList() = 0;
    // The column kind the list is sorted by until the user sorts by another.
    virtual int DefaultSortKind() const = 0;
    // Before the window closes: its running dialog ended, its rows let go.
    virtual void OnClosing() = 0;
    // The filter lists that are read from the database, read again when
    // they could not be.
    virtual void ReadFilters() {}

    // The area for tree, bar and list, placed by hand so that the bar can
    // move the edge between them; the window puts it in its layout.
    QWidget* MakeArea();
    void LayoutArea();
    // While the area lays out tree and list.
    bool IsSizing() const { return m_sizing; }
    bool eventFilter(QObject* watched, QEvent* event) override;

    // "&Menu" with the hub's windows, Help and "&Close", then the window's
    // own popups, then "&Search" (its command).
    void BuildMainMenu(const QList<CMenuEntry>& popups, int searchCommand);

    // Creates the list's columns in the order of the layout stored under
    // the key, and notes the column kind of each list column (ColumnOf).
    void CreateListColumns(const QString& layoutKey, const QList<CListColumn>& columns);
    // "Save &List Layout" and "Set List to &Default Layout": the layout
    // stored, then the list made again.
    void SaveListLayout();
    void ResetListLayout();
    void RebuildList();

    // ---- The tree ---------------------------------------------------------------------------
    // The node the list shows becomes the item's.
    void TakeNode(const QTreeWidgetItem* item);
    // Selects the node of that text, which the list then shows.
    void SelectNodeByText(const QString& text);
    // The tree at its place again, then its node's rows.
    void OnRefresh();
    // Inserts the projects an employee may see (every project for an id
    // below 0, each once) below the root; the one to select: the hub's
    // requested project when there is a request, or with no project
    // requested the default one; null when none.
    QTreeWidgetItem* InsertProjects(QTreeWidgetItem* root, int empId, bool request);

    // ---- The list ---------------------------------------------------------------------------
    // The list column sorted by: the user's, or the default kind's.
    int SortColumn() const;
    void ShowSortMark();
    // The query's order by a column: its direction for the column and the
    // id column after it, so rows of equal value come in the order they
    // were written, on either back end.
    QString SortClause(int column, const QString& sql, const QString& idColumn) const;
    // The list read from the database, or not: the hub is told, and the
    // status line the text of the rows found or of a list not read.
    void TellListRead(bool read);
    static QString ListNotReadText(const QString& what);
    // The caption: the window's title, the user and the filter's text.
    void SetListCaption(int stringId, const QString& title, const CBoundFilter& filter);
    // Leaves the old row and views the new one (the running edit dialog's
    // steps).
    void StepToRow(int oldRow, int newRow);

    // ---- The context menu -----------------------------------------------------------------
    // An entry of the context menu that runs a command.
    QAction* AddMenuCommand(QMenu* menu, const QString& text, int command);
    // "Filter by <column> = <value>": the value cut to ten characters, with
    // `more` after a cut one.
    static QString FilterEntryText(const QString& column, const QString& cell, const QString& more);
    // The list narrowed by the filter of the last context menu, or by none.
    void ApplyColumnFilter();
    void RemoveColumnFilter();

    void OnOK() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;

    static QComboBox* MakeCombo(QWidget* parent, int id);
    static QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent);

    CDummyDlg* m_hub;
    CDBClass& m_db;
    QString m_nodeText;
    int m_nodeId = -1;
    QString m_userName;
    QString m_defProject;
    // How a node selected by its text is scrolled into view.
    QAbstractItemView::ScrollHint m_nodeScroll = QAbstractItemView::EnsureVisible;
    // The column kind of each list column, by list column.
    QList<int> m_columns;
    // The filter the last context menu offered, and the one applied.
    CBoundFilter m_pendingFilter;
    CBoundFilter m_listFilter;
    bool m_initialising = false;
    bool m_refreshing = false;
    bool m_rebuildingTree = false;
    bool m_connected = false;
    bool m_closing = false;

private:
    QString m_placementKey;
    QString m_layoutKey;
    int m_columnCount = 0;
    QWidget* m_area = nullptr;
    int m_treeWidth = 180;
    bool m_sizing = false;
};
