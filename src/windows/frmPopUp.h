#pragma once
// A small window that shows a short message for a while and then goes.

#include <QDialog>

namespace quillan {

class frmPopUp : public QDialog
{
    Q_OBJECT

public:
    explicit frmPopUp(QWidget *parent = nullptr);

    void PopUp(const QString &strMessage, int intWidth, int intHeight, int intInterval, int intTop,
               int intLeft);
};

} // namespace quillan
