#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace varn::desktop {

// Shown over the main window while a long operation runs: that it runs, and a Cancel button.
// Closing the window or pressing Escape cancels as well.
class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    ProgressWindow(QWidget* parent, std::function<void()> cancel);

    // Shows it in the interface language (Russian or English).
    void start(bool russian);
    void finish();
    bool cancelling() const { return cancelling_; }
    QPushButton* cancelButton() const { return cancelButton_; }

  protected:
    void reject() override;

  private:
    std::function<void()> cancel_;
    QLabel* label_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool russian_ = true;
    bool cancelling_ = false;
};

}  // namespace varn::desktop
