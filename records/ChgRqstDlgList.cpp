// The change-request window's list: its filter, its query and fill,
// sorting, the context menu, the layout, and what the user does with a
// request.
#include "records/ChgRqstDlg.h"

#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "data/records/ChgRqstBriefSet.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstFilter.h"
#include "records/ChgRstAddDlg.h"
#include "records/CommentRecord.h"
#include "records/ViewChgRqst.h"
#include "ui/ElidedLabel.h"
#include "ui/Mnemonics.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/VirtualKeys.h"
#include "ui/WaitCursor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>

#include <utility>

namespace {

const QString kRoot = QStringLiteral("Projects");
constexpr int kCaptionStringId = 12836;

// The rows of one of the two list queries.
template <typename Set>
bool ReadSet(CDBClass& db, const CBoundFilter& where, const QString& sort, QList<CChgRqstRow>& rows,
             QString& reason)
{
    Set set(db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(where.sql, where.values);
    set.Recordset()->SetSort(sort);
    if (!db.OpenRecordSet(&set)) {
        reason = set.Recordset()->ErrorText();
        return false;
    }
    rows.reserve(rows.size() + qMax(0, set.Recordset()->RecordCount()));
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
        rows << CChgRqstRow::FromSet(set);
    db.CloseRecordSet(&set);
    return true;
}

} // namespace

// ---- Rows and columns ---------------------------------------------------------------------------

int CChgRqstDlg::ChgRqstRowCount() const
{
    return m_rows.Count();
}

QString CChgRqstDlg::InformationText() const
{
    return m_information->FullText();
}

QString CChgRqstDlg::GetColumnSqlName(int column)
{
    return CChgRqstColumns::SqlColumn(m_columns.value(column, -1));
}

int CChgRqstDlg::GetColumnDataKind(int column)
{
    return CChgRqstColumns::ValueKind(column);
}

void CChgRqstDlg::BuildList()
{
    QList<CListColumn> columns;
    for (int kind = 0; kind < CChgRqstColumns::kCount; ++kind) {
        const CChgRqstColumns::CColumn& column = CChgRqstColumns::Column(kind);
        columns << CListColumn{QString::fromLatin1(column.title), column.width, column.kind,
                               column.right};
    }
    CreateListColumns(QStringLiteral("CRDlgList"), columns);
    CMyListCtrl* list = List();
    // Dated, newest first, until the user sorts by another column.
    QList<int> directions(CChgRqstColumns::kCount, 0);
    const int dated = ColumnOf(CChgRqstColumns::kDated);
    if (dated >= 0)
        directions[dated] = 1;
    list->SetSortDirections(directions);
    if (dated >= 0)
        list->SetSortMark(-1, dated, 1);
    // Sorted by the query, never by the texts shown.
    list->SetExternalSort(true);
    m_rows.Clear();
}

// ---- The filter and the query ------------------------------------------------------------------

CBoundFilter CChgRqstDlg::BuildChgRqstFilter()
{
    if (m_nodeText.isEmpty())
        m_nodeText = kRoot;
    int projId = -1;
    if (m_nodeText != kRoot)
        projId = m_nodeId >= 0 ? m_nodeId : m_db.GetProjIdByName(m_nodeText);
    const int authority =
        m_authority->currentIndex() >= 0 ? m_authority->currentData().toInt() : -2;
    const QString priority =
        m_priority->currentData().toInt() > 0 ? m_priority->currentText() : QString();
    return CChgRqstFilter::ForQuery(projId, TeamMemberId(), authority, m_openOnly->isChecked(),
                                    priority);
}

bool CChgRqstDlg::ReadRows(const CBoundFilter& where, int teamEmpId, QList<CChgRqstRow>& rows)
{
    QString reason;
    const bool read = teamEmpId < 0
                          ? ReadSet<CChgRqstBriefSet>(m_db, where, SortText(), rows, reason)
                          : ReadSet<CChgRqstBriefSet2>(m_db, where, SortText(), rows, reason);
    if (!read) {
        ShowMessageBox(QStringLiteral("Error reading change request table\n") + reason,
                       kMbOk | kMbIconError);
        return false;
    }
    // With "non-completed" only, a request with a completion date shown is left out.
    if (m_openOnly->isChecked())
        rows.removeIf([](const CChgRqstRow& row) {
            return !CChgRqstColumns::CellText(row, CChgRqstColumns::kActioned).isEmpty();
        });
    return true;
}

bool CChgRqstDlg::DoChgRqstQuery(int mode, int& count)
{
    count = 0;
    CWaitCursor wait;
    const int teamEmpId = TeamMemberId();
    CBoundFilter where = BuildChgRqstFilter();
    m_information->SetFullText(
        QStringLiteral("Querying for Change Request Items %1").arg(where.text));
    if (!m_listFilter.IsEmpty())
        where.Append(QStringLiteral(" AND "), m_listFilter);
    SetListCaption(kCaptionStringId, QStringLiteral("Change Requests"), m_listFilter);
    QList<CChgRqstRow> rows;
    if (!ReadRows(where, teamEmpId, rows))
        return false;
    count = static_cast<int>(rows.size());
    if (mode == 1) {
        FillRows(std::move(rows));
        return true;
    }
    if (teamEmpId >= 0 && count > kAskAbove &&
        ShowMessageBox(QStringLiteral("Writing %1 records may take some time - do you want to "
                                      "contine?")
                           .arg(count),
                       kMbYesNo | kMbIconQuestion) != kIdYes)
        return true;
    ExportToWord(rows);
    return true;
}

void CChgRqstDlg::RefreshList()
{
    if (m_refreshing || m_initialising || m_closing)
        return;
    m_refreshing = true;
    m_openOnly->setEnabled(true);
    LayoutArea();
    const int selected = m_rows.IdAt(List()->GetFirstSelected());
    int count = 0;
    const bool read = DoChgRqstQuery(1, count);
    m_information->SetFullText(read ? QStringLiteral("%1 Change Requests found").arg(count)
                                    : ListNotReadText(QStringLiteral("The change requests")));
    TellListRead(read);
    const int row = m_rows.RowOf(selected);
    if (row >= 0)
        List()->SelectItem(row);
    ShowSortMark();
    List()->setFocus();
    m_refreshing = false;
}

void CChgRqstDlg::FillRows(QList<CChgRqstRow> rows)
{
    const int column = SortColumn();
    const int kind = m_columns.value(column, -1);
    if (kind >= 0) {
        const bool descending = List()->SortDirections().value(column, 0) != 0;
        const QList<int> order = CChgRqstColumns::Order(rows, kind, descending);
        rows = decltype(m_rows)::InOrder(std::move(rows), order);
    }
    m_rows.Fill(List(), std::move(rows), m_columns, &CChgRqstColumns::ShownCellText);
}

void CChgRqstDlg::RefreshChangeRequests()
{
    RefreshList();
}

// ---- Sorting ---------------------------------------------------------------------------------

int CChgRqstDlg::DefaultSortKind() const
{
    return CChgRqstColumns::kDated;
}

QString CChgRqstDlg::SortText() const
{
    const int column = List()->LastSortedColumn();
    const QString sql =
        column >= 0 ? CChgRqstColumns::SqlColumn(m_columns.value(column, -1)) : QString();
    if (sql.isEmpty())
        return QStringLiteral("[DateCreated] DESC, [ChgReqID] DESC");
    return SortClause(column, sql, QStringLiteral("[ChgReqID]"));
}

void CChgRqstDlg::OnFillList()
{
    if (m_refreshing || m_initialising || m_closing)
        return;
    // The rows held are put in order; nothing is read again.
    CWaitCursor wait;
    const int selected = m_rows.IdAt(List()->GetFirstSelected());
    FillRows(m_rows.All());
    const int row = m_rows.RowOf(selected);
    if (row >= 0)
        List()->SelectItem(row);
    ShowSortMark();
    List()->setFocus();
}

// ---- The context menu --------------------------------------------------------------------------

void CChgRqstDlg::OnContextMenu(int x, int y, bool fromList)
{
    ShowListMenu(x, y, fromList);
}

void CChgRqstDlg::ShowListMenu(int x, int y, bool fromList)
{
    QTreeWidgetItem* node = fromList
                                ? Tree()->currentItem()
                                : Tree()->itemAt(Tree()->viewport()->mapFrom(Tree(), QPoint(x, y)));
    if (!node)
        node = Tree()->currentItem();
    const QString nodeText = node ? node->text(0) : QString();
    const qint64 nodeData = CMyTreeCtrl::ItemData(node);
    const QString addLabel = nodeData > 0 ? QStringLiteral("Add %1").arg(EscapeMnemonics(nodeText))
                                          : QStringLiteral("Add");
    QMenu* menu = PopupMenu();
    menu->clear();
    const auto add = [this, menu](const QString& text, int id) { AddMenuCommand(menu, text, id); };
    const CChgRqstRow* request = fromList ? RowAt(List()->GetFirstSelected()) : nullptr;
    if (request) {
        add(QStringLiteral("Edit"), kCmdView);
        menu->addSeparator();
        add(addLabel, kCmdAdd);
        add(QStringLiteral("Delete"), kCmdDelete);
    } else {
        add(addLabel, kCmdAdd);
    }
    // The filter entries: the clicked cell's value.
    m_pendingFilter.Clear();
    if (fromList) {
        const QPoint inView = List()->viewport()->mapFrom(List(), QPoint(x, y));
        const int column = List()->header()->logicalIndexAt(inView.x());
        const int kind = m_columns.value(column, -1);
        QTreeWidgetItem* item = List()->itemAt(inView);
        const CChgRqstRow* clicked = item ? RowAt(List()->indexOfTopLevelItem(item)) : request;
        CBoundFilter filter;
        if (clicked && kind >= 0 && CChgRqstFilter::ForColumn(*clicked, kind, filter)) {
            menu->addSeparator();
            add(FilterEntryText(CChgRqstColumns::SqlColumn(kind),
                                CChgRqstColumns::ShownCellText(*clicked, kind),
                                QStringLiteral("...")),
                kCmdApplyFilter);
            m_pendingFilter = filter;
        }
    }
    if (!m_listFilter.IsEmpty()) {
        menu->addSeparator();
        add(QStringLiteral("Remove Filter"), kCmdRemoveFilter);
    }
    QWidget* from = fromList ? static_cast<QWidget*>(List()) : Tree();
    menu->popup(from->mapToGlobal(QPoint(x, y)));
}

// ---- The list's own events -----------------------------------------------------------------

void CChgRqstDlg::OnListRowSelected(int row)
{
    if (const CChgRqstRow* request = RowAt(row))
        m_key = QString::number(request->ChgReqID);
}

void CChgRqstDlg::OnListFocus(int row)
{
    OnListRowSelected(row);
}

// ---- Open, add and delete ---------------------------------------------------------------------

void CChgRqstDlg::ViewItem(int row)
{
    const CChgRqstRow* request = RowAt(row);
    if (!request)
        return;
    const int chgReqId = request->ChgReqID;
    m_key = QString::number(chgReqId);
    if (m_viewDlg) {
        // The running dialog steps to this row.
        List()->SelectItem(row);
        m_viewDlg->LoadChgRqst(row, chgReqId);
        return;
    }
    CViewChgRqst dialog(this, row, chgReqId, m_db, this);
    m_viewDlg = &dialog;
    dialog.DoModal();
    m_viewDlg = nullptr;
    if (dialog.Updated() && !m_closing)
        RefreshList();
}

void CChgRqstDlg::StepToChgRqstRow(int oldRow, int newRow)
{
    StepToRow(oldRow, newRow);
}

void CChgRqstDlg::OnAdd()
{
    // The selected row's project, else the tree's.
    const CChgRqstRow* request = RowAt(List()->GetFirstSelected());
    QString name;
    int projId = -1;
    if (request && request->ProjID >= 0) {
        name = request->Project;
        projId = request->ProjID;
    } else if (!m_nodeText.isEmpty() && m_nodeText != kRoot) {
        name = m_nodeText;
        projId = m_nodeId >= 0 ? m_nodeId : m_db.GetProjIdByName(m_nodeText);
    }
    CChgRstAddDlg dialog(false, name, projId, m_db, this);
    if (dialog.DoModal() == IDOK && !m_closing)
        RefreshList();
}

void CChgRqstDlg::OnButtonDelete()
{
    PopupMenu()->hide();
    const int row = List()->GetFirstSelected();
    const CChgRqstRow* request = RowAt(row);
    if (!request)
        return;
    const int chgReqId = request->ChgReqID;
    if (ShowMessageBox(QStringLiteral("Delete change request %1 \"%2\" with its team and its "
                                      "actions?")
                           .arg(QString::number(chgReqId), LeftCharacters(request->Item, 60)),
                       kMbYesNo | kMbIconQuestion) != kIdYes)
        return;
    const QString notDeleted = QStringLiteral("Unable to delete change request %1 - nothing has "
                                              "been deleted.")
                                   .arg(chgReqId);
    const CActionFailureText failure(notDeleted);
    QString reason;
    const ChgReqResult result = m_db.DeleteChangeRequest(chgReqId, reason);
    if (result == ChgReqResult::NotFound)
        ShowMessageBox(QStringLiteral("Change request # %1 does not exist anymore - another user "
                                      "may have deleted it")
                           .arg(chgReqId),
                       kMbOk | kMbIconWarning);
    else if (result != ChgReqResult::Ok)
        ShowMessageBox(FailureMessage(notDeleted, kE_CommandError, reason), kMbOk | kMbIconError);
    List()->clearSelection();
    RefreshList();
    if (ChgRqstRowCount() > 0)
        List()->SelectItem(qMin(row, ChgRqstRowCount() - 1));
}
