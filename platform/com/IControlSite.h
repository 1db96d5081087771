#pragma once

#include "platform/com/HResult.h"

// What a control may ask of the container it sits in. The container keeps
// the site alive for as long as it is set on the control.
class IControlSite {
public:
    // The control wants its window to take this size, in pixels; the
    // container may refuse.
    virtual HRESULT RequestResize(int width, int height) = 0;

protected:
    ~IControlSite() = default;
};
