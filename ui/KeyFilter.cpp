#include "ui/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<CKeyFilter> s_filter;
}

void CKeyFilter::Install()
{
    if (s_filter || !qApp)
        return;
    s_filter = new CKeyFilter(qApp);
    s_filter->HookWindow(qApp);
}

bool CKeyFilter::WindowProc(QObject* window, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return CSubclassWnd::WindowProc(window, event);
    // The application filter sees every object an event is sent to; only
    // widgets are on the way to a window.
    if (window == qApp || !window->isWidgetType())
        return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    // An unconsumed key travels on to the parents and comes by here again;
    // asking the same windows again changes nothing, as only consuming acts.
    for (auto* widget = static_cast<QWidget*>(window); widget;
         widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        auto* translator = dynamic_cast<IKeyPreTranslator*>(widget);
        if (!translator)
            continue;
        const bool consumed = type == QEvent::ShortcutOverride ? translator->TakesKey(key)
                                                               : translator->PreTranslateKey(key);
        if (consumed) {
            key.accept();
            return true;
        }
    }
    return false;
}
