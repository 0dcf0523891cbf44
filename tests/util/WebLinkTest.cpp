#include "util/WebLink.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quillan::test {

TEST(WebLinkFailureText, ExplainsEachFailureAndSaysNothingOnSuccess)
{
    const QString head = QStringLiteral("Error launching web browser, error code =");
    const QString noProgram = QStringLiteral(
        " 31.\r\n\r\nFile extension '%1' is not associated with any application program.");
    const std::tuple<int, const char *, QString> cases[] = {
        {2, "https://a.example/x.htm", head + QStringLiteral(" 2.\r\n\r\nPlease try once more.")},
        {8, "https://a.example/x.htm", head + QStringLiteral(" 8.\r\n\r\nOut of memory.")},
        {31, "https://a.example/qln/qln.htm", head + noProgram.arg(QStringLiteral("htm"))},
        {31, "https://velquor.example/", head + noProgram.arg(QString())},
        {0, "x", head + QStringLiteral(" 0.")},
        {32, "x", head + QStringLiteral(" 32.")},
        {-5, "x", head + QStringLiteral("-5.")},
        {33, "x", QString()},
    };
    for (const auto &[result, target, text] : cases)
        EXPECT_EQ(WebLinkFailureText(result, QString::fromUtf8(target)), text) << result;
}

} // namespace quillan::test
