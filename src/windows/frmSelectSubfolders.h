#pragma once
// The window in which the user ticks top subfolders.

#include <QDialog>

namespace quillan {

class Interaction;

class frmSelectSubfolders : public QDialog
{
    Q_OBJECT

public:
    frmSelectSubfolders(Interaction &interaction, QWidget *parent = nullptr);

private:
    Interaction &interaction_;
};

} // namespace quillan
