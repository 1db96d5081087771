#include "timesheet/ChgRqstViewDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "data/records/ChgRqstBriefSet2.h"
#include "platform/MessageBox.h"
#include "ui/AppIcon.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"
#include "ui/VirtualKeys.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QSet>
#include <QVBoxLayout>

namespace {

constexpr int kShowAllId = 1081;
const QString kLayoutKey = QStringLiteral("SPVInfoLCList");
const QString kPlacementKey = QStringLiteral("ChgRV");

struct CColumn {
    const char* header;
    int width;
    int format;
};
constexpr CColumn kColumns[] = {
    {"ID", 50, kFormatRight},      {"Ref", 140, kFormatLeft},  {"Entered", 140, kFormatCenter},
    {"Auth", 140, kFormatLeft},    {"Team", 200, kFormatLeft}, {"Item", 200, kFormatLeft},
    {"Priority", 90, kFormatLeft},
};
constexpr int kColumnCount = 7;

} // namespace

CChgRqstViewDlg::CChgRqstViewDlg(QWidget* parent, int projId, int currentId, CDBClass* db)
    : CTreeListDlg(175, parent)
    , m_db(db ? db : (HasApp() ? theApp().Facade() : nullptr))
    , m_projId(projId)
    , m_currentId(currentId)
{
    setWindowTitle(QStringLiteral("Select a Change Request..."));
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    resize(720, 320);
}

bool CChgRqstViewDlg::OnInitDialog()
{
    m_chosenIdText = QString::number(m_currentId);
    QString layout;
    List()->LoadLayout(true, kLayoutKey, layout, kColumnCount);
    QStringList titles;
    QList<int> formats;
    QList<int> widths;
    for (const CColumn& c : kColumns) {
        titles << QString::fromLatin1(c.header);
        formats << c.format;
        widths << c.width;
    }
    List()->CreateList(rect(), this, titles, formats, widths);
    List()->show();

    m_showAllBox = new QCheckBox(QStringLiteral("show a&ll Requests"), this);
    SetControlId(m_showAllBox, kShowAllId);
    m_showAllBox->setChecked(m_showAll);
    connect(m_showAllBox, &QCheckBox::clicked, this, [this] { OnCommand(kShowAllId); });
    auto* strip = new QHBoxLayout;
    strip->addStretch(1);
    strip->addWidget(m_showAllBox);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(4, 4, 4, 4);
    layoutBox->addLayout(strip);
    layoutBox->addWidget(List(), 1);

    Fill();
    RestoreWindowPlacement(this, kPlacementKey);
    List()->setFocus();
    return true;
}

bool CChgRqstViewDlg::Fill()
{
    if (!m_db)
        return false;
    const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
    const int empId = m_db->GetEmpIdByName(user);
    QString filter = QStringLiteral("[ProjID] = ?");
    QVariantList values{m_projId};
    if (!m_showAll) {
        filter += QStringLiteral(
            " AND (([empid] = ? AND [teamempid] IS NULL) OR ([empid] <> ? AND [teamempid] = ?) "
            "OR ([empid] = ? AND [teamempid] = ?)) AND ([DateCompleted] < ? OR [DateCompleted] "
            "IS NULL)");
        values << empId << empId << empId << empId << empId
               << QVariant::fromValue(CDateTime(1900, 1, 1));
    }
    CChgRqstBriefSet2 set(m_db->Connection());
    set.Recordset()->SetFilter(filter, values);
    set.Recordset()->SetSort(QStringLiteral("[ChgReqID] DESC"));
    set.Recordset()->SetCursorMode(CursorMode::ForwardOnly);
    if (!m_db->OpenRecordSet(&set)) {
        ShowMessageBox(QStringLiteral("Error reading change request table"),
                       kMbOk | kMbIconWarning);
        return false;
    }
    List()->Clear();
    int select = 0;
    QSet<int> listed;
    bool first = true;
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
        // One row per request, though the team list has one per member.
        if (listed.contains(set.m_ChgReqID))
            continue;
        listed.insert(set.m_ChgReqID);
        if (first) {
            List()->InsertRow(QStringList(kColumnCount, QString()));
            first = false;
        }
        QString team;
        m_db->FillChgReqTeam(set.m_ChgReqID, team);
        const QString entered =
            set.m_DateCreated.IsNull()
                ? QString()
                : QLocale().toString(set.m_DateCreated.Date(), QLocale::ShortFormat);
        List()->InsertRow({QString::number(set.m_ChgReqID), set.m_Reference, entered,
                           set.m_Authority, team, ShownText(set.m_Item), set.m_Priority});
        if (set.m_ChgReqID == m_currentId)
            select = List()->ItemCount() - 1;
    }
    m_db->CloseRecordSet(&set);
    if (List()->ItemCount() > 0) {
        List()->SelectItem(select);
        Take(select);
    }
    return true;
}

void CChgRqstViewDlg::Take(int row)
{
    if (row < 0 || row >= List()->ItemCount())
        return;
    m_chosenRow = row;
    m_chosenIdText = List()->ItemText(row, 0);
    bool ok = false;
    const int id = m_chosenIdText.toInt(&ok);
    m_chosenId = ok ? id : -2;
    m_chosenReference = List()->ItemText(row, 1);
    m_chosenItem = List()->ItemText(row, 5);
}

void CChgRqstViewDlg::OnListRowSelected(int row)
{
    Take(row);
}

void CChgRqstViewDlg::OnListRowActivated(int row, CMyListCtrl*)
{
    if (row < 0)
        return;
    Take(row);
    SaveLayout();
    EndDialog(IDOK);
}

void CChgRqstViewDlg::OnKeyDown(int virtualKey, bool)
{
    if (virtualKey == kVkReturn)
        OnListRowActivated(List()->GetFirstSelected(), List());
}

bool CChgRqstViewDlg::OnCommand(int id)
{
    if (id == kShowAllId) {
        m_showAll = !m_showAll;
        m_showAllBox->setChecked(m_showAll);
        Fill();
        return true;
    }
    if (id == IDOK || id == IDCANCEL)
        SaveLayout();
    return CTreeListDlg::OnCommand(id);
}

void CChgRqstViewDlg::SaveLayout()
{
    SaveWindowPlacement(this, kPlacementKey);
    QString layout;
    if (List()->GetLayout(layout))
        List()->LoadLayout(false, kLayoutKey, layout);
}

void CChgRqstViewDlg::closeEvent(QCloseEvent* event)
{
    SaveLayout();
    CTreeListDlg::closeEvent(event);
}
