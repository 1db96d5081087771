#include "tests/support/PdfPrintHook.h"
#include "tests/treelist/SarvexFixture.h"
#include "ui/HtmlView.h"

#include <QFile>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace SarvexIds;

namespace {

class SarvexBrowse : public SarvexTest {
protected:
    QString Page() const { return TestEnv::TestDir() + QStringLiteral("/browsePage.htm"); }

    // A page like the overview's: a heading that links to "#" + sort key.
    void WritePage(const QString& body)
    {
        QFile file(Page());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("<html><head><title>Projects</title></head><body>"
                                  "<p><a href=\"#@Name\">Name</a> <a href=\"#top\">Top</a></p>"
                                  "<p>%1</p></body></html>")
                       .arg(body)
                       .toUtf8());
    }

    std::vector<Heard> BrowseEvents() const { return Events(kNotifyBrowseEvent); }
    std::vector<std::int32_t> Codes() const
    {
        std::vector<std::int32_t> codes;
        for (const Heard& h : BrowseEvents())
            codes.push_back(h.numbers.front());
        return codes;
    }

    QString Shown() const { return BrowserWindow()->toPlainText(); }

    // The user moves onto a link of the page and clicks it.
    void ClickLink(const QString& text) { ::ClickLink(BrowserWindow(), text); }
};

} // namespace

TEST_F(SarvexBrowse, NavigationIsToldBeforeAndAfterWithTheStatusText)
{
    Create();
    // Refresh works for the selected node: there is one.
    m_host.SetParent(QStringLiteral("root"), 0, 0, 1, QString(), 0, 0, 0);
    WritePage(QStringLiteral("first"));
    // Only in browser view; the address is not kept either.
    m_host.NavigateTo(Page());
    m_host.ChangeView(kBrowseView);
    m_host.doRefresh(false, true);
    EXPECT_TRUE(BrowseEvents().empty());
    EXPECT_TRUE(Shown().isEmpty());

    m_host.NavigateTo(Page());
    EXPECT_EQ(Codes(), (std::vector<std::int32_t>{250, 252, 104}));
    for (const Heard& h : BrowseEvents())
        EXPECT_EQ(h.text, QString());
    EXPECT_TRUE(Shown().contains(QStringLiteral("first")));

    // doRefresh in browser view reads the page again.
    WritePage(QStringLiteral("second"));
    Forget();
    m_host.doRefresh(false, true);
    EXPECT_EQ(Codes(), (std::vector<std::int32_t>{250, 252, 104}));
    EXPECT_TRUE(Shown().contains(QStringLiteral("second")));
}

// The overview's column sort: a click on a heading hands the container
// "#@Name" before the navigation; the container writes the sorted page and
// navigates to it from inside the event; nothing sorts a second time.
TEST_F(SarvexBrowse, AClickedLinkHandsItsKeyToTheContainerOnce)
{
    Create();
    m_host.SetParent(QStringLiteral("root"), 0, 0, 1, QString(), 0, 0, 0);
    m_host.SetChild(QStringLiteral("child"), 1, 0, 0, 1, QString(), 0, 0, 0);
    m_host.ExpandNode(0, kExpand);
    WritePage(QStringLiteral("unsorted"));
    m_host.ChangeView(kBrowseView);
    m_host.NavigateTo(Page());
    QStringList sortKeys;
    OnEvent(kNotifyBrowseEvent, [&](const Heard& h) {
        if (h.numbers.front() != kBrowseBeforeNavigate || h.text.isEmpty())
            return;
        const QStringList parts = h.text.split(QLatin1Char('#'));
        if (parts.size() < 2)
            return;
        sortKeys << parts[1];
        WritePage(QStringLiteral("sorted by %1").arg(parts[1]));
        m_host.NavigateTo(Page());
    });
    Forget();

    ClickLink(QStringLiteral("Name"));
    EXPECT_EQ(sortKeys, (QStringList{"@Name"}));
    EXPECT_TRUE(Shown().contains(QStringLiteral("sorted by @Name")));
    ASSERT_FALSE(BrowseEvents().empty());
    EXPECT_TRUE(BrowseEvents().front().text.endsWith(QStringLiteral("#@Name")));
    EXPECT_EQ(Codes(), (std::vector<std::int32_t>{250, 250, 252, 104}));

    // A tree click in browser view navigates again: without the old key.
    ClickTree(QStringLiteral("child"));
    EXPECT_EQ(sortKeys.size(), 1);
    // And the next heading click sorts again.
    ClickLink(QStringLiteral("Name"));
    EXPECT_EQ(sortKeys.size(), 2);
    EXPECT_TRUE(Shown().contains(QStringLiteral("sorted by @Name")));
}

TEST_F(SarvexBrowse, APageShownAtAnAnchorIsReadAfresh)
{
    Create();
    WritePage(QStringLiteral("before"));
    m_host.ChangeView(kBrowseView);
    m_host.NavigateTo(Page());
    // An anchor the container leaves alone: the page scrolls there.
    ClickLink(QStringLiteral("Top"));
    EXPECT_TRUE(BrowserWindow()->source().hasFragment());
    EXPECT_TRUE(Last(kNotifyBrowseEvent).text.endsWith(QStringLiteral("#top")));
    WritePage(QStringLiteral("after"));
    m_host.NavigateTo(Page());
    EXPECT_TRUE(Shown().contains(QStringLiteral("after")));
}

