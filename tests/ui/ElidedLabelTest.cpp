#include "ui/ElidedLabel.h"

#include <gtest/gtest.h>

TEST(ElidedLabel, ALongPathIsCutInItsMiddleAndNeverWrapped)
{
    const QString path =
        QStringLiteral("Database: /home/someone/.local/share/Dunmere/Kelvane/kelvane.db");
    CElidedLabel label;
    label.SetFullText(path);
    label.show();
    label.resize(label.sizeHint());
    EXPECT_EQ(label.text(), path);

    label.resize(label.sizeHint().width() / 2, label.sizeHint().height());
    const QString shown = label.text();
    EXPECT_LT(shown.size(), path.size());
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Database: /"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".db"))) << shown.toStdString();
    EXPECT_FALSE(label.wordWrap());
    EXPECT_EQ(label.toolTip(), path);
    EXPECT_EQ(label.FullText(), path);

    // Wide again, the whole text is back.
    label.resize(label.sizeHint());
    EXPECT_EQ(label.text(), path);
}
