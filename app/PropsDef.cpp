#include "app/PropsDef.h"

#include "app/DBSelectDlg.h"
#include "app/DummyDlg.h"
#include "app/PropGeneralDlg.h"
#include "app/PropPreviewDlg.h"
#include "app/PropsAutoLogging.h"
#include "app/PropsContacts.h"
#include "app/PropsKeyCmdsDlg.h"
#include "app/PropsSearch.h"
#include "app/PropsStartUp.h"
#include "app/PropsTimeSheet.h"
#include "data/DBClass.h"
#include "ui/AppIcon.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A sheet is no template of its own.
constexpr int kNoTemplate = 0;

} // namespace

CPropsDef::CPropsDef(CDBClass* db, CDummyDlg* hub, QWidget* parent, int firstPage)
    : CDialogBase(kNoTemplate, parent)
    , m_db(db)
    , m_hub(hub)
    , m_firstPage(firstPage)
{
    setWindowTitle(QStringLiteral("Properties"));
    setWindowIcon(AppIcon());

    CProfile::CContext context;
    if (m_db) {
        context.bookingInterval = m_db->StartupInfo().BookingInterval;
        context.providerKind = m_db->GetProviderKind();
    }
    // The lists and the read rules know the two intervals only.
    m_bookingInterval = context.bookingInterval == 6 ? 6 : 15;
    context.bookingInterval = m_bookingInterval;
    m_admin = CProfile::LoadSettings(context);
    m_keyValues = CProfile::LoadKeyCommands();

    m_startUp = new CPropsStartUp(*this);
    m_keys = new CPropsKeyCmdsDlg(*this);
    m_review = new CPropPreviewDlg(*this);
    m_general = new CPropGeneralDlg(*this);
    m_timeSheet = new CPropsTimeSheet(*this);
    m_autoTimer = new CPropsAutoLogging(*this);
    m_database = new CDBSelectDlg(*this);
    m_contacts = new CPropsContacts(*this);
    m_search = new CPropsSearch(*this);
    for (CPropertyPage* page : Pages()) {
        page->LoadValues(page == m_keys ? m_keyValues : m_admin);
        connect(page, &CPropertyPage::changed, this, [this] { UpdateApplyButton(); });
    }

    m_tabs = new QTabWidget(this);
    // Every page's tab in sight: the sheet is as wide as the nine of them.
    m_tabs->setUsesScrollButtons(false);
    for (CPropertyPage* page :
         {static_cast<CPropertyPage*>(m_general), static_cast<CPropertyPage*>(m_startUp),
          static_cast<CPropertyPage*>(m_timeSheet), static_cast<CPropertyPage*>(m_keys),
          static_cast<CPropertyPage*>(m_autoTimer), static_cast<CPropertyPage*>(m_database),
          static_cast<CPropertyPage*>(m_review), static_cast<CPropertyPage*>(m_contacts),
          static_cast<CPropertyPage*>(m_search)})
        m_tabs->addTab(page, page->Caption());

    QPushButton* ok = AddCommandButton(QStringLiteral("OK"), IDOK);
    ok->setDefault(true);
    QPushButton* cancel = AddCommandButton(QStringLiteral("Cancel"), IDCANCEL);
    m_apply = AddCommandButton(QStringLiteral("&Apply"), ID_APPLY_NOW);
    m_apply->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_apply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
}

CPropsDef::~CPropsDef()
{
    // The pages go while the sheet is whole: removing tabs reports page changes.
    disconnect(m_tabs, nullptr, this, nullptr);
    for (CPropertyPage* page : Pages())
        disconnect(page, nullptr, this, nullptr);
    delete m_tabs;
}

QList<CPropertyPage*> CPropsDef::Pages() const
{
    return {m_startUp,   m_keys,     m_review,   m_general, m_timeSheet,
            m_autoTimer, m_database, m_contacts, m_search};
}

int CPropsDef::ProviderKind() const
{
    return m_db ? m_db->GetProviderKind() : kProviderUnknown;
}

bool CPropsDef::IsAutoLogging() const
{
    IHubWindow* timer = m_hub ? m_hub->Window(ID_AUTO_TIMER) : nullptr;
    return timer && timer->IsTiming();
}

