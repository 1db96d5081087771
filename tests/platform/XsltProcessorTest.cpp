#include "platform/XsltProcessor.h"
#include "tests/support/TestEnv.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QUrl>

namespace {

const QByteArray kData = "<rows><row a='1'/><row a='2'/></rows>";

QByteArray Sheet(const QByteArray& body)
{
    return "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>" +
           body + "</xsl:stylesheet>";
}

} // namespace

TEST(XsltProcessor, TransformsTheData)
{
    const auto result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:output method='text'/><xsl:template match='/'>"
                     "<xsl:value-of select='sum(//row/@a)'/></xsl:template>"));
    EXPECT_EQ(result.stage, CXsltProcessor::kDone) << result.detail.toStdString();
    EXPECT_EQ(result.output, QByteArray("3"));
}

TEST(XsltProcessor, TextsSortAsTheUsersLanguageAndNumbersAsNumbers)
{
    const QByteArray data = QStringLiteral("<rows><r n='zebra' h='2'/><r n='Émile' h='x'/>"
                                           "<r n='apple' h='10'/><r n='Äpfel' h='2'/>"
                                           "<r n='APPLE' h='1'/></rows>")
                                .toUtf8();
    const auto sorted = [&data](const QByteArray& sorts) {
        const auto result = CXsltProcessor::Transform(
            data, Sheet("<xsl:output method='text'/><xsl:param name='o' select='\"descending\"'/>"
                        "<xsl:template match='/'><xsl:for-each select='//r'>" +
                        sorts + "<xsl:value-of select='@n'/>,</xsl:for-each></xsl:template>"));
        EXPECT_EQ(result.stage, CXsltProcessor::kDone) << result.detail.toStdString();
        return QString::fromUtf8(result.output);
    };
    // Accents beside their letters, case ignored: equals keep their order.
    EXPECT_EQ(sorted("<xsl:sort select='@n'/>"),
              QString::fromUtf8("Äpfel,apple,APPLE,Émile,zebra,"));
    // Numbers by value, what is no number first; then by name.
    EXPECT_EQ(sorted("<xsl:sort select='@h' data-type='number'/><xsl:sort select='@n'/>"),
              QString::fromUtf8("Émile,APPLE,Äpfel,zebra,apple,"));
    // An order given as a template, and texts that are numbers.
    EXPECT_EQ(sorted("<xsl:sort select='@h' order='{$o}'/>"),
              QString::fromUtf8("Émile,zebra,Äpfel,apple,APPLE,"));
}

TEST(XsltProcessor, SaysWhereTheInputIsBroken)
{
    auto result = CXsltProcessor::Transform("<rows>", Sheet(""));
    EXPECT_EQ(result.stage, CXsltProcessor::kBadXml);
    EXPECT_TRUE(result.detail.startsWith(QStringLiteral("line 1"))) << result.detail.toStdString();
    result = CXsltProcessor::Transform(kData, "this is not a style sheet");
    EXPECT_EQ(result.stage, CXsltProcessor::kBadStyleSheetXml);
    result = CXsltProcessor::Transform(kData, "<html/>");
    EXPECT_EQ(result.stage, CXsltProcessor::kNotXslt);
    // Endless recursion stops with the processor's reason instead of the stack.
    result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:template match='/'><xsl:apply-templates select='/'/></xsl:template>"));
    EXPECT_EQ(result.stage, CXsltProcessor::kTransformFailed);
    EXPECT_FALSE(result.detail.isEmpty());
}

TEST(XsltProcessor, StyleSheetsNeitherReadNorWriteFilesNorGoOnline)
{
    const QString secret = WriteTestFile(QStringLiteral("secret.xml"), "<secret>42</secret>");
    auto result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:template match='/'><xsl:copy-of select=\"document('" + secret.toUtf8() +
                     "')\"/></xsl:template>"));
    EXPECT_EQ(result.stage, CXsltProcessor::kTransformFailed);
    EXPECT_FALSE(result.output.contains("42"));
    EXPECT_TRUE(result.detail.contains(QStringLiteral("denied"))) << result.detail.toStdString();

    const QString imported = WriteTestFile(
        QStringLiteral("imported.xsl"), Sheet("<xsl:template match='/'>imported</xsl:template>"));
    result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:import href='" + QUrl::fromLocalFile(imported).toEncoded() + "'/>"));
    EXPECT_NE(result.stage, CXsltProcessor::kDone);
    EXPECT_FALSE(result.output.contains("imported"));

    const QString written = TestEnv::TestDir() + QStringLiteral("/written.txt");
    result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:template match='/'><xsl:document href='" + written.toUtf8() +
                     "' method='text'>x</xsl:document></xsl:template>"));
    EXPECT_EQ(result.stage, CXsltProcessor::kTransformFailed);
    EXPECT_FALSE(QFile::exists(written));

    result = CXsltProcessor::Transform(
        kData, Sheet("<xsl:template match='/'><xsl:copy-of "
                     "select=\"document('http://127.0.0.1:9/x.xml')\"/></xsl:template>"));
    EXPECT_EQ(result.stage, CXsltProcessor::kTransformFailed);
}

TEST(XsltProcessor, FileBytesFollowTheirDeclaredEncoding)
{
    const QByteArray latin1 = "<?xml version='1.0' encoding='ISO-8859-1'?><a>caf\xe9</a>";
    const QByteArray sheet = Sheet("<xsl:output method='text' encoding='UTF-8'/>"
                                   "<xsl:template match='/'><xsl:value-of select='a'/>"
                                   "</xsl:template>");
    auto result = CXsltProcessor::Transform(latin1, sheet, CXsltProcessor::Encoding::AsDeclared);
    EXPECT_EQ(QString::fromUtf8(result.output), QString::fromUtf8("café"));
    // Text from memory is UTF-8 whatever it says.
    const QByteArray utf8 = QString::fromLatin1(latin1).toUtf8();
    result = CXsltProcessor::Transform(utf8, sheet);
    EXPECT_EQ(QString::fromUtf8(result.output), QString::fromUtf8("café"));
}
