#pragma once

#include "ui/RichTextCtrl.h"
#include "ui/TipInfo.h"

// A rich-text box with a tool tip anywhere over it.
class CTipRichEdit : public CRichTextCtrl {
    Q_OBJECT
public:
    explicit CTipRichEdit(QWidget* owner = nullptr, int value = 0);

    void SetTip(const QString& text) { m_tip.SetTip(this, text); }
    const TipInfo& Tip() const { return m_tip; }
    int Value() const { return m_value; }

protected:
    bool event(QEvent* event) override;

private:
    TipInfo m_tip;
    int m_value;
};
