#include "windows/QtInteraction.h"

#include "engine/TempTree.h"

#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

namespace quillan::test {

using Request = Interaction::FileDialogRequest;

TEST(QtInteractionFileDialog, SaveAsksNoOverwriteQuestionAndLoadOffersOnlyExistingFiles)
{
    TempTree folder;
    const struct {
        Interaction::FileDialogKind kind;
        int flags;
        QFileDialog::AcceptMode acceptMode;
        QFileDialog::FileMode fileMode;
        bool overwriteQuestion;
    } cases[] = {
        {Interaction::FileDialogKind::Save, 2052, QFileDialog::AcceptSave, QFileDialog::AnyFile, false},
        {Interaction::FileDialogKind::Open, 6148, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, false},
        {Interaction::FileDialogKind::Save, 2, QFileDialog::AcceptSave, QFileDialog::AnyFile, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.flags);
        QFileDialog dialog;
        QtInteraction::SetUpFileDialog(dialog, Request{c.kind, QStringLiteral("Settings"),
                                                       QStringLiteral("Settings file (*.usr) | *.usr"),
                                                       c.flags, folder.root()});
        EXPECT_EQ(dialog.acceptMode(), c.acceptMode);
        EXPECT_EQ(dialog.fileMode(), c.fileMode);
        EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !c.overwriteQuestion);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
        EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("Settings file (*.usr)")});
        EXPECT_EQ(dialog.directory(), QDir(folder.root()));
    }
}

TEST(QtInteractionFileDialog, RefusesAFileInAMissingFolderAndAMissingFileThatMustExist)
{
    TempTree folder;
    folder.file(QStringLiteral("s.usr"));
    const struct {
        const char *file;
        int flags;
        const char *refusal; // a word of the message, "" for none
    } cases[] = {
        {"s.usr", 2052, ""},
        {"new.usr", 2052, ""},
        {"missing/new.usr", 2052, "missing"},
        {"missing/new.usr", 4, ""},
        {"new.usr", 6148, "new.usr"},
        {"s.usr", 6148, ""},
        {"", 6148, ""}, // the folder itself: the dialog opens it
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.flags));
        const QString refusal =
            QtInteraction::RefusedFileChoice(folder.path(QString::fromLatin1(c.file)), c.flags);
        EXPECT_EQ(refusal.isEmpty(), *c.refusal == 0) << refusal.toStdString();
        EXPECT_TRUE(refusal.contains(QString::fromLatin1(c.refusal))) << refusal.toStdString();
    }
}

} // namespace quillan::test
