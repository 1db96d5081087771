#pragma once

#include "platform/com/EventSource.h"
#include "platform/com/IControl.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IEventSource.h"

#include <QPointer>
#include <QWidget>

class IControlSite;

// What every control object shares: reference and library counting, the
// event sinks, the container's site and the control's widget. A control
// derives from CControlImpl, which adds its dispatch table.
//
// Objects start with one reference. A container must not release a control
// from inside one of that control's events (QObject::deleteLater() is the
// way out of a handler).
class CControlBase : public IDispatch, public IEventSource, public IControl {
public:
    CControlBase(const CControlBase&) = delete;
    CControlBase& operator=(const CControlBase&) = delete;

    HRESULT QueryInterface(const Guid& iid, void** out) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    HRESULT Advise(IDispatch* sink, std::uint32_t* cookie) override;
    HRESULT Unadvise(std::uint32_t cookie) override;

    HRESULT SetSite(IControlSite* site) override;
    HRESULT CreateWidget(QWidget* parent, QWidget** widget) override;

protected:
    CControlBase();
    virtual ~CControlBase();

    // Makes the control's own widget; called once, by CreateWidget.
    virtual QWidget* MakeWidget(QWidget* parent) = 0;

    // Null before CreateWidget, and once its parent has deleted it.
    QWidget* Widget() const { return m_widget.data(); }
    IControlSite* Site() const { return m_site; }
    // Asks the container for a new size; kE_UNEXPECTED without a site.
    HRESULT RequestResize(int width, int height);

    // Fires event number `event` to every sink before returning.
    template <typename... A>
    void FireEvent(DispId event, const A&... args)
    {
        m_events.Fire(event, args...);
    }

private:
    std::uint32_t m_refs = 1;
    CEventSource m_events;
    IControlSite* m_site = nullptr;
    QPointer<QWidget> m_widget;
    bool m_widgetMade = false;
};
