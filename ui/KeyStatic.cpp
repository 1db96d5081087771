#include "ui/KeyStatic.h"

#include "ui/TimeSheetOwner.h"
#include "ui/VirtualKeys.h"

#include <QKeyEvent>

CKeyStatic::CKeyStatic(ITimeSheetOwner* owner, QWidget* parent)
    : QLabel(parent)
    , m_owner(owner)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CKeyStatic::keyPressEvent(QKeyEvent* event)
{
    if (m_owner)
        m_owner->OnKeyDown(VirtualKeyOfEvent(*event), event->count(), 0);
    else
        QLabel::keyPressEvent(event);
}

void CKeyStatic::keyReleaseEvent(QKeyEvent* event)
{
    if (m_owner)
        m_owner->OnKeyUp(VirtualKeyOfEvent(*event), event->count(), 0);
    else
        QLabel::keyReleaseEvent(event);
}
