// The project information window's project: opening it, the chooser, the
// refresh of the pages, the task list and the tasks dialog.
#include "records/ShowPrjDlg.h"

#include "app/DummyDlg.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/ProjectSet.h"
#include "data/records/TaskSet.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "platform/UserAction.h"
#include "records/KeyedColumns.h"
#include "records/ProjectPage.h"
#include "records/ProjectTasksDlg.h"
#include "records/TabPrjMembers.h"
#include "ui/MyListCtrl.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace {

const QString kPlacementKey = QStringLiteral("ShowPrjDlg");
const QString kListKey = QStringLiteral("SPDlgList");

const QList<CKeyedColumn> kTaskColumns = {
    {"ID", 30, kColumnInteger, kFormatLeft},
    {"Task", 135, kColumnText, kFormatLeft},
    {"Est Hours", 60, kColumnInteger, kFormatRight},
    {"Act Hours", 60, kColumnInteger, kFormatRight},
    {"Percent", 60, kColumnInteger, kFormatRight},
    {"Details", 160, kColumnText, kFormatLeft},
};

QString Hours(float value)
{
    return QString::asprintf("%.2f", double(value));
}

} // namespace

// ---- Start ----------------------------------------------------------------------------------

bool CShowPrjDlg::OnInitDialog()
{
    CWaitCursor wait;
    m_connected = m_db.OpenConnection();
    m_updateTotals->SetTip(QStringLiteral("Update all calculated project values"));
    m_myActiveCheck->setChecked(m_myActive);
    BuildTaskList();
    // With no project asked for and none of the user's, the first of all.
    if (OpenProject(m_projId))
        m_projId = m_project->m_ProjID;
    AddPages();
    FillChooser();
    RefreshProject();
    if (m_project)
        FillTaskList(m_projId);
    m_loadedProjId = m_project ? m_projId : -1;
    CProfileStore profile;
    if (profile.contains(QStringLiteral("Window Settings/") + kPlacementKey))
        RestoreWindowPlacement(this, kPlacementKey);
    m_abstract->SetWordWrap(true);
    return true;
}

void CShowPrjDlg::BuildTaskList()
{
    m_columnKeys = CreateKeyedList(*List(), this, kListKey, kTaskColumns);
    // Sorted by the list itself on a header click.
    List()->SetExternalSort(false);
}

bool CShowPrjDlg::OpenProject(int projId)
{
    auto project = std::make_unique<CProjectSet>(m_db.Connection());
    if (projId >= 0)
        project->Recordset()->SetFilter(QStringLiteral("[ProjID] = ?"), {projId});
    project->Recordset()->SetSort(QStringLiteral("[ProjID]"));
    if (!m_db.OpenRecordSet(project.get()))
        return false;
    if (project->Recordset()->IsEOF()) {
        if (projId >= 0)
            ShowMessageBox(QStringLiteral("The project no longer exists."), kMbOk | kMbIconWarning);
        return false;
    }
    m_project = std::move(project);
    return true;
}

const CProjectSet* CShowPrjDlg::Project() const
{
    return m_project.get();
}

void CShowPrjDlg::FillChooserItems()
{
    // A list of the window's own: the facade's project list stays the user's.
    QList<CProjectEntry> projects;
    m_db.LoadProjects(projects, m_myActive ? m_empId : -1);
    m_chooser->clear();
    for (const CProjectEntry& project : std::as_const(projects))
        if (m_chooser->findData(qint64(project.ProjID)) < 0)
            m_chooser->addItem(project.ProjName, qint64(project.ProjID));
    m_chooser->setCurrentIndex(-1);
}

void CShowPrjDlg::OfferAllProjects()
{
    m_myActive = false;
    m_myActiveCheck->setChecked(false);
    FillChooserItems();
}

void CShowPrjDlg::FillChooser()
{
    FillChooserItems();
    SelectProject(m_projId);
    if (m_chooser->currentIndex() >= 0 || !m_myActive || !m_project)
        return;
    // The project shown is not one of the employee's: all projects are offered.
    OfferAllProjects();
    SelectProject(m_projId);
}

void CShowPrjDlg::SelectProject(int projId)
{
    const int index = m_chooser->findData(qint64(projId));
    if (index >= 0)
        m_chooser->setCurrentIndex(index);
}

void CShowPrjDlg::RefreshProject()
{
    CWaitCursor wait;
    m_leaderId = -1;
    m_leaderName.clear();
    m_projectName.clear();
    if (m_project) {
        m_leaderId = m_project->m_ProjLeader;
        if (m_leaderId > 0)
            m_leaderName = m_db.GetEmpFullName(m_leaderId);
        m_projectName = m_project->m_ProjName;
    }
    m_leader->setText(m_leaderName);
    m_nameLabel->setText(m_projectName);
    for (CProjectPage* page : std::as_const(m_pages))
        page->Refill();
    m_abstract->SetRTF(m_project ? m_project->m_Abstract : QString());
    setWindowTitle(QStringLiteral("Project Information - %1").arg(m_projectName));
}

