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
    frmView_->PrepareForOpening(windowIcon());
    frmView2_->hide();
    twips::Move(this, 100, twips::Top(this));
    // The help file's path is used as it stands, even when the program's
    // folder is the root.
    frmView_->OpenFile(programFolder_ + PathSeparator() + GetProgramText(16),
                       QStringLiteral("Help for Quillan"), true,
                       twips::Left(this) + twips::Width(this), twips::Top(this), twips::Width(this),
                       twips::Height(this));
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
