#include "platform/com/DispatchDriver.h"

HRESULT CDispatchDriver::InvokeHelper(DispId id, InvokeKind kind, std::span<const Variant> args,
                                      Variant* result)
{
    m_lastResult = m_dispatch ? m_dispatch->Invoke(id, kind, args, result) : kE_POINTER;
    return m_lastResult;
}
