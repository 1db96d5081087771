#pragma once

#include "platform/com/DispatchDriver.h"
#include "platform/com/EventSinkMap.h"
#include "platform/com/IControlSite.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <cstdint>

class IEventSource;

// The window a container gives a control: it creates the control by class
// id or ProgID, holds the control's widget, calls its members (through
// CDispatchDriver) and hears its events (through Events()). The wrapper
// classes of the controls derive from it.
//
// Destroy a host from inside one of its control's events only with
// deleteLater().
class CControlHost : public QWidget, public CDispatchDriver, private IControlSite {
public:
    explicit CControlHost(QWidget* parent = nullptr);
    ~CControlHost() override;

    // "{clsid}" or a ProgID. Any control made before goes first. On failure
    // the host stays empty and the result, also in LastResult(), says why
    // (HResultText names the cause).
    HRESULT CreateControl(const QString& classIdOrProgId);
    HRESULT CreateControl(const Guid& clsid);
    void DestroyControl();

    bool HasControl() const { return Dispatch() != nullptr; }
    QWidget* ControlWidget() const { return m_widget.data(); }
    // Handlers may be set before or after the control is made.
    CEventSinkMap& Events() { return *m_sink; }
    // Offers the control a service by id (nullptr withdraws it); the
    // object stays the caller's and must outlive the offer.
    void OfferService(const Guid& service, void* object);

    QSize sizeHint() const override;

private:
    HRESULT MakeControl(const Guid& clsid);
    HRESULT RequestResize(int width, int height) override;
    void* QueryService(const Guid& service) override;

    ComPtr<CEventSinkMap> m_sink;
    ComPtr<IEventSource> m_source;
    std::uint32_t m_cookie = 0;
    QPointer<QWidget> m_widget;
    QHash<Guid, void*> m_services;
};
