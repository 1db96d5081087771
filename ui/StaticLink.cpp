#include "ui/StaticLink.h"

#include "platform/Launcher.h"

#include <QApplication>
#include <QMouseEvent>

CStaticLink::CStaticLink(const QString& link, QWidget* parent)
    : QLabel(parent)
    , m_link(link)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    ApplyColor();
}

bool CStaticLink::OpenLink()
{
    const QString target = m_link.isEmpty() ? text() : m_link;
    if (target.trimmed().isEmpty())
        return false;
    if (!OpenUrl(QUrl::fromUserInput(target.trimmed()))) {
        QApplication::beep();
        return false;
    }
    m_color = kVisitedColor;
    ApplyColor();
    return true;
}

void CStaticLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OpenLink();
    QLabel::mousePressEvent(event);
}

void CStaticLink::ApplyColor()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_color);
    setPalette(colours);
    update();
}
