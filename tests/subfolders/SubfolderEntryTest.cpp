#include "subfolders/SubfolderEntry.h"

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

TEST(SubfolderEntry, CountPartsInWordsAndGroupedDigits)
{
    EXPECT_EQ(FilesPart(0) + SubfoldersPart(0), QStringLiteral("no files and no subfolders"));
    EXPECT_EQ(FilesPart(1) + SubfoldersPart(1), QStringLiteral("1 file and 1 subfolder"));
    EXPECT_EQ(FilesPart(1234) + SubfoldersPart(2), QStringLiteral("1,234 files and 2 subfolders"));
}

TEST(SubfolderEntry, NameIsTheTrimmedTextBeforeTheDetails)
{
    EXPECT_EQ(EntryName(QStringLiteral("images {12 files and no subfolders}")), QStringLiteral("images"));
    EXPECT_EQ(EntryName(QStringLiteral("  spaced name  {1 file and 1 subfolder}")),
              QStringLiteral("spaced name"));
    EXPECT_EQ(EntryName(QStringLiteral("a{b} {no files and 1 subfolder}")), QStringLiteral("a{b}"));
}

TEST(SubfolderEntry, UnreadableAndEmptyEntriesCannotBeSelected)
{
    EXPECT_TRUE(CannotBeSelected(QStringLiteral("private {Permission Denied}")));
    EXPECT_TRUE(CannotBeSelected(QStringLiteral("old {No files and no subfolders}")));
    EXPECT_FALSE(CannotBeSelected(QStringLiteral("gone {No such file or directory}")));
    EXPECT_FALSE(CannotBeSelected(QStringLiteral("docs {1 file and no subfolders}")));
}

TEST(FormatCheckboxCaption, ShortensOnlyTheNameOfLongEntries)
{
    const QString details = QStringLiteral("{1 file and no subfolders}"); // 26 characters
    const QString fits = QString(83 - 1 - details.size(), u'n') + u' ' + details;
    ASSERT_EQ(fits.size(), 83);
    EXPECT_EQ(FormatCheckboxCaption(fits), fits);

    const QString name(100, u'n');
    const QString caption = FormatCheckboxCaption(name + u' ' + details);
    EXPECT_EQ(caption, QString(84 - details.size(), u'n') + QStringLiteral(" ... ") + details);

    // A brace in the name does not count as the start of the details.
    const QString braced = QStringLiteral("{") + name + u' ' + details;
    EXPECT_TRUE(FormatCheckboxCaption(braced).endsWith(QStringLiteral(" ... ") + details));

    // Details too long to leave room for the name stay whole.
    const QString longError = u'{' + QString(90, u'e') + u'}';
    EXPECT_EQ(FormatCheckboxCaption(QStringLiteral("x ") + longError), QStringLiteral(" ... ") + longError);

    EXPECT_EQ(FormatCheckboxCaption(QStringLiteral("no details")), QStringLiteral("no details"));
}

TEST(ReadingDiskText, AddsOneDotPerSubfolder)
{
    EXPECT_EQ(ReadingDiskText(0), QStringLiteral("Reading disk . . ."));
    EXPECT_EQ(ReadingDiskText(2), QStringLiteral("Reading disk . . . . ."));
}

} // namespace
} // namespace quillan::test
