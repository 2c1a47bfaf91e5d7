#pragma once

#include <QPlainTextEdit>
#include <string>

#include "qt/control_view.h"
#include "ui/memo.h"

namespace varn::desktop {

// A multi-line text box. Typing updates the layer's text (LF made CR LF); a click first moves the
// layer's caret to where the widget's caret is, then raises the layer's click.
class MemoWidget : public ControlWidget<QPlainTextEdit> {
    Q_OBJECT
  public:
    MemoWidget(ui::Memo& memo, QWidget* parent, Dispatcher& dispatcher);

  protected:
    void updateOwn(ui::Property property) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The toolkit's editing menu, then the layer's own entries.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Scroll bar, wrapping and border as the layer says.
    void applyStyle();
    // The widget's text in the layer's form.
    std::string layerText() const;
    void typed();

    ui::Memo& memo_;
};

}  // namespace varn::desktop
