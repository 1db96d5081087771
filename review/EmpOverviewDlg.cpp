#include "review/EmpOverviewDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/MainMenu.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "platform/XsltProcessor.h"
#include "review/OverviewSort.h"
#include "review/OverviewXmlSource.h"
#include "treelist/SarvexIds.h"
#include "ui/AppIcon.h"
#include "ui/MenuBuilder.h"
#include "ui/MenuIcons.h"
#include "ui/ResourceIds.h"
#include "ui/Sarvex.h"
#include "ui/Utilities.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Commands of the main menu the hub carries out.
constexpr int kForwarded[] = {ID_TIMESHEETS,  ID_CONTACTS,       ID_TASKS,  ID_PROPERTIES,
                              ID_ABOUT,       ID_REVIEW,         ID_EXPORT, ID_SET_USER,
                              ID_ONLINE_HELP, ID_CHANGE_REQUESTS};

const QString kPlacementKey = QStringLiteral("EmpOverviewDlg");
const QString kRootProcedure = QStringLiteral("bv_GetProjInfoEmpID");
const QString kRootSheet = QStringLiteral("EmpProjectsItem.xslt");

// The wait cursor until the returned guard goes.
[[nodiscard]] auto WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return qScopeGuard([] { QApplication::restoreOverrideCursor(); });
}

// The start of a document for a message: enough to recognise it.
QString Preview(const QString& text)
{
    constexpr int kShown = 300;
    return text.size() <= kShown ? text : text.left(kShown) + QStringLiteral("...");
}

QString DefaultBrowsePage()
{
    // Per user (the runtime folder is the user's own) and per running program.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(
        QStringLiteral("Kelvane/browsePage-%1.htm").arg(QCoreApplication::applicationPid()));
}

QString CallText(const QString& procedure, const QList<int>& args)
{
    QStringList values;
    for (int arg : args)
        values << QString::number(arg);
    return values.isEmpty() ? procedure
                            : procedure + QLatin1Char(' ') + values.join(QLatin1Char(','));
}

} // namespace

void CEmpOverviewDlg::Tell(const QString& text)
{
    // A message is no wait: the arrow while it is up.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    ShowMessageBox(text, kMbOk | kMbIconError);
    QApplication::restoreOverrideCursor();
}

// ---- Printing ---------------------------------------------------------------------------

bool CEmpOverviewDlg::CPrintHook::ChoosePrinter(QPrinter& printer, QWidget* parent)
{
    return HtmlPrintHook().ChoosePrinter(printer, parent);
}

void CEmpOverviewDlg::CPrintHook::ShowPreview(QPrinter& printer, QWidget* parent,
                                              const std::function<void(QPrinter*)>& paint)
{
    HtmlPrintHook().ShowPreview(printer, parent, paint);
}

// ---- Making the window -------------------------------------------------------------------

CEmpOverviewDlg* CEmpOverviewDlg::Create(CDummyDlg* hub, CDBClass& db,
                                         std::unique_ptr<IOverviewXmlSource> source,
                                         QWidget* parent)
{
    auto* window = new CEmpOverviewDlg(hub, db, std::move(source), parent);
    if (!window->m_sarvex->Create()) {
        ShowMessageBox(QStringLiteral("The overview could not be started: its tree-list control "
                                      "is not installed or could not be loaded.\n%1")
                           .arg(HResultText(window->m_sarvex->LastResult())),
                       kMbOk | kMbIconError);
        delete window;
        return nullptr;
    }
    window->WireEvents();
    return window;
}

CEmpOverviewDlg::CEmpOverviewDlg(CDummyDlg* hub, CDBClass& db,
                                 std::unique_ptr<IOverviewXmlSource> source, QWidget* parent)
    : CDialogBase(IDD_OVERVIEW, parent)
    , m_hub(hub)
    , m_db(db)
    , m_source(std::move(source))
    , m_browsePage(DefaultBrowsePage())
{
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    const int icon = CMenuIcons::Instance().IndexOf(ID_OVERVIEW);
    setWindowIcon(icon >= 0 ? CMenuIcons::Instance().Icon(icon) : AppIcon());
    InitGroups();
    BuildControls();
    BuildMenus();
}

