#pragma once

#include "platform/com/IUnknown.h"

class IControlSite;
class QWidget;

// The visible side of a control.
class IControl : public IUnknown {
public:
    static constexpr Guid kIid = Guid::Literal("{619DFE98-221B-4A90-BF3D-8B42E2B61109}");

    // null clears the site; the container does that before it lets go.
    virtual HRESULT SetSite(IControlSite* site) = 0;
    // Makes the control's widget as a child of parent, once per control.
    // The widget goes with the control's last reference or with its parent,
    // whichever comes first.
    virtual HRESULT CreateWidget(QWidget* parent, QWidget** widget) = 0;

protected:
    ~IControl() = default;
};
