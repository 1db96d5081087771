#pragma once

// What the auto timer's controls ask of the auto-timer window.
class IAutoTimerOwner {
public:
    virtual ~IAutoTimerOwner() = default;
    // Starts or stops timing (its start/stop button).
    virtual void OnGo() = 0;
    virtual bool IsTiming() const = 0;
    // Its project combo chose another project.
    virtual void OnSelChangeProject() = 0;
};
