#include "windows/frmSelectSubfolders.h"

namespace quillan {

frmSelectSubfolders::frmSelectSubfolders(Interaction &interaction, QWidget *parent)
    : QDialog(parent), interaction_(interaction)
{
}

} // namespace quillan
