#pragma once

#include "text/progress.h"
#include "ui/progress_bar.h"

// Lets a pass over a file move one of the window's progress bars.
class BarProgress : public varn::Progress {
  public:
    explicit BarProgress(ui::ProgressBar& bar) : bar_(bar) {}
    void SetMax(std::uint64_t max) override { bar_.setMax(static_cast<std::int64_t>(max)); }
    void SetPosition(std::uint64_t position) override {
        bar_.setPosition(static_cast<std::int64_t>(position));
    }
    void Advance(std::uint64_t steps) override { bar_.stepBy(static_cast<std::int64_t>(steps)); }
    void Fill() override { bar_.setPosition(bar_.max()); }

  private:
    ui::ProgressBar& bar_;
};
