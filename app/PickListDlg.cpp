#include "app/PickListDlg.h"

#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "data/records/CompanyDetailSet.h"
#include "data/records/OrderSet.h"
#include "data/records/ProjEmpSet.h"
#include "data/records/ProjectSet.h"
#include "data/records/TaskBriefSet.h"
#include "data/records/WorkTypeSet.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/Utilities.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

constexpr int kShowAllId = 1217;
constexpr int kListId = 1028;

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

// Opens a record set with a filter of bound values; the caller reports a failure.
bool OpenSet(CDBClass& db, CBindingSet& set, const QString& filter, const QString& sort,
             const QVariantList& values)
{
    set.Recordset()->SetFilter(filter, values);
    set.Recordset()->SetSort(sort);
    // The list is filled in one pass: the rows stream.
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    return db.OpenRecordSet(&set);
}

bool AtRow(const CBindingSet& set)
{
    return !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF();
}

} // namespace

CPickListDlg::CPickListDlg(int kind, QWidget* parent, CPickListContext* context, bool useContext,
                           bool showAll, CDBClass* db)
    : CDialogBase(IDD_PICK_LIST, parent)
    , m_kind(kind)
    , m_db(db ? db : (HasApp() ? theApp().Facade() : nullptr))
    , m_showAll(showAll)
{
    if (useContext) {
        m_context = context;
        if (!m_context)
            if (auto* owner = dynamic_cast<IPickListOwner*>(parent))
                m_context = owner->PickListContext();
    }
    SetPlacementKey(PlacementKey(kind));
    setSizeGripEnabled(true);
    resize(260, 300);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    auto* strip = new QHBoxLayout;
    strip->addStretch(1);
    m_showAllBox = new QCheckBox(QStringLiteral("Show All"), this);
    SetControlId(m_showAllBox, kShowAllId);
    strip->addWidget(m_showAllBox);
    layout->addLayout(strip);
    m_list = new QListWidget(this);
    SetControlId(m_list, kListId);
    layout->addWidget(m_list, 1);

    connect(m_showAllBox, &QCheckBox::clicked, this, &CPickListDlg::OnShowAll);
    connect(m_list, &QListWidget::currentRowChanged, this, &CPickListDlg::OnRowChanged);
    // A double click or Enter picks the row.
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OnRowActivated(m_list->row(item)); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OnRowActivated(m_list->row(item)); });
}

QString CPickListDlg::PlacementKey(int kind)
{
    switch (kind) {
    case kProject:
        return QStringLiteral("PrjSelV");
    case kTask:
        return QStringLiteral("TaskSelV");
    case kOrder:
        return QStringLiteral("OrderSelV");
    case kWorkType:
        return QStringLiteral("WorkSelV");
    default:
        return QStringLiteral("CmpSelV");
    }
}

QString CPickListDlg::CutAtTab(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return TrimRight(tab < 0 ? text : text.left(tab));
}

QString CPickListDlg::PickedText() const
{
    return CutAtTab(m_pickedText);
}

bool CPickListDlg::OnInitDialog()
{
    Fill(true);
    m_showAllBox->setEnabled(m_kind != kCompany);
    m_showAllBox->setVisible(m_kind != kWorkType);
    m_showAllBox->setChecked(m_showAll);
    m_list->setFocus();
    return true;
}

void CPickListDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_showAll = m_showAllBox->isChecked();
        const int row = m_list->currentRow();
        if (row >= 0) {
            m_pickedText = m_list->item(row)->text();
            m_pickedId = m_list->item(row)->data(Qt::UserRole).toInt();
        }
    } else {
        m_showAllBox->setChecked(m_showAll);
    }
}

void CPickListDlg::AddRow(const QString& text, int id)
{
    auto* item = new QListWidgetItem(text, m_list);
    item->setData(Qt::UserRole, id);
}

void CPickListDlg::Fill(bool first)
{
    m_list->clear();
    bool ok = false;
    switch (m_kind) {
    case kProject:
        setWindowTitle(QStringLiteral("Select a Project..."));
        ok = FillProjects(first);
        if (!ok)
            ShowStringMessage(IDS_CANNOT_VIEW_PROJECTS);
        break;
    case kTask:
        setWindowTitle(QStringLiteral("Select a Task..."));
        ok = FillTasks();
        if (!ok)
            ShowStringMessage(IDS_CANNOT_VIEW_TASKS);
        break;
    case kOrder:
        setWindowTitle(QStringLiteral("Select an Order..."));
        ok = FillOrders();
        if (!ok)
            ShowStringMessage(IDS_CANNOT_VIEW_ORDERS);
        break;
    case kWorkType:
        setWindowTitle(QStringLiteral("Select a Work Type..."));
        ok = FillWorkTypes();
        if (!ok)
            ShowMessage(QStringLiteral("Unable to view Work Types"));
        break;
    default:
        setWindowTitle(QStringLiteral("Select a Company..."));
        ok = FillCompanies();
        if (!ok)
            ShowStringMessage(IDS_CANNOT_VIEW_COMPANIES);
        break;
    }
    if (!ok)
        m_list->clear();

    // A task's row carries its note after a tab: the task part is its name.
    const auto name = [this](const QString& text) {
        return m_kind == kTask ? CutAtTab(text) : text;
    };
    const QString wanted = name(m_preselect);
    int select = m_list->count() > 0 ? 0 : -1;
    for (int row = 0; row < m_list->count(); ++row) {
        if (name(m_list->item(row)->text()).compare(wanted, Qt::CaseInsensitive) == 0) {
            select = row;
            break;
        }
    }
    m_list->setCurrentRow(select);
}

