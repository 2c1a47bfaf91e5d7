#include "qt/input_blocker.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

namespace varn::desktop {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

void InputBlocker::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        QApplication::instance()->installEventFilter(this);
    } else {
        QApplication::instance()->removeEventFilter(this);
    }
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type()) || !window_) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        // The top-level window's own surface.
        auto* surface = qobject_cast<QWindow*>(watched);
        return surface != nullptr && window_->windowHandle() == surface;
    }
    return widget->window() == window_;
}

}  // namespace varn::desktop