CEmpOverviewDlg::~CEmpOverviewDlg()
{
    // The page is the window's own, also when the program ends without closing it.
    if (!m_closing)
        QFile::remove(m_browsePage);
}

void CEmpOverviewDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_sarvex = new CSarvex(this);
    SetControlId(m_sarvex, kIdControl);
    m_sarvex->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The control fills the window: the layout sizes it as the window changes.
    layout->addWidget(m_sarvex, 1);
    m_sarvex->SetPrintHook(&m_printHook);
    resize(780, 540);
}

void CEmpOverviewDlg::BuildMenus()
{
    const QList<CMenuEntry> menus = {
        {QStringLiteral("&Menu"),
         0,
         {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
          {QStringLiteral("&Review"), ID_REVIEW, {}},
          {QStringLiteral("C&ontacts"), ID_CONTACTS, {}},
          {QStringLiteral("Co&mments"), ID_TASKS, {}},
          {QStringLiteral("C&hange Requests"), ID_CHANGE_REQUESTS, {}},
          {},
          {QStringLiteral("Set &User"), ID_SET_USER, {}},
          {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
          {QStringLiteral("&Export"), ID_EXPORT, {}},
          {},
          {QStringLiteral("&Help"),
           0,
           {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
            {QStringLiteral("&About"), ID_ABOUT, {}}}},
          {},
          {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}}},
        {QStringLiteral("&Actions"),
         0,
         {{QStringLiteral("Refresh &Totals"), kCmdRefreshTotals, {}}}},
    };
    InstallMainMenu(this, menus, [this](int id) { OnCommand(id); });
}

void CEmpOverviewDlg::WireEvents()
{
    using L = std::int32_t;
    CEventSinkMap& events = m_sarvex->Events();
    events.On(SarvexIds::kNotifyReady, [this] { OnNotifyReadySarvexctrl1(); });
    events.On(SarvexIds::kTreeDblClick,
              [this](L key, const QString& text) { OnTreeClick(key, text); });
    events.On(SarvexIds::kTreeLButDown,
              [this](L key, const QString& text) { OnTreeClick(key, text); });
    events.On(SarvexIds::kListDblClick,
              [this](L key, const QString& text) { OnListDblClick(key, text); });
    events.On(SarvexIds::kListLButDown,
              [this](L key, const QString& text) { OnListLButDown(key, text); });
    events.On(SarvexIds::kMenuItemClick,
              [this](L selKey, L uid, const QString& text) { OnMenuItemClick(selKey, uid, text); });
    events.On(SarvexIds::kNotifyBrowseEvent,
              [this](L code, const QString& text) { OnNotifyBrowseEvent(code, text); });
}

bool CEmpOverviewDlg::OnInitDialog()
{
    m_userName = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    m_empId = m_db.GetEmpIdByName(m_userName);
    m_groups[kRoot].treeText = m_userName;
    setWindowTitle(QStringLiteral("Overview : %1").arg(m_userName));
    RestoreWindowPlacement(this, kPlacementKey);
    m_connected = m_db.OpenConnection();
    ReadFilterNames();
    return true;
}

void CEmpOverviewDlg::ReadFilterNames()
{
    if (m_stateNames.isEmpty() && m_db.LoadProjectStates()) {
        // The filter menu offers the first five states.
        for (const CProjectStateEntry& state : m_db.ProjectStates()) {
            if (m_stateNames.size() == 5)
                break;
            m_stateNames << state.StateName;
        }
    }
    if (m_statusNames.isEmpty())
        m_db.FillStatusList(m_statusNames);
}

void CEmpOverviewDlg::ReadAgain()
{
    if (!m_connected)
        m_connected = m_db.OpenConnection();
    if (m_empId < 0)
        m_empId = m_db.GetEmpIdByName(m_userName);
    ReadFilterNames();
    OnNotifyReadySarvexctrl1();
}

// ---- Commands ----------------------------------------------------------------------------

bool CEmpOverviewDlg::OnCommand(int id)
{
    if (ForwardToHub(m_hub, id, kForwarded))
        return true;
    switch (id) {
    case ID_CLOSE_WINDOW:
        close();
        return true;
    case kCmdRefreshTotals:
        Refresh();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CEmpOverviewDlg::Refresh()
{
    const auto wait = WaitCursor();
    const CActionFailureText failure(QStringLiteral("The totals were not updated."));
    m_db.RebuildProjectTotals(-1);
    OnNotifyReadySarvexctrl1();
}

// ---- Closing -----------------------------------------------------------------------------

void CEmpOverviewDlg::CloseWindow(int)
{
    close();
}

void CEmpOverviewDlg::OnOK()
{
    close();
}

void CEmpOverviewDlg::OnCancel()
{
    close();
}

void CEmpOverviewDlg::closeEvent(QCloseEvent* event)
{
    if (!m_closing) {
        m_closing = true;
        SaveWindowPlacement(this, kPlacementKey);
        QFile::remove(m_browsePage);
        if (m_connected)
            m_db.ReleaseConnection(false, false);
        m_connected = false;
    }
    event->accept();
}

// ---- Files -------------------------------------------------------------------------------

QString CEmpOverviewDlg::XmlFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("xml"));
}

QString CEmpOverviewDlg::XmlFile(const QString& name)
{
    return QDir(XmlFolder()).filePath(name);
}

bool CEmpOverviewDlg::GetXSLTStr(QString& text, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Tell(QStringLiteral("Error reading %1\n%2").arg(fileName, file.errorString()));
        return false;
    }
    text = QString::fromUtf8(file.readAll());
    return true;
}

