#pragma once

#include <QLineEdit>

#include "qt/control_view.h"
#include "ui/edit.h"

namespace varn::desktop {

// A single-line field. The layer's length limit refuses typing beyond it, but a handler may set
// a longer text, so the toolkit's own limit (which truncates any text) is not used.
class EditWidget : public ControlWidget<QLineEdit> {
    Q_OBJECT
  public:
    EditWidget(ui::Edit& edit, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void showEvent(QShowEvent* event) override;

  private:
    void edited(const QString& text);
    void showLayerText();
    void showPasswordChar();
    void takeMaskFromStyle();

    ui::Edit& edit_;
    QString accepted_;  // the text before the user's last edit
};

// Whether an edit by the user that turns `before` into `after` goes beyond the typing limit
// (0: none). Shortening an over-long text stays allowed.
bool ExceedsTypingLimit(const QString& before, const QString& after, int maxLength);

}  // namespace varn::desktop
