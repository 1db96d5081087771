#pragma once

#include "ui/DialogBase.h"

// The dialog holding a tab control can hear its pages' notifications and
// control events when it implements this.
class ITabPageOwner {
public:
    virtual ~ITabPageOwner() = default;
    virtual bool OnPageNotify(int controlId, int code) = 0;
    virtual bool OnPageControlEvent(int controlId, int eventId) = 0;
};

// The base of tab pages: a dialog shown inside a CPageTabCtrl. Enter and
// Escape never close it; with its routes on, commands, notifications and
// control events go on to the dialog that holds the tab control after the
// page has handled them.
class CTabPage : public CDialogBase {
    Q_OBJECT
public:
    explicit CTabPage(int templateId, QWidget* parent = nullptr);

    void SetCommandRoute(bool route) { m_commandRoute = route; }
    void SetEventRoute(bool route) { m_eventRoute = route; }
    void SetNotifyRoute(bool route) { m_notifyRoute = route; }
    bool CommandRoute() const { return m_commandRoute; }
    bool EventRoute() const { return m_eventRoute; }
    bool NotifyRoute() const { return m_notifyRoute; }

    // The page handles the command (OnPageCommand); with the command route
    // on, the outer dialog gets it too and its answer is the result.
    bool OnCommand(int id) final;
    bool Notify(int controlId, int code);
    bool ControlEvent(int controlId, int eventId);

    // The nearest dialog of ours around the page: the one holding the tabs.
    CDialogBase* OuterDialog() const;

protected:
    // The page's own commands, notifications and control events.
    virtual bool OnPageCommand(int id) { return CDialogBase::OnCommand(id); }
    virtual bool OnNotify(int, int) { return false; }
    virtual bool OnControlEvent(int, int) { return false; }

    void OnOK() override {}
    void OnCancel() override {}

private:
    bool m_commandRoute = false;
    bool m_eventRoute = false;
    bool m_notifyRoute = false;
};
