// The comments window's list: its filter, its fill, sorting, the context
// menu, the layout, and what the user does with a comment.
#include "records/CommentDlg.h"

#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "data/records/CommentSet.h"
#include "data/records/ProjectCommentSet.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/CmtAddDlg.h"
#include "records/CmtViewDlg.h"
#include "records/CommentColumns.h"
#include "records/CommentRecord.h"
#include "ui/Mnemonics.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/VirtualKeys.h"
#include "ui/WaitCursor.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>

#include <utility>

namespace {

const QString kProjectRoot = QStringLiteral("Project Comments");
const QString kCompanyRoot = QStringLiteral("Company Comments");
constexpr int kCaptionStringId = 12801;

} // namespace

// ---- Rows and columns ---------------------------------------------------------------------------

int CCommentDlg::CommentRowCount() const
{
    return m_rows.Count();
}

QString CCommentDlg::StatusText() const
{
    return m_status->text();
}

QString CCommentDlg::GetColumnSqlName(int column)
{
    return CCommentColumns::SqlColumn(m_columns.value(column, -1));
}

int CCommentDlg::GetColumnDataKind(int column)
{
    return CCommentColumns::Kind(column);
}

void CCommentDlg::BuildList()
{
    QList<CListColumn> columns;
    for (int code = 0; code < CCommentColumns::kCount; ++code) {
        const CCommentColumns::CColumn& column = CCommentColumns::Column(code);
        columns << CListColumn{QString::fromLatin1(column.caption), column.width, column.kind,
                               column.right};
    }
    CreateListColumns(QStringLiteral("TDlgList"), columns);
    // Directions belong to the columns as they were.
    List()->SetSortDirections({});
    // Sorted by the query (or here, for the task), never by the texts shown.
    List()->SetExternalSort(true);
    m_rows.Clear();
}

// ---- The filter and the fill --------------------------------------------------------------------

int CCommentDlg::FilterNodeId()
{
    const bool company = IsCompanyView();
    const QString root = company ? kCompanyRoot : kProjectRoot;
    if (m_nodeText.isEmpty())
        m_nodeText = root;
    if (m_nodeText == root)
        return -1;
    // The node's own id; a name alone is looked up.
    return m_nodeId >= 0 ? m_nodeId
           : company     ? m_db.GetCompanyIdByName(m_nodeText)
                         : m_db.GetProjIdByName(m_nodeText);
}

int CCommentDlg::FilterUserId() const
{
    return m_user->currentIndex() >= 0 ? m_user->currentData().toInt() : -1;
}

CCommentFilter CCommentDlg::BuildCommentFilter()
{
    return CCommentFilter::Build(IsCompanyView(), FilterNodeId(), FilterUserId(),
                                 m_type->currentIndex(), m_type->currentText());
}

void CCommentDlg::TellWhyNotListed(int commentId)
{
    if (commentId < 0)
        return;
    for (int row = 0; row < m_rows.Count(); ++row)
        if (m_rows.At(row)->CommentID == commentId)
            return;
    QList<CCommentRow> added;
    const CCommentFilter byId(
        CBoundFilter::Equals(QStringLiteral("[CommentID]"), QStringLiteral(" = "), commentId));
    if (!ReadRows(byId, added) || added.isEmpty())
        return;
    const CCommentRow& comment = added.first();
    QStringList why;
    const bool company = IsCompanyView();
    const int nodeId = FilterNodeId();
    if (nodeId >= 0 && (company ? comment.CompanyID : comment.ProjID) != nodeId)
        why << QStringLiteral("it is on %1, the list shows %2")
                   .arg(company ? comment.CompanyName : comment.ProjName, m_nodeText);
    const int empId = FilterUserId();
    if (empId > 0 && comment.EmpID != empId)
        why << QStringLiteral("it is for %1, the list shows %2")
                   .arg(comment.EmpFullName, m_user->currentText());
    if (m_type->currentIndex() > 0) {
        const QString shown = m_type->currentText();
        const bool three = shown.compare(CCommentFilter::ThreeTypes(), Qt::CaseInsensitive) == 0;
        const bool matches = three ? QStringList({QStringLiteral("Bad"), QStringLiteral("Good"),
                                                  QStringLiteral("Info")})
                                         .contains(comment.CommentType)
                                   : comment.CommentType.compare(shown, Qt::CaseInsensitive) == 0;
        if (!matches)
            why << QStringLiteral("its status is %1, the list shows %2")
                       .arg(comment.CommentType, shown);
    }
    if (!m_listFilter.IsEmpty())
        why << QStringLiteral("a column filter is on (%1)").arg(m_listFilter.text.trimmed());
    if (why.isEmpty())
        return;
    m_status->setText(QStringLiteral("%1 Comments found. The comment just added is not listed: %2.")
                          .arg(QString::number(m_rows.Count()), why.join(QStringLiteral("; "))));
}

