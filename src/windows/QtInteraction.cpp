#include "windows/QtInteraction.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
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
    QFileDialog::Options options;
    const QString filter = toQtFilter(request.filter);
    if (request.kind == FileDialogKind::Save)
        return QFileDialog::getSaveFileName(owner, request.title, request.startFolder, filter,
                                            nullptr, options);
    return QFileDialog::getOpenFileName(owner, request.title, request.startFolder, filter, nullptr,
                                        options);
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
