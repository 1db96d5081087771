#include "records/ContactDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "app/WindowCaption.h"
#include "data/DBClass.h"
#include "data/records/AddrPersonListSet.h"
#include "data/records/CompanyBusTypeSet.h"
#include "data/records/CompanyDetailSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "records/ContactMessage.h"
#include "ui/AppIcon.h"
#include "ui/MenuBuilder.h"
#include "ui/Mnemonics.h"
#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/StringTable.h"
#include "ui/Utilities.h"
#include "ui/VirtualKeys.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
#include <QStyle>
#include <QVBoxLayout>

#include <array>

namespace {

const QString kPlacementKey = QStringLiteral("ContactDlg");
const QString kDefaultPlacement = QStringLiteral("(431,851,476,1171),NORM 1");
const QString kArrangeKey = QStringLiteral("Window Settings/Contact_Arrange");
const QString kListKey = QStringLiteral("CDlgList");
const QString kRoot = QStringLiteral("Companies");
constexpr int kCaptionId = 12803;
constexpr int kBarWidth = 3;
constexpr int kInfoHeight = 118;
constexpr int kMinPane = 40;
// Virtual keys of the numeric pad.
constexpr int kVkMultiply = 0x6A;
constexpr int kVkAdd = 0x6B;
constexpr int kVkSubtract = 0x6D;
// Where a business-type item keeps the type's name (its text has the count).
constexpr int kTypeNameRole = Qt::UserRole + 1;

// Commands the window hands to the hub.
constexpr int kForwarded[] = {ID_TIMESHEETS, ID_TASKS,           ID_PROPERTIES, ID_ABOUT,
                              ID_REVIEW,     ID_EXPORT,          ID_SET_USER,   ID_ONLINE_HELP,
                              ID_AUTO_TIMER, ID_CHANGE_REQUESTS, ID_OVERVIEW};

struct CColumnInfo {
    const char* caption;
    int kind;
    const char* orderColumn;
};
constexpr std::array<CColumnInfo, CContactDlg::kColumnCount> kColumns = {{
    {"ID", kColumnInteger, "[PersonID]"},
    {"First Name", kColumnText, "[FirstName]"},
    {"Last Name", kColumnText, "[LastName]"},
    {"Phone", kColumnText, "[PeopleDDSPhone]"},
    {"Mobile", kColumnText, "[PeopleMobilePhone]"},
    {"email", kColumnText, "[PeopleInternetID]"},
    {"Fax", kColumnText, "[PeopleFax]"},
}};
constexpr int kColumnWidth = 100;

// The wait cursor until the guard goes.
auto WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QApplication::restoreOverrideCursor(); });
}

} // namespace

CContactDlg::CContactDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent)
    : CTreeListDlg(IDD, parent)
    , m_hub(hub)
    , m_db(db)
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setWindowTitle(QStringLiteral("Contacts"));
    for (int key = 0; key < kColumnCount; ++key)
        m_columnKeys << key;
    // Ctrl+L: to the list; Ctrl+T: to the tree.
    m_accelerators = CAcceleratorTable({{Qt::Key_L, Qt::ControlModifier, false, kCmdFocusList},
                                        {Qt::Key_T, Qt::ControlModifier, false, kCmdFocusTree}});
    CKeyFilter::Install();
    BuildControls();
    BuildMenus();
    resize(695, 420);
}

CContactDlg::~CContactDlg()
{
    if (m_connected)
        m_db.ReleaseConnection(false, true);
}

