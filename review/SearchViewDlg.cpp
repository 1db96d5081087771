#include "review/SearchViewDlg.h"

#include "app/KelvaneApp.h"
#include "app/TxtVDlg.h"
#include "data/AdoTypes.h"
#include "data/BindingSet.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/RecordsetXml.h"
#include "platform/MessageBox.h"
#include "platform/UserFile.h"
#include "review/BrowserDlg.h"
#include "review/SearchKind.h"
#include "review/SearchResultTable.h"
#include "review/SelectXSLT.h"
#include "ui/AppIcon.h"
#include "ui/Mnemonics.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/WaitCursor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QMenu>
#include <QSet>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kPlacementKey = QStringLiteral("SearchViewDlg");

int SourceColumn(const CMyAdoRecordSet& rows, const QString& name)
{
    for (int c = 0; c < rows.FieldCount(); ++c)
        if (rows.FieldName(c).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

QString PriorityWord(const QVariant& value)
{
    switch (value.toInt()) {
    case 1:
        return QStringLiteral("High");
    case 2:
        return QStringLiteral("Medium");
    case 3:
        return QStringLiteral("Low");
    default:
        return QString();
    }
}

} // namespace

CSearchViewDlg::CSearchViewDlg(int kind, int /*columnCount*/, CMyAdoRecordSet* rows, CDBClass* db,
                               QWidget* parent)
    : CDialogBase(kTemplateId, parent)
    , m_kind(kind)
    , m_rows(rows)
    , m_db(db)
    , m_table(new CSearchResultTable(this))
    , m_list(new QTreeView(this))
    , m_status(new CPlainLabel(this))
    , m_menu(new QMenu(this))
{
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    SetControlId(m_status, kStatus);
    SetControlId(m_list, IDC_LIST);
    m_status->setFixedHeight(20);
    m_status->setContentsMargins(4, 0, 4, 0);
    m_list->setModel(m_table);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(-1, Qt::AscendingOrder);
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { SortByColumn(column); });
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowContextMenu(m_list->viewport()->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_status);
    layout->addWidget(m_list, 1);
    resize(760, 420);
    SetPlacementKey(kPlacementKey);

    // Shown the kind's way: task ids of comments by name, priorities of
    // change requests by word.
    m_table->SetTranslator(
        [this](const CSearchResultTable::CColumn& column, const QVariant& value) -> QString {
            if (m_kind == ID_TASKS && column.translation == 2 && m_db) {
                const QString name = m_db->GetTaskName(value.toInt());
                return name.isEmpty() ? QString() : name;
            }
            if (m_kind == ID_CHANGE_REQUESTS && column.translation == 1)
                return PriorityWord(value);
            return QString();
        });
}

CSearchViewDlg::~CSearchViewDlg()
{
    // The base class deletes the list after this object is gone; the list
    // may still lay itself out then and must not reach this object.
    m_table->SetTranslator({});
    m_list->setModel(nullptr);
}

bool CSearchViewDlg::OnInitDialog()
{
    DefineColumns();
    FillList();
    const CSearchKind* known = FindSearchKind(m_kind);
    setWindowTitle(known ? QLatin1String(known->viewTitle) : QStringLiteral("View Search Results"));
    return true;
}

