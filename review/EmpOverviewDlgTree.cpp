// The overview's tree: the user, the four groups with their filter menus,
// and the members the summary names.
#include "review/EmpOverviewDlg.h"

#include "platform/Clock.h"
#include "review/OverviewSummary.h"
#include "review/OverviewXmlSource.h"
#include "treelist/SarvexIds.h"
#include "ui/Mnemonics.h"
#include "ui/Sarvex.h"

#include <QDate>

namespace {

// Icons go to positions 0 to 9 of the tree's images, out of this many.
constexpr int kImageCount = 24;
// Year filters start here; later years up to this one are offered.
constexpr int kFirstYear = 1998;

struct CGroupConstants {
    int iconId;
    const char* iconFile;
    const char* treeText;
    const char* listHeading;
    const char* element;
};

constexpr CGroupConstants kGroupConstants[] = {
    {0, "setuser.Ico", "", "", ""},
    {2, "project.Ico", "My Projects", "Projects", "Project"},
    {4, "timesheetsf.ico", "My TimeSheets", "Timesheets", "Timesheets"},
    {6, "project_request.ico", "My Change Requests", "Change Requests", "ChgReq"},
    {8, "task.ico", "My Comments", "Comments", "Comments"},
};

// The list splits its rows at every comma, with no quoting: a comma in a
// name would cut it, so the name shows the look-alike low quotation mark.
QString ListCell(const QString& text)
{
    return QString(text).replace(QLatin1Char(','), QChar(0x201A));
}

int Flags(bool grayed)
{
    return grayed ? SarvexIds::kMenuGrayed : 0;
}

} // namespace

void CEmpOverviewDlg::InitGroups()
{
    for (int g = 0; g < kGroupCount; ++g) {
        const CGroupConstants& c = kGroupConstants[g];
        COverviewFilterGroup& group = m_groups[g];
        group.iconId = c.iconId;
        group.iconFile = XmlFile(QLatin1String(c.iconFile));
        group.treeKey = g;
        group.treeText = QLatin1String(c.treeText);
        group.listHeading = QLatin1String(c.listHeading);
        group.element = QLatin1String(c.element);
    }
}

QString CEmpOverviewDlg::Selector(int group) const
{
    switch (group) {
    case kProjects:
        return m_filters.ProjectSelector();
    case kTimesheets:
        return m_filters.TimesheetSelector();
    case kChangeRequests:
        return m_filters.ChangeRequestSelector();
    case kComments:
        return m_filters.CommentSelector();
    default:
        return QString();
    }
}

bool CEmpOverviewDlg::BuildTree()
{
    // A tree built before goes first, its lists and menus with it: building
    // on top of it would show every node twice.
    m_sarvex->DeleteAllItemsTree();
    for (COverviewFilterGroup& group : m_groups)
        group.ClearChildren();
    m_nextKey = kFirstChildKey;

    const COverviewFilterGroup& root = m_groups[kRoot];
    m_sarvex->SetTreeImageListValueatPos(root.iconFile, root.iconFile, root.iconId, 0, kImageCount);
    QString xml;
    COverviewSummary summary;
    if (RunProcedure(QStringLiteral("tvx_empSummary"), {m_empId}, xml)) {
        QString why;
        if (!summary.Load(xml, &why))
            Tell(QStringLiteral("The overview of %1 cannot be read: %2").arg(m_userName, why));
    }
    const int thisYear = CClock::Today().year();
    m_timesheetYears = summary.Years(QStringLiteral("Timesheets"), kFirstYear, thisYear);
    m_commentYears = summary.Years(QStringLiteral("Comments"), kFirstYear, thisYear);

    m_sarvex->SetParent(m_userName, kRoot, 0, 1, QStringLiteral("Projects"), 0, 100, root.iconId);
    m_sarvex->SetPopTreeMenu(kRoot, kMenuPrint, QStringLiteral("Print"),
                             QStringLiteral("Print, %1").arg(m_userName));
    m_sarvex->SetPopTreeMenu(kRoot, kMenuPrintPreview, QStringLiteral("Print Preview"),
                             QStringLiteral("Print Preview, %1").arg(m_userName));
    for (int g = kProjects; g <= kComments; ++g) {
        const COverviewFilterGroup& group = m_groups[g];
        m_sarvex->SetTreeImageListValueatPos(group.iconFile, group.iconFile, group.iconId, 2 * g,
                                             kImageCount);
        m_sarvex->SetChild(group.treeText, group.treeKey, kRoot, 1, 1, QStringLiteral("Id"), 0, 80,
                           group.iconId);
        m_sarvex->AddCols(group.treeKey, group.treeKey, 0, 1, group.listHeading, 0, 600);
        AddFilterMenu(g);
    }
    if (!summary.IsLoaded())
        return false;
    for (int g = kProjects; g <= kComments; ++g)
        AddChildren(g, summary);
    return true;
}

void CEmpOverviewDlg::AddChildren(int g, const COverviewSummary& summary)
{
    COverviewFilterGroup& group = m_groups[g];
    qsizetype longest = 0;
    for (const COverviewSummary::CItem& item : summary.Select(Selector(g))) {
        const int key = m_nextKey++;
        const QString row = ListCell(item.id) + QLatin1Char(',') + ListCell(item.name);
        m_sarvex->SetChild(item.name, key, group.treeKey, 0, 1, QStringLiteral("Browse"), 0, 60,
                           group.iconId);
        m_sarvex->SetPopTreeMenu(key, kMenuView, QStringLiteral("View"), row);
        m_sarvex->SetPopTreeMenu(key, kMenuPrint, QStringLiteral("Print"), row);
        m_sarvex->SetPopTreeMenu(key, kMenuPrintPreview, QStringLiteral("Print Preview"), row);
        group.keys << key;
        group.ids << item.id.trimmed().toInt();
        group.names << item.name;
        m_sarvex->SetListStr(group.treeKey, key, row, group.iconId);
        longest = qMax(longest, item.name.size());
    }
    m_sarvex->ListSetColWidth(group.treeKey, 1, static_cast<int>(10 * longest));
}

