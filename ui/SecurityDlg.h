#pragma once

#include "ui/DialogBase.h"
#include "ui/KeyFilter.h"

class IAcceleratorTable;

// Key messages as the key handlers are told them.
enum KeyMessage : int {
    kWmKeyDown = 0x100,
    kWmKeyUp = 0x101,
};

// Modifiers reported with an accelerator key.
enum KeyCommandModifier : int {
    kModifierNone = 0,
    kModifierCtrl = 17,
    kModifierAlt = 18,
};

// The base of the time-sheet window: Escape and the keys of its accelerator
// table become key commands of the window instead of closing it or moving
// the focus.
class CSecurityDlg : public CDialogBase, public IKeyPreTranslator {
    Q_OBJECT
public:
    // commandId names the window (ID_TIMESHEETS for the time sheet).
    CSecurityDlg(int templateId, QWidget* parent, int commandId);

    int CommandId() const { return m_commandId; }
    // The access mode the user combo sets: 2 for the signed-on user's own
    // data, otherwise that user's rights level.
    void SetValue(int value) { m_value = value; }
    int Value() const { return m_value; }
    // The window's accelerators (kept by the caller); nullptr for none.
    void SetAccelerators(const IAcceleratorTable* table) { m_accelerators = table; }
    const IAcceleratorTable* Accelerators() const { return m_accelerators; }

    // The window's key handler: 1 when it handled the key.
    virtual int HandleKey(int virtualKey, int message);
    // An accelerator key with its modifier (kModifierAlt, kModifierCtrl or 0).
    virtual int OnKeyCommand(int keyCode, int modifier);
    // The user combo chose another employee.
    virtual void OnSelChangeUser() {}

    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;

private:
    int m_value = 0;
    int m_commandId;
    const IAcceleratorTable* m_accelerators = nullptr;
};
