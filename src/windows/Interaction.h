#pragma once
// Everything modal or outside the program goes through this one seam:
// message boxes, the folder and file dialogs, the clipboard, the web browser,
// pauses and the processing of pending window events. The program uses
// QtInteraction; tests use a scripted fake that answers from a queue.

#include <QString>

class QWidget;

namespace quillan {

class Interaction
{
public:
    enum class Icon { None, Exclamation, Stop };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };
    enum class FileDialogKind { Open, Save };

    // Flags of a file dialog, to be added together.
    static constexpr int kOverwritePrompt = 2;
    static constexpr int kHideReadOnly = 4;
    static constexpr int kPathMustExist = 2048;
    static constexpr int kFileMustExist = 4096;

    struct FileDialogRequest {
        FileDialogKind kind = FileDialogKind::Open;
        QString title;
        QString filter;      // "Settings file (*.usr) | *.usr"
        int flags = 0;       // the flags above
        QString startFolder; // "" for the dialog's own choice
    };

    virtual ~Interaction() = default;

    // A modal message box; returns the button pressed (the default button
    // also answers Escape where the box has no Cancel).
    virtual Answer ShowMessageBox(QWidget *owner, const QString &text, const QString &title,
                                  Icon icon, Buttons buttons, Answer defaultButton) = 0;

    // The folder dialog; "" when cancelled.
    virtual QString BrowseForFolder(QWidget *owner, const QString &title) = 0;

    // The settings file dialogs; "" when cancelled.
    virtual QString ChooseFile(QWidget *owner, const FileDialogRequest &request) = 0;

    // Replaces the clipboard's content by plain text.
    virtual void SetClipboardText(const QString &text) = 0;

    // Opens an address in the user's web browser. Returns 33 or more on
    // success, otherwise a failure value (2 not found, 8 out of memory,
    // 31 no application for it).
    virtual int OpenWebAddress(const QString &address) = 0;

    // Suspends the program for a while without processing events.
    virtual void Pause(int milliseconds) = 0;

    // Lets pending window events run.
    virtual void ProcessEvents() = 0;
};

} // namespace quillan
