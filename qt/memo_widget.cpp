#include "qt/memo_widget.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTextDocument>

#include "qt/conversions.h"
#include "qt/fonts.h"

namespace varn::desktop {

MemoWidget::MemoWidget(ui::Memo& memo, QWidget* parent, Dispatcher& dispatcher)
    : ControlWidget(memo, parent, dispatcher), memo_(memo) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { typed(); });
}

void MemoWidget::applyStyle() {
    setVerticalScrollBarPolicy(memo_.verticalScrollBar() ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
    setLineWrapMode(memo_.wordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    if (memo_.flatBorder()) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }
    setTabStopDistance(TextBoxTabStop(font(), memo_.tabStopWidth()));
}

std::string MemoWidget::layerText() const {
    return WidgetTextToLayer(document()->toRawText());
}

void MemoWidget::updateOwn(ui::Property property) {
    switch (property) {
        case ui::Property::Text:
            if (layerText() != memo_.text()) {
                const QSignalBlocker blocker(this);
                setPlainText(LayerTextToWidget(memo_.text()));
            }
            break;
        case ui::Property::ReadOnly:
            setReadOnly(memo_.readOnly());
            break;
        case ui::Property::Font:
            setTabStopDistance(TextBoxTabStop(font(), memo_.tabStopWidth()));
            break;
        case ui::Property::Bounds:
            // Small cells such as the result table's headings hold one line in 17 pixels.
            document()->setDocumentMargin(memo_.bounds().height < 30 ? 0 : 2);
            break;
        case ui::Property::Alignment: {
            QTextOption option = document()->defaultTextOption();
            option.setAlignment(ToQtAlignment(memo_.alignment()));
            document()->setDefaultTextOption(option);
            break;
        }
        case ui::Property::Style:
            applyStyle();
            break;
        case ui::Property::Caret: {
            const int position = WidgetCaretPosition(memo_.text(), memo_.selStart());
            if (textCursor().position() != position) {
                QTextCursor cursor = textCursor();
                cursor.setPosition(position);
                const QSignalBlocker blocker(this);
                setTextCursor(cursor);
            }
            break;
        }
        default:
            break;
    }
}

void MemoWidget::typed() {
    std::string text = layerText();
    if (text == memo_.text()) return;
    // By value: the handler's thread may start after this call has returned.
    dispatcher_.dispatch([this, text = std::move(text)] { memo_.setText(text); });
}

void MemoWidget::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const std::size_t caret = LayerCaretIndex(memo_.text(), textCursor().position());
    dispatcher_.dispatch([this, caret] {
        memo_.setSelStart(caret);
        memo_.click();
    });
}

void MemoWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    if (!memo_.contextActions.empty()) menu->addSeparator();
    for (std::size_t i = 0; i < memo_.contextActions.size(); ++i) {
        QAction* action =
            menu->addAction(QString::fromStdString(memo_.contextActions[i].caption()));
        // Run once the menu has finished with the click and closed: a handler must never run
        // inside the menu's own event handling, which the menu may not survive.
        connect(
            action, &QAction::triggered, this,
            [this, i] { dispatcher_.dispatch([this, i] { memo_.contextActions[i].trigger(); }); },
            Qt::QueuedConnection);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace varn::desktop
