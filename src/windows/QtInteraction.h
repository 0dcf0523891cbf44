#pragma once
// The seam as the program uses it: Qt's dialogs, clipboard and desktop.

#include "windows/Interaction.h"

#include <QElapsedTimer>

class QFileDialog;

namespace quillan {

class QtInteraction : public Interaction
{
public:
    Answer ShowMessageBox(QWidget *owner, const QString &text, const QString &title, Icon icon,
                          Buttons buttons, Answer defaultButton) override;
    QString BrowseForFolder(QWidget *owner, const QString &title) override;
    QString ChooseFile(QWidget *owner, const FileDialogRequest &request) override;
    void SetClipboardText(const QString &text) override;
    int OpenWebAddress(const QString &address) override;
    void Pause(int milliseconds) override;
    void ProcessEvents() override;

    // Sets a file dialog up as `request` asks: open or save, title, filter
    // and folder; no overwrite question unless asked for; only existing files
    // where the file must exist.
    static void SetUpFileDialog(QFileDialog &dialog, const FileDialogRequest &request);

    // Why a file dialog with `flags` refuses `file`: its folder or the file
    // itself must exist and does not. "" when the dialog may take it (a folder
    // is taken too: the dialog opens it).
    static QString RefusedFileChoice(const QString &file, int flags);

private:
    // A walk yields before and after every file; handing control to the
    // event loop every few milliseconds keeps the window just as responsive
    // at a fraction of the cost.
    QElapsedTimer sinceLastEvents_;
};

} // namespace quillan
