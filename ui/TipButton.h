#pragma once

#include "ui/TipInfo.h"

#include <QPushButton>

class IAutoTimerOwner;

// Who a tip button reports its click to, by its owner kind.
enum TipButtonOwnerKind : int {
    kTipOwnerNone = -1,
    kTipOwnerAutoTimer = 0,
    kTipOwnerTimeSheet = 1,
    kTipOwnerSaveTimes = 2,
    kTipOwnerReview = 3,
    kTipOwnerChangeRequestEdit = 4,
    kTipOwnerProjectTasks = 5,
    kTipOwnerProjectInfo = 6,
    kTipOwnerChangeRequestItems = 7,
    kTipOwnerCommentView = 8,
};

// The windows that own tip buttons; each implements the handler of its kind.
class ITipButtonOwner {
public:
    virtual ~ITipButtonOwner() = default;
    // 1: the time sheet's day buttons.
    virtual void OnDayButtonMsg(int) {}
    // 2: the save-times dialog.
    virtual void OnTipButton(int) {}
    // 3: the review window.
    virtual void OnButtonId(int) {}
    // 4, 7 and 8: change-request edit, change-request items, comment view.
    virtual void OnTipButtonClick(int) {}
    // 5: the project tasks dialog.
    virtual void OnAutoEstimate(int) {}
    // 6: the project information window.
    virtual void OnUpdateTotals() {}
};

// A push button with a tool tip whose click goes to its owner's handler of
// the owner kind, or, in the auto timer, starts and stops timing.
class CTipButton : public QPushButton {
    Q_OBJECT
public:
    explicit CTipButton(IAutoTimerOwner* autoTimer = nullptr, QWidget* parent = nullptr);

    void SetOwner(ITipButtonOwner* owner, int ownerKind, int buttonId);
    int OwnerKind() const { return m_ownerKind; }
    int ButtonId() const { return m_buttonId; }

    // mode -1: the text as it is; 0 or more in the auto timer: "Stop
    // Logging <text>" while timing, else "Start Logging <text>".
    void SetTip(const QString& text, int mode = -1);
    const TipInfo& Tip() const { return m_tip; }

protected:
    bool event(QEvent* event) override;

private:
    void OnClicked();

    IAutoTimerOwner* m_autoTimer;
    ITipButtonOwner* m_owner = nullptr;
    TipInfo m_tip;
    int m_buttonId = 0;
    int m_ownerKind = kTipOwnerNone;
};