void CSearchViewDlg::DefineColumns()
{
    QList<CSearchResultTable::CColumn> columns;
    QList<int> widths;
    if (!m_rows) {
        m_table->SetColumns(columns);
        return;
    }
    // Numbers written as the kind stores them, the same from either back end.
    m_numberTypes = QList<int>(m_rows->FieldCount(), 0);
    // The kind's captioned columns, found in the result by name.
    if (const auto set = CreateSearchListSet(m_kind, m_db ? m_db->Connection() : nullptr)) {
        for (int c = 0; c < set->BoundColumnCount(); ++c) {
            const CColumnDescriptor& d = set->Descriptor(c);
            const int source = d.name.isEmpty() ? -1 : SourceColumn(*m_rows, d.name);
            if (d.caption.isEmpty() || source < 0)
                continue;
            columns << CSearchResultTable::CColumn{d.name, d.caption, d.type, d.translation,
                                                   source};
            const int type = SearchColumnType(m_kind, d);
            if (type == adSingle || type == adDouble || type == adCurrency)
                m_numberTypes[source] = type;
            widths << d.width;
        }
    }
    // A result of other columns is shown as it came.
    if (columns.isEmpty()) {
        for (int c = 0; c < m_rows->FieldCount(); ++c) {
            columns << CSearchResultTable::CColumn{m_rows->FieldName(c), m_rows->FieldName(c), 0, 0,
                                                   c};
            widths << 100;
        }
    }
    m_table->SetColumns(columns);
    m_directions = QList<int>(columns.size(), -1);
    m_widths = widths;
}

void CSearchViewDlg::SizeColumns()
{
    // As wide as heading and texts need (judged by the first rows, so a
    // large result shows at once), at least the column's own width, at most
    // a readable one.
    constexpr int kWidest = 320;
    m_list->header()->setResizeContentsPrecision(200);
    for (int c = 0; c < m_widths.size(); ++c) {
        m_list->resizeColumnToContents(c);
        const int width = m_list->header()->sectionSize(c) + 8;
        m_list->header()->resizeSection(c, qBound(m_widths.at(c), width, kWidest));
    }
}

void CSearchViewDlg::FillList()
{
    if (!m_rows)
        return;
    CWaitCursor wait;
    m_blocks = m_table->Fill(*m_rows);
    SizeColumns();
    m_status->setText(QStringLiteral("Number Records : %1").arg(m_table->RowCount()));
}

QString CSearchViewDlg::StatusText() const
{
    return m_status->text();
}

void CSearchViewDlg::SortByColumn(int column)
{
    if (column < 0 || column >= m_table->ColumnCount())
        return;
    CWaitCursor wait;
    // The rows selected stay selected.
    QSet<int> selected;
    for (int row : SelectedRows())
        selected.insert(m_table->Order().at(row));
    const bool descending = m_directions.value(column, -1) == 0;
    m_directions[column] = descending ? 1 : 0;
    m_table->SortBy(column, descending);
    m_list->header()->setSortIndicator(column,
                                       descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QItemSelection selection;
    int first = -1;
    for (int row = 0; row < m_table->RowCount(); ++row) {
        if (!selected.contains(m_table->Order().at(row)))
            continue;
        selection.select(m_table->index(row, 0), m_table->index(row, m_table->ColumnCount() - 1));
        if (first < 0)
            first = row;
    }
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0)
        m_list->scrollTo(m_table->index(first, 0));
}

QList<int> CSearchViewDlg::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool CSearchViewDlg::ShowContextMenu(const QPoint& globalPoint)
{
    if (SelectedRows().isEmpty())
        return false;
    // A menu of its own each time: the registered sheets may have changed.
    delete m_menu;
    m_menu = new QMenu(this);
    auto add = [this](QMenu* menu, const QString& text, int id) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    };
    add(m_menu, QStringLiteral("View"), kCmdView);
    add(m_menu, QStringLiteral("Write XML to file"), kCmdWriteXml);
    add(m_menu, QStringLiteral("View XML in browser"), kCmdViewXml);
    m_menu->addSeparator();

    QString code;
    QStringList nicknames;
    QStringList files;
    QList<int> slotNumbers;
    if (CKelvaneApp::GetWindowCode(m_kind, code))
        CKelvaneApp::LoadSaveXsltList(code, nicknames, files, true, &slotNumbers);
    if (!nicknames.isEmpty()) {
        QMenu* sheets = m_menu->addMenu(QStringLiteral("View with XSLT "));
        for (int i = 0; i < nicknames.size(); ++i)
            add(sheets, EscapeMnemonics(nicknames.at(i)), kCmdFirstXslt + slotNumbers.at(i));
        m_menu->addSeparator();
    }
    add(m_menu, QStringLiteral("Register XSLT file"), kCmdRegisterXslt);
    m_menu->popup(globalPoint);
    return true;
}

