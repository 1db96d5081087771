#include "app/SetUserDlg.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/Characters.h"
#include "ui/ComboItems.h"
#include "ui/MenuBuilder.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

CSetUserDlg::CSetUserDlg(CDBClass* db, CDummyDlg* owner, QWidget* parent)
    : CDialogBase(IDD_SET_USER, parent ? parent : owner)
    , m_db(db)
    , m_owner(owner)
{
    m_name = new QComboBox(this);
    SetControlId(m_name, IDC_SET_USER_NAME);
    m_departments = new QComboBox(this);
    SetControlId(m_departments, IDC_USER_COMBO);
    QPushButton* set = AddCommandButton(QStringLiteral("&Set"), IDC_SET);
    set->setDefault(true);

    auto* row = new QHBoxLayout;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name :"), m_name);
    form->addRow(QStringLiteral("Department :"), m_departments);
    row->addLayout(form);
    row->addWidget(set, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    if (m_owner) {
        // The project commands follow the options, so the popup is made as it opens.
        auto* bar = new QMenuBar(this);
        QMenu* popup = bar->addMenu(QStringLiteral("&Menu"));
        connect(popup, &QMenu::aboutToShow, this, [this, popup] {
            popup->clear();
            QList<CMenuEntry> items = {{QStringLiteral("&Timesheets"), ID_TIMESHEETS, {}},
                                       {QStringLiteral("&Review"), ID_REVIEW, {}}};
            items += CKelvaneApp::BuildProjectMenu(CProfile::DefUserName());
            items += {{QString(), 0, {}},
                      {QStringLiteral("&Properties"), ID_PROPERTIES, {}},
                      {QString(), 0, {}},
                      {QStringLiteral("&Help"),
                       0,
                       {{QStringLiteral("Online Help"), ID_ONLINE_HELP, {}},
                        {QStringLiteral("&Help Topics"), ID_HELP_TOPICS, {}},
                        {QStringLiteral("&About"), ID_ABOUT, {}}}},
                      {QString(), 0, {}},
                      {QStringLiteral("&Close"), ID_CLOSE_WINDOW, {}}};
            AddMenuEntries(popup, items, [this](int id) { OnCommand(id); });
        });
        layout->setMenuBar(bar);
    }
    layout->addLayout(row);

    connect(m_name, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            OnNameChanged();
    });
    connect(m_departments, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            OnDepartmentChanged();
    });
}

bool CSetUserDlg::OnInitDialog()
{
    m_nameAtOpening = CProfile::DefUserName();
    const int empId = m_db ? m_db->GetEmpIdByName(m_nameAtOpening) : -1;
    if (m_db)
        m_db->GetEmpNameById(empId, m_fullNameAtOpening);
    int department = -1;
    if (m_db && !m_db->GetEmpDeptId(empId, department))
        department = -1;
    m_filling = true;
    CComboItems departments(m_departments);
    int index = m_db ? m_db->FillDepartments(departments, department) : -1;
    m_departments->setCurrentIndex(m_departments->count() > 0 ? qMax(index, 0) : -1);
    CComboItems names(m_name);
    const int deptId =
        m_departments->currentIndex() >= 0 ? m_departments->currentData().toInt() : -1;
    index = m_db ? m_db->FillEmployeeCombo(names, m_nameAtOpening,
                                           department >= 0 ? department : deptId)
                 : -1;
    m_name->setCurrentIndex(m_name->count() > 0 ? qMax(index, 0) : -1);
    m_filling = false;
    UpdateTitle(m_name->currentIndex() >= 0 ? m_name->currentData().toInt() : empId);
    return true;
}

void CSetUserDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_selectedName = m_name->currentText();
        m_department = m_departments->currentText();
    }
}

void CSetUserDlg::UpdateTitle(int empId)
{
    if (m_name->currentIndex() < 0)
        return;
    const QString selected = m_name->currentText();
    QString selectedFull;
    if (m_db)
        m_db->GetEmpNameById(empId, selectedFull);
    QString title;
    if (selected.compare(m_nameAtOpening, Qt::CaseInsensitive) != 0) {
        title = selectedFull.isEmpty()
                    ? QStringLiteral("Set User [%1 -> %2]").arg(m_nameAtOpening, selected)
                    : QStringLiteral("Set User [%1 (%2) -> %3 (%4)]")
                          .arg(m_nameAtOpening, m_fullNameAtOpening, selected, selectedFull);
    } else {
        title = selectedFull.isEmpty()
                    ? QStringLiteral("Set User [%1]").arg(m_nameAtOpening)
                    : QStringLiteral("Set User [%1 (%2)]").arg(m_nameAtOpening, selectedFull);
    }
    m_name->setToolTip(PlainTipText(title));
    setWindowTitle(title);
}

void CSetUserDlg::OnNameChanged()
{
    const int empId = m_name->currentData().toInt();
    int department = -1;
    if (!m_db || !m_db->GetEmpDeptId(empId, department))
        return;
    m_filling = true;
    m_departments->setCurrentIndex(m_departments->findData(department));
    m_filling = false;
    UpdateTitle(empId);
}

void CSetUserDlg::OnDepartmentChanged()
{
    const int department = m_departments->currentData().toInt();
    m_filling = true;
    CComboItems names(m_name);
    const int index = m_db ? m_db->FillEmployeeCombo(names, m_nameAtOpening, department) : -1;
    m_name->setCurrentIndex(m_name->count() > 0 ? qMax(index, 0) : -1);
    m_filling = false;
    UpdateTitle(m_name->currentData().toInt());
}

bool CSetUserDlg::OnCommand(int id)
{
    switch (id) {
    case IDC_SET:
        OnSet();
        return true;
    case ID_CLOSE_WINDOW:
        close();
        return true;
    case ID_CONTACTS:
    case ID_TIMESHEETS:
    case ID_PROPERTIES:
    case ID_REVIEW:
    case ID_ABOUT:
    case ID_ONLINE_HELP:
    case ID_HELP_TOPICS:
    case ID_EXPORT:
    case ID_TASKS:
    case ID_CHANGE_REQUESTS:
    case ID_OVERVIEW:
    case ID_PROJECT_INFO:
        if (m_owner)
            m_owner->OnCommand(id);
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CSetUserDlg::OnSet()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    UpdateData(true);
    if (!m_selectedName.isEmpty() && m_selectedName != m_nameAtOpening) {
        if (HasApp()) {
            theApp().SetDefUserName(m_selectedName);
            int level = 0;
            theApp().LoadCurrentEmployee(level);
            theApp().SetSecurityLevel(level);
        } else {
            CProfile::SetDefUserName(m_selectedName);
        }
        m_userChanged = true;
        if (m_db)
            m_db->LoadProjects(m_db->GetEmpIdByName(m_selectedName));
    }
    QApplication::restoreOverrideCursor();
    if (!isVisible() || isModal() || !m_owner) {
        EndDialog(IDOK);
        return;
    }
    // Every window of the old user closes; this one with them, so later.
    CDummyDlg* owner = m_owner;
    close();
    QTimer::singleShot(0, owner, [owner] { owner->CloseAllWindows(true); });
}
