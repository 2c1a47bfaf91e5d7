#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "ui/control.h"

namespace varn::desktop {

class ControlView;

// What the widgets need of the window: run a user's action through the form's error guard, and
// bring a control's change to its widget on the window's thread, whichever thread made it.
class Dispatcher {
  public:
    virtual ~Dispatcher() = default;
    virtual void dispatch(const std::function<void()>& action) = 0;
    virtual void showChange(ControlView& view, ui::Property property) = 0;
    // A control's place in the focus order, or whether it has one, changed.
    virtual void focusOrderChanged() = 0;
};

// Keeps one widget in step with one control of the layer. The common properties are handled
// here; each kind of widget adds its own.
class ControlView {
  public:
    ControlView(ui::Control& control, Dispatcher& dispatcher)
        : control_(control), dispatcher_(dispatcher) {}
    virtual ~ControlView() = default;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    virtual QWidget* widget() = 0;

    // Called by the control's listener.
    void update(ui::Property property);
    // Brings every property over once, after the widget is created.
    void updateAll();

  protected:
    // The kind's own properties (text, checked, range...). The default ignores them.
    virtual void updateOwn(ui::Property property) { (void)property; }
    // Font colour and background colour of the control.
    virtual void applyColors();

    ui::Control& control_;
    Dispatcher& dispatcher_;

  private:
    // Whether the widget takes the focus by tabbing, as the layer's tab stop says.
    void applyTabStop();

    std::optional<Qt::FocusPolicy> ownFocusPolicy_;  // the widget's policy as a tab stop
};

// A widget of the toolkit's kind `Base` that is its own view.
template <typename Base>
class ControlWidget : public Base, public ControlView {
  public:
    ControlWidget(ui::Control& control, QWidget* parent, Dispatcher& dispatcher)
        : Base(parent), ControlView(control, dispatcher) {}
    QWidget* widget() override { return this; }
};

}  // namespace varn::desktop
