#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

// What a control may ask of the container it sits in. The container keeps
// the site alive for as long as it is set on the control.
class IControlSite {
public:
    // The control wants its window to take this size, in pixels; the
    // container may refuse.
    virtual HRESULT RequestResize(int width, int height) = 0;
    // A service the container offers its controls, by id (a print hook,
    // say), owned by the container; nullptr when it offers none. The id
    // says what type the pointer has.
    virtual void* QueryService(const Guid& /*service*/) { return nullptr; }

protected:
    ~IControlSite() = default;
};
