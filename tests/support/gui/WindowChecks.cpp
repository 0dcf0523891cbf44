#include "gui/WindowChecks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace quillan::test
{

namespace
{

bool shown(const QWidget *widget, const QWidget *window)
{
    return widget->isVisibleTo(window) && !widget->isWindow();
}

QString describe(const QWidget *widget)
{
    QString text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    else if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    const QString name = widget->objectName().isEmpty() ? QString() : widget->objectName() + u' ';
    return QString::fromLatin1(widget->metaObject()->className()) + u' ' + name + u'"' + text +
           u'"';
}

// The part of the widget that its window shows: its rectangle cut by the
// edges of everything that holds it.
QSize visibleSize(const QWidget *widget, const QWidget *window)
{
    QRect visible(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget *holder = widget->parentWidget(); holder && holder != window;
         holder = holder->parentWidget())
        visible &= QRect(holder->mapTo(window, QPoint(0, 0)), holder->size());
    visible &= window->rect();
    return visible.size();
}

// What the control needs to show its text whole, by its style's own
// measure; an empty size for controls without text.
QSize needed(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty())
            return {};
        if (label->wordWrap())
            return {label->minimumSizeHint().width(), label->heightForWidth(label->width())};
        return label->sizeHint();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text().isEmpty() ? QSize() : button->sizeHint();
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        // Room for the longest of its entries, not only the one it shows.
        if (combo->count() == 0)
            return {};
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QFontMetrics metrics = combo->fontMetrics();
        int longest = 0;
        for (int i = 0; i < combo->count(); ++i)
            longest = qMax(longest, metrics.boundingRect(combo->itemText(i)).width());
        return combo->style()->sizeFromContents(
            QStyle::CT_ComboBox, &option, QSize(longest, qMax(metrics.height(), 14) + 2), combo);
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        QSize size(0, edit->minimumSizeHint().height());
        if (!edit->placeholderText().isEmpty()) {
            const QMargins margins = edit->textMargins() + edit->contentsMargins();
            size.setWidth(edit->fontMetrics().horizontalAdvance(edit->placeholderText()) +
                          margins.left() + margins.right() + 4);
        }
        return size;
    }
    return {};
}

bool interactive(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) != 0;
}

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

} // namespace

QStringList CutTexts(const QWidget *window)
{
    QStringList faults;
    const auto widgets = window->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (!shown(widget, window))
            continue;
        const QSize need = needed(widget);
        if (!need.isValid())
            continue;
        const QSize has = visibleSize(widget, window);
        if (has.width() < need.width() || has.height() < need.height())
            faults << QStringLiteral("%1 shows %2x%3 of the %4x%5 it needs")
                          .arg(describe(widget))
                          .arg(has.width())
                          .arg(has.height())
                          .arg(need.width())
                          .arg(need.height());
    }
    return faults;
}

QStringList OverlappingControls(const QWidget *window)
{
    QStringList faults;
    QList<const QWidget *> holders{window};
    holders += window->findChildren<const QWidget *>();
    for (const QWidget *holder : holders) {
        QList<const QWidget *> children;
        for (const QObject *child : holder->children()) {
            const auto *widget = qobject_cast<const QWidget *>(child);
            if (widget && shown(widget, window))
                children << widget;
        }
        for (qsizetype i = 0; i < children.size(); ++i)
            for (qsizetype j = i + 1; j < children.size(); ++j)
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    faults << describe(children[i]) + QStringLiteral(" overlaps ") +
                                  describe(children[j]);
    }
    return faults;
}

QStringList UnnamedControls(const QWidget *window)
{
    QStringList faults;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!shown(widget, window))
            continue;
        const QString name = accessibleName(widget);
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            // A label is read as what it shows.
            if (name != label->text())
                faults << describe(widget) + QStringLiteral(" is read as \"") + name + u'"';
        } else if (interactive(widget) && name.trimmed().isEmpty()) {
            faults << describe(widget) + QStringLiteral(" has no accessible name");
        }
    }
    return faults;
}

void ExpectWellLaidOut(const QWidget *window)
{
    SCOPED_TRACE(window->objectName().toStdString() + " at " +
                 std::to_string(QApplication::font().pointSizeF()) + " pt");
    const QStringList faults =
        CutTexts(window) + OverlappingControls(window) + UnnamedControls(window);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
}

ApplicationFontSize::ApplicationFontSize(qreal points) : saved_(new QFont(QApplication::font()))
{
    if (points <= 0)
        return;
    QFont font = *saved_;
    font.setPointSizeF(points);
    QApplication::setFont(font);
}

ApplicationFontSize::~ApplicationFontSize()
{
    QApplication::setFont(*saved_);
    delete saved_;
}

void WaitForFrame(QWidget *window)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const auto framed = [window] {
        return window->frameGeometry().height() > window->height();
    };
    for (int i = 0; i < 200 && !framed(); ++i)
        QTest::qWait(10);
    EXPECT_TRUE(framed()) << "no window manager framed the window";
}

void LetTheDesktopAnswer()
{
    QCoreApplication::processEvents();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QTest::qWait(200);
}

std::string FontSizeName(const ::testing::TestParamInfo<qreal> &info)
{
    return info.param == 0 ? std::string("Desktop") : std::to_string(int(info.param)) + "pt";
}

QList<QWidget *> TabChain(QWidget *first)
{
    QList<QWidget *> chain;
    first->setFocus(Qt::TabFocusReason);
    QWidget *window = first->window();
    for (QWidget *at = window->focusWidget(); at && !chain.contains(at);
         at = window->focusWidget()) {
        chain << at;
        QTest::keyClick(at, Qt::Key_Tab);
    }
    return chain;
}

void ClickCheckBox(QAbstractButton *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect tick = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, tick.center());
}

} // namespace quillan::test
