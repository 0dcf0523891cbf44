// Excluded top subfolders: the selection window and the main window's label.

#include "main/frmMain.h"

namespace quillan {

void frmMain::cmdSelectSubfolders_Click() {}

void frmMain::ShowNumExcludedSubfolders() {}

} // namespace quillan
