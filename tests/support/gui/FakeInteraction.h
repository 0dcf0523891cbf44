#pragma once
// The scripted stand-in for dialogs and the desktop in window tests. Every
// box and dialog is recorded; answers come from queues the test fills first.
// A box the test did not expect (empty queue) fails the test. Derive window
// tests from GuiTest, which checks after each test that every queued answer
// was used.

#include "windows/Interaction.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

namespace quillan::test {

class FakeInteraction : public Interaction
{
public:
    struct Box {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        Answer defaultButton;
    };

    // Answers, used in order.
    void ExpectBox(Answer answer) { boxAnswers.push_back(answer); }
    void ExpectFolder(const QString &path) { folderAnswers.push_back(path); }
    void ExpectFile(const QString &path) { fileAnswers.push_back(path); }
    void ExpectWebResult(int result) { webResults.push_back(result); }

    // Runs on every ProcessEvents call, after Qt's events: tests use it to
    // click Stop or Quit in the middle of a walk.
    std::function<void(int call)> onProcessEvents;

    // Fails the current test for every answer left unused.
    void VerifyAllAnswersUsed();

    Answer ShowMessageBox(QWidget *owner, const QString &text, const QString &title, Icon icon,
                          Buttons buttons, Answer defaultButton) override;
    QString BrowseForFolder(QWidget *owner, const QString &title) override;
    QString ChooseFile(QWidget *owner, const FileDialogRequest &request) override;
    void SetClipboardText(const QString &text) override;
    int OpenWebAddress(const QString &address) override;
    void Pause(int milliseconds) override;
    void ProcessEvents() override;

    // What was shown or asked for.
    std::vector<Box> boxes;
    QStringList folderTitles;
    std::vector<FileDialogRequest> fileRequests;
    QString clipboard;
    int clipboardWrites = 0;
    QStringList webAddresses;
    std::vector<int> pauses;
    int processEventsCalls = 0;

    std::deque<Answer> boxAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> fileAnswers;
    std::deque<int> webResults;
};

// Base of window tests: one fake per test, verified at the end.
class GuiTest : public ::testing::Test
{
protected:
    void TearDown() override { fake.VerifyAllAnswersUsed(); }

    FakeInteraction fake;
};

} // namespace quillan::test
