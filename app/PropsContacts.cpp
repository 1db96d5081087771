#include "app/PropsContacts.h"

#include "app/PropsDef.h"
#include "data/DBClass.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

CPropsContacts::CPropsContacts(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_CONTACTS, QStringLiteral("Contacts/Comnts/ChgRqsts"))
{
    m_kelvane = NewCheck(IDC_USE_KELVANE_CONTACTS, QStringLiteral("&Kelvane"));
    m_source = NewCombo(IDC_CONTACT_SOURCE);
    m_mine = NewCheck(IDC_SHOW_MINE, QStringLiteral("Only show &my projects"));
    m_mineComments = NewCheck(IDC_SHOW_MINE_COMMENTS, QStringLiteral("&Only show my projects"));
    m_taskType = NewCombo(IDC_DEF_TASK_TYPE);
    m_notify = NewCombo(IDC_CHGRQST_NOTIFY,
                        {QStringLiteral("None"), QStringLiteral("Ask when entering Change Request"),
                         QStringLiteral("Auto Email Team Members"),
                         QStringLiteral("Auto Email Team and Leader")});
    m_book = NewCheck(IDC_BOOK_TIME, QStringLiteral("I want to book time to my change requests"));
    m_asActions =
        NewCheck(IDC_COMMENTS_AS_ACTIONS,
                 QStringLiteral("Add my timesheet comments as a Change Requests Actions"));
    m_within = NewRadio(IDC_WITHIN_DEPT, QStringLiteral("within my department"));
    m_across = NewRadio(IDC_ALL_DEPTS, QStringLiteral("across all departments"));

    auto* contacts = new QGroupBox(QStringLiteral("Contacts"), this);
    auto* contactsLayout = new QVBoxLayout(contacts);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(m_kelvane);
    sourceRow->addWidget(m_source);
    sourceRow->addStretch();
    contactsLayout->addLayout(sourceRow);
    contactsLayout->addWidget(m_mine);

    auto* comments = new QGroupBox(QStringLiteral("Comments"), this);
    auto* commentsForm = new QFormLayout(comments);
    commentsForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    commentsForm->addRow(m_mineComments);
    commentsForm->addRow(NewLabel(QStringLiteral("Default task type :"), m_taskType), m_taskType);

    auto* changes = new QGroupBox(QStringLiteral("Change Requests"), this);
    auto* changesForm = new QFormLayout(changes);
    changesForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    changesForm->addRow(NewLabel(QStringLiteral("Notification :"), m_notify), m_notify);
    changesForm->addRow(m_book);
    changesForm->addRow(m_asActions);
    auto* deptRow = new QHBoxLayout;
    deptRow->addWidget(m_within);
    deptRow->addWidget(m_across);
    deptRow->addStretch();
    changesForm->addRow(deptRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(contacts);
    layout->addWidget(comments);
    layout->addWidget(changes);
    layout->addStretch();

    connect(m_kelvane, &QCheckBox::clicked, this, [this] {
        m_useVekContact = !m_useVekContact;
        m_source->setEnabled(!m_useVekContact);
        m_source->setCurrentIndex(0);
        SetChanged();
    });
    connect(m_mine, &QCheckBox::clicked, this, [this] {
        m_showMine = !m_showMine;
        SetChanged();
    });
    connect(m_mineComments, &QCheckBox::clicked, this, [this] {
        m_showMineComments = !m_showMineComments;
        SetChanged();
    });
    connect(m_book, &QCheckBox::clicked, this, [this] {
        m_bookTime = !m_bookTime;
        m_asActions->setEnabled(m_bookTime);
        SetChanged();
    });
    connect(m_asActions, &QCheckBox::clicked, this, [this] {
        m_commentsAsActions = !m_commentsAsActions;
        SetChanged();
    });
    connect(m_notify, &QComboBox::activated, this, [this](int index) {
        m_chgRqstNot = index;
        SetChanged();
    });
    connect(m_taskType, &QComboBox::activated, this, [this] { SetChanged(); });
    // The department choice alone does not enable Apply; it is stored with the rest.
    connect(m_within, &QRadioButton::clicked, this, [this] { m_withinDept = true; });
    connect(m_across, &QRadioButton::clicked, this, [this] { m_withinDept = false; });
}

void CPropsContacts::LoadValues(const CProfile::CValues& values)
{
    m_useVekContact = values.Bool("UseVekContact");
    m_defTaskType = values.Text("DefTaskType");
    m_chgRqstNot = values.Int("ChgRqstNot");
    m_showMine = values.Bool("ShowMine");
    m_showMineComments = values.Bool("ShowMineComments");
    m_bookTime = values.Bool("booktime");
    m_commentsAsActions = values.Bool("commentsAsActions");
    m_withinDept = values.Bool("withinDept");
}

void CPropsContacts::StoreValues(CProfile::CValues& values) const
{
    values.Set("UseVekContact", m_useVekContact);
    values.Set("DefTaskType", m_defTaskType);
    values.Set("ChgRqstNot", m_chgRqstNot);
    values.Set("ShowMine", m_showMine);
    values.Set("ShowMineComments", m_showMineComments);
    values.Set("booktime", m_bookTime);
    values.Set("commentsAsActions", m_commentsAsActions);
    values.Set("withinDept", m_withinDept);
}

void CPropsContacts::OnInitPage()
{
    m_source->clear();
    m_source->addItem(QStringLiteral("Outlook Client (wab.exe)"));
    m_source->setEnabled(!m_useVekContact);
    m_kelvane->setChecked(m_useVekContact);
    m_mine->setChecked(m_showMine);
    m_mineComments->setChecked(m_showMineComments);
    if (m_defTaskType.isEmpty())
        m_defTaskType = QStringLiteral("todo");
    if (CDBClass* db = Sheet().Facade()) {
        CComboItems items(m_taskType);
        db->FillCommentTypes(items, m_defTaskType, false);
    }
    // Types are matched the way the facade matches them, ignoring case.
    int index = m_taskType->findText(m_defTaskType, Qt::MatchFixedString);
    if (index < 0) {
        // A stored type the database does not list is kept, not replaced.
        m_taskType->insertItem(0, m_defTaskType);
        index = 0;
    }
    m_taskType->setCurrentIndex(index);
    Select(m_notify, m_chgRqstNot);
    m_book->setChecked(m_bookTime);
    m_asActions->setChecked(m_commentsAsActions);
    m_asActions->setEnabled(m_bookTime);
    m_within->setChecked(m_withinDept);
    m_across->setChecked(!m_withinDept);
}

bool CPropsContacts::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate && m_taskType->currentIndex() >= 0)
        m_defTaskType = m_taskType->currentText();
    return true;
}
