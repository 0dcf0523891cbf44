#include "gui/FakeInteraction.h"

#include <QCoreApplication>

namespace quillan::test {

void FakeInteraction::VerifyAllAnswersUsed()
{
    for (Answer answer : boxAnswers)
        ADD_FAILURE() << "a message box answer was not used: " << int(answer);
    for (const QString &path : folderAnswers)
        ADD_FAILURE() << "a folder dialog answer was not used: " << path.toStdString();
    for (const QString &path : fileAnswers)
        ADD_FAILURE() << "a file dialog answer was not used: " << path.toStdString();
    for (int result : webResults)
        ADD_FAILURE() << "a web-address result was not used: " << result;
    boxAnswers.clear();
    folderAnswers.clear();
    fileAnswers.clear();
    webResults.clear();
}

Interaction::Answer FakeInteraction::ShowMessageBox(QWidget *, const QString &text,
                                                    const QString &title, Icon icon,
                                                    Buttons buttons, Answer defaultButton)
{
    boxes.push_back(Box{text, title, icon, buttons, defaultButton});
    if (boxAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << "\"";
        return defaultButton;
    }
    const Answer answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

QString FakeInteraction::BrowseForFolder(QWidget *, const QString &title)
{
    folderTitles.append(title);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder dialog: " << title.toStdString();
        return QString();
    }
    const QString path = folderAnswers.front();
    folderAnswers.pop_front();
    return path;
}

QString FakeInteraction::ChooseFile(QWidget *, const FileDialogRequest &request)
{
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return QString();
    }
    const QString path = fileAnswers.front();
    fileAnswers.pop_front();
    return path;
}

void FakeInteraction::SetClipboardText(const QString &text)
{
    clipboard = text;
    ++clipboardWrites;
}

int FakeInteraction::OpenWebAddress(const QString &address)
{
    webAddresses.append(address);
    if (webResults.empty())
        return 42;
    const int result = webResults.front();
    webResults.pop_front();
    return result;
}

void FakeInteraction::Pause(int milliseconds)
{
    pauses.push_back(milliseconds);
}

void FakeInteraction::ProcessEvents()
{
    ++processEventsCalls;
    QCoreApplication::processEvents();
    if (onProcessEvents)
        onProcessEvents(processEventsCalls);
}

} // namespace quillan::test