void CContactDlg::BuildControls()
{
    m_info = new QGroupBox(QStringLiteral("Company Information"), this);
    m_companyText = new QLabel(m_info);
    SetControlId(m_companyText, kIdCompanyText);
    m_companyText->setTextFormat(Qt::RichText);
    m_companyText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_companyText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_addressComment = new CPlainLabel(m_info);
    SetControlId(m_addressComment, kIdAddressComment);
    m_addressComment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_addressComment->setWordWrap(true);
    m_addressComment->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* info = new QHBoxLayout(m_info);
    info->addWidget(m_companyText, 3);
    info->addWidget(m_addressComment, 2);

    CMyColorBut* bar = SplitterBar();
    SetControlId(bar, kIdSplitterBar);
    QPalette grey = bar->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    bar->setPalette(grey);
    bar->setAutoFillBackground(true);
    connect(Tree(), &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OnTreeSelChanged(item); });
}

void CContactDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("Co&mments"), ID_TASKS, {}},
          {QStringLiteral("C&hange Requests"), ID_CHANGE_REQUESTS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("A&uto Timer"), ID_AUTO_TIMER, {}},
          {QStringLiteral("O&verview"), ID_OVERVIEW, {}},
          {},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Export"), ID_EXPORT, {}},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Actions"),
         0,
         {{QStringLiteral("&Refresh List"), kCmdRefresh, {}},
          {QStringLiteral("Add &Company"), kCmdAddCompany, {}}}},
        {QStringLiteral("&View"),
         0,
         {{QStringLiteral("Save &List Layout"), kCmdSaveLayout, {}},
          {QStringLiteral("Set List to &Default Layout"), kCmdDefaultLayout, {}},
          {},
          {QStringLiteral("Arrange by Business Types"), kCmdArrange, {}},
          {QStringLiteral("Manage Business Types"), kCmdManageTypes, {}}}},
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); },
                    {QStringLiteral("&Search"), kCmdSearch, {}});
    layout->addStretch();
    QWidget* bar = layout->menuBar();
    if (auto* arrange = bar->findChild<QAction*>(QStringLiteral("cmd%1").arg(kCmdArrange)))
        arrange->setCheckable(true);
}

// ---- Start ----------------------------------------------------------------------------

bool CContactDlg::OnInitDialog()
{
    const auto wait = WaitCursor();
    // Built whether or not the database answers: what it could not read is
    // read again at the next step (the hub's CUnreadWindows).
    m_connected = m_db.OpenConnection();
    Layout();
    // Folders for the root and the types, a sheet for each company.
    QList<QIcon> images;
    for (int i = 0; i < CMyTreeCtrl::kImageCount; ++i)
        images << style()->standardIcon(i == 1 ? QStyle::SP_FileIcon : QStyle::SP_DirIcon);
    Tree()->SetImageList(images);
    Tree()->CreateTree(IDC_TREE, m_treeRect, this);
    CreatePersonList();

    m_arranged = CProfileStore().value(kArrangeKey, 0).toInt() != 0;
    if (auto* arrange = findChild<QAction*>(QStringLiteral("cmd%1").arg(kCmdArrange)))
        arrange->setChecked(m_arranged);
    FillTree();

    {
        CProfileStore profile;
        const QString key = QStringLiteral("Window Settings/") + kPlacementKey;
        if (!profile.contains(key))
            profile.setValue(key, kDefaultPlacement);
    }
    RestoreWindowPlacement(this, kPlacementKey);
    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    setWindowTitle(BuildWindowCaption(kCaptionId, QStringLiteral("Contacts"), &m_db) +
                   QStringLiteral(" - ") + user);
    FillPersonList();
    OnSetSelect(m_companyName);
    return true;
}

