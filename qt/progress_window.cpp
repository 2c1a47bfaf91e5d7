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
    auto* bar = new QProgressBar(this);
    // The pass's own bar, where its tab has one, shows how far it is; this one shows it runs.
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    layout->addWidget(bar);
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

void ProgressWindow::reject() {
    // Stays up until the operation has stopped: the pass ends at its next buffer.
    if (cancelling_) return;
    cancelling_ = true;
    label_->setText(russian_ ? "Операция отменяется..." : "Cancelling the operation...");
    cancelButton_->setEnabled(false);
    if (cancel_) cancel_();
}

}  // namespace varn::desktop
