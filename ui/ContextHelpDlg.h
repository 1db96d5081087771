#pragma once

#include "ui/DialogBase.h"
#include "ui/KeyFilter.h"

// Shows the help page of a help id; the application installs it.
class IContextHelpHook {
public:
    virtual ~IContextHelpHook() = default;
    virtual void ShowContextHelp(int helpId) = 0;
};

// The base of dialogs whose help key (F1) shows the help of the control that
// has the focus.
class CContextHelpDlg : public CDialogBase, public IKeyPreTranslator {
    Q_OBJECT
public:
    explicit CContextHelpDlg(int templateId, QWidget* parent = nullptr);

    // A control's help id (0 when it has none).
    static void SetContextHelpId(QWidget* widget, int helpId);
    static int GetContextHelpId(const QWidget* widget);
    // Kept by the caller; nullptr removes it.
    static void SetHelpHook(IContextHelpHook* hook);

    // Asks for the help of the focused control; true.
    bool OnCommandHelp();

    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;
};
