// Help and the web links.

#include "main/frmMain.h"
#include "util/FileProc.h"
#include "util/WebLink.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

namespace quillan {

void frmMain::cmdHelp_Click()
{
    if (frmView_->isMinimized())
        frmView_->showNormal();
    frmView_->hide();
    frmView2_->hide();
    frmView_->setWindowIcon(windowIcon());

    twips::Move(this, 100, twips::Top(this));
    const auto place = [this] {
        twips::Move(frmView_, twips::Left(this) + twips::Width(this), twips::Top(this));
        twips::Resize(frmView_, twips::Width(this), twips::Height(this));
    };
    place();

    // Used as it stands, even when the program's folder is the root.
    frmView_->strFilename = programFolder_ + PathSeparator() + GetProgramText(16);
    frmView_->setWindowTitle(QStringLiteral("Help for Quillan"));
    frmView_->blnCopyToClipboardInvisible = true;
    frmView_->setTextFontSize(10);
    frmView_->blnFileDisplayed = false;
    frmView_->ShowModeless();
    // Sizes count the window frame, which is known once the window is shown.
    if (frmView_->isVisible())
        place();
}

void frmMain::lblUserManualURL_Click()
{
    OpenWebLink(UserManualAddress(GetProgramText(6)));
}

void frmMain::lblVelquorSystems_Click()
{
    OpenWebLink(GetProgramText(6));
}

void frmMain::OpenWebLink(const QString &strTarget)
{
    const int result = interaction_.OpenWebAddress(strTarget);
    const QString failure = WebLinkFailureText(result, strTarget);
    if (failure.isEmpty())
        return;
    interaction_.ShowMessageBox(this, failure, kWebLinkFailureTitle,
                                Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                                Interaction::Answer::Ok);
}

} // namespace quillan
