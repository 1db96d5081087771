#include "platform/com/ControlBase.h"

#include "platform/com/IControlSite.h"
#include "platform/com/ModuleLock.h"

CControlBase::CControlBase()
{
    CModuleLock::ObjectCreated();
}

CControlBase::~CControlBase()
{
    m_events.UnadviseAll();
    delete m_widget.data();
    CModuleLock::ObjectDestroyed();
}

HRESULT CControlBase::QueryInterface(const Guid& iid, void** out)
{
    if (!out)
        return kE_POINTER;
    if (iid == IUnknown::kIid || iid == IDispatch::kIid)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IEventSource::kIid)
        *out = static_cast<IEventSource*>(this);
    else if (iid == IControl::kIid)
        *out = static_cast<IControl*>(this);
    else {
        *out = nullptr;
        return kE_NOINTERFACE;
    }
    ++m_refs;
    return kS_OK;
}

std::uint32_t CControlBase::AddRef()
{
    return ++m_refs;
}

std::uint32_t CControlBase::Release()
{
    const std::uint32_t refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT CControlBase::Advise(IDispatch* sink, std::uint32_t* cookie)
{
    return m_events.Advise(sink, cookie);
}

HRESULT CControlBase::Unadvise(std::uint32_t cookie)
{
    return m_events.Unadvise(cookie);
}

HRESULT CControlBase::SetSite(IControlSite* site)
{
    m_site = site;
    return kS_OK;
}

HRESULT CControlBase::CreateWidget(QWidget* parent, QWidget** widget)
{
    if (!parent || !widget)
        return kE_POINTER;
    *widget = nullptr;
    if (m_widgetMade)
        return kE_UNEXPECTED;
    m_widget = MakeWidget(parent);
    if (!m_widget)
        return kE_FAIL;
    m_widgetMade = true;
    *widget = m_widget.data();
    return kS_OK;
}

HRESULT CControlBase::RequestResize(int width, int height)
{
    return m_site ? m_site->RequestResize(width, height) : kE_UNEXPECTED;
}
