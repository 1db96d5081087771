#pragma once

#include "data/ChgReqTypes.h"
#include "ui/AcceleratorTable.h"
#include "ui/DialogBase.h"
#include "ui/KeyFilter.h"
#include "ui/TipButton.h"

class CDBClass;
class CPageTabCtrl;
class CTabCRViewFullD;
class CTabCRViewItems;
class CTabCRViewStatus;
class CTabCRViewTeam;
class IChgRqstListOwner;
class QComboBox;
class QLabel;
class QLineEdit;

// "Edit Change Request": one change request of the list window. "&Update"
// writes the request and its actions and stays open; "&<<" and "&>>" step
// through the window's list, dropping what was not updated.
class CViewChgRqst : public CDialogBase, public ITipButtonOwner, public IKeyPreTranslator {
    Q_OBJECT
public:
    enum : int {
        kIdProject = 1055,
        kIdDateCreated = 1093,
        kIdContact = 1099,
        kIdPriority = 1106,
        kIdUpdate = 1163,
        kIdNext = 1197,
        kIdPrevious = 1198,
        kIdReference = 1304,
        kIdTabs = 1380,
        kIdAuthority = 12826,
    };

    // The request of a row of the owner's list.
    CViewChgRqst(IChgRqstListOwner* owner, int row, int chgReqId, CDBClass& db,
                 QWidget* parent = nullptr);

    // The owner steps to another row of its list.
    void LoadChgRqst(int row, int chgReqId);

    bool OnCommand(int id) override;
    // "&<<", "&>>" and the items page's "&+" and "&-".
    void OnTipButtonClick(int id) override;
    // A character typed with Alt: "+" and "=" add an action, "-" removes
    // one, "," and "<" step back, "." and ">" step on.
    void OnKeyCommand(QChar key);
    // The key table goes before the buttons' mnemonics ("&+" is Alt++ too),
    // so one press runs its command once, whichever page is shown.
    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;
    // Writes the request; true when it was written.
    bool UpdateCRData();

    int Row() const { return m_row; }
    int ChgReqId() const { return m_chgReqId; }
    // Whether an update wrote the request since the dialog opened.
    bool Updated() const { return m_updated; }
    const CChgReqRecord& Record() const { return m_record; }
    CTabCRViewItems* ItemsPage() const { return m_items; }
    CTabCRViewFullD* DetailsPage() const { return m_details; }
    CTabCRViewStatus* StatusPage() const { return m_status; }
    CTabCRViewTeam* TeamPage() const { return m_team; }
    // "low" 3, "high" 1, anything else 2, ignoring case.
    static int PriorityIndex(const QString& text);

protected:
    bool OnInitDialog() override;
    // Enter updates, as "&Update" does.
    void OnOK() override;
    void OnCancel() override;

private:
    void BuildControls();
    void Load();
    void FillCombos();
    void UpdateButtons();
    void Step(int id);
    void RequestGone();

    IChgRqstListOwner* m_owner;
    CDBClass& m_db;
    CAcceleratorTable m_keys;
    int m_row;
    int m_chgReqId;
    CChgReqRecord m_record;
    bool m_found = false;
    bool m_updated = false;

    QComboBox* m_project = nullptr;
    QComboBox* m_contact = nullptr;
    QComboBox* m_authority = nullptr;
    QComboBox* m_priority = nullptr;
    QLineEdit* m_reference = nullptr;
    QLabel* m_dateCreated = nullptr;
    CPageTabCtrl* m_tabs = nullptr;
    CTabCRViewItems* m_items = nullptr;
    CTabCRViewFullD* m_details = nullptr;
    CTabCRViewStatus* m_status = nullptr;
    CTabCRViewTeam* m_team = nullptr;
    CTipButton* m_previous = nullptr;
    CTipButton* m_next = nullptr;
    QPushButton* m_update = nullptr;
};
