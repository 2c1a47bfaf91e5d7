#include "qt/progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varn::desktop {

ProgressWindow::ProgressWindow(QWidget* parent, std::function<void()> cancel)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      cancel_(std::move(cancel)) {
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    layout->addWidget(label_);
    bar_ = new QProgressBar(this);
    follow(nullptr);
    layout->addWidget(bar_);
    cancelButton_ = new QPushButton(this);
    layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::reject);
}

void ProgressWindow::start(bool russian) {
    russian_ = russian;
    cancelling_ = false;
    setWindowTitle(russian ? "Подождите" : "Please wait");
    label_->setText(russian ? "Идёт операция над файлом..." : "The file operation is running...");
    cancelButton_->setText(russian ? "Отмена" : "Cancel");
    cancelButton_->setEnabled(true);
    adjustSize();
    if (parentWidget()) {
        const QRect owner = parentWidget()->geometry();
        move(owner.center() - rect().center());
    }
    show();
}

void ProgressWindow::finish() {
    hide();
}

void ProgressWindow::follow(const QProgressBar* bar) {
    disconnect(following_);
    if (bar == nullptr) {
        bar_->setRange(0, 0);
        bar_->setTextVisible(false);
        return;
    }
    const auto mirror = [this, bar] {
        bar_->setRange(bar->minimum(), bar->maximum());
        bar_->setValue(bar->value());
        bar_->setTextVisible(bar->maximum() > bar->minimum());
    };
    mirror();
    following_ = connect(bar, &QProgressBar::valueChanged, this, mirror);
}

void ProgressWindow::reject() {
    // Stays up until the operation has stopped: the pass ends at its next buffer.
    if (cancelling_) return;
    cancelling_ = true;
    label_->setText(russian_ ? "Операция отменяется..." : "Cancelling the operation...");
    cancelButton_->setEnabled(false);
    if (cancel_) cancel_();
}

}  // namespace varn::desktop
