#pragma once

#include "ui/DialogBase.h"
#include "ui/KeyFilter.h"

class IAcceleratorTable;

// The base of dialogs in which the hub's accelerators keep working (the
// logon dialog): a key the hub's table knows goes to the hub as its command.
class CAccelDlg : public CDialogBase, public IKeyPreTranslator {
    Q_OBJECT
public:
    explicit CAccelDlg(int templateId, QWidget* parent = nullptr);

    // The hub's table and the hub, both kept by the caller; nullptr for none.
    static void SetHubAccelerators(const IAcceleratorTable* table, CDialogBase* hub);

    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;
};
