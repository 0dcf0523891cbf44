#include "windows/Fit.h"

#include "windows/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

namespace quillan::fit {

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
    const QSize textSize = box->style()
                               ->itemTextRect(box->fontMetrics(), QRect(), Qt::TextShowMnemonic,
                                              false, text)
                               .size();
    return box->style()->sizeFromContents(QStyle::CT_CheckBox, &option, textSize, box);
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

} // namespace quillan::fit
