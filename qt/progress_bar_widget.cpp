#include "qt/progress_bar_widget.h"

#include "qt/conversions.h"

namespace varn::desktop {

ProgressBarWidget::ProgressBarWidget(ui::ProgressBar& bar, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(bar, parent, dispatcher), bar_(bar) {
    setTextVisible(false);
}

void ProgressBarWidget::updateOwn(ui::Property property) {
    switch (property) {
        case ui::Property::Range:
            setRange(0, ScaledProgressMax(bar_.min(), bar_.max()));
            setValue(shownPosition());
            break;
        case ui::Property::Position: {
            const int value = shownPosition();
            if (value != this->value()) setValue(value);
            break;
        }
        default:
            break;
    }
}

void ProgressBarWidget::showPositionLater(ui::WindowHandoff& handoff) {
    latest_.store(shownPosition());
    // One call on its way is enough: it shows whatever position is the latest by then.
    if (handedOver_.exchange(true)) return;
    handoff.Post([this] {
        handedOver_.store(false);
        const int value = latest_.load();
        if (value != this->value()) setValue(value);
    });
}

int ProgressBarWidget::shownPosition() const {
    return ScaledProgressPosition(bar_.min(), bar_.max(), bar_.position());
}

}  // namespace varn::desktop
