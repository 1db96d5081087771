#include "ui/HtmlView.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <sys/stat.h>

namespace {

// Everything the view tells its owner, in order.
class CViewRecorder : public QObject {
public:
    explicit CViewRecorder(CHtmlView& view)
    {
        connect(&view, &CHtmlView::BeforeNavigate, this, [this](const QUrl& url, bool* cancel) {
            events << QStringLiteral("before ") + url.toString();
            *cancel = refuse;
        });
        connect(&view, &CHtmlView::NavigateComplete, this,
                [this](const QUrl& url) { events << QStringLiteral("done ") + url.toString(); });
        connect(&view, &CHtmlView::NavigateError, this, [this](const QUrl&, const QString& text) {
            events << QStringLiteral("error ") + text;
        });
        connect(&view, &CHtmlView::StatusTextChange, this,
                [this](const QString& text) { events << QStringLiteral("status ") + text; });
        connect(&view, &CHtmlView::TitleChange, this,
                [this](const QString& text) { events << QStringLiteral("title ") + text; });
    }
    QStringList events;
    bool refuse = false;
};

// The middle of some text of the page, in the view's viewport.
QPoint PointOf(CHtmlView& view, const QString& text)
{
    const QTextCursor found = view.document()->find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor middle(view.document());
    middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
    return view.cursorRect(middle).center();
}

class HtmlViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_view.resize(500, 300);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }
    CHtmlView m_view;
};

} // namespace

TEST_F(HtmlViewTest, ShowsALocalPageAndTellsItsTitle)
{
    const QString page =
        WriteTestFile(QStringLiteral("page.htm"), "<html><head><title>First</title></head>"
                                                  "<body><p>Hello there</p></body></html>");
    CViewRecorder seen(m_view);
    ASSERT_TRUE(m_view.Navigate(page));
    const QUrl url = QUrl::fromLocalFile(page);
    EXPECT_EQ(m_view.LocationUrl(), url);
    EXPECT_EQ(m_view.LocationName(), QStringLiteral("First"));
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("Hello there")));
    EXPECT_EQ(seen.events, (QStringList{QStringLiteral("before ") + url.toString(),
                                        QStringLiteral("done ") + url.toString(),
                                        QStringLiteral("title First")}));
    // A "file:" address is the same page.
    EXPECT_TRUE(m_view.Navigate(url.toString()));
    EXPECT_EQ(m_view.LocationUrl(), url);
}

TEST_F(HtmlViewTest, TheSamePageIsReadAgainFromItsFile)
{
    const QString page = WriteTestFile(QStringLiteral("same.htm"), "<p>old text</p>");
    ASSERT_TRUE(m_view.Navigate(page));
    WriteTestFile(QStringLiteral("same.htm"), "<p>new text</p>");
    ASSERT_TRUE(m_view.Navigate(page));
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("new text")))
        << m_view.toPlainText().toStdString();

    WriteTestFile(QStringLiteral("same.htm"), "<p>newest text</p>");
    EXPECT_TRUE(m_view.Refresh());
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("newest text")));

    // Gone from the disk: the page stays, the reason is told.
    QFile::remove(page);
    CViewRecorder seen(m_view);
    EXPECT_FALSE(m_view.Refresh());
    EXPECT_EQ(seen.events,
              QStringList{QStringLiteral("error ") + page + QStringLiteral(" does not exist")});
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("newest text")));
}

TEST_F(HtmlViewTest, APageEndsUpLaidOutAndScrolledAsAPlainBrowserShowsIt)
{
    // Pages from one that fits to one many times the view, some fitting only
    // without the scroll bar (their rows wrap once more beside it), each
    // shown at its anchor and then again from the history.
    QTextBrowser plain;
    plain.resize(m_view.size());
    plain.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
    const QByteArray words = "some words that wrap at about the width of the view, more or less";
    QStringList pages;
    for (int rows = 1; rows <= 24; ++rows) {
        QByteArray html = "<table width=\"99%\" border=\"1\">";
        for (int row = 0; row < rows * rows; row += rows / 4 + 1)
            html += "<tr><td>" + words.left(40 + row % 29) + "</td><td>" +
                    (row >= rows * rows - rows / 4 - 1 ? "<a name=\"end\">end</a>" : "x") +
                    "</td></tr>";
        pages << QUrl::fromLocalFile(WriteTestFile(QStringLiteral("rows%1.htm").arg(rows),
                                                   html + "</table>"))
                     .toString();
    }
    const auto same = [&](const char* step) {
        EXPECT_EQ(m_view.verticalScrollBar()->isVisible(), plain.verticalScrollBar()->isVisible())
            << step << " " << m_view.source().toString().toStdString();
        EXPECT_EQ(m_view.verticalScrollBar()->value(), plain.verticalScrollBar()->value()) << step;
        EXPECT_EQ(m_view.document()->size(), plain.document()->size()) << step;
    };
    for (const QString& page : pages) {
        ASSERT_TRUE(m_view.Navigate(page + QStringLiteral("#end")));
        plain.setSource(QUrl(page + QStringLiteral("#end")));
        same("at the anchor");
        ASSERT_TRUE(m_view.Navigate(pages.first()));
        plain.setSource(QUrl(pages.first()));
        ASSERT_TRUE(m_view.GoBack());
        plain.backward();
        same("back");
    }
}

