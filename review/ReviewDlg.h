#pragma once

#include "app/HubWindow.h"
#include "review/ReviewPeriod.h"
#include "ui/AcceleratorTable.h"
#include "ui/KeyFilter.h"
#include "ui/TipButton.h"
#include "ui/TreeListDlg.h"
#include "ui/UserCombo.h"

#include <QDate>
#include <QHash>
#include <QVector>

class CDBClass;
class CHoursSumSet;
class CReviewGridView;
class CDummyDlg;
class IOfficeDocuments;
class ISpreadsheet;
class QDateEdit;
class QLabel;
class QMenu;
class QWidget;

// The week review: the hours one employee, or all, booked over a period, as
// a grid of project and task by day with the totals; exported as a
// spreadsheet list or day by day.
class CReviewDlg : public CTreeListDlg,
                   public IHubWindow,
                   public ITipButtonOwner,
                   public IUserComboOwner,
                   public IKeyPreTranslator {
    Q_OBJECT
public:
    enum : int {
        kIdStart = 1137,
        kIdEnd = 1138,
        kIdStartLabel = 1040,
        kIdEndLabel = 1039,
        kIdSpan = 1226,
        kIdBack = 1316,
        kIdForward = 1317,
        kIdProject = 1056,
        kIdProjectLabel = 1057,
        kIdChooseProject = 1028,
        kIdUser = 1001,
        kIdUserLabel = 1002,
        kIdReview = 1111,
        kIdStatus = 1123,
        kIdExportList = 12796,
        kIdExportListAlt = 1197,
        kIdExportDays = 12843,
        kIdSearch = 12842,
        kAccelerators = 305,
        // The most days an export takes.
        kMaxExportDays = 250,
    };

    CReviewDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CReviewDlg() override;

    bool OnCommand(int id) override;

    // The period the window opens with (the hub's); invalid dates mean today.
    void SetPeriod(const QDate& start, const QDate& end);
    // Where the exports get their documents; the program's office session by default.
    void SetOfficeDocuments(IOfficeDocuments* documents) { m_documents = documents; }

    // ---- The review -------------------------------------------------------------------
    void OnReview();
    void OnBack();
    void OnForward();
    // A preset chosen in the span combo.
    void CheckSpan();
    void FillReview(const QString& projectFilter, bool newColumns);
    // The records the grid is made of: the hours of the employee (-1: all)
    // over the period, of the project unless the filter is empty or "All",
    // read forward in the grid's order.
    static void SelectGridRecords(CHoursSumSet& set, int empId, const CReviewPeriod& period,
                                  const QString& projectFilter);
    void OnChooseProject();

    // ---- Exports ------------------------------------------------------------------------
    // Brings the grid up to the controls and limits the export to 250 days
    // (asking); false when the user declines.
    bool CapExportDays(bool& capped);
    void ExportListView();
    void ExportDayView();
    // The file the last export was stored as (where it was stored).
    const QString& LastExportFile() const { return m_lastExportFile; }

    // ---- State ---------------------------------------------------------------------------
    const CReviewPeriod& Period() const { return m_period; }
    const QString& ProjectFilter() const { return m_projectFilter; }
    void SetProjectFilter(const QString& filter);
    const QString& UserText() const { return m_userText; }
    int DayCount() const { return m_dayCount; }
    int ExportDayCount() const { return m_exportDayCount; }
    const QVector<double>& ColumnTotals() const { return m_columnTotals; }
    double GrandTotal() const { return m_grandTotal; }
    QString StatusText() const;
    QString SelectedRowText() const { return m_selectedRow; }
    // The grid (control id 12884); it exists from the start, shown from the first fill.
    CReviewGridView* GridView() const { return m_grid; }

    // ---- IHubWindow ------------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    void ReadAgain() override;

    // ---- Buttons and combos ------------------------------------------------------------------
    void OnButtonId(int id) override;
    void OnProjectFilterChange(int id) override;

    // ---- Keys (table 305) ------------------------------------------------------------------
    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;

    // ---- Hooks of the tree/list base ----------------------------------------------------------
    void OnListRowSelected(int row) override;
    void OnListRowActivated(int, CMyListCtrl*) override {}
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
    // After a header click on the grid: the row selected before is selected again.
    void OnFillList() override;
    QString GetColumnSqlName(int) override { return QString(); }
    int GetColumnDataKind(int) override { return 0; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(bool saveAndValidate) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void OnUserChanged();
    void OnDateChanged();
    void SetReviewCaption();
    void PlaceGridAndStatus();
    void SetStatus(const QString& text);
    void FitTextColumns();
    void SaveState();
    // The records' filter of the selection: the employee, the period and,
    // unless it is "All" (any case) or empty, the project.
    static QString SelectionFilter(int empId, const QDate& start, const QDate& end,
                                   const QString& projectFilter, QVariantList& values);
    static bool ProjectFilterCounts(const QString& projectFilter);
    bool ProjectFilterCounts() const { return ProjectFilterCounts(m_projectFilter); }
    // The order the grid and the list export read the records in: each
    // project and task together. Names compare ignoring case in the
    // database but exactly in the rows, so the ids keep "Atlas" and
    // "ATLAS" apart instead of interleaving their days.
    static QString ProjectTaskOrder()
    {
        return QStringLiteral("[ProjName], [ProjID], [Task], [TaskID], [WorkDate]");
    }
    QString EmployeeName(int empId);
    // The export's document, or null after telling the user why there is none.
    std::unique_ptr<ISpreadsheet> NewWorkbook();
    void FailedExport(const std::exception& error);
    // Asks for the days, makes the workbook, writes it and hands it to the user.
    void RunExport(void (CReviewDlg::*write)(ISpreadsheet&, bool));
    void WriteListView(ISpreadsheet& sheet, bool capped);
    void WriteDayView(ISpreadsheet& sheet, bool capped);
    void Present(ISpreadsheet& sheet, const QString& title);

    CDummyDlg* m_hub;
    CDBClass& m_db;
    IOfficeDocuments* m_documents = nullptr;
    CAcceleratorTable m_accelerators;
    bool m_connected = false;

    QWidget* m_panel = nullptr;
    QDateEdit* m_startPicker = nullptr;
    QDateEdit* m_endPicker = nullptr;
    CUserCombo* m_span = nullptr;
    CTipButton* m_back = nullptr;
    CTipButton* m_forward = nullptr;
    QLabel* m_project = nullptr;
    CTipButton* m_chooseProject = nullptr;
    QComboBox* m_user = nullptr;
    CTipButton* m_review = nullptr;
    QLabel* m_status = nullptr;
    CReviewGridView* m_grid = nullptr;

    CReviewPeriod m_period;
    QString m_projectFilter = QStringLiteral("All");
    QString m_userText;
    QString m_spanText;
    QString m_lastReviewedUser;
    QString m_selectedRow;
    QString m_lastExportFile;
    int m_dayCount = 0;
    int m_exportDayCount = 0;
    QVector<double> m_columnTotals;
    double m_grandTotal = 0;
    QHash<int, QString> m_employeeNames;
    double m_scaleX = 1;
    double m_scaleY = 1;
    bool m_listCreated = false;
    bool m_datesChanged = false;
    bool m_settingControls = false;
    bool m_savePlacement = true;
    bool m_closed = false;
};
