#include "util/WebLink.h"

#include <gtest/gtest.h>

namespace quillan::test {

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

TEST(WebLinkFailureText, GivesOtherValuesOnlyTheirNumberAndSuccessNothing)
{
    EXPECT_EQ(WebLinkFailureText(33, QStringLiteral("x")), QString());
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