TEST_F(HtmlViewTest, TheOwnerMayRefuseANavigation)
{
    const QString first = WriteTestFile(QStringLiteral("first.htm"), "<p>first page</p>");
    const QString second = WriteTestFile(QStringLiteral("second.htm"), "<p>second page</p>");
    ASSERT_TRUE(m_view.Navigate(first));
    CViewRecorder seen(m_view);
    seen.refuse = true;
    EXPECT_FALSE(m_view.Navigate(second));
    EXPECT_EQ(m_view.LocationUrl(), QUrl::fromLocalFile(first));
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("first page")));
    EXPECT_EQ(seen.events,
              QStringList{QStringLiteral("before ") + QUrl::fromLocalFile(second).toString()});
}

TEST_F(HtmlViewTest, LinksUnderTheMouseAndClickedGoThroughTheOwner)
{
    const QString other = WriteTestFile(QStringLiteral("other.htm"), "<p>the other page</p>");
    const QString page = WriteTestFile(
        QStringLiteral("links.htm"), "<html><body><p>Sort by <a href=\"#@ProjName\">Project</a></p>"
                                     "<p><a href=\"other.htm\">Elsewhere</a></p></body></html>");
    ASSERT_TRUE(m_view.Navigate(page));
    CViewRecorder seen(m_view);

    QTest::mouseMove(m_view.viewport(), PointOf(m_view, QStringLiteral("Project")));
    const QString fragment = QUrl::fromLocalFile(page).toString() + QStringLiteral("#@ProjName");
    EXPECT_EQ(m_view.StatusText(), fragment);
    QTest::mouseMove(m_view.viewport(), QPoint(480, 280));
    EXPECT_EQ(m_view.StatusText(), QString());

    // A refused click leaves the page as it is.
    seen.refuse = true;
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {},
                      PointOf(m_view, QStringLiteral("Project")));
    EXPECT_TRUE(seen.events.contains(QStringLiteral("before ") + fragment))
        << seen.events.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(m_view.LocationUrl(), QUrl::fromLocalFile(page));

    // A relative link is followed when the owner lets it.
    seen.refuse = false;
    seen.events.clear();
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {},
                      PointOf(m_view, QStringLiteral("Elsewhere")));
    EXPECT_EQ(m_view.LocationUrl(), QUrl::fromLocalFile(other));
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("the other page")));
    // The status text of the link clicked is cleared by the navigation.
    EXPECT_EQ(m_view.StatusText(), QString());
    EXPECT_TRUE(m_view.GoBack());
    EXPECT_EQ(m_view.LocationUrl(), QUrl::fromLocalFile(page));
}

TEST_F(HtmlViewTest, OnlyLocalExistingPagesAreShown)
{
    CViewRecorder seen(m_view);
    EXPECT_FALSE(m_view.Navigate(QStringLiteral("https://www.dunmere.com/kelvane")));
    EXPECT_FALSE(m_view.Navigate(TestEnv::TestDir() + QStringLiteral("/missing.htm")));
    EXPECT_FALSE(m_view.Navigate(TestEnv::TestDir()));
    EXPECT_FALSE(m_view.Navigate(QString()));
    ASSERT_EQ(seen.events.filter(QStringLiteral("error ")).size(), 4);
    EXPECT_TRUE(seen.events.contains(
        QStringLiteral("error Only pages stored on this computer can be shown; "
                       "https://www.dunmere.com/kelvane is not one.")));
    EXPECT_TRUE(seen.events.contains(QStringLiteral("error ") + TestEnv::TestDir() +
                                     QStringLiteral("/missing.htm does not exist")));
    EXPECT_TRUE(m_view.LocationUrl().isEmpty());
}

TEST_F(HtmlViewTest, PipesAndDevicesAreNeverRead)
{
    const QString pipe = TestEnv::TestDir() + QStringLiteral("/pipe.htm");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = TestEnv::TestDir() + QStringLiteral("/zero.xml");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    CViewRecorder seen(m_view);
    EXPECT_FALSE(m_view.Navigate(pipe));
    EXPECT_FALSE(m_view.Navigate(zero));
    EXPECT_EQ(seen.events.filter(QStringLiteral(" is not a regular file")).size(), 2)
        << seen.events.join(QLatin1Char('\n')).toStdString();
    // Nor is a picture of a page that names one.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), TestEnv::TestDir() + "/zero.png"));
    const QString page = WriteTestFile(QStringLiteral("pictures.htm"),
                                       "<p>before</p><img src='zero.png'><img src='pipe.htm'>"
                                       "<p>after</p>");
    ASSERT_TRUE(m_view.Navigate(page));
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("after")));
}

