#include "app/PropGeneralDlg.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "app/PropsDef.h"
#include "data/DBClass.h"
#include "data/SqlDialect.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

enum StartWindow : int {
    kTimesheet = 1,
    kContacts = 3,
    kComments = 4,
    kChgRqsts = 5,
    kOverview = 8
};

} // namespace

CPropGeneralDlg::CPropGeneralDlg(CPropsDef& sheet)
    : CPropAccDlg(sheet, IDD_PROPS_GENERAL, QStringLiteral("General"), 307)
{
    m_startWindow = NewCombo(IDC_START_WINDOW);
    m_contacts = NewCheck(IDC_USE_CONTACTS, QStringLiteral("Let me see the &contacts page"));
    m_comments = NewCheck(IDC_USE_COMMENTS, QStringLiteral("Let me see the comments &page"));
    m_changeRequests =
        NewCheck(IDC_USE_CHANGE_REQUESTS, QStringLiteral("Let me see the change &request page"));
    m_project = NewCombo(IDC_DEFAULT_PROJECT);
    m_project->setMinimumContentsLength(24);

    auto* pages = new QGroupBox(this);
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->addWidget(m_contacts);
    pagesLayout->addWidget(m_comments);
    pagesLayout->addWidget(m_changeRequests);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(NewLabel(QStringLiteral("&Start with open window "), m_startWindow),
                 m_startWindow);
    form->addRow(NewLabel(QStringLiteral("&My default project  is :"), m_project), m_project);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pages);
    layout->addStretch();

    connect(m_contacts, &QCheckBox::clicked, this,
            [this] { OnPageCheck(m_useContacts, m_contacts); });
    connect(m_comments, &QCheckBox::clicked, this, [this] { OnPageCheck(m_useToDo, m_comments); });
    connect(m_changeRequests, &QCheckBox::clicked, this,
            [this] { OnPageCheck(m_useChgrqsts, m_changeRequests); });
    connect(m_startWindow, &QComboBox::activated, this, [this](int index) {
        m_openDlg = m_startWindow->itemData(index).toInt();
        SetChanged();
    });
    connect(m_project, &QComboBox::activated, this, [this] { SetChanged(); });
}

const QStringList& CPropGeneralDlg::StartWindowNames()
{
    static const QStringList kNames = {
        QStringLiteral("None"),       QStringLiteral("Timesheet"),
        QStringLiteral("Review"),     QStringLiteral("Contacts"),
        QStringLiteral("Comments"),   QStringLiteral("Change Requests"),
        QStringLiteral("Auto Timer"), QStringLiteral("Auto Timer & Timesheet"),
        QStringLiteral("Overview")};
    return kNames;
}

void CPropGeneralDlg::LoadValues(const CProfile::CValues& values)
{
    m_openDlg = values.Int("OpenDlg");
    m_useContacts = values.Bool("UseContacts");
    m_useToDo = values.Bool("UseToDo");
    m_useChgrqsts = values.Bool("UseChgrqsts");
    m_defProjStr = values.Text("defProjStr");
}

void CPropGeneralDlg::StoreValues(CProfile::CValues& values) const
{
    values.Set("OpenDlg", m_openDlg);
    values.Set("UseContacts", m_useContacts);
    values.Set("UseToDo", m_useToDo);
    values.Set("UseChgrqsts", m_useChgrqsts);
    values.Set("defProjStr", m_defProjStr);
}

void CPropGeneralDlg::OnInitPage()
{
    FillStartWindowList();
    m_contacts->setChecked(m_useContacts);
    m_comments->setChecked(m_useToDo);
    m_changeRequests->setChecked(m_useChgrqsts);
    if (CDBClass* db = Sheet().Facade()) {
        CComboItems items(m_project);
        const QString user = HasApp() ? theApp().GetDefaultUserName() : CProfile::DefUserName();
        const int empId = db->GetEmpIdByName(user);
        db->FillProjectCombo(items, empId, m_defProjStr, false);
    }
    // A default project the list does not hold is kept, not replaced.
    if (m_project->currentIndex() < 0 && !m_defProjStr.isEmpty()) {
        m_project->insertItem(0, m_defProjStr, -1);
        m_project->setCurrentIndex(0);
    }
}

void CPropGeneralDlg::FillStartWindowList()
{
    // The list holds the full list's value of each entry: hidden entries
    // leave gaps, and "OpenDlg" keeps the full list's position.
    m_startWindow->clear();
    const QStringList& names = StartWindowNames();
    for (int value = 0; value < names.size(); ++value) {
        if ((value == kContacts && !m_useContacts) || (value == kComments && !m_useToDo) ||
            (value == kChgRqsts && !m_useChgrqsts) ||
            (value == kOverview && Sheet().ProviderKind() != kProviderPostgres))
            continue;
        m_startWindow->addItem(names.at(value), value);
    }
    // A hidden choice opens the time sheet (the hub's fallback), so that is shown.
    int index = m_startWindow->findData(m_openDlg);
    if (index < 0)
        index = m_startWindow->findData(kTimesheet);
    m_startWindow->setCurrentIndex(index);
}

void CPropGeneralDlg::OnPageCheck(bool& value, QCheckBox* check)
{
    value = check->isChecked();
    FillStartWindowList();
    SetChanged();
}

bool CPropGeneralDlg::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        return true;
    m_useContacts = m_contacts->isChecked();
    m_useToDo = m_comments->isChecked();
    m_useChgrqsts = m_changeRequests->isChecked();
    if (m_project->currentIndex() >= 0)
        m_defProjStr = m_project->currentText();
    return true;
}
