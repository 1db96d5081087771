#include "ui/QtMessageBoxHook.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
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

namespace {

// Records every address handed to the desktop.
class CUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

} // namespace

// A question quoting a colleague's stored text shows that text as typed: no
// link to click, no picture read from the disk.
TEST(QtMessageBoxHook, AStoredTextShowsAsTypedAndOpensNothing)
{
    CUrlCatcher catcher;
    for (const char* scheme : {"file", "http", "https", "kelvane"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "Open");
    const QString stored =
        QStringLiteral("<a href=\"file:///bin/sh\">run</a><img src=\"file:///etc/hostname\"> & co");
    const QString question = QStringLiteral("Delete comment 7 \"%1\"?").arg(stored);
    CQtMessageBoxHook boxes;
    SetMessageBoxHook(&boxes);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        shown = label->text();
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        // A click anywhere on the text opens nothing.
        for (int y = 2; y < label->height(); y += 4)
            for (int x = 2; x < label->width(); x += 4)
                QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(x, y));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ShowMessageBox(question, kMbYesNo | kMbIconQuestion), kIdNo);
    SetMessageBoxHook(nullptr);
    for (const char* scheme : {"file", "http", "https", "kelvane"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    EXPECT_EQ(shown, question);
    EXPECT_TRUE(catcher.opened.isEmpty()) << catcher.opened.first().toString().toStdString();
}

#include "QtMessageBoxHookTest.moc"
