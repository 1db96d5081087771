#include "ui/AppStyle.h"
#include "ui/LazyIconEngine.h"

#include <QApplication>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOption>

#include <gtest/gtest.h>

#include <memory>

// The overflow arrows come late but look as the desktop style draws them,
// in either direction, at every size it has.
TEST(AppStyle, OverflowArrowsAreTheDesktopStylesOwn)
{
    const QString name = QApplication::style()->name();
    CAppStyle style(name);
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(name));
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            QStyleOption option;
            option.direction = direction;
            const QIcon late = style.standardIcon(which, &option);
            const QIcon own = plain->standardIcon(which, &option);
            ASSERT_FALSE(own.isNull());
            EXPECT_FALSE(late.isNull());
            EXPECT_EQ(late.availableSizes(), own.availableSizes());
            for (const QSize size : own.availableSizes())
                EXPECT_EQ(late.pixmap(size).toImage(), own.pixmap(size).toImage())
                    << which << " " << direction << " " << size.width();
        }
    }
    // Every other icon is the desktop style's at once.
    EXPECT_EQ(style.standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage(),
              plain->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage());
}

TEST(LazyIconEngine, MakesItsIconOnceWhenFirstAskedAndCopiesShareIt)
{
    int made = 0;
    const QIcon icon(new CLazyIconEngine([&made] {
        ++made;
        QPixmap pixmap(8, 8);
        pixmap.fill(Qt::red);
        return QIcon(pixmap);
    }));
    const QIcon copy = icon;
    QIcon detached = icon;
    detached.detach();
    EXPECT_EQ(made, 0);
    EXPECT_EQ(copy.pixmap(8).toImage().pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(8, 8)});
    EXPECT_FALSE(detached.isNull());
    EXPECT_EQ(made, 1);
}
