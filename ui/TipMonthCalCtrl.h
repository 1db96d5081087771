#pragma once

#include "ui/TipInfo.h"

#include <QCalendarWidget>

// A month calendar with a tool tip and a focus rectangle round it while it
// has the focus.
class CTipMonthCalCtrl : public QCalendarWidget {
    Q_OBJECT
public:
    explicit CTipMonthCalCtrl(QWidget* parent = nullptr);

    void SetTip(const QString& text) { m_tip.SetTip(this, text); }
    const TipInfo& Tip() const { return m_tip; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TipInfo m_tip;
};
