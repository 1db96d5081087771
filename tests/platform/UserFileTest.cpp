#include "platform/UserFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(UserFile, OnlyRegularFilesWithinTheLimitAreRead)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("text.txt"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("twelve bytes");
    }
    QByteArray bytes;
    QString why;
    EXPECT_EQ(ReadUserFile(text, 12, bytes, &why), UserFileProblem::None);
    EXPECT_EQ(bytes, QByteArray("twelve bytes"));
    EXPECT_EQ(ReadUserFile(text, 11, bytes, &why), UserFileProblem::TooLarge);
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(CheckUserFile(text, 11, &why), UserFileProblem::TooLarge);
    EXPECT_EQ(why, QStringLiteral("%1 is too large (0.0 MB; at most 0.0 MB)").arg(text));

    // A link is followed to what it names.
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(text, link));
    EXPECT_EQ(CheckUserFile(link, kNoSizeLimit), UserFileProblem::None);

    // A pipe without a writer and an endless device: refused at once, unread.
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(ReadUserFile(pipe, kNoSizeLimit, bytes, &why), UserFileProblem::NotRegular);
    EXPECT_EQ(why, QStringLiteral("%1 is not a regular file (a device, a named pipe or a socket "
                                  "cannot be read)")
                       .arg(pipe));
    const QString zero = dir.filePath(QStringLiteral("zero"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    EXPECT_EQ(ReadUserFile(zero, kNoSizeLimit, bytes), UserFileProblem::NotRegular);
    EXPECT_EQ(CheckUserFile(zero, kNoSizeLimit), UserFileProblem::NotRegular);

    // A file that claims no size is read only up to the limit.
    EXPECT_EQ(ReadUserFile(QStringLiteral("/proc/self/maps"), 16, bytes),
              UserFileProblem::TooLarge);
    EXPECT_EQ(ReadUserFile(dir.path(), kNoSizeLimit, bytes), UserFileProblem::Folder);
    EXPECT_EQ(ReadUserFile(dir.filePath(QStringLiteral("none")), kNoSizeLimit, bytes, &why),
              UserFileProblem::Missing);
    EXPECT_EQ(why, QStringLiteral("%1 does not exist").arg(dir.filePath(QStringLiteral("none"))));
}