bool CPickListDlg::FillProjects(bool first)
{
    if (!m_db)
        return false;
    if (m_allEntry)
        AddRow(QStringLiteral("All"), -1);
    if (!m_context || m_showAllProjects) {
        if (first && !m_allEntry)
            AddRow(QStringLiteral(" "), -1);
        CProjectSet set(m_db->Connection());
        if (!OpenSet(*m_db, set, QStringLiteral("[IsTemplate] = ?"), QStringLiteral("[ProjName]"),
                     {false}))
            return false;
        for (; AtRow(set); set.MoveNext())
            AddRow(set.m_ProjName, set.m_ProjID);
        m_db->CloseRecordSet(&set);
        return true;
    }
    QString user = m_userName;
    if (user.isEmpty())
        user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    QString filter;
    QVariantList values;
    if (user.compare(QStringLiteral("All"), Qt::CaseInsensitive) != 0) {
        filter = QStringLiteral("[EmpID] = ?");
        values << m_db->GetEmpIdByName(user);
    }
    CProjEmpSet set(m_db->Connection());
    if (!OpenSet(*m_db, set, filter, QStringLiteral("[ProjName]"), values))
        return false;
    for (; AtRow(set); set.MoveNext())
        AddRow(set.m_ProjName, set.m_Proj_ID);
    m_db->CloseRecordSet(&set);
    return true;
}

bool CPickListDlg::FillTasks()
{
    if (!m_db)
        return false;
    const CPickListContext& context = m_context ? *m_context : m_ownContext;
    QString filter;
    QVariantList values;
    if (m_context) {
        filter = QStringLiteral("[ProjID] = ?");
        values << m_context->projectId;
    }
    const bool alphabetical = CurrentOptions().Bool("showTaskAlpha");
    CTaskBriefSet set(m_db->Connection());
    if (!OpenSet(*m_db, set, filter, alphabetical ? QStringLiteral("[Task]") : QString(), values))
        return false;
    for (; AtRow(set); set.MoveNext()) {
        if (set.m_State != 2 && !context.showAllTasks)
            continue;
        const QString comment = TrimRight(set.m_Comment);
        AddRow(comment.isEmpty() ? set.m_Task
                                 : QStringLiteral("%1 \t[%2]").arg(set.m_Task, comment),
               set.m_TaskID);
    }
    m_db->CloseRecordSet(&set);
    return true;
}

bool CPickListDlg::FillOrders()
{
    if (!m_db)
        return false;
    const CPickListContext& context = m_context ? *m_context : m_ownContext;
    QStringList terms;
    QVariantList values;
    if (m_context) {
        terms << QStringLiteral("[ProjID] = ?");
        values << m_context->projectId;
    }
    if (!context.showAllOrders) {
        terms << QStringLiteral("[IsDone] = ?");
        values << false;
    }
    COrderSet set(m_db->Connection());
    if (!OpenSet(*m_db, set, terms.join(QStringLiteral(" AND ")), QString(), values))
        return false;
    for (; AtRow(set); set.MoveNext())
        AddRow(set.m_OrderCode, set.m_OrderID);
    m_db->CloseRecordSet(&set);
    return true;
}

bool CPickListDlg::FillWorkTypes()
{
    if (!m_db)
        return false;
    CWorkTypeSet set(m_db->Connection());
    if (!m_db->OpenRecordSet(&set))
        return false;
    for (; AtRow(set); set.MoveNext())
        AddRow(set.m_WorkType, set.m_WorkTypeID);
    m_db->CloseRecordSet(&set);
    return true;
}

bool CPickListDlg::FillCompanies()
{
    if (!m_db)
        return false;
    if (m_allEntry)
        AddRow(QStringLiteral("All"), -1);
    AddRow(QStringLiteral(" "), -1);
    CCompanyDetailSet set(m_db->Connection());
    if (!OpenSet(*m_db, set, QString(), QStringLiteral("[CompanyName]"), {}))
        return false;
    for (; AtRow(set); set.MoveNext())
        AddRow(set.m_Company_Name, set.m_Company_ID);
    m_db->CloseRecordSet(&set);
    return true;
}

void CPickListDlg::OnShowAll(bool checked)
{
    m_showAll = checked;
    CPickListContext& context = m_context ? *m_context : m_ownContext;
    int notice = 0;
    switch (m_kind) {
    case kProject:
        m_showAllProjects = checked;
        if (checked && m_db && m_db->Tasks().isEmpty()) {
            m_db->LoadTasks(QString());
            m_db->LoadOrders();
        }
        notice = 1217;
        break;
    case kTask:
        context.showAllTasks = checked;
        notice = 1080;
        break;
    case kOrder:
        context.showAllOrders = checked;
        notice = 1112;
        break;
    default:
        break;
    }
    Fill(false);
    // The window that opened the list keeps the choice for its next list.
    if (notice != 0)
        if (auto* owner = qobject_cast<CDialogBase*>(parentWidget()))
            owner->OnCommand(notice);
}

void CPickListDlg::OnRowChanged(int row)
{
    if (row < 0 || row >= m_list->count())
        return;
    m_pickedText = m_list->item(row)->text();
    m_pickedId = m_list->item(row)->data(Qt::UserRole).toInt();
}

void CPickListDlg::OnRowActivated(int row)
{
    if (row < 0 || row >= m_list->count() || EndCode() != 0)
        return;
    OnRowChanged(row);
    m_pickedText = CutAtTab(m_pickedText);
    EndDialog(IDOK);
}
