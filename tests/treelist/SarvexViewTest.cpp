#include "tests/treelist/SarvexFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QRubberBand>

using namespace SarvexIds;

namespace {

class SarvexView : public SarvexTest {
protected:
    // The user drags the bar from its middle to x (in the bar's own
    // coordinates), through the point halfway.
    void DragSplitter(int x)
    {
        QWidget* bar = Splitter();
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(1, y));
        QTest::mouseMove(bar, QPoint(x / 2, y));
        m_bandSeen = Band() && Band()->isVisible();
        m_bandX = Band() ? Band()->x() : -1;
        QTest::mouseMove(bar, QPoint(x, y));
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        Pump();
    }
    QRubberBand* Band() const
    {
        return m_host.ControlWidget()->findChild<QRubberBand*>(QStringLiteral("splitterBand"));
    }

    bool m_bandSeen = false;
    int m_bandX = -1;
};

} // namespace

TEST_F(SarvexView, DroppingTheBarFortyPixelsLeftNarrowsTheTree)
{
    Create();
    DragSplitter(-40);
    EXPECT_TRUE(m_bandSeen);
    EXPECT_EQ(m_bandX, 150 - 20);
    EXPECT_FALSE(Band()->isVisible());
    EXPECT_EQ(TreeWindow()->geometry(), QRect(0, 0, 110, 300));
    EXPECT_EQ(Splitter()->geometry(), QRect(110, 0, 3, 300));
    EXPECT_EQ(ListWindow()->geometry(), QRect(113, 0, 387, 300));

    // A resize keeps the tree's width; the right pane takes the change.
    m_host.resize(600, 400);
    Pump();
    EXPECT_EQ(TreeWindow()->geometry(), QRect(0, 0, 110, 400));
    EXPECT_EQ(Splitter()->geometry(), QRect(110, 0, 3, 400));
    EXPECT_EQ(ListWindow()->geometry(), QRect(113, 0, 487, 400));

    // The container asks for a size through ReSize.
    m_host.ReSize(450, 350);
    Pump();
    EXPECT_EQ(m_host.size(), QSize(450, 350));
    EXPECT_EQ(ListWindow()->geometry(), QRect(113, 0, 337, 350));
}

TEST_F(SarvexView, TheBarStaysInsideTheControl)
{
    Create();
    DragSplitter(-400);
    EXPECT_EQ(TreeWindow()->width(), 0);
    EXPECT_EQ(ListWindow()->geometry(), QRect(3, 0, 497, 300));
    DragSplitter(2000);
    EXPECT_EQ(TreeWindow()->width(), 497);
    EXPECT_EQ(Splitter()->geometry(), QRect(497, 0, 3, 300));
    EXPECT_EQ(ListWindow()->width(), 0);
    // A move of nothing moves nothing.
    QTest::mousePress(Splitter(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    QTest::mouseRelease(Splitter(), Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    EXPECT_EQ(TreeWindow()->width(), 497);
}

TEST_F(SarvexView, TheBrowserIsMadeOnceAndGoesWhenTheListComesBack)
{
    Create();
    EXPECT_TRUE(m_host.ChangeView(kBrowseView));
    QTextBrowser* browser = BrowserWindow();
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->geometry(), ListWindow()->geometry());
    EXPECT_FALSE(ListWindow()->isVisible());
    EXPECT_TRUE(m_host.ChangeView(kBrowseView));
    EXPECT_EQ(BrowserWindow(), browser);
    EXPECT_EQ(m_host.ControlWidget()->findChildren<QTextBrowser*>().size(), 1);

    // A resize in browser view fits the hidden list as well.
    m_host.resize(600, 400);
    Pump();
    EXPECT_EQ(browser->geometry(), QRect(153, 0, 447, 400));
    EXPECT_TRUE(m_host.ChangeView(kListView));
    Pump();
    EXPECT_FALSE(BrowserWindow());
    EXPECT_TRUE(m_host.ControlWidget()->findChildren<QTextBrowser*>().isEmpty());
    EXPECT_TRUE(ListWindow()->isVisible());
    EXPECT_EQ(ListWindow()->geometry(), QRect(153, 0, 447, 400));
}

TEST_F(SarvexView, AnotherViewNumberIsKeptAndShowsNothingNew)
{
    Create();
    m_host.SetParent(QStringLiteral("root"), 1, 0, 1, QStringLiteral("Id"), 0, 60, 0);
    m_host.SetListStr(1, 0, QStringLiteral("one"), 0);
    EXPECT_TRUE(m_host.ChangeView(3));
    EXPECT_TRUE(ListWindow()->isVisible());
    EXPECT_FALSE(BrowserWindow());
    m_host.NavigateTo(QStringLiteral("/tmp/nothing.htm"));
    EXPECT_FALSE(m_host.DoPrint());
    // doRefresh shows no list outside view 1.
    m_host.doRefresh(false, true);
    EXPECT_EQ(ListWindow()->topLevelItemCount(), 0);
    m_host.ChangeView(kListView);
    m_host.doRefresh(false, true);
    EXPECT_EQ(ListColumn(0), (QStringList{"one"}));
}

TEST_F(SarvexView, TreeWidthIsAPropertyThePageEdits)
{
    Create();
    EXPECT_EQ(m_host.TreeWidth(), 150);
    m_host.SetTreeWidth(220);
    EXPECT_EQ(m_host.TreeWidth(), 220);
    // The layout does not read it.
    EXPECT_EQ(TreeWindow()->width(), 150);

    CControlHost page;
    ASSERT_EQ(page.CreateControl(QString::fromLatin1(kPropPageProgId)), kS_OK);
    QWidget* widget = page.ControlWidget();
    ASSERT_TRUE(widget);
    auto* edit = widget->findChild<QLineEdit*>(QStringLiteral("id201"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->text(), QStringLiteral("150"));
    EXPECT_EQ(page.GetProperty<QString>(1), QStringLiteral("General"));
    EXPECT_TRUE(widget->findChild<QLabel*>());

    EXPECT_TRUE(page.Call<bool>(3, ComPtr<IDispatch>(m_host.Dispatch())));
    EXPECT_EQ(edit->text(), QStringLiteral("220"));
    edit->setText(QStringLiteral("180"));
    EXPECT_TRUE(page.Call<bool>(4));
    EXPECT_EQ(m_host.TreeWidth(), 180);

    // Closing takes what the edit box holds.
    edit->setText(QStringLiteral("95"));
    widget->close();
    EXPECT_EQ(page.GetProperty<std::int32_t>(2), 95);
    EXPECT_EQ(m_host.TreeWidth(), 180);
}
