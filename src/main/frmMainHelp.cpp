// Help and the web links.

#include "main/frmMain.h"

namespace quillan {

void frmMain::cmdHelp_Click() {}

void frmMain::lblUserManualURL_Click() {}

void frmMain::lblVelquorSystems_Click() {}

void frmMain::OpenWebLink(const QString &) {}

} // namespace quillan
