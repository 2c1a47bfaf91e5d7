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
            if (value != this->value()) {
                setValue(value);
                dispatcher_.progressMoved();
            }
            break;
        }
        default:
            break;
    }
}

int ProgressBarWidget::shownPosition() const {
    return ScaledProgressPosition(bar_.min(), bar_.max(), bar_.position());
}

}  // namespace varn::desktop