// ---- Pages -------------------------------------------------------------------------------

bool CEmpOverviewDlg::RunProcedure(const QString& procedure, const QList<int>& args, QString& xml)
{
    QString why;
    if (m_source->Run(procedure, args, xml, why))
        return true;
    Tell(QStringLiteral("Query %1 error \n%2").arg(CallText(procedure, args), why));
    return false;
}

bool CEmpOverviewDlg::GetXMLStrDoc(const QString& procedure, const QList<int>& args,
                                   const QString& sheetFile)
{
    QString sheet;
    if (!GetXSLTStr(sheet, XmlFile(sheetFile)))
        return false;
    QString xml;
    if (!RunProcedure(procedure, args, xml) || !CreateHTMLDoc(sheet, xml))
        return false;
    // The page shown and what it was made from change together, so a
    // heading of the page shown always sorts that page.
    m_styleSheet = sheet;
    m_xml = xml;
    return true;
}

bool CEmpOverviewDlg::CreateHTMLDoc(const QString& styleSheet, const QString& xml)
{
    const CXsltProcessor::CResult result =
        CXsltProcessor::Transform(xml.toUtf8(), styleSheet.toUtf8());
    switch (result.stage) {
    case CXsltProcessor::kDone:
        break;
    case CXsltProcessor::kBadXml:
        Tell(QStringLiteral("CreateHTMLDoc Failed Load XML %1\n%2")
                 .arg(Preview(xml), result.detail));
        return false;
    case CXsltProcessor::kBadStyleSheetXml:
        Tell(QStringLiteral("CreateHTMLDoc Failed Load XML (the style sheet)\n%1")
                 .arg(result.detail));
        return false;
    case CXsltProcessor::kNotXslt:
        Tell(QStringLiteral("CreateHTMLDoc Failed get_documentElement ERROR : %1")
                 .arg(result.detail));
        return false;
    case CXsltProcessor::kTransformFailed:
        Tell(QStringLiteral("CreateHTMLDoc Failed transformNode ERROR : %1").arg(result.detail));
        return false;
    }
    // Written whole or not at all: a failed write leaves the last page as it was.
    QDir().mkpath(QFileInfo(m_browsePage).absolutePath());
    QSaveFile file(m_browsePage);
    if (!file.open(QIODevice::WriteOnly) || file.write(result.output) != result.output.size() ||
        !file.commit()) {
        Tell(QStringLiteral("Opening file failure %1\n%2").arg(m_browsePage, file.errorString()));
        return false;
    }
    return true;
}

void CEmpOverviewDlg::NavigateToPage()
{
    m_sarvex->NavigateTo(QUrl::fromLocalFile(m_browsePage).toString());
}

// ---- Events --------------------------------------------------------------------------------