void CContactDlg::Layout()
{
    const QRect all = rect();
    const int top = layout() && layout()->menuBar() ? layout()->menuBar()->sizeHint().height() : 0;
    const QRect client(all.left(), all.top() + top, all.width(), qMax(0, all.height() - top));
    const int treeWidth =
        qBound(kMinPane, m_treeWidth, qMax(kMinPane, client.width() - kBarWidth - kMinPane));
    m_clientRect = client;
    m_treeRect = QRect(client.left(), client.top(), treeWidth, client.height());
    const int right = m_treeRect.right() + 1 + kBarWidth;
    const int infoHeight = qMin(kInfoHeight, client.height() / 2);
    m_info->setGeometry(right, client.top(), qMax(0, client.right() - right), infoHeight);
    // The list runs to the client area's edges less a pixel.
    m_listRect = QRect(right, client.top() + infoHeight, qMax(0, client.right() - right),
                       qMax(0, client.height() - infoHeight - 1));
    Tree()->setGeometry(m_treeRect);
    SplitterBar()->setGeometry(m_treeRect.right() + 1, client.top(), kBarWidth, client.height());
    List()->setGeometry(m_listRect);
}

void CContactDlg::resizeEvent(QResizeEvent* event)
{
    CTreeListDlg::resizeEvent(event);
    // The person list is not filled again while sizing.
    m_resizing = true;
    Layout();
    m_resizing = false;
}

void CContactDlg::CreatePersonList()
{
    QString layoutText;
    List()->LoadLayout(true, kListKey, layoutText, kColumnCount);
    QStringList titles;
    QList<int> formats;
    QList<int> widths;
    for (const CColumnInfo& column : kColumns) {
        titles << QString::fromLatin1(column.caption);
        formats << kFormatLeft;
        widths << kColumnWidth;
    }
    // Under a stored layout the columns come in its order: keep each one's key.
    QStringList keys;
    for (int key = 0; key < kColumnCount; ++key)
        keys << QString::number(key);
    QList<int> keyFormats(kColumnCount, kFormatLeft);
    QList<int> keyWidths(kColumnCount, -1);
    m_columnKeys.clear();
    if (List()->ArrangeColumns(keys, keyFormats, keyWidths) &&
        List()->ArrangeColumns(titles, formats, widths)) {
        for (const QString& key : std::as_const(keys))
            m_columnKeys << key.toInt();
    } else {
        for (int key = 0; key < kColumnCount; ++key)
            m_columnKeys << key;
    }
    List()->CreateList(m_listRect, this, titles, formats, widths);
    QList<int> kinds;
    for (int key : std::as_const(m_columnKeys))
        kinds << kColumns[key].kind;
    List()->SetColumnKinds(kinds);
    List()->SetSortDirections(QList<int>(kColumnCount, 0));
    // No sort column is kept: the list starts by last name.
    List()->SetSortMark(-1, ColumnOfKey(kColLastName), 0);
}

// ---- The tree ---------------------------------------------------------------------------

void CContactDlg::FillTree()
{
    const auto wait = WaitCursor();
    m_filling = true;
    Tree()->clear();
    if (m_arranged)
        FillTreeByType();
    else
        FillTreePlain();
    m_filling = false;
    // An empty tree must not pass for a company without customers.
    const bool read = Tree()->topLevelItemCount() > 0;
    if (!read)
        m_companyText->setText(
            QStringLiteral("The companies could not be read from the database. They are read "
                           "again at your next click or key in this window."));
    if (m_hub)
        m_hub->NoteWindowRead(this, read);
}

void CContactDlg::ReadAgain()
{
    if (!m_connected)
        m_connected = m_db.OpenConnection();
    Refresh();
}

void CContactDlg::FillTreePlain()
{
    CCompanyDetailSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetSort(QStringLiteral("[CompanyName]"));
    if (!m_db.OpenRecordSet(&set)) {
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO), set.Recordset()->ErrorText());
        return;
    }
    QTreeWidgetItem* root = Tree()->InsertItem(kRoot, nullptr, 0, 0);
    for (; !set.Recordset()->IsEOF(); set.MoveNext())
        Tree()->InsertItem(set.m_Company_Name, root, 1, set.m_Company_ID);
    m_db.CloseRecordSet(&set);
    root->setExpanded(true);
}