bool CCommentDlg::DoUpdateCommentData(const QString& nodeText, bool refill)
{
    if (m_refreshing)
        return true;
    m_refreshing = true;
    m_status->clear();
    LayoutArea();
    if (IsSizing() || !refill || m_closing) {
        m_refreshing = false;
        return true;
    }
    CWaitCursor wait;
    if (!nodeText.isEmpty() && nodeText != m_nodeText) {
        m_nodeText = nodeText;
        m_nodeId = -1;
    }
    CCommentFilter where = BuildCommentFilter();
    const QString querying = QStringLiteral("Querying for COMMENT Items %1").arg(where.text);
    if (!m_listFilter.IsEmpty())
        where.Append(QStringLiteral(" AND "), m_listFilter);
    // A list read again that cannot be read keeps the rows it showed (the
    // reason has been told), so that what failed can be tried again.
    const bool same = where.sql == m_where.sql && where.values == m_where.values;
    const QList<CCommentRow> shown = same ? m_rows.All() : QList<CCommentRow>();
    List()->Clear();
    m_rows.Clear();
    ShowSortMark();
    m_status->setText(querying);
    SetListCaption(kCaptionStringId, QStringLiteral("Comments"), where);
    m_where = where;
    QList<CCommentRow> rows;
    if (!ReadRows(where, rows)) {
        FillRows(shown);
        m_status->setText(ListNotReadText(QStringLiteral("The comments")));
        TellListRead(false);
        m_refreshing = false;
        return false;
    }
    const qsizetype found = rows.size();
    FillRows(std::move(rows));
    m_status->setText(QStringLiteral("%1 Comments found").arg(found));
    TellListRead(true);
    m_refreshing = false;
    return true;
}

bool CCommentDlg::ReadRows(const CCommentFilter& where, QList<CCommentRow>& rows)
{
    if (!m_set)
        m_set = std::make_unique<CCommentSet>(m_db.Connection());
    // An open set would only run its last query again.
    m_set->Close();
    m_set->Recordset()->SetFilter(where.sql, where.values);
    m_set->Recordset()->SetSort(SortText());
    if (!m_db.OpenRecordSet(m_set.get()))
        return false;
    rows.reserve(rows.size() + qMax(0, m_set->Recordset()->RecordCount()));
    QHash<int, QString> taskNames;
    for (; !m_set->Recordset()->IsBOF() && !m_set->Recordset()->IsEOF(); m_set->MoveNext())
        rows << CCommentRow::FromSet(*m_set, m_db, &taskNames);
    // The rows are held by the list now; sorting them reads nothing again.
    m_set->Close();
    return true;
}

void CCommentDlg::FillRows(QList<CCommentRow> rows)
{
    const int column = SortColumn();
    const int code = m_columns.value(column, -1);
    if (code >= 0) {
        const bool descending = List()->SortDirections().value(column, 0) != 0;
        const QList<int> order = CCommentColumns::Order(rows, code, descending);
        rows = decltype(m_rows)::InOrder(std::move(rows), order);
    }
    m_rows.Fill(List(), std::move(rows), m_columns, &CCommentColumns::ShownCellText);
}

// ---- Sorting -------------------------------------------------------------------------------

int CCommentDlg::DefaultSortKind() const
{
    return CCommentColumns::kEntered;
}

