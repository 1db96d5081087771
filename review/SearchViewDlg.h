#pragma once

#include "ui/DialogBase.h"

#include <QList>

class CDBClass;
class CMyAdoRecordSet;
class CSearchResultTable;
class QLabel;
class QMenu;
class QTreeView;

// "View Search Results": the rows of one search in a list, sorted by a click
// on a column heading; from a row's context menu the selected rows as text,
// the result as an XML file, the XML in the browser, the result through a
// registered XSLT style sheet in the browser, and registering a sheet. The
// search dialog owns the view and the recordset it reads.
class CSearchViewDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 103;
    static constexpr int kStatus = 1120;
    enum Command : int {
        kCmdView = 12845,
        kCmdWriteXml = 12773,
        kCmdViewXml = 12777,
        kCmdRegisterXslt = 12900,
        // One a registered sheet: the first id plus the sheet's slot.
        kCmdFirstXslt = 2024,
        kCmdLastXslt = 2074,
    };

    // The columns shown are the kind's captioned columns the result holds
    // (all of the result's when it holds none); columnCount is what the
    // search selected.
    CSearchViewDlg(int kind, int columnCount, CMyAdoRecordSet* rows, CDBClass* db, QWidget* parent);
    ~CSearchViewDlg() override;

    bool OnCommand(int id) override;

    int Kind() const { return m_kind; }
    CSearchResultTable& Table() const { return *m_table; }
    QTreeView* List() const { return m_list; }
    QMenu* ContextMenu() const { return m_menu; }
    // The number of blocks the rows were read in.
    int BlocksRead() const { return m_blocks; }
    QString StatusText() const;

    // A click on a column heading: by that column, the other way than last time.
    void SortByColumn(int column);
    // The context menu at the point (global), when a row is selected; false
    // when there is none.
    bool ShowContextMenu(const QPoint& globalPoint);

protected:
    bool OnInitDialog() override;

private:
    void DefineColumns();
    void FillList();
    void SizeColumns();
    QString SelectedText() const;
    QList<int> SelectedRows() const;
    void ShowText();
    bool WriteXml();
    void ViewXml();
    void ViewWithXslt(int slot);
    void ShowInBrowser(const QString& fileName);

    int m_kind;
    CMyAdoRecordSet* m_rows;
    CDBClass* m_db;
    CSearchResultTable* m_table;
    QTreeView* m_list;
    QLabel* m_status;
    QMenu* m_menu;
    int m_blocks = 0;
    QList<int> m_directions;
    QList<int> m_widths;
    QList<int> m_numberTypes; // of the result's columns, for the XML
};
