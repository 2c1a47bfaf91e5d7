#pragma once

#include <QMessageBox>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "ui/control.h"

// Pure conversions between the control layer's conventions and the toolkit's, kept apart so they
// can be checked without a display.
namespace varn::desktop {

// "Desc|pattern|Desc|pattern" -> "Desc (pattern);;Desc (pattern)". A description that already
// ends in a parenthesised pattern keeps it once.
QString FilterToQt(const std::string& filter);
// The first entry of the converted filter: the one selected when a dialog opens.
QString FirstQtFilter(const std::string& filter);

// The icon of a message box by the icon bits of its flags.
QMessageBox::Icon IconForFlags(unsigned flags);

// The layer's horizontal alignment.
Qt::Alignment ToQtAlignment(ui::Alignment alignment);
// The layer's pointer shape; nothing for the arrow, which leaves each widget its own (a text
// field's I-beam).
std::optional<Qt::CursorShape> ToQtCursor(ui::Cursor cursor);

// A bar's 64-bit range shown on the toolkit's int range: above 65535 everything is scaled to
// 0..65535, otherwise shown as it is.
inline constexpr std::int64_t kWidgetProgressLimit = 65535;
int ScaledProgressMax(std::int64_t min, std::int64_t max);
int ScaledProgressPosition(std::int64_t min, std::int64_t max, std::int64_t position);

// Memo texts: only the layer's CR LF is a line break (LF in the widget); every other control
// character but TAB (a lone CR or LF, NUL, DEL...) shows as its symbol from the Control Pictures
// block (U+2400 + code, DEL U+2421), so the layer's text comes back byte for byte.
QString LayerTextToWidget(const std::string& text);
// The inverse: LF, the document's paragraph and line separators become CR LF, control pictures
// their control characters.
std::string WidgetTextToLayer(const QString& text);

// Caret positions: the widget counts UTF-16 units with one unit per line break, the layer counts
// characters with CR LF as two.
std::size_t LayerCaretIndex(const std::string& layerText, int widgetPosition);
int WidgetCaretPosition(const std::string& layerText, std::size_t layerIndex);

// The locale's decimal point when it is a single ASCII character.
std::optional<char> AsciiDecimalSeparator(const QString& decimalPoint);

// Where a window of the frame size goes: the wanted place when it fits the available area,
// otherwise moved the least distance into it (top-left kept visible when it is too big).
QPoint PlaceOnScreen(QPoint wanted, QSize frameSize, QRect available);

}  // namespace varn::desktop
