#pragma once

#include <QProgressBar>

#include "qt/control_view.h"
#include "ui/progress_bar.h"

namespace varn::desktop {

// A bar without text. Ranges beyond the toolkit's comfort are scaled to 0..65535; every move of
// the position lets the window repaint while a long handler runs.
class ProgressBarWidget : public ControlWidget<QProgressBar> {
    Q_OBJECT
  public:
    ProgressBarWidget(ui::ProgressBar& bar, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;

  private:
    // The layer's position on the widget's range.
    int shownPosition() const;

    ui::ProgressBar& bar_;
};

}  // namespace varn::desktop
