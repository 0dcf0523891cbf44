#include "text/ProgramText.h"

#include "engine/TempTree.h"

#include <gtest/gtest.h>

namespace quillan::test {

TEST(ProgramText, ReadsNumberedTextsWithCommentsBlankLinesAndAnyLineEnd)
{
    ProgramTextTable table;
    const auto result = table.LoadFromBytes("# comment\r\n\r\n35=First\n36 = Second one \r50=~\r\n"
                                            "60=a\\nb \\\\ c\n");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.code, 4);
    EXPECT_EQ(table.GetProgramText(35), QStringLiteral("First"));
    EXPECT_EQ(table.GetProgramText(36), QStringLiteral(" Second one "));
    EXPECT_EQ(table.GetProgramText(50), QString()); // "~" is the empty text
    EXPECT_EQ(table.GetProgramText(60), QStringLiteral("a\r\nb \\ c"));
    EXPECT_EQ(table.GetProgramText(99), QString()); // absent
    EXPECT_TRUE(table.LoadFromBytes("1=" + QByteArray(1024, 'x')).ok()); // the longest text
}

TEST(ProgramText, ReportsEachLoadFailureWithItsCodeAndLine)
{
    // Line numbers beyond 500 keep their own kind of message.
    QByteArray many;
    for (int i = 1; i <= 600; ++i)
        many += QByteArray::number(i) + "=t\n";
    const struct {
        QByteArray bytes;
        int code;
        const char *message;
    } cases[] = {
        {"# texts\n1=one\n2=\n", -503, "Missing string at line 3."},
        {"7\n", -501, "Missing string at line 1."},
        {"1=ok\n1=" + QByteArray(1025, 'x') + "\n", -1002, "String too long at line 2."},
        {"5=a\n6=b\n\n5=c\n", -1504, "Duplicate in program text at line 4."},
        {many + "1=again\n", -2101, "Duplicate in program text at line 601."},
        {QByteArray(), -6, "File is empty."},
        {"# nothing here\n\n", 0, "No program text was read."},
        {"abc=1\n", -7, "Error reading file."},
        {"40000=big\n", -3, "Too much program text."},
    };
    ProgramTextTable table;
    for (const auto &c : cases) {
        const ProgramTextLoadResult result = table.LoadFromBytes(c.bytes);
        EXPECT_EQ(result.code, c.code) << c.message;
        EXPECT_EQ(ProgramTextLoadMessage(result, QString()), QString::fromUtf8(c.message));
    }

    TempTree tree;
    const QString missingPath = tree.path(QStringLiteral("qln.dat"));
    const auto cannotOpen = table.LoadFromFile(missingPath);
    EXPECT_EQ(cannotOpen.code, -1);
    EXPECT_EQ(ProgramTextLoadMessage(cannotOpen, missingPath),
              QStringLiteral("Cannot open file containing program text.\r\n") + missingPath);
    EXPECT_TRUE(table.isEmpty());
}

TEST(ProgramText, ShippedFileHoldsEveryTextTheProgramUses)
{
    ProgramTextTable table;
    const auto result = table.LoadFromFile(QStringLiteral(QUILLAN_RESOURCE_DIR "/qln.dat"));
    ASSERT_TRUE(result.ok()) << ProgramTextLoadMessage(result, QString()).toStdString();
    for (int n : {6, 16, 17, 23, 24, 25, 26, 27, 28, 29, 35, 36, 50, 52, 53, 310})
        EXPECT_FALSE(table.GetProgramText(n).isEmpty()) << n;
    EXPECT_EQ(table.GetProgramText(310), QStringLiteral("Quillan"));
}

} // namespace quillan::test
