#include "platform/com/EventSource.h"

#include <algorithm>

HRESULT CEventSource::Advise(IDispatch* sink, std::uint32_t* cookie)
{
    if (!sink || !cookie)
        return kE_POINTER;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, ComPtr<IDispatch>(sink)});
    return kS_OK;
}

HRESULT CEventSource::Unadvise(std::uint32_t cookie)
{
    const auto it = std::find_if(m_sinks.begin(), m_sinks.end(),
                                 [cookie](const Sink& s) { return s.cookie == cookie; });
    if (it == m_sinks.end())
        return kE_INVALIDARG;
    // The sink may be the caller; release it only after it left the list.
    const Sink gone = std::move(*it);
    m_sinks.erase(it);
    return kS_OK;
}

void CEventSource::UnadviseAll()
{
    std::vector<Sink> gone;
    gone.swap(m_sinks);
}

void CEventSource::Fire(DispId event, std::span<const Variant> args)
{
    if (m_sinks.empty())
        return;
    // Handlers may change the list; the copy also keeps each sink alive
    // while it is being called.
    const std::vector<Sink> sinks = m_sinks;
    for (const Sink& s : sinks) {
        if (IsAdvised(s.cookie))
            s.sink->Invoke(event, InvokeKind::Method, args, nullptr);
    }
}

bool CEventSource::IsAdvised(std::uint32_t cookie) const
{
    return std::any_of(m_sinks.begin(), m_sinks.end(),
                       [cookie](const Sink& s) { return s.cookie == cookie; });
}
