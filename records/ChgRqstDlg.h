#pragma once

#include "records/BoundFilter.h"
#include "records/ChgRqstListOwner.h"
#include "records/ChgRqstRow.h"
#include "records/RecordListDlg.h"
#include "records/RecordRows.h"

#include <QList>

class CDBClass;
class CDummyDlg;
class CElidedLabel;
class CViewChgRqst;
class IOfficeDocuments;
class ITextDocument;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
struct CChgRqstReportItem;

// The "Change Requests" window: the projects in a tree on the left, the
// change requests of the chosen one in a list on the right, narrowed by
// authority, team member, priority and "non-completed", and by one column
// filter. From it requests are added, edited, deleted and written into a
// report document.
class CChgRqstDlg : public CRecordListDlg, public IChgRqstListOwner {
    Q_OBJECT
public:
    enum : int {
        kIdInformation = 1058,
        kIdAuthority = 1088,
        kIdTeamMember = 1089,
        kIdPriority = 1106,
        kIdOpenOnly = 1259,
        kIdFilterBox = 1372,
        // Commands
        kCmdSearch = 12841,
        kCmdWord = 12844,
        kCmdDelete = 12847,
        kCmdAdd = 12848,
        kCmdView = 12855,
    };
    // Exporting more rows than this in team-member mode asks first.
    static constexpr int kAskAbove = 20;

    CChgRqstDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CChgRqstDlg() override;

    bool OnCommand(int id) override;

    // Selects the project the hub asks for (its view request) in the tree.
    void SyncToMainProject();
    // Runs the list's query: mode 1 fills the list, mode 0 writes the
    // report. count gets the number of requests; false when the query failed.
    bool DoChgRqstQuery(int mode, int& count);
    // The query's condition from the filter controls and the tree.
    CBoundFilter BuildChgRqstFilter();
    // The context menu at a point of the list (fromList) or the tree.
    void ShowListMenu(int x, int y, bool fromList);
    // Where the report goes (tests); the program's office session otherwise.
    void SetDocuments(IOfficeDocuments* documents) { m_documents = documents; }
    // The file the last report was stored in ("" when it was shown unsaved).
    const QString& LastReportFile() const { return m_lastReportFile; }

    // ---- IHubWindow ------------------------------------------------------------------
    // Brought forward by the hub: follows its view request, lists again.
    void Refresh() override;

    // ---- IChgRqstListOwner -----------------------------------------------------------
    int ChgRqstRowCount() const override;
    void StepToChgRqstRow(int oldRow, int newRow) override;
    void RefreshChangeRequests() override;

    // ---- State for the dialogs and the tests -------------------------------------------
    // The request of a list row; null when the row is none.
    const CChgRqstRow* RowAt(int row) const { return m_rows.At(row); }
    QString InformationText() const;
    CViewChgRqst* RunningViewDialog() const { return m_viewDlg; }

    // ---- The tree/list operations ----------------------------------------------------------
    void OnListRowSelected(int row) override;
    void OnTreeItemActivated(QTreeWidgetItem* item) override;
    void OnContextMenu(int x, int y, bool fromList) override;
    void OnContextMenuClosed() override {}
    void OnListFocus(int row) override;
    void OnFillList() override;
    QString GetColumnSqlName(int column) override;
    int GetColumnDataKind(int column) override;

protected:
    bool OnInitDialog() override;

    // ---- CRecordListDlg ------------------------------------------------------------------
    void ViewItem(int row) override;
    void OnAddItem() override { OnAdd(); }
    void OnDeleteItem() override { OnButtonDelete(); }
    void FillTree() override;
    void BuildList() override;
    void RefillList() override { RefreshList(); }
    int DefaultSortKind() const override;
    void OnClosing() override;
    void ReadFilters() override;

private:
    void BuildControls();
    void BuildMenus();
    // The authority and team-member filters, read from the database.
    void FillPeopleCombos();
    void OnTreeSelChanged();
    void OnFilterChanged();
    void OnOpenOnly();
    void RefreshList();
    // Shows the rows in the list's order for its sort column.
    void FillRows(QList<CChgRqstRow> rows);
    bool ReadRows(const CBoundFilter& where, int teamEmpId, QList<CChgRqstRow>& rows);
    QString SortText() const;
    void OnAdd();
    void OnButtonDelete();
    void OnSearch();
    bool RequestPending() const;
    int TeamMemberId() const;

    // The report (ChgRqstDlgWord.cpp).
    void ExportToWord(const QList<CChgRqstRow>& rows);
    QList<CChgRqstReportItem> ReportItems(const QList<CChgRqstRow>& rows);
    void WriteWordRecord(ITextDocument& document, const QList<CChgRqstReportItem>& items);

    QComboBox* m_authority = nullptr;
    QComboBox* m_teamMember = nullptr;
    QComboBox* m_priority = nullptr;
    QCheckBox* m_openOnly = nullptr;
    CElidedLabel* m_information = nullptr;
    // The people filters as read when the window opened; false when they could not be.
    bool m_peopleRead = false;
    IOfficeDocuments* m_documents = nullptr;
    QString m_lastReportFile;

    CViewChgRqst* m_viewDlg = nullptr;
    CRecordRows<CChgRqstRow, &CChgRqstRow::ChgReqID> m_rows;
};