void CEmpOverviewDlg::OnNotifyReadySarvexctrl1()
{
    const auto wait = WaitCursor();
    m_sarvex->ChangeView(SarvexIds::kBrowseView);
    if (!GetXMLStrDoc(kRootProcedure, {m_empId}, kRootSheet))
        return;
    BuildTree();
    NavigateToPage();
    m_sarvex->ExpandNode(kRoot, SarvexIds::kExpand);
}

void CEmpOverviewDlg::OnTreeClick(int key, const QString&)
{
    m_sortDescending = true;
    if (key == -1)
        return;
    if (key == kRoot) {
        const auto wait = WaitCursor();
        m_sarvex->ChangeView(SarvexIds::kBrowseView);
        if (GetXMLStrDoc(kRootProcedure, {m_empId}, kRootSheet))
            NavigateToPage();
        m_sarvex->ExpandNode(kRoot, SarvexIds::kExpand);
        return;
    }
    if (key >= kProjects && key <= kComments) {
        m_sarvex->ChangeView(SarvexIds::kListView);
        m_sarvex->doRefresh(false, true);
        m_sarvex->ExpandNode(key, SarvexIds::kExpand);
        return;
    }
    // A member's page is found by its key: names need not be unique.
    for (int group = kProjects; group <= kComments; ++group) {
        const int index = m_groups[group].IndexOfKey(key);
        if (index >= 0) {
            ShowMemberPage(group, index);
            return;
        }
    }
}

void CEmpOverviewDlg::ShowMemberPage(int group, int index)
{
    const auto wait = WaitCursor();
    m_sarvex->ChangeView(SarvexIds::kBrowseView);
    const int id = m_groups[group].ids.at(index);
    bool written = false;
    switch (group) {
    case kProjects:
        written = GetXMLStrDoc(QStringLiteral("bv_getProjectInfoProjID"), {id},
                               QStringLiteral("ProjectItem.xslt"));
        break;
    case kTimesheets:
        written = GetXMLStrDoc(QStringLiteral("lv_GetTimesheetInfoEmpID"), {m_empId, 0, id},
                               QStringLiteral("TimesheetList.xslt"));
        break;
    case kChangeRequests:
        written = GetXMLStrDoc(QStringLiteral("bv_GetChgReqInfoChgReqID"), {id},
                               QStringLiteral("ChgReqItem.xslt"));
        break;
    case kComments:
        written = GetXMLStrDoc(QStringLiteral("lv_GetCommentInfoEmpID"), {m_empId, 0, id},
                               QStringLiteral("CommentList.xslt"));
        break;
    default:
        break;
    }
    if (written)
        NavigateToPage();
}

int CEmpOverviewDlg::RowKey(int eventKey, const QString& idText)
{
    // The control finds a row by its first cell across every list, so ids
    // that two groups share could name the other group's member: look in
    // the group whose list is shown.
    int shown = -1;
    m_sarvex->GetTreeSelKey(shown);
    bool ok = false;
    const int id = idText.toInt(&ok);
    if (ok && shown >= kProjects && shown <= kComments) {
        const COverviewFilterGroup& group = m_groups[shown];
        const int index = group.IndexOfId(id);
        if (index >= 0)
            return group.keys.at(index);
    }
    return eventKey;
}

void CEmpOverviewDlg::OnListDblClick(int key, const QString& text)
{
    const int row = RowKey(key, text);
    int selected = -1;
    m_sarvex->GetTreeSelKey(selected);
    OnTreeClick(selected, text);
    m_sarvex->SetSelectKey(row);
}

void CEmpOverviewDlg::OnListLButDown(int key, const QString& text)
{
    const int row = RowKey(key, text);
    OnTreeClick(row, text);
    m_sarvex->SetSelectKey(row);
}

void CEmpOverviewDlg::OnNotifyBrowseEvent(int code, const QString& text)
{
    if (code != SarvexIds::kBrowseBeforeNavigate || text.isEmpty())
        return;
    QString key;
    QString sorted;
    if (!COverviewSort::KeyOfAddress(text, key) ||
        !COverviewSort::Apply(m_styleSheet, key, m_sortDescending, sorted))
        return;
    const auto wait = WaitCursor();
    // The stored style sheet stays as it is: each sort starts from it.
    if (!CreateHTMLDoc(sorted, m_xml))
        return;
    NavigateToPage();
    m_sortDescending = !m_sortDescending;
}
