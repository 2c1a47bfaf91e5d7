#include "qt/edit_widget.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/cp1251.h"

namespace varn::desktop {

bool ExceedsTypingLimit(const QString& before, const QString& after, int maxLength) {
    if (maxLength <= 0) return false;
    const auto length = [](const QString& s) { return s.toUcs4().size(); };
    const auto grown = length(after);
    return grown > maxLength && grown > length(before);
}

EditWidget::EditWidget(ui::Edit& edit, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(edit, parent, dispatcher), edit_(edit) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { edited(text); });
}

void EditWidget::updateOwn(ui::Property property) {
    switch (property) {
        case ui::Property::Text:
            showLayerText();
            break;
        case ui::Property::ReadOnly:
            setReadOnly(edit_.readOnly());
            break;
        case ui::Property::Style:
            showPasswordChar();
            break;
        default:
            break;
    }
}

void EditWidget::showPasswordChar() {
    const auto mask = static_cast<unsigned char>(edit_.passwordChar());
    setEchoMode(mask != 0 ? QLineEdit::Password : QLineEdit::Normal);
    // Each hidden character shows as the layer's mask character, not the style's bullet.
    setStyleSheet(mask != 0 ? QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                  .arg(static_cast<int>(ui::Cp1251ToUnicode(mask)))
                            : QString());
    takeMaskFromStyle();
}

void EditWidget::takeMaskFromStyle() {
    // The field reads its mask character from the style only when told that the style changed.
    QEvent styleChanged(QEvent::StyleChange);
    QCoreApplication::sendEvent(this, &styleChanged);
}

void EditWidget::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    // Polishing for the first show puts the toolkit's own mask (a bullet) back.
    if (edit_.passwordChar() != 0) takeMaskFromStyle();
}

void EditWidget::showLayerText() {
    const QString text = QString::fromStdString(edit_.text());
    accepted_ = text;
    if (this->text() == text) return;
    const QSignalBlocker blocker(this);
    setText(text);
}

void EditWidget::edited(const QString& text) {
    if (ExceedsTypingLimit(accepted_, text, edit_.maxLength())) {
        const int caret = cursorPosition() - static_cast<int>(text.size() - accepted_.size());
        const QSignalBlocker blocker(this);
        setText(accepted_);
        setCursorPosition(std::max(0, caret));
        return;
    }
    accepted_ = text;
    // By value: the handler's thread may start after this call has returned.
    dispatcher_.dispatch([this, layer = text.toStdString()] { edit_.setText(layer); });
}

}  // namespace varn::desktop
