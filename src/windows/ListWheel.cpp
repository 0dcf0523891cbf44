#include "windows/ListWheel.h"

#include <QComboBox>
#include <QWheelEvent>

namespace quillan
{

namespace
{

constexpr int kNotch = 120; // eighths of a degree

class WheelGuard : public QObject
{
public:
    explicit WheelGuard(QComboBox *list) : QObject(list), list_(list) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        if (!list_->hasFocus())
            return true;
        // Fine-grained wheels and touch pads send parts of a notch.
        pending_ += static_cast<const QWheelEvent *>(event)->angleDelta().y();
        const int notches = pending_ / kNotch;
        pending_ -= notches * kNotch;
        // Away from the user goes up the list. With nothing chosen yet,
        // the first notch towards the user chooses the first entry.
        const int from = list_->currentIndex();
        if (notches != 0 && list_->count() > 0 && (from >= 0 || notches < 0))
            list_->setCurrentIndex(qBound(0, from - notches, list_->count() - 1));
        return true;
    }

private:
    QComboBox *list_;
    int pending_ = 0;
};

} // namespace

void KeepWheelFromRunningEntries(QComboBox *list)
{
    list->setFocusPolicy(Qt::StrongFocus);
    list->installEventFilter(new WheelGuard(list));
}

} // namespace quillan