QString CShowPrjDlg::AbstractText() const
{
    return m_abstract->toPlainText();
}

// ---- Changing the project --------------------------------------------------------------------

void CShowPrjDlg::OnSelchangeProject()
{
    const int index = m_chooser->currentIndex();
    if (index < 0)
        return;
    const int projId = static_cast<int>(m_chooser->itemData(index).toLongLong());
    // The same project, whatever its name's case, is not read again.
    if (projId == m_loadedProjId)
        return;
    LoadChosenProject(projId);
}

void CShowPrjDlg::LoadChosenProject(int projId)
{
    CWaitCursor wait;
    if (!OpenProject(projId)) {
        // The project shown stays, and so does its entry.
        SelectProject(m_loadedProjId);
        return;
    }
    m_projId = projId;
    m_loadedProjId = projId;
    List()->Clear();
    RefreshProject();
    FillTaskList(m_projId);
}

void CShowPrjDlg::OnMyActiveProjects()
{
    CWaitCursor wait;
    m_myActive = !m_myActive;
    m_myActiveCheck->setChecked(m_myActive);
    FillChooserItems();
    // The project shown stays; the chooser shows it when it lists it.
    SelectProject(m_loadedProjId);
}

void CShowPrjDlg::OnUpdateTotals()
{
    CWaitCursor wait;
    if (m_loadedProjId < 0)
        return;
    const CActionFailureText failure(QStringLiteral("The totals were not updated."));
    m_db.RebuildProjectTotals(m_loadedProjId);
    OnSelchangeProject();
    // The totals read afresh, so the pages show them too.
    if (OpenProject(m_loadedProjId))
        RefreshProject();
    FillTaskList(m_loadedProjId);
}

void CShowPrjDlg::Refresh()
{
    if (!m_hub)
        return;
    const int empId = m_hub->m_pendingEmpId;
    const int projId = m_hub->m_pendingProjId;
    m_hub->m_pendingEmpId = -1;
    m_hub->m_pendingProjId = -1;
    if (empId >= 0 && empId != m_empId) {
        m_empId = empId;
        FillChooserItems();
        SelectProject(m_loadedProjId);
    }
    if (projId < 0)
        return;
    m_chooser->setCurrentIndex(m_chooser->findData(qint64(projId)));
    if (m_chooser->currentIndex() < 0 && m_myActive) {
        // A project of another list: all projects are offered.
        OfferAllProjects();
        SelectProject(projId);
    }
    OnSelchangeProject();
}

// ---- The task list -----------------------------------------------------------------------------

bool CShowPrjDlg::FillTaskList(int projId)
{
    CMyListCtrl* list = List();
    list->Clear();
    CTaskSet set(m_db.Connection());
    set.Recordset()->SetFilter(QStringLiteral("[ProjID] = ? AND [State] = ?"),
                               {projId, kTaskStateActive});
    set.Recordset()->SetSort(QStringLiteral("[TaskID]"));
    if (!m_db.OpenRecordSet(&set))
        return false;
    bool read = false;
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext()) {
        const double percent =
            set.m_EstHours > 0 ? double(set.m_ActHours) / set.m_EstHours * 100.0 : 0.0;
        const QString details = ShownText(set.m_Comment);
        list->InsertRow(PlaceByKey(m_columnKeys,
                                   {QString::number(set.m_TaskID), set.m_Task,
                                    Hours(set.m_EstHours), Hours(set.m_ActHours),
                                    QString::asprintf("%.2f %%", percent), details.simplified()}));
        read = true;
    }
    m_db.CloseRecordSet(&set);
    return read;
}

QString CShowPrjDlg::TaskCell(int row, int key) const
{
    return List()->ItemText(row, ColumnOfKey(key));
}

void CShowPrjDlg::ViewTask(int row)
{
    if (row < 0 || row >= List()->ItemCount() || !m_project)
        return;
    const QString idText = TaskCell(row, kColId);
    const QString name = TaskCell(row, kColTask);
    List()->clearSelection();
    List()->SelectItem(row);
    bool ok = false;
    const int taskId = idText.trimmed().toInt(&ok);
    if (!ok)
        return;
    CWaitCursor wait;
    QPointer<CShowPrjDlg> self(this);
    auto* dialog =
        new CProjectTasksDlg(m_projectName, m_loadedProjId, name, taskId, this, m_db, this);
    m_tasksDlg = dialog;
    dialog->DoModal();
    if (!self)
        return;
    const bool changed = dialog->Changed();
    delete dialog;
    if (changed)
        FillTaskList(m_loadedProjId);
}

int CShowPrjDlg::MemberCount() const
{
    return m_members ? qMax(1, static_cast<int>(m_members->Members().size())) : 1;
}

void CShowPrjDlg::KeepSearchResult(CMyAdoRecordSet* rows, QObject* view)
{
    if (rows)
        m_searchRows << rows;
    if (view)
        m_searchViews << QPointer<QObject>(view);
}