QString CCommentDlg::SortText() const
{
    const int column = SortColumn();
    const QString sql = CCommentColumns::SqlColumn(m_columns.value(column, -1));
    // Ties go by the id as a value: named as the key, it leads SQLite to read
    // the whole table through one of its indexes rather than scan it.
    const QString id = QStringLiteral("+[CommentID]");
    // The task has no column: the rows come by date and are sorted here.
    if (sql.isEmpty())
        return QStringLiteral("[CommentDate] ASC, %1 ASC").arg(id);
    return SortClause(column, sql, id);
}

void CCommentDlg::OnFillList()
{
    SortByColumn();
}

void CCommentDlg::SortByColumn()
{
    // Nothing is held before the first query.
    if (!m_set)
        return;
    CWaitCursor wait;
    const int selected = m_rows.IdAt(List()->GetFirstSelected());
    FillRows(m_rows.All());
    const int row = m_rows.RowOf(selected);
    if (row >= 0)
        List()->SelectItem(row);
}

// ---- The context menu --------------------------------------------------------------------------

void CCommentDlg::OnContextMenu(int x, int y, bool fromList)
{
    ShowListMenu(x, y, fromList);
}

void CCommentDlg::OnContextMenuClosed()
{
    // The menu stays up until the user chooses; it gives the focus back
    // when it hides.
}

void CCommentDlg::ShowListMenu(int x, int y, bool fromList)
{
    QTreeWidgetItem* node = Tree()->currentItem();
    const QString nodeText = node ? node->text(0) : QString();
    const qint64 nodeData = CMyTreeCtrl::ItemData(node);
    const int row = List()->GetFirstSelected();
    const CCommentRow* comment = RowAt(row);
    m_isToDo = comment && comment->IsToDo();
    const QString addLabel = nodeData > 0
                                 ? QStringLiteral("Add %1 Comment").arg(EscapeMnemonics(nodeText))
                                 : QStringLiteral("Add Comment");
    QMenu* menu = PopupMenu();
    menu->clear();
    const auto add = [this, menu](const QString& text, int id) { AddMenuCommand(menu, text, id); };
    m_pendingFilter.Clear();
    if (fromList) {
        if (comment) {
            add(QStringLiteral("Edit"), kCmdView);
            if (m_isToDo)
                add(QStringLiteral("Done"), kCmdDone);
            menu->addSeparator();
        }
        add(addLabel, kCmdAdd);
        if (comment)
            add(QStringLiteral("Delete"), kCmdDelete);
        const QPoint inView = List()->viewport()->mapFrom(List(), QPoint(x, y));
        const int column = List()->header()->logicalIndexAt(inView.x());
        const int code = m_columns.value(column, -1);
        CCommentFilter filter;
        if (comment && code >= 0 && CCommentFilter::ForColumn(*comment, code, filter)) {
            menu->addSeparator();
            add(FilterEntryText(CCommentColumns::FilterName(code),
                                CCommentColumns::ShownCellText(*comment, code),
                                QStringLiteral("..")),
                kCmdApplyFilter);
            m_pendingFilter = filter;
        }
        if (!m_listFilter.IsEmpty()) {
            menu->addSeparator();
            add(QStringLiteral("Remove Filter"), kCmdRemoveFilter);
        }
    } else {
        add(addLabel, kCmdAdd);
    }
    QWidget* from = fromList ? static_cast<QWidget*>(List()) : Tree();
    menu->popup(from->mapToGlobal(QPoint(x, y)));
}

// ---- The list's own events -----------------------------------------------------------------

void CCommentDlg::OnListRowSelected(int row)
{
    if (const CCommentRow* comment = RowAt(row))
        m_key = QString::number(comment->CommentID);
}

void CCommentDlg::OnListFocus(int row)
{
    const CCommentRow* comment = RowAt(row);
    if (!comment)
        return;
    m_key = QString::number(comment->CommentID);
    m_isToDo = comment->IsToDo();
}

// ---- Done, delete, add and view ----------------------------------------------------------------

