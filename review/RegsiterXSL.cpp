#include "review/RegsiterXSL.h"

#include "app/Profile.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "review/TimeSheetTemplate.h"
#include "ui/AppIcon.h"
#include "ui/ResourceIds.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CRegsiterXSL::CRegsiterXSL(QWidget* parent)
    : CDialogBase(kTemplateId, parent)
    , m_fileName(QLatin1String(CTimeSheetTemplate::kFileName))
    , m_fileEdit(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Register Timesheet Excel File"));
    setWindowIcon(AppIcon());
    SetControlId(m_fileEdit, kIdFile);

    auto* file = new QHBoxLayout;
    file->addWidget(new QLabel(QStringLiteral("Workbook:"), this));
    file->addWidget(m_fileEdit, 1);
    QPushButton* browse = AddCommandButton(QStringLiteral("..."), kIdBrowse);
    browse->setAutoDefault(false);
    file->addWidget(browse);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = AddCommandButton(QStringLiteral("OK"), kIdOk);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(AddCommandButton(QStringLiteral("Cancel"), 2));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addLayout(buttons);
    resize(420, 100);
}

bool CRegsiterXSL::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CRegsiterXSL::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_fileName = m_fileEdit->text().trimmed();
    else
        m_fileEdit->setText(m_fileName);
}

bool CRegsiterXSL::OnCommand(int id)
{
    switch (id) {
    case kIdBrowse:
        OnBrowse();
        return true;
    case kIdOk:
        OnOK();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CRegsiterXSL::OnBrowse()
{
    const QString chosen =
        ChooseOpenFile(QStringLiteral("Select a file..."), CProfile::DefDirectory(),
                       QStringLiteral("Database Files (*.xls);;All Files (*)"));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    m_folder = info.absolutePath();
    m_fileName = info.fileName();
    UpdateData(false);
}

void CRegsiterXSL::OnOK()
{
    // What the edit shows is what is stored, typed or browsed.
    UpdateData(true);
    if (m_fileName.isEmpty()) {
        ShowMessageBox(QStringLiteral("Please enter the file name of the workbook."),
                       kMbOk | kMbIconWarning);
        return;
    }
    // A name with a folder of its own names both.
    if (QFileInfo(m_fileName).fileName() != m_fileName) {
        const QString base = m_folder.isEmpty() ? CTimeSheetTemplate::DefaultFolder() : m_folder;
        const QFileInfo full(QDir(base).filePath(m_fileName));
        m_folder = full.absolutePath();
        m_fileName = full.fileName();
    }
    CProfile::SaveXlsSettings(m_folder, m_fileName);
    EndDialog(IDOK);
}