TEST_F(HtmlViewTest, XmlIsShownAsAnIndentedTree)
{
    // The file's own encoding counts: é is one byte in Latin-1.
    const QString xml =
        WriteTestFile(QStringLiteral("data.xml"),
                      "<?xml version='1.0' encoding='ISO-8859-1'?>\n"
                      "<xml xmlns:z='#RowsetSchema'><!-- rows --><rs><z:row a='1' b='caf\xe9'/>"
                      "<name>Ann &amp; Bob</name></rs></xml>");
    ASSERT_TRUE(m_view.Navigate(xml));
    QStringList lines;
    for (const QString& line : m_view.toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.trimmed();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("<xml xmlns:z=\"#RowsetSchema\">"),
                                  QStringLiteral("<!-- rows -->"), QStringLiteral("<rs>"),
                                  QString::fromUtf8("<z:row a=\"1\" b=\"café\"/>"),
                                  QStringLiteral("<name>Ann & Bob</name>"), QStringLiteral("</rs>"),
                                  QStringLiteral("</xml>")}));
    // Deeper lines sit further right.
    const QTextBlock row = m_view.document()->find(QStringLiteral("z:row")).block();
    const QTextBlock rs = m_view.document()->find(QStringLiteral("<rs>")).block();
    EXPECT_GT(row.blockFormat().leftMargin(), rs.blockFormat().leftMargin());
    EXPECT_EQ(m_view.LocationName(), QStringLiteral("data.xml"));
}

TEST_F(HtmlViewTest, BadOrHugeXmlIsRefusedWithItsReason)
{
    const QString page = WriteTestFile(QStringLiteral("kept.htm"), "<p>kept</p>");
    ASSERT_TRUE(m_view.Navigate(page));
    CViewRecorder seen(m_view);
    const QString bad = WriteTestFile(QStringLiteral("bad.xml"), "<a><b></a>");
    EXPECT_FALSE(m_view.Navigate(bad));
    ASSERT_EQ(seen.events.size(), 2);
    EXPECT_TRUE(seen.events.at(1).startsWith(QStringLiteral("error ") + bad +
                                             QStringLiteral(" is not well-formed XML: line 1")))
        << seen.events.at(1).toStdString();

    // 50 MB: refused before it is read.
    QByteArray rows;
    rows.reserve(50 * 1024 * 1024 + 100);
    rows += "<rows>";
    while (rows.size() < 50 * 1024 * 1024)
        rows += "<row a='0123456789' b='abcdefghijklmnopqrstuvwxyz'/>\n";
    rows += "</rows>";
    const QString huge = WriteTestFile(QStringLiteral("huge.xml"), rows);
    rows.clear();
    seen.events.clear();
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(m_view.Navigate(huge));
    EXPECT_LT(timer.elapsed(), 1000);
    ASSERT_EQ(seen.events.size(), 2);
    EXPECT_TRUE(seen.events.at(1).contains(QStringLiteral("is too large to show (50.0 MB")))
        << seen.events.at(1).toStdString();
    EXPECT_TRUE(m_view.toPlainText().contains(QStringLiteral("kept")));
}

namespace {

class CPrintAnswers : public IHtmlPrintHook {
public:
    CPrintAnswers() { SetHtmlPrintHook(this); }
    ~CPrintAnswers() override { SetHtmlPrintHook(nullptr); }
    bool ChoosePrinter(QPrinter&, QWidget*) override
    {
        ++asked;
        return answer;
    }
    void ShowPreview(QPrinter& printer, QWidget*,
                     const std::function<void(QPrinter*)>& paint) override
    {
        ++previews;
        paint(&printer);
    }
    bool answer = true;
    int asked = 0;
    int previews = 0;
};

} // namespace

TEST_F(HtmlViewTest, PrintsAndPreviewsOnTheGivenPrinter)
{
    QByteArray body = "<html><body><h1>Report</h1>";
    for (int i = 0; i < 200; ++i)
        body += "<p>Line " + QByteArray::number(i) + "</p>";
    ASSERT_TRUE(
        m_view.Navigate(WriteTestFile(QStringLiteral("report.htm"), body + "</body></html>")));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = TestEnv::TestDir() + QStringLiteral("/report.pdf");
    printer.setOutputFileName(pdf);
    m_view.SetPrinter(&printer);

    CPrintAnswers answers;
    answers.answer = false;
    EXPECT_FALSE(m_view.Print());
    EXPECT_EQ(answers.asked, 1);
    EXPECT_FALSE(QFile::exists(pdf));

    answers.answer = true;
    EXPECT_TRUE(m_view.Print());
    const QByteArray printed = ReadTestFile(pdf);
    EXPECT_TRUE(printed.startsWith("%PDF"));
    // Several pages, drawn as vectors.
    EXPECT_GE(printed.count("/Type /Page\n") + printed.count("/Type /Page "), 2) << printed.size();

    QFile::remove(pdf);
    EXPECT_TRUE(m_view.PrintPreview());
    EXPECT_EQ(answers.previews, 1);
    EXPECT_TRUE(ReadTestFile(pdf).startsWith("%PDF"));

    // Without a dialog, straight to the printer.
    QFile::remove(pdf);
    EXPECT_TRUE(m_view.Print(false));
    EXPECT_EQ(answers.asked, 2);
    EXPECT_TRUE(QFile::exists(pdf));
}
