// Check links and its two reports.

#include "main/frmMain.h"

namespace quillan {

void frmMain::cmdCheckLinks_Click() {}

void frmMain::WriteReportByLinkFrom() {}

void frmMain::WriteReportByLinkTo() {}

} // namespace quillan