void CContactDlg::FillTreeByType()
{
    CCompanyBusTypeSet set(m_db.Connection());
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetSort(QStringLiteral("[BusinessType],[CompanyName]"));
    if (!m_db.OpenRecordSet(&set)) {
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO), set.Recordset()->ErrorText());
        return;
    }
    QTreeWidgetItem* root = Tree()->InsertItem(kRoot, nullptr, 0, 0);
    QTreeWidgetItem* type = nullptr;
    int typeId = -1;
    int count = 0;
    const auto finish = [&] {
        if (type)
            type->setText(0, QStringLiteral("%1 (%2)").arg(type->data(0, kTypeNameRole).toString(),
                                                           QString::number(count)));
    };
    const auto startType = [&](const QString& name) {
        finish();
        type = Tree()->InsertItem(name, root, 0, -1);
        type->setData(0, kTypeNameRole, name);
        count = 0;
    };
    // Companies without a type are listed too, after the types.
    QList<std::pair<QString, int>> untyped;
    for (; !set.Recordset()->IsEOF(); set.MoveNext()) {
        if (set.m_BusinessTypeId < 0 || set.m_BusinessType.isEmpty()) {
            untyped.append({set.m_Company_Name, set.m_Company_ID});
            continue;
        }
        if (!type || set.m_BusinessTypeId != typeId) {
            startType(set.m_BusinessType);
            typeId = set.m_BusinessTypeId;
        }
        Tree()->InsertItem(set.m_Company_Name, type, 1, set.m_Company_ID);
        ++count;
    }
    m_db.CloseRecordSet(&set);
    if (!untyped.isEmpty()) {
        startType(QStringLiteral("No Business Type"));
        for (const auto& [name, id] : std::as_const(untyped)) {
            Tree()->InsertItem(name, type, 1, id);
            ++count;
        }
    }
    finish();
    root->setExpanded(true);
}

void CContactDlg::OnSetSelect(const QString& name)
{
    QTreeWidgetItem* item = Tree()->FindItemByText(name.isEmpty() ? kRoot : name);
    SelectItem(item ? item : Tree()->topLevelItem(0));
}

void CContactDlg::SelectCompany(int companyId)
{
    QTreeWidgetItem* found = nullptr;
    for (QTreeWidgetItemIterator it(Tree()); *it && !found; ++it)
        if (CMyTreeCtrl::ItemData(*it) == companyId)
            found = *it;
    SelectItem(found ? found : Tree()->topLevelItem(0));
}

void CContactDlg::SelectItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    Tree()->setCurrentItem(item);
    Tree()->scrollToItem(item, QAbstractItemView::PositionAtTop);
    Tree()->setFocus();
}

void CContactDlg::OnTreeSelChanged(QTreeWidgetItem* item)
{
    if (m_filling || !item)
        return;
    const qint64 data = CMyTreeCtrl::ItemData(item);
    if (data > 0) {
        m_companyName = item->text(0);
        m_companyId = static_cast<int>(data);
        FillPersonList();
    } else if (data == -1) {
        // A business type: its name where the comment goes, and no company.
        ClearCompany(item->text(0));
        m_addressComment->setText(item->data(0, kTypeNameRole).toString());
        m_companyTextValue.clear();
        m_companyText->clear();
        ClearPersonList();
    }
    // The root changes nothing.
}

int CContactDlg::CurrentCompanyId() const
{
    const qint64 data = CMyTreeCtrl::ItemData(Tree()->currentItem());
    return data > 0 ? static_cast<int>(data) : -1;
}

void CContactDlg::OnTreeItemActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (CMyTreeCtrl::ItemData(item) > 0)
        PostCommand(kCmdEditCompany);
    else
        item->setExpanded(!item->isExpanded());
}

void CContactDlg::Refresh()
{
    const int companyId = CurrentCompanyId();
    const QString name = Tree()->currentItem() ? Tree()->currentItem()->text(0) : QString();
    FillTree();
    if (companyId > 0)
        SelectCompany(companyId);
    else
        OnSetSelect(name);
}