TEST_F(SarvexBrowse, APageThatCannotBeShownSaysWhy)
{
    Create();
    m_host.ChangeView(kBrowseView);
    m_host.NavigateTo(TestEnv::TestDir() + QStringLiteral("/missing.htm"));
    EXPECT_EQ(Codes(), (std::vector<std::int32_t>{250, 104}));
    EXPECT_TRUE(Shown().contains(QStringLiteral("This page cannot be shown.")));
    EXPECT_TRUE(Shown().contains(QStringLiteral("missing.htm")));
}

TEST_F(SarvexBrowse, TheContainerMayCloseTheBrowserFromItsEvent)
{
    Create();
    WritePage(QStringLiteral("page"));
    m_host.ChangeView(kBrowseView);
    OnEvent(kNotifyBrowseEvent, [&](const Heard& h) {
        if (h.numbers.front() == kBrowseBeforeNavigate)
            m_host.ChangeView(kListView);
    });
    m_host.NavigateTo(Page());
    Pump();
    EXPECT_EQ(Codes(), (std::vector<std::int32_t>{250}));
    EXPECT_FALSE(BrowserWindow());
    EXPECT_TRUE(ListWindow()->isVisible());
    m_reactions.clear();
    m_host.ChangeView(kBrowseView);
    m_host.NavigateTo(Page());
    EXPECT_TRUE(Shown().contains(QStringLiteral("page")));
}

TEST_F(SarvexBrowse, PrintingGoesToThePrinterTheContainerChose)
{
    Create();
    EXPECT_FALSE(m_host.DoPrint());
    EXPECT_FALSE(m_host.DoPrintPreview());
    const QString pdf = TestEnv::TestDir() + QStringLiteral("/page.pdf");
    CPdfPrintHook printing(pdf);
    m_host.SetPrintHook(&printing);
    WritePage(QStringLiteral("printed"));
    m_host.ChangeView(kBrowseView);
    m_host.NavigateTo(Page());

    EXPECT_TRUE(m_host.DoPrint());
    EXPECT_EQ(printing.chosen, 1);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    file.close();

    QFile::remove(pdf);
    EXPECT_TRUE(m_host.DoPrintPreview());
    EXPECT_EQ(printing.previews, 1);
    EXPECT_TRUE(QFile::exists(pdf));

    // Cancelled, nothing is printed and the control says so.
    QFile::remove(pdf);
    printing.answer = false;
    EXPECT_FALSE(m_host.DoPrint());
    EXPECT_FALSE(QFile::exists(pdf));
    m_host.SetPrintHook(nullptr);
}

TEST_F(SarvexBrowse, WriteFileWritesTheTextAsItIs)
{
    Create();
    const QString name = TestEnv::TestDir() + QStringLiteral("/out.htm");
    m_host.WriteFile(name, QStringLiteral("<p>Grüße, 1\n2</p>"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QStringLiteral("<p>Grüße, 1\n2</p>"));
    m_host.WriteFile(name, QStringLiteral("short"));
    file.seek(0);
    EXPECT_EQ(file.readAll(), QByteArray("short"));
    // A folder cannot be written: nothing happens.
    m_host.WriteFile(TestEnv::TestDir(), QStringLiteral("x"));
}

// The employee overview's road through the events: a group shows its list,
// an item its page; a list click selects the row's node, whose selection
// shows the row's page, all from inside the events.
TEST_F(SarvexBrowse, TheContainerAnswersClicksFromInsideTheEvents)
{
    Create();
    BuildGroups();
    m_host.ExpandNode(0, kExpand);
    m_host.ExpandNode(1, kExpand);
    QStringList pages;
    const auto treeClick = [&](const Heard& h) {
        const int key = h.numbers.front();
        if (key >= 1 && key <= 4) {
            m_host.ChangeView(kListView);
            m_host.doRefresh(false, true);
            m_host.ExpandNode(key, kExpand);
        } else if (key >= 5) {
            m_host.ChangeView(kBrowseView);
            WritePage(h.text);
            pages << h.text;
            m_host.NavigateTo(Page());
        }
    };
    OnEvent(kTreeLButDown, treeClick);
    OnEvent(kTreeDblClick, treeClick);
    OnEvent(kListLButDown, [&](const Heard& h) { m_host.SetSelectKey(h.numbers.front()); });

    ClickTree(QStringLiteral("My Projects"));
    ASSERT_TRUE(ListWindow()->isVisible());
    ASSERT_EQ(ListColumn(1), (QStringList{"Gamma", "Alpha", "Beta"}));
    ClickList(1);
    EXPECT_EQ(pages, (QStringList{"Alpha"}));
    EXPECT_EQ(m_host.RetSelKey(), 6);
    ASSERT_TRUE(BrowserWindow());
    EXPECT_TRUE(Shown().contains(QStringLiteral("Alpha")));

    // Back to the group, and to another item by the tree.
    ClickTree(QStringLiteral("My Projects"));
    EXPECT_TRUE(ListWindow()->isVisible());
    EXPECT_FALSE(BrowserWindow());
    ClickTree(QStringLiteral("Beta"));
    EXPECT_EQ(pages, (QStringList{"Alpha", "Beta"}));
    EXPECT_TRUE(Shown().contains(QStringLiteral("Beta")));
}
