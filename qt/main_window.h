#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "app/form1.h"
#include "qt/control_view.h"

namespace varn::desktop {

// The main window: real widgets for every control of the form, at their bounds, kept in step
// with the layer both ways. It runs every user action through the form's error guard and counts
// itself busy meanwhile: a close request that arrives while a handler runs is remembered and
// carried out once the handler has returned.
class MainWindow : public QWidget, public Dispatcher {
    Q_OBJECT
  public:
    explicit MainWindow(TForm1& form);
    ~MainWindow() override;

    void dispatch(const std::function<void()>& action) override;
    void progressMoved() override;
    void focusOrderChanged() override;
    bool busy() const { return busy_ > 0; }

    // The widget that shows the named control, or null.
    QWidget* widgetFor(const std::string& name) const;
    QWidget* widgetFor(const ui::Control& control) const;

    // Puts the window at its stored place, or onto the screen when that place does not fit.
    void placeOnScreen();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Keeps the top-level window in step with the layer's window control.
    void updateWindow(ui::Property property);

    TForm1& form_;
    std::map<const ui::Control*, ControlView*> views_;
    int busy_ = 0;
    bool closeRequested_ = false;
    bool shown_ = false;
    bool built_ = false;
    QElapsedTimer sincePaint_;
};

}  // namespace varn::desktop
