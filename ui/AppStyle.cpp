#include "ui/AppStyle.h"

#include "ui/LazyIconEngine.h"

#include <QApplication>
#include <QPointer>
#include <QStyleOption>

CAppStyle::CAppStyle(const QString& baseName)
    : QProxyStyle(baseName)
{}

QIcon CAppStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                              const QWidget* widget) const
{
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    // The direction is the one asked for now; the button may be gone when
    // the arrow is drawn, so it is not kept.
    const Qt::LayoutDirection direction =
        option ? option->direction : QGuiApplication::layoutDirection();
    const QPointer<QStyle> base = baseStyle();
    return QIcon(new CLazyIconEngine([base, which, direction] {
        QStyleOption asked;
        asked.direction = direction;
        QStyle* style = base ? base.data() : QApplication::style();
        return style->standardIcon(which, &asked, nullptr);
    }));
}
