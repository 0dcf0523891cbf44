#pragma once
// Control sizes that grow with the font. Each control has a design size in
// twips, chosen for the classic font; a larger font, another style or a
// language with longer words asks for more, and the control takes the larger
// of the two, so that its text always shows whole.

#include <QSize>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace quillan::fit
{

// What the control needs to show its text whole, in twips (its style's own
// size hint: text, margins, frame and indicator).
int NeededWidth(const QWidget *control);
int NeededHeight(const QWidget *control);

// The design size, or more where the control needs it.
int Width(const QWidget *control, int designWidth);
int Height(const QWidget *control, int designHeight);

// Gives the control its design size, grown to its needs.
void Resize(QWidget *control, int designWidth, int designHeight);

// What a check box or a label would need to show `text`, in pixels, without
// changing its text: for sizing by the widest text it will show.
QSize CheckBoxSizeFor(const QCheckBox *box, const QString &text);
QSize ButtonSizeFor(const QPushButton *button, const QString &text);
QSize LabelSizeFor(const QLabel *label, const QString &text);
// What a combo box needs to show the longest of its entries, in pixels
// (its own size hint may count only the entry it shows).
QSize ComboBoxSize(const QComboBox *combo);

// The height a word-wrapping label needs for `text` at `width` (pixels).
int WrappedLabelHeight(const QLabel *label, const QString &text, int width);

} // namespace quillan::fit
