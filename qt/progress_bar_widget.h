#pragma once

#include <QProgressBar>
#include <atomic>

#include "qt/control_view.h"
#include "ui/progress_bar.h"
#include "ui/window_handoff.h"

namespace varn::desktop {

// A bar without text. Ranges beyond the toolkit's comfort are scaled to 0..65535. A handler
// thread moves it without waiting for the window: the latest position is shown when the window's
// thread comes to it.
class ProgressBarWidget : public ControlWidget<QProgressBar> {
    Q_OBJECT
  public:
    ProgressBarWidget(ui::ProgressBar& bar, QWidget* parent, Dispatcher& dispatcher);

    // On the handler's thread: shows the layer's position soon.
    void showPositionLater(ui::WindowHandoff& handoff);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    // The layer's position on the widget's range.
    int shownPosition() const;

    ui::ProgressBar& bar_;
    std::atomic<int> latest_{0};
    std::atomic<bool> handedOver_{false};
};

}  // namespace varn::desktop
