#pragma once

#include <QObject>
#include <QPointer>

// Lets an object that is not itself the window see the events of another
// object. A hook is an event filter, so any number of hooks chain on one
// object: the one installed last sees each event first. A hook lets go by
// itself when the hooked object is destroyed. A hook on the application sees
// the events of every object, each with its receiver as the window.
class CSubclassWnd : public QObject {
    Q_OBJECT
public:
    explicit CSubclassWnd(QObject* parent = nullptr);
    ~CSubclassWnd() override;

    // Hooks the object (another object unhooks the first); nullptr unhooks.
    bool HookWindow(QObject* window);
    QObject* HookedWindow() const { return m_window; }
    bool IsHooked() const { return m_window != nullptr; }

protected:
    // True consumes the event; false passes it on to the next hook and then
    // to the window.
    virtual bool WindowProc(QObject* window, QEvent* event);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> m_window;
};
