#include "subfolders/SubfolderEntry.h"

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

TEST(SubfolderEntry, NameAndWhetherTheRowCanBeTicked)
{
    EXPECT_EQ(EntryName(QStringLiteral("  spaced name  {1 file and 1 subfolder}")),
              QStringLiteral("spaced name"));
    EXPECT_EQ(EntryName(QStringLiteral("a{b} {no files and 1 subfolder}")), QStringLiteral("a{b}"));

    EXPECT_TRUE(CannotBeSelected(QStringLiteral("private {Permission Denied}")));
    EXPECT_TRUE(CannotBeSelected(QStringLiteral("old {No files and no subfolders}")));
    EXPECT_FALSE(CannotBeSelected(QStringLiteral("gone {No such file or directory}")));
    EXPECT_FALSE(CannotBeSelected(QStringLiteral("docs {1 file and no subfolders}")));
}

TEST(FormatCheckboxCaption, ShortensOnlyTheNameOfLongEntries)
{
    const QString details = QStringLiteral("{1 file and no subfolders}");
    const QString fits = QString(83 - 1 - details.size(), u'n') + u' ' + details;
    EXPECT_EQ(FormatCheckboxCaption(fits), fits);

    const QString name(100, u'n');
    EXPECT_EQ(FormatCheckboxCaption(name + u' ' + details),
              QString(84 - details.size(), u'n') + QStringLiteral(" ... ") + details);
    // A brace in the name does not count as the start of the details.
    EXPECT_TRUE(FormatCheckboxCaption(u'{' + name + u' ' + details)
                    .endsWith(QStringLiteral(" ... ") + details));
    // Details too long to leave room for the name stay whole.
    const QString longError = u'{' + QString(90, u'e') + u'}';
    EXPECT_EQ(FormatCheckboxCaption(QStringLiteral("x ") + longError), QStringLiteral(" ... ") + longError);
}

} // namespace
} // namespace quillan::test
