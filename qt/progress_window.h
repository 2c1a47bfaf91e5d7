#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace varn::desktop {

// Shown over the main window while a long operation runs: how far it is (the share its tab's bar
// shows, or only that it runs while no bar moves), and a Cancel button. Closing the window or
// pressing Escape cancels as well.
class ProgressWindow : public QDialog {
    Q_OBJECT
  public:
    ProgressWindow(QWidget* parent, std::function<void()> cancel);

    // Shows it in the interface language (Russian or English).
    void start(bool russian);
    void finish();
    // Shows the share of `bar` from now on; null: only that the operation runs.
    void follow(const QProgressBar* bar);
    const QProgressBar* bar() const { return bar_; }
    bool cancelling() const { return cancelling_; }
    QPushButton* cancelButton() const { return cancelButton_; }

  protected:
    void reject() override;

  private:
    std::function<void()> cancel_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QMetaObject::Connection following_;
    QPushButton* cancelButton_ = nullptr;
    bool russian_ = true;
    bool cancelling_ = false;
};

}  // namespace varn::desktop
