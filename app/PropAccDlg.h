#pragma once

#include "app/PropertyPage.h"
#include "ui/AcceleratorTable.h"

// An options page with keys of its own: a key of its accelerator table
// moves the focus to the control the table names, before the key reaches
// anything else (so Alt+C focuses a check box rather than ticking it).
class CPropAccDlg : public CPropertyPage {
    Q_OBJECT
public:
    // acceleratorId -1: none.
    CPropAccDlg(CPropsDef& sheet, int templateId, const QString& caption, int acceleratorId);
    ~CPropAccDlg() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int m_acceleratorId;
    CAcceleratorTable m_accelerators;
    bool m_filtering = false;
};