// ---- The person list ----------------------------------------------------------------------

void CContactDlg::ClearCompany(const QString& name)
{
    m_companyName = name;
    m_companyId = -1;
    m_web.clear();
    m_companyTextValue = name;
    m_companyText->setText(name.toHtmlEscaped());
    m_addressComment->clear();
}

QString CContactDlg::CompanyText() const
{
    return m_companyTextValue;
}

QString CContactDlg::AddressComment() const
{
    return m_addressComment->text();
}

QString CContactDlg::PersonOrder() const
{
    const int column = List()->LastSortedColumn();
    if (column < 0 || column >= m_columnKeys.size())
        return QStringLiteral("[LastName] ASC, [PersonID] ASC");
    const bool descending = List()->SortDirections().value(column) != 0;
    return QString::fromLatin1(kColumns[m_columnKeys.at(column)].orderColumn) +
           (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) +
           QStringLiteral(", [PersonID] ASC");
}

QString CContactDlg::GetColumnSqlName(int column)
{
    return column >= 0 && column < m_columnKeys.size()
               ? QString::fromLatin1(kColumns[m_columnKeys.at(column)].orderColumn)
               : QString();
}

int CContactDlg::GetColumnDataKind(int column)
{
    return column >= 0 && column < m_columnKeys.size() ? kColumns[m_columnKeys.at(column)].kind
                                                       : kColumnText;
}

QString CContactDlg::Cell(int row, int key) const
{
    const int column = ColumnOfKey(key);
    return column < 0 ? QString() : List()->Rows().value(row).value(column);
}

void CContactDlg::ClearPersonList()
{
    List()->Clear();
    m_listedCompanyId = -1;
}

void CContactDlg::FillPersonList()
{
    if (m_resizing)
        return;
    const auto wait = WaitCursor();
    // A list that cannot be read again keeps the persons it showed of the
    // same company (the reason has been told), so that what failed can be
    // tried again; another company's are never shown.
    const auto notRead = [this](const CBindingSet& set) {
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO), set.Recordset()->ErrorText());
        if (m_listedCompanyId != m_companyId)
            ClearPersonList();
    };
    if (m_companyId <= 0) {
        ClearPersonList();
        return;
    }
    CCompanyDetailSet company(m_db.Connection());
    company.Recordset()->SetQuiet(true);
    company.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {m_companyId});
    if (!m_db.OpenRecordSet(&company)) {
        notRead(company);
        return;
    }
    if (company.Recordset()->IsEOF()) {
        // Gone meanwhile: the name alone.
        m_db.CloseRecordSet(&company);
        ClearPersonList();
        ClearCompany(m_companyName);
        return;
    }
    m_companyName = company.m_Company_Name;
    m_web = company.m_WWWpage;
    const QString address =
        QStringList({company.m_Address1, company.m_Address2, company.m_Address3})
            .join(QStringLiteral(", "));
    m_companyTextValue =
        QStringLiteral(" %1\n\tAddress: \t%2\n\tPhone:\t\t%3\n\tFax:\t\t%4\n\tWeb:\t\t%5\n")
            .arg(company.m_Company_Name, address, company.m_Phone, company.m_Fax,
                 company.m_WWWpage);
    // Shown as a small form: the text's tabs line up in no proportional font.
    QString form = QStringLiteral("<b>%1</b><table cellspacing=\"0\" cellpadding=\"1\">")
                       .arg(company.m_Company_Name.toHtmlEscaped());
    QStringList lines;
    for (const QString& line : {company.m_Address1, company.m_Address2, company.m_Address3})
        if (!line.trimmed().isEmpty())
            lines << line;
    const std::pair<const char*, QString> rows[] = {{"Address:", lines.join(QStringLiteral(", "))},
                                                    {"Phone:", company.m_Phone},
                                                    {"Fax:", company.m_Fax},
                                                    {"Web:", company.m_WWWpage}};
    for (const auto& [label, value] : rows)
        form += QStringLiteral("<tr><td>%1&nbsp;&nbsp;</td><td>%2</td></tr>")
                    .arg(QLatin1String(label), value.toHtmlEscaped());
    m_companyText->setText(form + QStringLiteral("</table>"));
    // A comment kept as RTF shows its text.
    m_addressComment->setText(ShownText(company.m_AddressComment));
    m_db.CloseRecordSet(&company);

    CAddrPersonListSet persons(m_db.Connection());
    persons.Recordset()->SetQuiet(true);
    persons.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {m_companyId});
    persons.Recordset()->SetSort(PersonOrder());
    if (!m_db.OpenRecordSet(&persons)) {
        notRead(persons);
        return;
    }
    ClearPersonList();
    m_listedCompanyId = m_companyId;
    for (; !persons.Recordset()->IsEOF(); persons.MoveNext()) {
        const QString byKey[kColumnCount] = {QString::number(persons.m_PersonID),
                                             persons.m_FirstName,
                                             persons.m_LastName,
                                             persons.m_PeopleDDSPhone,
                                             persons.m_PeopleMobilePhone,
                                             persons.m_PeopleInternetID,
                                             persons.m_PeopleFax};
        QStringList cells;
        for (int key : std::as_const(m_columnKeys))
            cells << byKey[key];
        List()->InsertRow(cells);
    }
    m_db.CloseRecordSet(&persons);
}

