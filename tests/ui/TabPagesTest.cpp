#include "tests/support/TestEnv.h"
#include "ui/PageTabCtrl.h"
#include "ui/TabPage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

class CRecordingTabs : public CPageTabCtrl {
public:
    using CPageTabCtrl::CPageTabCtrl;
    ~CRecordingTabs() override { RemoveAllPages(); }
    QStringList log;

protected:
    void OnPageShown(int index, quint32 data) override
    {
        log << QStringLiteral("shown %1 %2").arg(index).arg(data);
    }
    void OnPageHidden(int index, quint32 data) override
    {
        log << QStringLiteral("hidden %1 %2").arg(index).arg(data);
    }
    void OnPageRemoved(int index, quint32) override
    {
        log << QStringLiteral("removed %1").arg(index);
    }
};

class CTwoEditPage : public CTabPage {
public:
    CTwoEditPage()
        : CTabPage(300)
    {
        auto* layout = new QVBoxLayout(this);
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        button = AddCommandButton(QStringLiteral("Add"), 1090);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(button);
    }
    QLineEdit* first;
    QLineEdit* second;
    QPushButton* button;
    QList<int> handled;

protected:
    bool OnPageCommand(int id) override
    {
        handled << id;
        return true;
    }
};

class COuterDialog : public CDialogBase {
public:
    COuterDialog()
        : CDialogBase(190)
        , tabs(new CRecordingTabs(this))
    {
        resize(400, 300);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(tabs);
    }
    bool OnCommand(int id) override
    {
        commands << id;
        return CDialogBase::OnCommand(id);
    }
    CRecordingTabs* tabs;
    QList<int> commands;
};

} // namespace

TEST(PageTabCtrl, APageIsNeededForATab)
{
    CPageTabCtrl tabs;
    EXPECT_EQ(tabs.AddPage(QStringLiteral("none"), 0, nullptr), -1);
    EXPECT_EQ(tabs.count(), 0);
}

TEST(PageTabCtrl, SelectingAPageCallsTheHooksAsClickingATabDoes)
{
    COuterDialog dlg;
    auto* one = new CTwoEditPage;
    auto* two = new CTwoEditPage;
    EXPECT_EQ(dlg.tabs->AddPage(QStringLiteral("One"), 11, one, true), 0);
    EXPECT_EQ(dlg.tabs->AddPage(QStringLiteral("Two"), 22, two, true), 1);
    EXPECT_EQ(dlg.tabs->GetCurSel(), 0);
    dlg.show();
    EXPECT_TRUE(dlg.tabs->log.isEmpty());

    EXPECT_TRUE(dlg.tabs->SelectPage(1));
    EXPECT_EQ(dlg.tabs->log, QStringList({"hidden 0 11", "shown 1 22"}));
    EXPECT_TRUE(two->isVisible());
    EXPECT_FALSE(one->isVisible());

    dlg.tabs->log.clear();
    EXPECT_TRUE(dlg.tabs->SelectPage(1)); // the current page: nothing changes
    EXPECT_FALSE(dlg.tabs->SelectPage(2));
    EXPECT_FALSE(dlg.tabs->SelectPage(-1));
    EXPECT_TRUE(dlg.tabs->log.isEmpty());

    QTabBar* bar = dlg.tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(dlg.tabs->log, QStringList({"hidden 1 22", "shown 0 11"}));
}

TEST(PageTabCtrl, APageGetsBackTheFocusItHadWhenLeft)
{
    COuterDialog dlg;
    auto* one = new CTwoEditPage;
    auto* two = new CTwoEditPage;
    dlg.tabs->AddPage(QStringLiteral("One"), 0, one, true);
    dlg.tabs->AddPage(QStringLiteral("Two"), 0, two, true);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(dlg.tabs->FocusWindow(1), two->first); // the page's first child

    one->second->setFocus();
    dlg.tabs->SelectPage(1);
    EXPECT_EQ(QApplication::focusWidget(), two->first);
    two->second->setFocus();
    dlg.tabs->SelectPage(0);
    EXPECT_EQ(QApplication::focusWidget(), one->second);
    dlg.tabs->SelectPage(1);
    EXPECT_EQ(QApplication::focusWidget(), two->second);
}

TEST(TabPage, ARoutedCommandReachesTheOuterDialogOnceAfterThePage)
{
    COuterDialog dlg;
    auto* page = new CTwoEditPage;
    dlg.tabs->AddPage(QStringLiteral("One"), 0, page, true);
    dlg.show();
    EXPECT_EQ(page->OuterDialog(), &dlg);

    QTest::mouseClick(page->button, Qt::LeftButton);
    EXPECT_EQ(page->handled, QList<int>({1090}));
    EXPECT_TRUE(dlg.commands.isEmpty());

    page->SetCommandRoute(true);
    QTest::mouseClick(page->button, Qt::LeftButton);
    EXPECT_EQ(page->handled, QList<int>({1090, 1090}));
    EXPECT_EQ(dlg.commands, QList<int>({1090}));
}

TEST(TabPage, EnterAndEscapeNeverCloseAPage)
{
    COuterDialog dlg;
    auto* page = new CTwoEditPage;
    dlg.tabs->AddPage(QStringLiteral("One"), 0, page, true);
    dlg.show();
    page->first->setFocus();
    QTest::keyClick(page->first, Qt::Key_Escape);
    EXPECT_TRUE(page->isVisible());
    page->OnCommand(1);
    page->OnCommand(2);
    EXPECT_TRUE(page->isVisible());
}

TEST(PageTabCtrl, RemovingPagesGoesFromTheLastAndKeepsTheOwnersPages)
{
    QPointer<CTwoEditPage> owned;
    QPointer<CTwoEditPage> kept;
    {
        COuterDialog dlg;
        owned = new CTwoEditPage;
        kept = new CTwoEditPage;
        dlg.tabs->AddPage(QStringLiteral("One"), 0, owned, true);
        dlg.tabs->AddPage(QStringLiteral("Two"), 0, kept, false);
        dlg.tabs->RemoveAllPages();
        EXPECT_EQ(dlg.tabs->log, QStringList({"removed 1", "removed 0"}));
        EXPECT_EQ(dlg.tabs->count(), 0);
        EXPECT_TRUE(owned.isNull());
        ASSERT_FALSE(kept.isNull());
        EXPECT_EQ(kept->parentWidget(), &dlg);
    }
    EXPECT_TRUE(kept.isNull()); // went with the dialog
}

TEST(PageTabCtrl, APageDeletedByItsOwnerTakesItsTab)
{
    COuterDialog dlg;
    auto* one = new CTwoEditPage;
    auto* two = new CTwoEditPage;
    dlg.tabs->AddPage(QStringLiteral("One"), 1, one);
    dlg.tabs->AddPage(QStringLiteral("Two"), 2, two);
    delete one;
    EXPECT_EQ(dlg.tabs->count(), 1);
    EXPECT_EQ(dlg.tabs->Page(0), two);
    EXPECT_EQ(dlg.tabs->PageData(0), 2u);
}
