#include "qt/fonts.h"

#include <QStringList>
#include <cmath>

namespace varn::desktop {

namespace {

constexpr int kFontStretch = 90;

}  // namespace

void InstallFontSubstitutes() {
    const QStringList sans{"DejaVu Sans", "Liberation Sans", "Noto Sans", "FreeSans"};
    const QStringList mono{"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "FreeMono"};
    QFont::insertSubstitutions("MS Sans Serif", sans);
    QFont::insertSubstitutions("Comic Sans MS", sans);
    QFont::insertSubstitutions("Arial", sans);
    QFont::insertSubstitutions("Lucida Console", mono);
}

QFont ToQFont(const ui::Font& font) {
    QFont result(QString::fromStdString(font.family));
    if (font.family == "Lucida Console") result.setStyleHint(QFont::Monospace);
    result.setPixelSize(static_cast<int>(std::lround(font.points * 96.0 / 72.0)));
    result.setUnderline(font.underline);
    // The fallback fonts run wider than the classic ones the bounds were made for.
    result.setStretch(kFontStretch);
    return result;
}

QColor ToQColor(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace varn::desktop
