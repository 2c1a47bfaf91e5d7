#pragma once

#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "app/form1.h"
#include "qt/control_view.h"
#include "qt/input_blocker.h"
#include "qt/progress_window.h"
#include "ui/handler_thread.h"
#include "ui/window_handoff.h"

namespace varn::desktop {

// The main window: real widgets for every control of the form, at their bounds, kept in step
// with the layer both ways. Every user action runs through the form's error guard on a handler
// thread of its own, while this thread goes on painting; the widgets follow the layer's changes
// here, handed over by the handler. A handler that has not ended within a moment blocks the
// window's input until it has, and one that runs longer shows the progress window with its
// Cancel. A close request that arrives meanwhile is carried out once the handler has returned.
class MainWindow : public QWidget, public Dispatcher {
    Q_OBJECT
  public:
    explicit MainWindow(TForm1& form);
    ~MainWindow() override;

    void dispatch(const std::function<void()>& action) override;
    void showChange(ControlView& view, ui::Property property) override;
    void focusOrderChanged() override;
    bool busy() const { return busy_; }

    // How long the window waits for a handler before it lets the window paint on, and how long
    // a handler may run before the progress window shows.
    void setPatience(std::chrono::milliseconds patience) { patience_ = patience; }
    void setProgressDelay(std::chrono::milliseconds delay) { progressDelay_ = delay; }
    ProgressWindow& progressWindow() { return progress_; }
    // Around a box or dialog of the running handler: the progress window makes way for it, and
    // comes back only when the handler then runs on for the progress delay.
    void dialogOpening();
    void dialogClosed();

    // The widget that shows the named control, or null.
    QWidget* widgetFor(const std::string& name) const;
    QWidget* widgetFor(const ui::Control& control) const;

    // Puts the window at its stored place, or onto the screen when that place does not fit.
    void placeOnScreen();

  signals:
    // A handler that went on past the patience has ended.
    void handlerEnded();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Keeps the top-level window in step with the layer's window control.
    void updateWindow(ui::Property property);
    // On this thread, once the handler thread has ended.
    void endHandler();

    TForm1& form_;
    ui::WindowHandoff& handoff_;
    ui::HandlerThread handlers_;
    std::map<const ui::Control*, ControlView*> views_;
    bool busy_ = false;
    bool russian_ = true;  // the interface language when the running handler started
    bool closeRequested_ = false;
    bool shown_ = false;
    bool built_ = false;
    std::chrono::milliseconds patience_{100};
    std::chrono::milliseconds progressDelay_{500};
    InputBlocker inputBlocker_;
    ProgressWindow progress_;
    // The bar the progress window follows: the first to move in the running handler.
    std::atomic<const QProgressBar*> followed_{nullptr};
    QTimer progressTimer_;
};

}  // namespace varn::desktop
