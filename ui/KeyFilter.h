#pragma once

#include "ui/SubclassWnd.h"

class QKeyEvent;

// A window that sees keys before its focus widget does.
class IKeyPreTranslator {
public:
    virtual ~IKeyPreTranslator() = default;
    // A key press or release on its way to a widget of this window; true
    // consumes it.
    virtual bool PreTranslateKey(QKeyEvent& event) = 0;
    // Whether PreTranslateKey would consume this key press; such keys are
    // kept from the window's shortcuts (menu mnemonics and the like).
    virtual bool TakesKey(const QKeyEvent& event) const = 0;
};

// The one application-wide key filter: each key event goes to the
// IKeyPreTranslator windows between its receiver and the receiver's
// top-level window, innermost first, until one consumes it.
class CKeyFilter : public CSubclassWnd {
    Q_OBJECT
public:
    // Installs the filter on the application once; later calls do nothing.
    static void Install();

protected:
    bool WindowProc(QObject* window, QEvent* event) override;

private:
    using CSubclassWnd::CSubclassWnd;
};
