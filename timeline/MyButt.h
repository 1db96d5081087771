#pragma once

#include <QToolButton>

class CPlentorCtrl;

// A scroll or page button of the time line (ids 204, 232, 239). The scroll
// buttons repeat while held: first after 150 ms, then at the control's
// scroll speed.
class CMyButt : public QToolButton {
    Q_OBJECT
public:
    CMyButt(CPlentorCtrl& ctrl, int id, const QString& tip, QWidget* parent);

    int Id() const { return m_id; }
    QString Tip() const { return m_tip; }

protected:
    bool event(QEvent* event) override;

private:
    CPlentorCtrl& m_ctrl;
    int m_id;
    QString m_tip;
};