void CEmpOverviewDlg::AddFilterMenu(int g)
{
    const int owner = m_groups[g].treeKey;
    const auto item = [this, owner](int flags, int uid, const QString& text, const QString& ret,
                                    int parent = -1) {
        m_sarvex->AppendToTreeMenu(flags, parent < 0 ? owner : parent, uid, text, ret);
    };
    const auto head = [&](int removeUid, bool filtered) {
        item(Flags(!filtered), removeUid, QStringLiteral("Remove Filter"),
             QStringLiteral("Remove"));
        item(SarvexIds::kMenuSeparator, kMenuSeparator, QString(), QStringLiteral("separator"));
    };
    const auto years = [&](int base, int menu, const QList<int>& list, int chosen) {
        head(base, chosen > 0);
        item(SarvexIds::kMenuPopup, menu, QStringLiteral("Filter by"), QStringLiteral("Filterby"));
        for (int n = 1; n <= list.size(); ++n) {
            const QString year = QString::number(list.at(n - 1));
            item(Flags(list.at(n - 1) == chosen), base + n, year, year, menu);
        }
    };
    switch (g) {
    case kProjects: {
        head(kMenuProjects, m_filters.ProjectItem() > 0);
        item(SarvexIds::kMenuPopup, kMenuProjectFilter, QStringLiteral("Filter by"),
             QStringLiteral("Filterby"));
        for (int n = 1; n <= m_stateNames.size(); ++n)
            item(Flags(n == m_filters.ProjectItem()), kMenuProjects + n,
                 QLatin1Char(' ') + EscapeMnemonics(m_stateNames.at(n - 1)), m_stateNames.at(n - 1),
                 kMenuProjectFilter);
        break;
    }
    case kTimesheets:
        years(kMenuTimesheets, kMenuTimesheetFilter, m_timesheetYears, m_filters.TimesheetYear());
        break;
    case kChangeRequests: {
        const int statuses = static_cast<int>(m_statusNames.size());
        head(kMenuChangeRequests, m_filters.StatusItem() > 0 || m_filters.Priority() > 0);
        item(SarvexIds::kMenuPopup, kMenuStatusFilter, QStringLiteral("Filter by status"),
             QStringLiteral("Filterbystatus"));
        for (int n = 1; n <= statuses; ++n)
            item(Flags(n == m_filters.StatusItem()), kMenuChangeRequests + n,
                 QLatin1Char(' ') + EscapeMnemonics(m_statusNames.at(n - 1)),
                 m_statusNames.at(n - 1), kMenuStatusFilter);
        item(SarvexIds::kMenuPopup, kMenuPriorityFilter, QStringLiteral("Filter by priority"),
             QStringLiteral("Filterbypriority"));
        for (int p = 1; p <= 3; ++p)
            item(Flags(p == m_filters.Priority()), kMenuChangeRequests + statuses + p,
                 QStringLiteral(" %1").arg(p), QString::number(p), kMenuPriorityFilter);
        break;
    }
    case kComments:
        years(kMenuComments, kMenuCommentFilter, m_commentYears, m_filters.CommentYear());
        break;
    default:
        break;
    }
}

void CEmpOverviewDlg::OnMenuItemClick(int, int uid, const QString&)
{
    switch (uid) {
    case kMenuView:
        return;
    case kMenuPrint:
        m_sarvex->DoPrint();
        return;
    case kMenuPrintPreview:
        m_sarvex->DoPrintPreview();
        return;
    default:
        break;
    }
    const int states = static_cast<int>(m_stateNames.size());
    const int statuses = static_cast<int>(m_statusNames.size());
    const int timesheetYears = static_cast<int>(m_timesheetYears.size());
    const int commentYears = static_cast<int>(m_commentYears.size());
    int group = 0;
    if (uid >= kMenuProjects && uid <= kMenuProjects + states) {
        const int n = uid - kMenuProjects;
        m_filters.SetProjectState(n, n > 0 ? m_stateNames.at(n - 1) : QString());
        group = kProjects;
    } else if (uid >= kMenuChangeRequests && uid <= kMenuChangeRequests + statuses) {
        const int n = uid - kMenuChangeRequests;
        if (n == 0)
            m_filters.ClearChangeRequestFilters();
        else
            m_filters.SetChangeRequestStatus(n, m_statusNames.at(n - 1));
        group = kChangeRequests;
    } else if (uid > kMenuChangeRequests + statuses && uid <= kMenuChangeRequests + statuses + 3) {
        m_filters.SetChangeRequestPriority(uid - kMenuChangeRequests - statuses);
        group = kChangeRequests;
    } else if (uid >= kMenuTimesheets && uid <= kMenuTimesheets + timesheetYears) {
        const int n = uid - kMenuTimesheets;
        m_filters.SetTimesheetYear(n, n > 0 ? m_timesheetYears.at(n - 1) : 0);
        group = kTimesheets;
    } else if (uid >= kMenuComments && uid <= kMenuComments + commentYears) {
        const int n = uid - kMenuComments;
        m_filters.SetCommentYear(n, n > 0 ? m_commentYears.at(n - 1) : 0);
        group = kComments;
    } else {
        return;
    }
    BuildTree();
    m_sarvex->ExpandNode(kRoot, SarvexIds::kExpand);
    m_sarvex->ExpandNode(group, SarvexIds::kExpand);
    // The rebuilt tree has no selection: the group shows what its filter left.
    m_sarvex->SetSelectKey(group);
}
