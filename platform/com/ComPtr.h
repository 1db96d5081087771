#pragma once

#include "platform/com/IUnknown.h"

#include <utility>

// Owns one reference to an interface and releases it when it goes.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a new reference to p.
    explicit ComPtr(T* p)
        : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other)
        : ComPtr(other.m_p)
    {}
    ComPtr(ComPtr&& other) noexcept
        : m_p(std::exchange(other.m_p, nullptr))
    {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    // Adopts a reference the caller already owns.
    static ComPtr Adopt(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Hands the reference to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }

    // For functions that return a new reference through a void** argument.
    void** Receive()
    {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }

    template <typename U>
    HRESULT As(ComPtr<U>* out) const
    {
        if (!out)
            return kE_POINTER;
        if (!m_p) {
            out->Reset();
            return kE_POINTER;
        }
        return m_p->QueryInterface(U::kIid, out->Receive());
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }

private:
    T* m_p = nullptr;
};