void CCommentDlg::OnSetDone()
{
    const CCommentRow* comment = RowAt(List()->GetFirstSelected());
    if (!comment)
        return;
    const int commentId = comment->CommentID;
    const QString notDone = QStringLiteral("Comment # %1 was not marked done.").arg(commentId);
    const CActionFailureText failure(notDone);
    CProjectCommentSet set(m_db.Connection());
    const int found = CCommentRecord::OpenForWrite(m_db, set, commentId, notDone);
    if (found < 0)
        return;
    if (found > 0) {
        CCommentRecord::WriteOnly(set, {CCommentRecord::kCommentType, CCommentRecord::kCompanyID});
        set.m_CommentType = QStringLiteral("Done");
        set.Descriptor(CCommentRecord::kCommentType).status = adFldOK;
        CCommentRecord::GiveOwnCompanyWhenNone(m_db, set);
        if (!set.Update()) {
            CCommentRecord::TellNotWritten(notDone, set);
            m_db.CloseRecordSet(&set, true);
            return;
        }
    }
    m_db.CloseRecordSet(&set, true);
    const int row = List()->GetFirstSelected();
    DoUpdateCommentData(m_nodeText, true);
    List()->SelectItem(qMin(row, CommentRowCount() - 1));
}

void CCommentDlg::OnDeleteTask()
{
    PopupMenu()->hide();
    const int row = List()->GetFirstSelected();
    const CCommentRow* comment = RowAt(row);
    if (!comment)
        return;
    const int commentId = comment->CommentID;
    if (ShowMessageBox(
            QStringLiteral("Delete comment %1 \"%2\"?")
                .arg(QString::number(commentId), LeftCharacters(comment->ProjectComment, 60)),
            kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    const QString notDone = QStringLiteral("Comment # %1 was not deleted.").arg(commentId);
    const CActionFailureText failure(notDone);
    CProjectCommentSet set(m_db.Connection());
    const int found = CCommentRecord::OpenForWrite(m_db, set, commentId, notDone);
    if (found < 0)
        return;
    // One statement in its own transaction; a failure is shown and changes nothing.
    if (found > 0 && !set.Delete())
        CCommentRecord::TellNotWritten(notDone, set);
    m_db.CloseRecordSet(&set, true);
    m_pendingFilter.Clear();
    m_listFilter.Clear();
    DoUpdateCommentData(m_nodeText, true);
    if (CommentRowCount() > 0)
        List()->SelectItem(qMin(row, CommentRowCount() - 1));
}

void CCommentDlg::OnAddTask()
{
    // "All" names no type: the dialog starts on the options' type for new comments.
    const QString typeText = m_type->currentText();
    int typeIndex = m_type->currentIndex();
    if (typeText.isEmpty() || typeText.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0)
        typeIndex = 0;
    const bool company = IsCompanyView();
    const QString root = company ? kCompanyRoot : kProjectRoot;
    CCmtAddDlg dialog(company ? QStringLiteral("Company") : QStringLiteral("Project"), typeIndex,
                      m_nodeId, m_companyName, m_companyId, this, m_db);
    if (!company && m_nodeText != root)
        dialog.SetProjectText(m_nodeText);
    if (company && m_nodeText != root)
        dialog.SetCompanyText(m_nodeText, m_nodeId);
    if (dialog.DoModal() == IDOK && !m_closing) {
        DoUpdateCommentData(m_nodeText, true);
        TellWhyNotListed(dialog.InsertedId());
    }
}

void CCommentDlg::ViewItem(int row)
{
    const CCommentRow* comment = RowAt(row);
    if (!comment) {
        OnAddTask();
        return;
    }
    m_key = QString::number(comment->CommentID);
    m_isToDo = comment->IsToDo();
    const CCommentTexts texts = CCommentColumns::Texts(*comment);
    if (m_viewDlg) {
        // The running dialog steps to this row.
        m_viewDlg->Reload(row, texts, comment->CommentID);
        List()->SelectItem(row);
        return;
    }
    CCmtViewDlg dialog(this, row, texts, comment->CommentID, m_db, this);
    m_viewDlg = &dialog;
    const int code = dialog.DoModal();
    m_viewDlg = nullptr;
    if (code == IDOK && !m_closing)
        RefreshComments();
}

void CCommentDlg::StepToCommentRow(int oldRow, int newRow)
{
    StepToRow(oldRow, newRow);
}

void CCommentDlg::RefreshComments()
{
    const int selected = m_rows.IdAt(List()->GetFirstSelected());
    DoUpdateCommentData(m_nodeText, true);
    const int row = m_rows.RowOf(selected);
    if (row >= 0)
        List()->SelectItem(row);
}
