#pragma once

#include "app/Profile.h"
#include "ui/DialogBase.h"

#include <QList>

class CDBClass;
class CDBSelectDlg;
class CDummyDlg;
class CPropertyPage;
class CPropGeneralDlg;
class CPropPreviewDlg;
class CPropsAutoLogging;
class CPropsContacts;
class CPropsKeyCmdsDlg;
class CPropsSearch;
class CPropsStartUp;
class CPropsTimeSheet;
class QPushButton;
class QTabWidget;

// The options sheet: the pages that edit the "Admin" and "Keys" settings,
// and the database page. The hub runs one modally per Properties command;
// its pages start from the stored settings, so Cancel (or the close box)
// forgets every edit. OK and Apply store the settings, refresh the open
// time-sheet window and rebuild the hub's key commands.
class CPropsDef : public CDialogBase {
    Q_OBJECT
public:
    // The hub may be null (no windows to refresh); so may the facade.
    CPropsDef(CDBClass* db, CDummyDlg* hub, QWidget* parent = nullptr, int firstPage = 0);
    ~CPropsDef() override;

    bool OnCommand(int id) override;

    CDBClass* Facade() const { return m_db; }
    CDummyDlg* Hub() const { return m_hub; }
    // The database's minimum booking interval: 6, or 15 for any other.
    int BookingInterval() const { return m_bookingInterval; }
    // The provider kind of the database in use (0 server, 1 file).
    int ProviderKind() const;
    // The auto timer is booking now.
    bool IsAutoLogging() const;

    CPropsStartUp* StartUpPage() const { return m_startUp; }
    CPropsKeyCmdsDlg* KeyCommandsPage() const { return m_keys; }
    CPropPreviewDlg* ReviewPage() const { return m_review; }
    CPropGeneralDlg* GeneralPage() const { return m_general; }
    CPropsTimeSheet* TimeSheetPage() const { return m_timeSheet; }
    CPropsAutoLogging* AutoTimerPage() const { return m_autoTimer; }
    CDBSelectDlg* DatabasePage() const { return m_database; }
    CPropsContacts* ContactsPage() const { return m_contacts; }
    CPropsSearch* SearchPage() const { return m_search; }

    QTabWidget* Tabs() const { return m_tabs; }
    // Shows a page (opening it the first time); false when the page shown
    // before refused to be left.
    bool SetActivePage(CPropertyPage* page);
    CPropertyPage* ActivePage() const { return m_active; }
    bool IsApplyEnabled() const;

    // The Apply button: the pages that changed apply, the settings are stored.
    bool OnApplyNow();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnTabChanged(int index);
    // Reads the controls of every opened page; shows the first that refuses.
    bool ReadOpenedPages();
    void StoreSettings();
    void UpdateApplyButton();
    QList<CPropertyPage*> Pages() const;

    CDBClass* m_db;
    CDummyDlg* m_hub;
    int m_bookingInterval = 15;
    int m_firstPage = 0;
    // What the sheet started from; values no page edits are written back as they were.
    CProfile::CValues m_admin;
    CProfile::CValues m_keyValues;

    CPropsStartUp* m_startUp;
    CPropsKeyCmdsDlg* m_keys;
    CPropPreviewDlg* m_review;
    CPropGeneralDlg* m_general;
    CPropsTimeSheet* m_timeSheet;
    CPropsAutoLogging* m_autoTimer;
    CDBSelectDlg* m_database;
    CPropsContacts* m_contacts;
    CPropsSearch* m_search;

    QTabWidget* m_tabs;
    QPushButton* m_apply;
    CPropertyPage* m_active = nullptr;
    bool m_switching = false;
};
