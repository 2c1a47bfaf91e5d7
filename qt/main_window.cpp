#include "qt/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include "qt/conversions.h"
#include "qt/fonts.h"
#include "qt/pictures.h"
#include "qt/widget_factory.h"

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

// At most this often a long handler lets the bars repaint.
constexpr qint64 kPaintIntervalMs = 50;

}  // namespace

MainWindow::MainWindow(TForm1& form) : QWidget(nullptr), form_(form) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setStyleSheet(kStyleSheet);
    for (const ui::Property property :
         {ui::Property::Style, ui::Property::Text, ui::Property::Font}) {
        updateWindow(property);
    }
    form.Form1.setListener([this](ui::Control&, ui::Property property) { updateWindow(property); });
    for (ui::Control* child : form.Form1.children()) {
        CreateControlWidgets(*child, this, *this, views_);
    }
    built_ = true;
    ApplyTabOrder(form.Form1, views_);
    sincePaint_.start();
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
    // The form may outlive its widgets.
    form_.Form1.setListener(nullptr);
    for (const auto& [control, view] : views_)
        const_cast<ui::Control*>(control)->setListener(nullptr);
}

void MainWindow::dispatch(const std::function<void()>& action) {
    ++busy_;
    form_.dispatch(action);
    --busy_;
    if (busy_ == 0 && closeRequested_) {
        closeRequested_ = false;
        close();
    }
}

void MainWindow::progressMoved() {
    if (busy_ == 0 || sincePaint_.elapsed() < kPaintIntervalMs) return;
    // Paint only: the user's input waits in the queue until the handler has returned.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePaint_.restart();
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
    if (busy_ > 0) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace varn::desktop
