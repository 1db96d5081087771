#pragma once

#include "ui/TipInfo.h"

#include <QDateTimeEdit>

class ITimeSheetOwner;

// The time sheet's date picker with a tool tip. The arrow keys go to the
// window (they move on the time line), and while a block is highlighted the
// focus stays with the time line.
class CTipDateTimeCtrl : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit CTipDateTimeCtrl(QWidget* parent = nullptr);

    void SetOwner(ITimeSheetOwner* owner) { m_owner = owner; }
    // A drop-down calendar with a frame of its own: it opens over the month
    // calendar below the field, and without one the two run together.
    void UseFramedCalendarPopup();
    void SetTip(const QString& text) { m_tip.SetTip(this, text); }
    const TipInfo& Tip() const { return m_tip; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    ITimeSheetOwner* m_owner = nullptr;
    TipInfo m_tip;
    bool m_inFocus = false;
    QWidget* m_popup = nullptr;
};