void CContactDlg::OnListRowSelected(int) {}

void CContactDlg::OnListRowActivated(int row, CMyListCtrl*)
{
    ViewPerson(row, row < 0);
}

// ---- Menus and keys -------------------------------------------------------------------------

void CContactDlg::OnContextMenu(int x, int y, bool fromList)
{
    QList<CMenuEntry> entries;
    const QTreeWidgetItem* item = Tree()->currentItem();
    const qint64 data = CMyTreeCtrl::ItemData(item);
    const bool onRoot = item && item->text(0) == kRoot && data == 0;
    if (fromList) {
        const int row = List()->GetFirstSelected();
        if (row < 0) {
            if (item && !onRoot && data >= 0)
                entries << CMenuEntry{QStringLiteral("Add"), kCmdAddPerson, {}};
        } else {
            entries << CMenuEntry{QStringLiteral("Edit"), kCmdEditPerson, {}} << CMenuEntry{};
            if (!onRoot)
                entries << CMenuEntry{QStringLiteral("Add"), kCmdAddPerson, {}};
            entries << CMenuEntry{QStringLiteral("Delete"), kCmdDeletePerson, {}};
            if (!Cell(row, kColEmail).trimmed().isEmpty())
                entries << CMenuEntry{} << CMenuEntry{QStringLiteral("EMail"), kCmdMailPerson, {}};
        }
    } else if (item && data > 0) {
        const QString name = EscapeMnemonics(item->text(0));
        entries << CMenuEntry{QStringLiteral("Edit %1").arg(name), kCmdEditCompany, {}}
                << CMenuEntry{QStringLiteral("Delete %1").arg(name), kCmdDeleteCompany, {}}
                << CMenuEntry{QStringLiteral("Comments for %1").arg(name), kCmdCompanyComments, {}};
        if (!m_web.trimmed().isEmpty())
            entries << CMenuEntry{QStringLiteral("Browse Web"), kCmdBrowseWeb, {}};
    } else if (onRoot) {
        entries << CMenuEntry{QStringLiteral("Add Company"), kCmdTreeAddCompany, {}};
    }
    CMyPopMenu* menu = PopupMenu();
    menu->clear();
    if (entries.isEmpty())
        return;
    AddMenuEntries(menu, entries, [this](int id) { OnCommand(id); });
    QWidget* source = fromList ? static_cast<QWidget*>(List()) : Tree();
    menu->popup(source->mapToGlobal(QPoint(x, y)));
}

