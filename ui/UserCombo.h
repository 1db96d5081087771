#pragma once

#include "ui/TipInfo.h"

#include <QComboBox>
#include <QPointer>

class CSecurityDlg;

// The windows a user combo reports a choice to, besides a CSecurityDlg.
class IUserComboOwner {
public:
    virtual ~IUserComboOwner() = default;
    // The review window: its filter combo changed (with the owner's value).
    virtual void OnProjectFilterChange(int) {}
    // The set-user dialog: another name was chosen.
    virtual void OnUserComboSelChange() {}
};

// What the combo needs to know of the signed-on user.
class IUserRights {
public:
    virtual ~IUserRights() = default;
    // 0: no rights to see other users' data.
    virtual int SecurityLevel() const = 0;
    // The employee id of the profile's default user.
    virtual int DefaultUserEmpId() const = 0;
};

// The employee combo (item data: the employee id) with a tool tip. In the
// time-sheet window it checks the signed-on user's rights before another
// user's time sheet is shown, and passes keys to the window's key handler.
class CUserCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CUserCombo(QWidget* parent = nullptr);

    void SetSecurityOwner(CSecurityDlg* owner);
    void SetReviewOwner(IUserComboOwner* owner, int value)
    {
        m_reviewOwner = owner;
        m_reviewValue = value;
    }
    void SetSetUserOwner(IUserComboOwner* owner) { m_setUserOwner = owner; }

    // Program-wide; kept by the caller. Without it every user has level 0.
    static void SetUserRights(IUserRights* rights);
    static IUserRights* UserRights();

    // The entry whose data the window shows now (set after filling the
    // combo): a refused choice returns to it.
    void MarkShown() { m_indexBeforeChoice = currentIndex(); }

    void SetTip(const QString& text) { m_tip.SetTip(this, text); }
    const TipInfo& Tip() const { return m_tip; }

    static QString RightsMessage();

    void showPopup() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnActivated(int index);
    bool PassKeyToOwner(QKeyEvent* event, int message);

    QPointer<CSecurityDlg> m_securityOwner;
    IUserComboOwner* m_reviewOwner = nullptr;
    IUserComboOwner* m_setUserOwner = nullptr;
    int m_reviewValue = 0;
    TipInfo m_tip;
    // The entry shown before the user's choice: a refused choice returns to it.
    int m_indexBeforeChoice = -1;
};
