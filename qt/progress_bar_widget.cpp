#include "qt/progress_bar_widget.h"

#include "qt/conversions.h"

namespace varn::desktop {

ProgressBarWidget::ProgressBarWidget(ui::ProgressBar& bar, QWidget* parent, Dispatcher& dispatcher)
    : QProgressBar(parent), ControlView(bar, dispatcher), bar_(bar) {
    setTextVisible(false);
}

void ProgressBarWidget::updateOwn(ui::Property property) {
    switch (property) {
        case ui::Property::Range:
            setRange(0, ScaledProgressMax(bar_.min(), bar_.max()));
            setValue(ScaledProgressPosition(bar_.min(), bar_.max(), bar_.position()));
            break;
        case ui::Property::Position: {
            const int value = ScaledProgressPosition(bar_.min(), bar_.max(), bar_.position());
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

}  // namespace varn::desktop
