#pragma once

#include <QList>
#include <QMap>
#include <QStringList>
#include <QTreeWidget>

#include <memory>

class CBindingSet;
class CDBClass;
class CTreeListDlg;
class IListRowSource;

// Column data kinds the header-click sort compares by.
enum ListColumnKind : int {
    kColumnText = 0,
    kColumnInteger = 1,
    kColumnDateTime = 2,
};

// Column formats: how a column's texts and header are aligned.
enum ListColumnFormat : int {
    kFormatLeft = 0,
    kFormatRight = 1,
    kFormatCenter = 2,
};

// The look and behaviour of the program's report lists on a tree view:
// flat rows of even height chosen whole, no context menu, no sorting by Qt.
void SetReportListLook(QTreeView* view);

// The report list of the record windows: columns from titles, rows kept as
// texts under an integer key (or a row source's rows, their texts made when
// shown), a stable sort on a header click with the sort mark in the header,
// columns the user may drag, and a layout text (column ids and widths in
// display order) kept under "Window Settings". Its owner, a tree/list
// dialog, hears its clicks, keys and mouse moves.
class CMyListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    CMyListCtrl();
    ~CMyListCtrl() override;

    // Places the list in the owner (control id 12884) with movable columns
    // and the header's sort mark. Without widths each column gets an equal
    // share of the rectangle; a width below 0 gets that share too. Calling
    // it again replaces the columns and the rows.
    bool CreateList(const QRect& rect, CTreeListDlg* owner, const QStringList& titles,
                    const QList<int>& formats = {}, const QList<int>& widths = {});
    // The same list without owner: fixed columns, no sort on header clicks.
    bool CreateListSimple(const QRect& rect, QWidget* parent, const QStringList& titles,
                          const QList<int>& formats = {}, const QList<int>& widths = {});
    CTreeListDlg* Owner() const { return m_owner; }
    // The owner is going: nothing is reported any more.
    void DetachOwner() { m_owner = nullptr; }

    // ---- Rows ---------------------------------------------------------------
    // Inserts the texts at index key (at the end for -1) and keeps them under
    // key (the former row count for -1). False for no texts.
    bool InsertRow(const QStringList& texts, int key = -1);
    // Removes the rows and the kept texts, and lets go of a row source.
    void Clear();
    // Shows the source's rows in place of any others, in its order: nothing
    // is kept of them, a cell's text is asked of the source when needed. The
    // source outlives its rows in the list (Clear or ShowRows again).
    void ShowRows(const IListRowSource* source);
    const IListRowSource* RowSource() const { return m_source; }
    // Removes the rows only; the kept texts stay.
    void DeleteAll();
    // The key of the first kept row (in key order) whose text in the column
    // equals the text ignoring case; -1 when none.
    int FindRowByText(const QString& text, int column) const;
    int GetFirstSelected() const;
    void SelectItem(int index);
    void ResetItemState(int index);
    int ItemCount() const { return topLevelItemCount(); }
    QString ItemText(int index, int column) const;
    const QMap<int, QStringList>& Rows() const { return m_rows; }
    int TextsPerRow() const { return m_textsPerRow; }

    // ---- Columns ---------------------------------------------------------------
    int ColumnCount() const { return m_columns; }
    Qt::Alignment ColumnAlignment(int column) const;
    bool GetColumnWidths(QList<int>& widths) const;
    // The logical column at each display position.
    bool GetColumnOrder(QList<int>& order) const;
    // Filled by the owner, one entry per column: ListColumnKind, and the
    // direction last used (0 ascending, otherwise descending).
    void SetColumnKinds(const QList<int>& kinds) { m_kinds = kinds; }
    void SetSortDirections(const QList<int>& directions) { m_directions = directions; }
    const QList<int>& SortDirections() const { return m_directions; }
    // With an external sort a header click only moves the mark; the owner sorts.
    void SetExternalSort(bool external) { m_externalSort = external; }

    // ---- Sort mark ------------------------------------------------------------
    void SetSortMark(int column2, int column, int direction);
    // Moves the mark from the old column to the new one (owned lists only).
    void ModifyHeaderItems(int newColumn, int oldColumn, int direction);
    int LastSortedColumn() const { return m_lastSorted; }
    int SecondSortColumn() const { return m_secondSorted; }
    // The column showing the mark (-1 for none) and its direction.
    int SortMarkColumn() const { return m_markColumn; }
    int SortMarkDirection() const { return m_markDirection; }

    // ---- Layout ("Window Settings") ---------------------------------------------
    // "0,-1,1,-1,..." for the columns given (-1: the columns created).
    QString GetDefaultLayout(int columns = -1) const;
    // The column ids and widths in display order; false when a column has no
    // valid id.
    bool GetLayout(QString& text) const;
    // load: reads the layout under the key and parses it (the default when
    // missing, empty or too short for the columns, the profile then getting
    // the value passed in); value gets the text used. !load: stores value.
    // The owner loads before creating the list, so it gives the column count.
    bool LoadLayout(bool load, const QString& key, QString& value, int columns = -1);
    const QStringList& LayoutColumnIds() const { return m_layoutIds; }
    const QStringList& LayoutWidths() const { return m_layoutWidths; }
    // Puts the owner's columns (in its own order) into the loaded layout's
    // order with the stored widths (-1 keeps the owner's). A layout that
    // doesn't name each column once leaves them as they are; false then.
    bool ArrangeColumns(QStringList& titles, QList<int>& formats, QList<int>& widths) const;

    // ---- Owner's filter texts and record object --------------------------------
    // The owner's filter clause and its format (such as "%s = '%s'").
    void SetFilter(const QString& filter) { m_filter = filter; }
    const QString& Filter() const { return m_filter; }
    void SetFilterFormat(const QString& format) { m_filterFormat = format; }
    const QString& FilterFormat() const { return m_filterFormat; }
    // The list owns the record object; the facade closes it first.
    void AttachRecordSet(CBindingSet* set, CDBClass* db);
    CBindingSet* RecordSet() const { return m_recordSet.get(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool Create(const QRect& rect, QWidget* parent, const QStringList& titles,
                const QList<int>& formats, const QList<int>& widths, bool owned);
    void OnColumnClick(int column);
    void SortRows(int column, bool descending);
    void ShowSortMark();
    QPoint ToControl(const QPoint& viewportPoint) const;

    int m_columns = 0;
    int m_textsPerRow = 0;
    int m_lastSorted = -1;
    int m_secondSorted = -1;
    int m_markColumn = -1;
    int m_markDirection = 0;
    CTreeListDlg* m_owner = nullptr;
    std::unique_ptr<CBindingSet> m_recordSet;
    CDBClass* m_recordDb = nullptr;
    bool m_externalSort = false;
    QStringList m_layoutIds;
    QStringList m_layoutWidths;
    QString m_layoutText;
    QList<int> m_kinds;
    QList<int> m_directions;
    QList<int> m_formats;
    QMap<int, QStringList> m_rows;
    const IListRowSource* m_source = nullptr;
    QString m_filter;
    QString m_filterFormat;
};
