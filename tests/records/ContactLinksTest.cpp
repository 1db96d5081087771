#include "records/ContactLinks.h"
#include "tests/records/RecordingLauncher.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

QString Encoded(const QUrl& url)
{
    return QString::fromLatin1(url.toEncoded());
}

} // namespace

TEST(ContactLinks, MailAddressesAreEncodedSoTheyCannotAddToTheMail)
{
    EXPECT_EQ(Encoded(MailToUrl(QStringLiteral("ann@example.com"))),
              QStringLiteral("mailto:ann@example.com"));
    // A mailto link already written is the same address.
    EXPECT_EQ(Encoded(MailToUrl(QStringLiteral(" MailTo:ann@example.com "))),
              QStringLiteral("mailto:ann@example.com"));
    EXPECT_EQ(Encoded(MailToUrl(QStringLiteral("o'brien@example.com?attach=/etc/passwd&cc=x@y"))),
              QStringLiteral("mailto:o'brien@example.com%3Fattach=/etc/passwd&cc=x@y"));
    EXPECT_EQ(Encoded(MailToUrl(QStringLiteral("åsa lund@exämple.se#x"))),
              QStringLiteral("mailto:%C3%A5sa%20lund@ex%C3%A4mple.se%23x"));
    EXPECT_TRUE(MailToUrl(QStringLiteral("  ")).isEmpty());
    EXPECT_TRUE(MailToUrl(QStringLiteral("mailto:")).isEmpty());
}

TEST(ContactLinks, OnlyHttpAndHttpsPagesAreWebPages)
{
    EXPECT_EQ(Encoded(WebPageUrl(QStringLiteral("www.example.com"))),
              QStringLiteral("http://www.example.com"));
    EXPECT_EQ(Encoded(WebPageUrl(QStringLiteral("HTTPS://example.com/a b"))),
              QStringLiteral("https://example.com/a%20b"));
    EXPECT_EQ(Encoded(WebPageUrl(QStringLiteral("localhost:8080/x"))),
              QStringLiteral("http://localhost:8080/x"));
    EXPECT_EQ(Encoded(WebPageUrl(QStringLiteral("example.com/http-notes"))),
              QStringLiteral("http://example.com/http-notes"));
    QString error;
    for (const char* bad : {"file:///etc/passwd", "javascript:alert(1)", " JavaScript:void(0)",
                            "data:text/html,<b>x</b>", "mailto:ann@example.com",
                            "ftp://example.com", "http://", "http:example.com"}) {
        error.clear();
        EXPECT_TRUE(WebPageUrl(QString::fromLatin1(bad), &error).isEmpty()) << bad;
        EXPECT_TRUE(error.contains(QStringLiteral("only http and https"))) << bad;
    }
}

TEST(ContactLinks, TheDesktopGetsOnlyWhatPassed)
{
    CRecordingLauncher launcher;
    EXPECT_FALSE(OpenWebPage(QStringLiteral("file:///etc/passwd")));
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("\"file:///etc/passwd\" is not a web page: only http and https "
                             "addresses are opened."));
    EXPECT_FALSE(OpenWebPage(QString()));
    EXPECT_FALSE(OpenMailTo(QStringLiteral(" ")));
    EXPECT_EQ(CRecordingMessages::Current().Count(), 1);
    EXPECT_TRUE(OpenWebPage(QStringLiteral("example.com")));
    EXPECT_TRUE(OpenMailTo(QStringLiteral("ann@example.com")));
    EXPECT_EQ(launcher.opened, QStringList({"http://example.com", "mailto:ann@example.com"}));
    // The desktop could not: the user hears of it.
    launcher.succeed = false;
    EXPECT_FALSE(OpenMailTo(QStringLiteral("ann@example.com")));
    EXPECT_TRUE(CRecordingMessages::Current().Last().startsWith(QStringLiteral("No program")));
}
