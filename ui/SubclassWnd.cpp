#include "ui/SubclassWnd.h"

#include <QCoreApplication>

CSubclassWnd::CSubclassWnd(QObject* parent)
    : QObject(parent)
{}

CSubclassWnd::~CSubclassWnd()
{
    HookWindow(nullptr);
}

bool CSubclassWnd::HookWindow(QObject* window)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window)
        window->installEventFilter(this);
    return true;
}

bool CSubclassWnd::WindowProc(QObject*, QEvent*)
{
    return false;
}

bool CSubclassWnd::eventFilter(QObject* watched, QEvent* event)
{
    // A hook on the application sees the events of every object.
    if (m_window && (watched == m_window || m_window == QCoreApplication::instance()))
        return WindowProc(watched, event);
    return QObject::eventFilter(watched, event);
}
