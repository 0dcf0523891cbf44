#include "windows/QtInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

namespace quillan {

namespace {

QMessageBox::StandardButton toStandard(Interaction::Answer answer)
{
    switch (answer) {
    case Interaction::Answer::Ok:
        return QMessageBox::Ok;
    case Interaction::Answer::Yes:
        return QMessageBox::Yes;
    case Interaction::Answer::No:
        return QMessageBox::No;
    case Interaction::Answer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// "Settings file (*.usr) | *.usr" becomes Qt's "Settings file (*.usr)".
QString toQtFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(u'|');
    return (bar < 0 ? filter : filter.left(bar)).trimmed();
}

// A file dialog that keeps itself open while the choice cannot be taken,
// with a word on why.
class CheckedFileDialog : public QFileDialog
{
public:
    CheckedFileDialog(QWidget *owner, int flags) : QFileDialog(owner), flags_(flags) {}

protected:
    void accept() override
    {
        const QStringList files = selectedFiles();
        const QString refusal =
            files.isEmpty() ? QString() : QtInteraction::RefusedFileChoice(files.first(), flags_);
        if (!refusal.isEmpty()) {
            QMessageBox::warning(this, windowTitle(), refusal);
            return;
        }
        QFileDialog::accept();
    }

private:
    int flags_;
};

} // namespace

Interaction::Answer QtInteraction::ShowMessageBox(QWidget *owner, const QString &text,
                                                  const QString &title, Icon icon,
                                                  Buttons buttons, Answer defaultButton)
{
    QMessageBox box(owner);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    box.setDefaultButton(toStandard(defaultButton));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

QString QtInteraction::BrowseForFolder(QWidget *owner, const QString &title)
{
    return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
}

QString QtInteraction::ChooseFile(QWidget *owner, const FileDialogRequest &request)
{
    CheckedFileDialog dialog(owner, request.flags);
    SetUpFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}

void QtInteraction::SetUpFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(toQtFilter(request.filter));
    dialog.setAcceptMode(request.kind == FileDialogKind::Save ? QFileDialog::AcceptSave
                                                              : QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & kOverwritePrompt) == 0);
    if (!request.startFolder.isEmpty())
        dialog.setDirectory(request.startFolder);
}

QString QtInteraction::RefusedFileChoice(const QString &file, int flags)
{
    const QFileInfo info(file);
    if (info.isDir())
        return QString();
    if ((flags & kPathMustExist) != 0 && !info.absoluteDir().exists())
        return QStringLiteral("The folder %1 does not exist.\nPlease choose an existing folder.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    if ((flags & kFileMustExist) != 0 && !info.exists())
        return QStringLiteral("The file %1 does not exist.\nPlease choose an existing file.")
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    return QString();
}

void QtInteraction::SetClipboardText(const QString &text)
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

int QtInteraction::OpenWebAddress(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return 2;
    return QDesktopServices::openUrl(url) ? 42 : 31;
}

void QtInteraction::Pause(int milliseconds)
{
    QThread::msleep(milliseconds);
}

void QtInteraction::ProcessEvents()
{
    if (sinceLastEvents_.isValid() && sinceLastEvents_.elapsed() < 15)
        return;
    QApplication::processEvents();
    sinceLastEvents_.start();
}

} // namespace quillan
