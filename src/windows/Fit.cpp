#include "windows/Fit.h"

#include "windows/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace quillan::fit
{

int NeededWidth(const QWidget *control)
{
    return twips::FromPixels(control->sizeHint().width());
}

int NeededHeight(const QWidget *control)
{
    return twips::FromPixels(control->sizeHint().height());
}

int Width(const QWidget *control, int designWidth)
{
    return qMax(designWidth, NeededWidth(control));
}

int Height(const QWidget *control, int designHeight)
{
    return qMax(designHeight, NeededHeight(control));
}

void Resize(QWidget *control, int designWidth, int designHeight)
{
    control->resize(twips::ToPixels(Width(control, designWidth)),
                    twips::ToPixels(Height(control, designHeight)));
}

QSize CheckBoxSizeFor(const QCheckBox *box, const QString &text)
{
    // As the check box measures itself.
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = text;
    const QSize textSize =
        box->style()
            ->itemTextRect(box->fontMetrics(), QRect(), Qt::TextShowMnemonic, false, text)
            .size();
    return box->style()->sizeFromContents(QStyle::CT_CheckBox, &option, textSize, box);
}

QSize ButtonSizeFor(const QPushButton *button, const QString &text)
{
    // As the button measures itself.
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (button->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    const QSize textSize = button->fontMetrics().size(Qt::TextShowMnemonic, text);
    return button->style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize, button);
}

QSize LabelSizeFor(const QLabel *label, const QString &text)
{
    // As a plain-text label measures itself: the text's box in its font,
    // lines as they are, plus the label's margins.
    const QRect box = label->fontMetrics().boundingRect(
        QRect(0, 0, 20000, 20000), int(label->alignment()) | Qt::TextExpandTabs, text);
    const QMargins margins = label->contentsMargins();
    const int margin = 2 * label->margin();
    return box.size() + QSize(margins.left() + margins.right() + margin,
                              margins.top() + margins.bottom() + margin);
}

QSize ComboBoxSize(const QComboBox *combo)
{
    // A combo box that sizes itself to its entries would also resize itself
    // whenever they change; a stand-in of the same font and entries measures
    // instead.
    QComboBox measure;
    measure.setFont(combo->font());
    measure.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (int i = 0; i < combo->count(); ++i)
        measure.addItem(combo->itemText(i));
    return measure.sizeHint();
}

int WrappedLabelHeight(const QLabel *label, const QString &text, int width)
{
    const QMargins margins = label->contentsMargins();
    const int margin = 2 * label->margin();
    const int inner = width - margins.left() - margins.right() - margin;
    const QRect box = label->fontMetrics().boundingRect(
        QRect(0, 0, qMax(inner, 1), 20000),
        int(label->alignment()) | Qt::TextWordWrap | Qt::TextExpandTabs, text);
    return box.height() + margins.top() + margins.bottom() + margin;
}

} // namespace quillan::fit
