#include "windows/frmPopUp.h"

namespace quillan {

frmPopUp::frmPopUp(QWidget *parent) : QDialog(parent) {}

void frmPopUp::PopUp(const QString &, int, int, int, int, int) {}

} // namespace quillan