bool CSearchViewDlg::OnCommand(int id)
{
    switch (id) {
    case kCmdView:
        ShowText();
        return true;
    case kCmdWriteXml:
        WriteXml();
        return true;
    case kCmdViewXml:
        ViewXml();
        return true;
    case kCmdRegisterXslt: {
        CSelectXSLT select(m_kind, this);
        select.DoModal();
        return true;
    }
    default:
        if (id >= kCmdFirstXslt && id < kCmdFirstXslt + CKelvaneApp::kXsltSlots) {
            ViewWithXslt(id - kCmdFirstXslt);
            return true;
        }
        return CDialogBase::OnCommand(id);
    }
}

QString CSearchViewDlg::SelectedText() const
{
    QString text;
    for (int row : SelectedRows())
        text += m_table->RowTexts(row).join(QStringLiteral(", ")) + QStringLiteral("\r\n");
    return text;
}

void CSearchViewDlg::ShowText()
{
    const QString text = SelectedText();
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
    CTxtVDlg viewer(this);
    viewer.m_text = text;
    viewer.DoModal();
}

bool CSearchViewDlg::WriteXml()
{
    if (!m_db || !m_rows)
        return false;
    CWaitCursor wait;
    if (!m_db->SaveRecordsetAsXml(m_rows, m_kind, m_table->Order(), m_numberTypes))
        return false;
    QString name;
    CDBClass::GetTempXmlName(m_kind, name);
    m_status->setText(QStringLiteral("Number Records : %1 - written to %2")
                          .arg(QString::number(m_table->RowCount()), name));
    return true;
}

void CSearchViewDlg::ViewXml()
{
    if (!WriteXml())
        return;
    QString name;
    CDBClass::GetTempXmlName(m_kind, name);
    ShowInBrowser(name);
}

void CSearchViewDlg::ViewWithXslt(int slot)
{
    QString code;
    QStringList nicknames;
    QStringList files;
    QList<int> slotNumbers;
    if (!m_db || !m_rows || !CKelvaneApp::GetWindowCode(m_kind, code) ||
        !CKelvaneApp::LoadSaveXsltList(code, nicknames, files, true, &slotNumbers))
        return;
    const int index = static_cast<int>(slotNumbers.indexOf(slot));
    if (index < 0)
        return;
    const QString file = files.at(index);
    // Only a regular file of a style sheet's size: never a pipe or a device.
    QByteArray bytes;
    QString why;
    switch (ReadUserFile(file, CSelectXSLT::kMaxStyleSheetBytes, bytes, &why)) {
    case UserFileProblem::None:
        break;
    case UserFileProblem::Missing:
        ShowMessageBox(QStringLiteral("%1 does not exist").arg(file), kMbOk | kMbIconWarning);
        return;
    case UserFileProblem::TooLarge:
        ShowMessageBox(QStringLiteral("%1 is too large to be a style sheet").arg(file),
                       kMbOk | kMbIconWarning);
        return;
    default:
        ShowMessageBox(QStringLiteral("Error reading %1\n%2").arg(file, why), kMbOk | kMbIconError);
        return;
    }
    const QString sheet = QString::fromUtf8(bytes);
    {
        CWaitCursor wait;
        if (!m_db->PersistAsXMLToHTML(m_rows, sheet, m_kind, m_table->Order(), m_numberTypes))
            return;
    }
    QString html;
    CDBClass::GetTempHtmlName(m_kind, html);
    ShowInBrowser(html);
}

void CSearchViewDlg::ShowInBrowser(const QString& fileName)
{
    CBrowserDlg browser(this, fileName, QString(), m_db);
    browser.DoModal();
}
