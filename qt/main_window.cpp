#include "qt/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "io/cancellation.h"
#include "qt/conversions.h"
#include "qt/fonts.h"
#include "qt/pictures.h"
#include "qt/progress_bar_widget.h"
#include "qt/widget_factory.h"
#include "qt/window_thread.h"

namespace varn::desktop {

namespace {

// Narrow tabs, so that all eight stand in one row across the window; frames whose line runs
// through the middle of their caption, as the layout's bounds expect.
constexpr const char* kStyleSheet =
    "QTabBar::tab { padding: 2px 5px 3px 5px; margin-top: 2px; border: 1px solid palette(mid);"
    " border-bottom: none; border-top-left-radius: 2px; border-top-right-radius: 2px;"
    " background: palette(button); }"
    "QTabBar::tab:selected { margin-top: 0px; padding-bottom: 5px; background: palette(window); }"
    "QGroupBox { border: 2px groove palette(mid); margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; }";

}  // namespace

MainWindow::MainWindow(TForm1& form)
    : QWidget(nullptr),
      form_(form),
      handoff_(WindowThreadHandoff()),
      handlers_(handoff_),
      inputBlocker_(this),
      progress_(this, [] { io::RequestCancel(); }) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setStyleSheet(kStyleSheet);
    for (const ui::Property property :
         {ui::Property::Style, ui::Property::Text, ui::Property::Font}) {
        updateWindow(property);
    }
    form.Form1.setListener([this](ui::Control&, ui::Property property) {
        handoff_.Run([this, property] { updateWindow(property); });
    });
    for (ui::Control* child : form.Form1.children()) {
        CreateControlWidgets(*child, this, *this, views_);
    }
    built_ = true;
    ApplyTabOrder(form.Form1, views_);
    progressTimer_.setSingleShot(true);
    connect(&progressTimer_, &QTimer::timeout, this, [this] { progress_.start(russian_); });
}

void MainWindow::updateWindow(ui::Property property) {
    const ui::Window& window = form_.Form1;
    switch (property) {
        case ui::Property::Text:
            setWindowTitle(QString::fromStdString(window.text()));
            break;
        case ui::Property::Font:
            setFont(ToQFont(window.font()));
            break;
        case ui::Property::Style:
            if (window.resizable()) {
                setMinimumSize(0, 0);
                setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                resize(window.clientWidth(), window.clientHeight());
            } else {
                setFixedSize(window.clientWidth(), window.clientHeight());
            }
            setWindowIcon(WindowIcon());
            break;
        default:
            break;
    }
}

void MainWindow::focusOrderChanged() {
    // While the widgets are being made the order is applied once at the end.
    if (built_) ApplyTabOrder(form_.Form1, views_);
}

MainWindow::~MainWindow() {
    // A handler still running may wait for this thread.
    if (busy_) handoff_.RunPendingUntil([this] { return !busy_; }, std::chrono::hours(24));
    progressTimer_.stop();
    inputBlocker_.setActive(false);
    // The form may outlive its widgets.
    form_.Form1.setListener(nullptr);
    for (const auto& [control, view] : views_)
        const_cast<ui::Control*>(control)->setListener(nullptr);
}

void MainWindow::dispatch(const std::function<void()>& action) {
    if (busy_) {
        // A widget's own signal while it shows a change the handler waits for; any other action
        // waits until the handler has ended, as the window's input does.
        if (handoff_.RunningHandedCall()) form_.dispatch(action);
        return;
    }
    busy_ = true;
    // Read here: the form is the handler's until it has ended.
    russian_ = form_.russian();
    io::ClearCancel();
    followed_ = nullptr;
    progress_.follow(nullptr);
    const bool ended = handlers_.Start([this, action] { form_.dispatch(action); }, patience_,
                                       [this] { endHandler(); });
    if (ended) {
        endHandler();
        return;
    }
    inputBlocker_.setActive(true);
    progressTimer_.start(progressDelay_);
}

void MainWindow::dialogOpening() {
    progressTimer_.stop();
    progress_.finish();
}

void MainWindow::dialogClosed() {
    if (busy_) progressTimer_.start(progressDelay_);
}

void MainWindow::endHandler() {
    progressTimer_.stop();
    progress_.finish();
    inputBlocker_.setActive(false);
    busy_ = false;
    emit handlerEnded();
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
}

void MainWindow::showChange(ControlView& view, ui::Property property) {
    if (handoff_.OnWindowThread()) {
        view.update(property);
        return;
    }
    if (property == ui::Property::Position) {
        // A bar moves once per buffer: the pass does not wait for the window to show it.
        if (auto* bar = dynamic_cast<ProgressBarWidget*>(&view)) {
            bar->showPositionLater(handoff_);
            const QProgressBar* none = nullptr;
            if (followed_.compare_exchange_strong(none, bar)) {
                handoff_.Post([this, bar] {
                    if (followed_ == bar) progress_.follow(bar);
                });
            }
            return;
        }
    }
    handoff_.Run([&view, property] { view.update(property); });
}

QWidget* MainWindow::widgetFor(const ui::Control& control) const {
    const auto it = views_.find(&control);
    return it == views_.end() ? nullptr : it->second->widget();
}

QWidget* MainWindow::widgetFor(const std::string& name) const {
    const ui::Control* control = form_.findControl(name);
    return control ? widgetFor(*control) : nullptr;
}

void MainWindow::placeOnScreen() {
    const ui::Bounds& stored = form_.Form1.bounds();
    const QPoint wanted(stored.left, stored.top);
    QScreen* screen = QGuiApplication::screenAt(wanted);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        move(wanted);
        return;
    }
    // Before the first show the frame is not known yet; allow for a usual title bar and border.
    QSize frame = frameGeometry().size();
    if (frame == size()) frame += QSize(2 * 4, 30 + 4);
    move(PlaceOnScreen(wanted, frame, screen->availableGeometry()));
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    dispatch([this] { form_.FormShow(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (busy_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace varn::desktop
