#pragma once

#include <QColor>
#include <QFont>
#include <cstddef>
#include <cstdint>

#include "ui/control.h"

namespace varn::desktop {

// The window names classic desktop fonts; they fall back to fonts that have Cyrillic glyphs.
void InstallFontSubstitutes();

// The layer's point sizes are at 96 pixels per inch; pixel sizes keep texts within the fixed
// bounds of the controls whatever the screen reports.
QFont ToQFont(const ui::Font& font);

QColor ToQColor(std::uint32_t rgb);

// The tab stops of a text box: every `characters` average character widths of its font; the
// usual eight are 32 dialog units, as the classic text boxes the layout was made for have them.
qreal TextBoxTabStop(const QFont& font, std::size_t characters = 8);

}  // namespace varn::desktop
