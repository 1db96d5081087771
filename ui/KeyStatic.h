#pragma once

#include <QLabel>

class ITimeSheetOwner;

// A label of the time-sheet window that takes the focus and passes every
// key to the window.
class CKeyStatic : public QLabel {
    Q_OBJECT
public:
    explicit CKeyStatic(ITimeSheetOwner* owner = nullptr, QWidget* parent = nullptr);

    void SetOwner(ITimeSheetOwner* owner) { m_owner = owner; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    ITimeSheetOwner* m_owner;
};
