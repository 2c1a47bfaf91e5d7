#include "qt/conversions.h"

#include <algorithm>

#include "ui/platform.h"

namespace varn::desktop {

namespace {

QString QtEntry(const QString& description, QString pattern) {
    pattern.replace(';', ' ');
    QString text = description.trimmed();
    // Descriptions such as "Text (*.txt)" already name their pattern.
    if (text.endsWith(')')) {
        const qsizetype open = text.lastIndexOf('(');
        if (open >= 0) text = text.left(open).trimmed();
    }
    if (text.isEmpty()) return pattern;
    return text + " (" + pattern + ")";
}

// Control characters other than TAB are shown by their pictures from the Control Pictures block
// (U+2400 + code, DEL as U+2421), so that a text box shows and gives back exactly its bytes: only
// CR LF is a line break.
constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;

QChar ControlPicture(unsigned char control) {
    return QChar(control == 0x7F ? kDeletePicture
                                 : static_cast<char16_t>(kControlPictures + control));
}

std::optional<unsigned char> ControlOfPicture(char16_t c) {
    if (c == kDeletePicture) return 0x7F;
    if (c >= kControlPictures && c < kControlPictures + 0x20 && c != kControlPictures + '\t')
        return static_cast<unsigned char>(c - kControlPictures);
    return std::nullopt;
}

QStringList QtEntries(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries << QtEntry(parts[i], parts[i + 1]);
    // A description without a pattern still names something to choose.
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) entries << QtEntry(parts.back(), "*");
    return entries;
}

// Length of the UTF-8 sequence that starts with this byte (1 for stray bytes).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Walks the layer text one character at a time: calls step(layerChars, widgetUnits) with the
// counts of the character that starts here; stops when step returns false.
template <typename Step>
void WalkLayerText(const std::string& text, Step step) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t bytes = 1;
        std::size_t layerChars = 1;
        int widgetUnits = 1;
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            bytes = 2;
            layerChars = 2;
        } else if (byte >= 0x80) {
            bytes = std::min(Utf8Length(byte), text.size() - i);
            widgetUnits = bytes == 4 ? 2 : 1;
        }
        if (!step(layerChars, widgetUnits)) return;
        i += bytes;
    }
}

}  // namespace

QString FilterToQt(const std::string& filter) {
    return QtEntries(filter).join(";;");
}

QString FirstQtFilter(const std::string& filter) {
    const QStringList entries = QtEntries(filter);
    return entries.isEmpty() ? QString() : entries.front();
}

QMessageBox::Icon IconForFlags(unsigned flags) {
    switch (flags & ui::kIconMask) {
        case ui::MB_ICONSTOP:
            return QMessageBox::Critical;
        case ui::MB_ICONQUESTION:
            return QMessageBox::Question;
        case ui::MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

Qt::Alignment ToQtAlignment(ui::Alignment alignment) {
    switch (alignment) {
        case ui::Alignment::Center:
            return Qt::AlignHCenter;
        case ui::Alignment::Right:
            return Qt::AlignRight;
        case ui::Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

std::optional<Qt::CursorShape> ToQtCursor(ui::Cursor cursor) {
    if (cursor == ui::Cursor::Cross) return Qt::CrossCursor;
    return std::nullopt;
}

int ScaledProgressMax(std::int64_t min, std::int64_t max) {
    const std::int64_t span = max - min;
    if (span <= 0) return 0;
    return static_cast<int>(std::min(span, kWidgetProgressLimit));
}

int ScaledProgressPosition(std::int64_t min, std::int64_t max, std::int64_t position) {
    const std::int64_t span = max - min;
    if (span <= 0) return 0;
    const std::int64_t offset = std::clamp(position, min, max) - min;
    if (span <= kWidgetProgressLimit) return static_cast<int>(offset);
    const auto scaled = static_cast<__int128>(offset) * kWidgetProgressLimit / span;
    return static_cast<int>(scaled);
}

QString LayerTextToWidget(const std::string& text) {
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    std::size_t plainStart = 0;
    const auto flushPlain = [&](std::size_t end) {
        shown +=
            QString::fromUtf8(text.data() + plainStart, static_cast<qsizetype>(end - plainStart));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool control = (byte < 0x20 && byte != '\t') || byte == 0x7F;
        if (!control) continue;
        flushPlain(i);
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            shown += QChar('\n');
            ++i;
        } else {
            shown += ControlPicture(byte);
        }
        plainStart = i + 1;
    }
    flushPlain(text.size());
    return shown;
}

std::string WidgetTextToLayer(const QString& text) {
    std::string layer;
    layer.reserve(static_cast<std::size_t>(text.size()) + 16);
    qsizetype plainStart = 0;
    const auto flushPlain = [&](qsizetype end) {
        layer += QStringView(text).mid(plainStart, end - plainStart).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool lineBreak =
            c == '\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
        const std::optional<unsigned char> control = ControlOfPicture(c);
        if (!lineBreak && !control) continue;
        flushPlain(i);
        if (lineBreak) {
            layer += "\r\n";
        } else {
            layer += static_cast<char>(*control);
        }
        plainStart = i + 1;
    }
    flushPlain(text.size());
    return layer;
}

std::size_t LayerCaretIndex(const std::string& layerText, int widgetPosition) {
    std::size_t layer = 0;
    int widget = 0;
    WalkLayerText(layerText, [&](std::size_t layerChars, int widgetUnits) {
        if (widget + widgetUnits > widgetPosition) return false;
        widget += widgetUnits;
        layer += layerChars;
        return true;
    });
    return layer;
}

int WidgetCaretPosition(const std::string& layerText, std::size_t layerIndex) {
    std::size_t layer = 0;
    int widget = 0;
    WalkLayerText(layerText, [&](std::size_t layerChars, int widgetUnits) {
        if (layer + layerChars > layerIndex) return false;
        widget += widgetUnits;
        layer += layerChars;
        return true;
    });
    return widget;
}

std::optional<char> AsciiDecimalSeparator(const QString& decimalPoint) {
    if (decimalPoint.size() != 1) return std::nullopt;
    const char16_t c = decimalPoint.front().unicode();
    if (c == 0 || c >= 0x80) return std::nullopt;
    return static_cast<char>(c);
}

QPoint PlaceOnScreen(QPoint wanted, QSize frameSize, QRect available) {
    const int right = available.left() + available.width() - frameSize.width();
    const int bottom = available.top() + available.height() - frameSize.height();
    const int x = std::max(available.left(), std::min(wanted.x(), right));
    const int y = std::max(available.top(), std::min(wanted.y(), bottom));
    return {x, y};
}

}  // namespace varn::desktop
