#include "platform/com/ControlHost.h"

#include "platform/com/ClassLoader.h"
#include "platform/com/IControl.h"
#include "platform/com/IEventSource.h"

#include <QVBoxLayout>

CControlHost::CControlHost(QWidget* parent)
    : QWidget(parent)
    , m_sink(CEventSinkMap::Create())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

CControlHost::~CControlHost()
{
    DestroyControl();
}

HRESULT CControlHost::CreateControl(const QString& classIdOrProgId)
{
    Guid clsid;
    const HRESULT hr = CClassLoader::ClassIdFromString(classIdOrProgId, &clsid);
    if (Failed(hr)) {
        DestroyControl();
        ClearErrorInfo();
        SetLastResult(hr);
        return hr;
    }
    return CreateControl(clsid);
}

HRESULT CControlHost::CreateControl(const Guid& clsid)
{
    // Callers report a failure from LastResult().
    const HRESULT hr = MakeControl(clsid);
    SetLastResult(hr);
    return hr;
}

HRESULT CControlHost::MakeControl(const Guid& clsid)
{
    DestroyControl();
    ComPtr<IDispatch> dispatch;
    HRESULT hr = CClassLoader::CreateInstance(clsid, &dispatch);
    if (Failed(hr))
        return hr;
    ComPtr<IControl> control;
    if (Failed(hr = dispatch.As(&control))) {
        SetErrorInfo(hr, QStringLiteral("%1 is not a control.").arg(clsid.ToString()));
        return hr;
    }

    // The site and the sink come first, so the control can speak from the
    // moment its widget exists.
    control->SetSite(this);
    if (Succeeded(dispatch.As(&m_source)) && Failed(m_source->Advise(m_sink.Get(), &m_cookie)))
        m_source.Reset();
    QWidget* widget = nullptr;
    hr = control->CreateWidget(this, &widget);
    if (Failed(hr)) {
        if (m_source)
            m_source->Unadvise(m_cookie);
        m_source.Reset();
        control->SetSite(nullptr);
        SetErrorInfo(hr, QStringLiteral("%1 could not make its window.").arg(clsid.ToString()));
        return hr;
    }
    m_widget = widget;
    layout()->addWidget(widget);
    AttachDispatch(dispatch);
    updateGeometry();
    return kS_OK;
}

void CControlHost::DestroyControl()
{
    ComPtr<IDispatch> dispatch(Dispatch());
    if (!dispatch)
        return;
    if (m_source)
        m_source->Unadvise(m_cookie);
    m_source.Reset();
    ComPtr<IControl> control;
    if (Succeeded(dispatch.As(&control)))
        control->SetSite(nullptr);
    ReleaseDispatch();
    control.Reset();
    dispatch.Reset();
    // The last reference took the widget with it; if someone else still
    // holds the control, its widget goes with this window all the same.
    delete m_widget.data();
}

QSize CControlHost::sizeHint() const
{
    return m_widget ? m_widget->sizeHint() : QWidget::sizeHint();
}

HRESULT CControlHost::RequestResize(int width, int height)
{
    if (width < 0 || height < 0)
        return kE_INVALIDARG;
    resize(width, height);
    return kS_OK;
}

void CControlHost::OfferService(const Guid& service, void* object)
{
    if (object)
        m_services.insert(service, object);
    else
        m_services.remove(service);
}

void* CControlHost::QueryService(const Guid& service)
{
    return m_services.value(service, nullptr);
}
