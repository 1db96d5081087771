#include "records/ChgRqstMail.h"
#include "tests/records/RecordingLauncher.h"
#include "tests/support/QtPrinters.h"

#include <QUrlQuery>
#include <gtest/gtest.h>

TEST(ChgRqstMail, NothingInANameOrReferenceAddsToTheMail)
{
    const QUrl url = ChgRqstMailUrl(
        {QStringLiteral("ann@example.com"), QString(), QStringLiteral(" bob@example.com ")},
        QStringLiteral("Åsa O'Neil"), 42, QStringLiteral("A&B #1?cc=x@y.z"),
        QStringLiteral("02/03/26"));
    const QString encoded = QString::fromLatin1(url.toEncoded());
    EXPECT_TRUE(encoded.startsWith(QStringLiteral("mailto:ann@example.com,bob@example.com?")))
        << encoded.toStdString();
    // Only the two fields, with their texts as they were.
    const QUrlQuery query(url);
    ASSERT_EQ(query.queryItems().size(), 2) << encoded.toStdString();
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Change Request : id -  42, (reference -  A&B #1?cc=x@y.z )"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("Body"), QUrl::FullyDecoded),
              QStringLiteral("This is notification that Åsa O'Neil entered a change request [ id "
                             "- 42, ( reference - A&B #1?cc=x@y.z ) ] dated 02/03/26, for your "
                             "consideration."));
    EXPECT_FALSE(encoded.contains(QLatin1Char('#')));
    EXPECT_FALSE(encoded.contains(QLatin1Char(' ')));

    // A recipient's '?' or '&' is part of the address, never a field.
    const QUrl odd = ChgRqstMailUrl({QStringLiteral("x?bcc=spy@evil.example")}, QString(), 1,
                                    QString(), QString());
    EXPECT_EQ(QUrlQuery(odd).queryItems().size(), 2);
    EXPECT_EQ(odd.path(), QStringLiteral("x?bcc=spy@evil.example"));
}

TEST(ChgRqstMail, NobodyToWriteToOpensNothing)
{
    CRecordingLauncher launcher;
    EXPECT_TRUE(
        ChgRqstMailUrl({QString(), QStringLiteral("  ")}, QString(), 1, QString(), QString())
            .isEmpty());
    EXPECT_FALSE(SendChgRqstMail({QString()}, QString(), 1, QString(), QString()));
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_TRUE(SendChgRqstMail({QStringLiteral("ann@example.com")}, QStringLiteral("Ann"), 1,
                                QStringLiteral("R"), QStringLiteral("d")));
    ASSERT_EQ(launcher.opened.size(), 1);
}
