#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace varn::desktop {

// Keeps the user's input from a window while a handler runs on its own thread, so that no other
// handler can start meanwhile. Boxes and dialogs the handler shows are windows of their own and
// take input as usual; painting goes on.
class InputBlocker : public QObject {
    Q_OBJECT
  public:
    explicit InputBlocker(QWidget* window) : window_(window) {}
    void setActive(bool active);
    bool active() const { return active_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    bool active_ = false;
};

}  // namespace varn::desktop