bool CPropsDef::OnInitDialog()
{
    if (m_firstPage > 0 && m_firstPage < m_tabs->count()) {
        m_switching = true;
        m_tabs->setCurrentIndex(m_firstPage);
        m_switching = false;
    }
    m_active = static_cast<CPropertyPage*>(m_tabs->currentWidget());
    m_active->Open();
    return true;
}

bool CPropsDef::SetActivePage(CPropertyPage* page)
{
    m_tabs->setCurrentWidget(page);
    return m_active == page;
}

void CPropsDef::OnTabChanged(int index)
{
    if (m_switching)
        return;
    auto* page = static_cast<CPropertyPage*>(m_tabs->widget(index));
    // A page with a value it refuses is not left.
    if (m_active && m_active != page && m_active->IsOpened() && !m_active->UpdateData(true)) {
        m_switching = true;
        m_tabs->setCurrentWidget(m_active);
        m_switching = false;
        return;
    }
    m_active = page;
    m_active->Open();
}

bool CPropsDef::IsApplyEnabled() const
{
    return m_apply->isEnabled();
}

void CPropsDef::UpdateApplyButton()
{
    bool modified = false;
    for (const CPropertyPage* page : Pages())
        modified = modified || page->IsChanged();
    m_apply->setEnabled(modified);
}

bool CPropsDef::OnCommand(int id)
{
    if (id == ID_APPLY_NOW) {
        OnApplyNow();
        return true;
    }
    return CDialogBase::OnCommand(id);
}

bool CPropsDef::ReadOpenedPages()
{
    // The page in front first: its refusal is the one the user sees.
    QList<CPropertyPage*> pages = Pages();
    if (m_active)
        pages.move(pages.indexOf(m_active), 0);
    for (CPropertyPage* page : pages) {
        if (!page->IsOpened() || page->UpdateData(true))
            continue;
        if (page != m_active) {
            m_switching = true;
            m_tabs->setCurrentWidget(page);
            m_switching = false;
            m_active = page;
        }
        return false;
    }
    return true;
}

bool CPropsDef::OnApplyNow()
{
    if (!ReadOpenedPages())
        return false;
    if (m_database->IsOpened() && m_database->IsChanged())
        m_database->OnApply();
    // The pages' own applies run first, so what they read is what is stored.
    for (CPropertyPage* page :
         {static_cast<CPropertyPage*>(m_timeSheet), static_cast<CPropertyPage*>(m_startUp),
          static_cast<CPropertyPage*>(m_review), static_cast<CPropertyPage*>(m_general),
          static_cast<CPropertyPage*>(m_autoTimer), static_cast<CPropertyPage*>(m_contacts),
          static_cast<CPropertyPage*>(m_search), static_cast<CPropertyPage*>(m_keys)}) {
        if (page->IsOpened() && page->IsChanged())
            page->OnApply();
    }
    StoreSettings();
    for (CPropertyPage* page : Pages())
        page->ClearChanged();
    UpdateApplyButton();
    return true;
}

void CPropsDef::OnOK()
{
    if (!ReadOpenedPages())
        return;
    // Every opened page applies, the database page too (a string typed by
    // hand switches the database here).
    for (CPropertyPage* page : Pages())
        if (page->IsOpened())
            page->OnApply();
    StoreSettings();
    EndDialog(IDOK);
}

void CPropsDef::OnCancel()
{
    // Nothing is stored: the next run starts from the profile again.
    for (CPropertyPage* page : Pages())
        if (page->IsOpened())
            page->OnCancel();
    EndDialog(IDCANCEL);
}

void CPropsDef::StoreSettings()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CProfile::CValues admin = m_admin;
    // The stored day is the time sheet's to keep ("Same day as closed").
    for (const char* key : {"CurDay", "CurMonth", "CurYear"})
        admin.Remove(key);
    CProfile::CValues keys = m_keyValues;
    for (CPropertyPage* page : Pages())
        page->StoreValues(page == m_keys ? keys : admin);
    CProfile::SaveSettings(admin);
    CProfile::SaveKeyCommands(keys);
    if (m_hub) {
        if (IHubWindow* timeSheet = m_hub->Window(ID_TIMESHEETS))
            timeSheet->ApplySettings();
        m_hub->BuildKeyAccelerators();
    }
    QApplication::restoreOverrideCursor();
}