void CContactDlg::OnContextMenuClosed()
{
    // The menu stays up until a choice: its command arrives by itself.
}

void CContactDlg::OnKeyDown(int virtualKey, bool fromTree)
{
    // Posted: the tree or the list finishes with the key before anything
    // they show changes.
    switch (virtualKey) {
    case kVkInsert:
    case kVkAdd:
        PostCommand(fromTree ? kCmdTreeAddCompany : kCmdAddPerson);
        break;
    case kVkDelete:
    case kVkSubtract:
        PostCommand(fromTree ? kCmdDeleteCompany : kCmdDeletePerson);
        break;
    case kVkMultiply:
        PostCommand(kCmdEditCompany);
        break;
    case kVkReturn:
        if (fromTree)
            OnTreeItemActivated(Tree()->currentItem());
        else
            PostCommand(List()->GetFirstSelected() < 0 ? kCmdAddPerson : kCmdEditPerson);
        break;
    default:
        break;
    }
}

bool CContactDlg::TakesKey(const QKeyEvent& event) const
{
    return event.type() == QEvent::KeyPress && m_accelerators.Translate(event) != 0;
}

bool CContactDlg::PreTranslateKey(QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int command = m_accelerators.Translate(event);
    if (command == 0)
        return false;
    OnCommand(command);
    return true;
}

void CContactDlg::OnSplitterMoved(int phase, int x, int)
{
    if (phase == 0) {
        DrawSplitterMove(x, 0);
        return;
    }
    EraseSplitter(x);
    m_treeWidth = m_treeRect.width() + x;
    Layout();
}

bool CContactDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case ID_CLOSE_WINDOW:
        close();
        return true;
    case kCmdSearch:
        // The hub runs the search dialog for companies.
        if (m_hub)
            m_hub->OnCommand(ID_SEARCH_CONTACTS);
        return true;
    case kCmdRefresh:
        Refresh();
        return true;
    case kCmdAddCompany:
    case kCmdTreeAddCompany:
        AddCompany();
        return true;
    case kCmdEditCompany:
        EditCompany();
        return true;
    case kCmdDeleteCompany:
        DeleteCompany();
        return true;
    case kCmdBrowseWeb:
        BrowseWeb();
        return true;
    case kCmdCompanyComments:
        CompanyComments();
        return true;
    case kCmdEditPerson:
        ViewPerson(List()->GetFirstSelected(), false);
        return true;
    case kCmdAddPerson:
        ViewPerson(-1, true);
        return true;
    case kCmdDeletePerson:
        DeletePerson();
        return true;
    case kCmdMailPerson:
        MailPerson();
        return true;
    case kCmdSaveLayout:
        SaveListLayout();
        return true;
    case kCmdDefaultLayout:
        DefaultListLayout();
        return true;
    case kCmdArrange:
        ToggleArrangement();
        return true;
    case kCmdManageTypes:
        ManageBusinessTypes();
        return true;
    case kCmdTreeFocus:
    case kCmdFocusTree:
        Tree()->setFocus();
        return true;
    case kCmdFocusList:
        List()->setFocus();
        if (List()->ItemCount() > 0 && List()->GetFirstSelected() < 0)
            List()->SelectItem(0);
        return true;
    default:
        return CTreeListDlg::OnCommand(id);
    }
}

// ---- Closing ------------------------------------------------------------------------------

void CContactDlg::OnOK()
{
    m_keepState = false;
    close();
}

void CContactDlg::OnCancel()
{
    close();
}

void CContactDlg::CloseWindow(int)
{
    close();
}

void CContactDlg::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        if (m_keepState && m_connected) {
            SaveWindowPlacement(this, kPlacementKey);
            CProfileStore().setValue(kArrangeKey, m_arranged ? 1 : 0);
        }
        ClearPersonList();
    }
    event->accept();
}
