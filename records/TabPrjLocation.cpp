#include "records/TabPrjLocation.h"

#include "data/records/ProjectSet.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "records/ShowPrjDlg.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

// Hands the path to the desktop; says so when no program took it.
bool OpenInDesktop(const QString& path)
{
    if (OpenUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
        return true;
    ShowMessageBox(QStringLiteral("No application can open %1").arg(path), kMbOk | kMbIconWarning);
    return false;
}

} // namespace

CTabPrjLocation::CTabPrjLocation(CShowPrjDlg* owner, QWidget* parent)
    : CProjectPage(IDD, owner, parent)
{
    auto* grid = new QGridLayout(this);
    m_planFile = AddField(grid, 0, 0, QStringLiteral("MS Project"), kIdPlanFile);
    m_directory = AddField(grid, 1, 0, QStringLiteral("Directory"), kIdDirectory);
    m_openPlanFile = AddCommandButton(QStringLiteral("..."), kIdOpenPlanFile);
    m_openDirectory = AddCommandButton(QStringLiteral("..."), kIdOpenDirectory);
    for (QPushButton* button : {m_openPlanFile, m_openDirectory}) {
        button->setAutoDefault(false);
        button->setFixedWidth(32);
    }
    m_openPlanFile->setToolTip(QStringLiteral("Open the plan file"));
    m_openDirectory->setToolTip(QStringLiteral("Open the folder"));
    grid->addWidget(m_openPlanFile, 0, 2);
    grid->addWidget(m_openDirectory, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
}

QString CTabPrjLocation::PlanFile() const
{
    return m_planFile->text();
}

QString CTabPrjLocation::Directory() const
{
    return m_directory->text();
}

void CTabPrjLocation::Fill()
{
    m_planFile->clear();
    m_directory->clear();
    if (const CProjectSet* project = Owner() ? Owner()->Project() : nullptr) {
        m_planFile->setText(project->m_ProjFilename.trimmed());
        m_directory->setText(project->m_ProjDir.trimmed());
    }
    m_openPlanFile->setEnabled(!PlanFile().isEmpty());
    m_openDirectory->setEnabled(!Directory().isEmpty());
}

bool CTabPrjLocation::OnPageCommand(int id)
{
    if (id == kIdOpenDirectory) {
        OnOpenDirectory();
        return true;
    }
    if (id == kIdOpenPlanFile) {
        OnOpenMsProject();
        return true;
    }
    return CProjectPage::OnPageCommand(id);
}

bool CTabPrjLocation::OnOpenDirectory()
{
    const QString path = Directory();
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isDir()) {
        ShowMessageBox(
            QStringLiteral("The path '%1' does not exist or is not a directory").arg(path),
            kMbOk | kMbIconWarning);
        return false;
    }
    return OpenInDesktop(path);
}

bool CTabPrjLocation::OnOpenMsProject()
{
    const QString path = PlanFile();
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isFile()) {
        ShowMessageBox(QStringLiteral("The file '%1' does not exist or is not a file").arg(path),
                       kMbOk | kMbIconWarning);
        return false;
    }
    return OpenInDesktop(path);
}
