#include "util/WebLink.h"

#include <gtest/gtest.h>

namespace quillan::test {

TEST(WebLinkExtension, IsTheLowerCasedEndingOfTheLastPathComponent)
{
    EXPECT_EQ(WebLinkExtension(QStringLiteral("https://velquor.example/qln/qln.HTM")),
              QStringLiteral("htm"));
    EXPECT_EQ(WebLinkExtension(QStringLiteral("https://velquor.example/a.b/page")), QString());
    EXPECT_EQ(WebLinkExtension(QStringLiteral("https://velquor.example/")), QString());
    EXPECT_EQ(WebLinkExtension(QStringLiteral("manual.tar.gz")), QStringLiteral("gz"));
}

TEST(WebLinkFailureText, SaysNothingOnSuccess)
{
    EXPECT_EQ(WebLinkFailureText(33, QStringLiteral("x")), QString());
    EXPECT_EQ(WebLinkFailureText(42, QStringLiteral("x")), QString());
}

TEST(WebLinkFailureText, ExplainsTheKnownFailures)
{
    const QString head = QStringLiteral("Error launching web browser, error code =");
    EXPECT_EQ(WebLinkFailureText(2, QStringLiteral("https://a.example/x.htm")),
              head + QStringLiteral(" 2.\r\n\r\nPlease try once more."));
    EXPECT_EQ(WebLinkFailureText(8, QStringLiteral("https://a.example/x.htm")),
              head + QStringLiteral(" 8.\r\n\r\nOut of memory."));
    EXPECT_EQ(WebLinkFailureText(31, QStringLiteral("https://a.example/qln/qln.htm")),
              head
                  + QStringLiteral(" 31.\r\n\r\nFile extension 'htm' is not associated with any "
                                   "application program."));
}

TEST(WebLinkFailureText, NamesAnEmptyExtensionAsTwoQuotes)
{
    EXPECT_EQ(WebLinkFailureText(31, QStringLiteral("https://velquor.example/")),
              QStringLiteral("Error launching web browser, error code = 31.\r\n\r\n"
                             "File extension '' is not associated with any application program."));
}

TEST(WebLinkFailureText, GivesOtherValuesOnlyTheirNumber)
{
    EXPECT_EQ(WebLinkFailureText(0, QStringLiteral("x")),
              QStringLiteral("Error launching web browser, error code = 0."));
    EXPECT_EQ(WebLinkFailureText(32, QStringLiteral("x")),
              QStringLiteral("Error launching web browser, error code = 32."));
    EXPECT_EQ(WebLinkFailureText(-5, QStringLiteral("x")),
              QStringLiteral("Error launching web browser, error code =-5."));
}

TEST(UserManualAddress, IsAPageOnTheMakersSite)
{
    EXPECT_EQ(UserManualAddress(QStringLiteral("https://velquor.example/")),
              QStringLiteral("https://velquor.example/qln/qln.htm"));
    EXPECT_EQ(UserManualAddress(QStringLiteral("https://velquor.example")),
              QStringLiteral("https://velquor.example/qln/qln.htm"));
}

} // namespace quillan::test
