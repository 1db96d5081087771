#pragma once

// What the small controls of the time-sheet window ask of it.
class ITimeSheetOwner {
public:
    virtual ~ITimeSheetOwner() = default;
    // Keys the controls pass on (virtual-key codes).
    virtual void OnKeyDown(int virtualKey, int repeatCount, int flags) = 0;
    virtual void OnKeyUp(int virtualKey, int repeatCount, int flags) = 0;
    // Whether the time line has a highlighted block.
    virtual bool IsHighlightObj() const = 0;
    // The focus goes to the time line; its day view repaints.
    virtual void FocusTimeLine() = 0;
    virtual void InvalidateDayView() = 0;
};
