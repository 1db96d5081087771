#include "ui/QtMessageBoxHook.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <gtest/gtest.h>

TEST(QtMessageBoxHook, ABoxBelongsToTheModalDialogInFront)
{
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(CQtMessageBoxHook::Owner(), &window);

    // A modal dialog of that window runs: its questions open on top of it,
    // not on the window behind, which the desktop would raise over it.
    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    EXPECT_EQ(CQtMessageBoxHook::Owner(), &dialog);
    dialog.hide();
    EXPECT_EQ(CQtMessageBoxHook::Owner(), &window);
}
