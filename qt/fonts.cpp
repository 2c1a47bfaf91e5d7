#include "qt/fonts.h"

#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

namespace varn::desktop {

namespace {

constexpr int kFontStretch = 90;

}  // namespace

void InstallFontSubstitutes() {
    // Arial's metrics first: its digits are as narrow beside its letters as those of the classic
    // faces, so the result table's numbers stay between their tab stops.
    const QStringList sans{"Liberation Sans", "DejaVu Sans", "Noto Sans", "FreeSans"};
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
    result.setStretch(kFontStretch * font.stretch / 100);
    return result;
}

qreal TextBoxTabStop(const QFont& font, std::size_t characters) {
    // The dialog's horizontal base unit: the average width of the 52 Latin letters, rounded as
    // the classic dialogs round it; 32 dialog units are eight of them.
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int width = static_cast<int>(std::lround(QFontMetricsF(font).horizontalAdvance(letters)));
    const int baseUnit = (width / 26 + 1) / 2;
    return static_cast<qreal>(characters * static_cast<std::size_t>(baseUnit));
}

QColor ToQColor(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace varn::desktop
