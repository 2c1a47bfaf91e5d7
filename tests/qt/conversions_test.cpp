#include "qt/conversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "qt/edit_widget.h"
#include "tests/qt/message_box_icons.h"

using namespace varn::desktop;

namespace {

TEST(FilterConversion, BecomesToolkitFilter) {
    const struct {
        const char* layer;
        const char* qt;
    } cases[] = {
        // The window's own filter: descriptions already name their pattern, once.
        {"Текст (*.txt)|*.txt|MS Word (*.doc)|*.doc|Архив ZIP (*.zip)|*.zip|"
         "Архив RAR (*.rar)|*.rar|SFX-архив (*.exe)|*.exe|ENC-файл (*.enc)|*.enc|"
         "Все файлы (*.*)|*.*",
         "Текст (*.txt);;MS Word (*.doc);;Архив ZIP (*.zip);;Архив RAR (*.rar);;"
         "SFX-архив (*.exe);;ENC-файл (*.enc);;Все файлы (*.*)"},
        {"Text|*.txt", "Text (*.txt)"},
        {"Documents|*.doc;*.rtf", "Documents (*.doc *.rtf)"},
        // A description naming another pattern than it filters shows the real one.
        {"Old (*.bak)|*.old", "Old (*.old)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterToQt(c.layer).toStdString(), c.qt) << c.layer;
}

TEST(FilterConversion, FirstEntryIsTheSelectedOne) {
    EXPECT_EQ(FirstQtFilter("Текст (*.txt)|*.txt|Все файлы (*.*)|*.*").toStdString(),
              "Текст (*.txt)");
    EXPECT_TRUE(FirstQtFilter("").isEmpty());
}

TEST(MessageBoxIcon, FollowsTheIconBitsOnly) {
    const FlagsIcon otherBitsSet[] = {
        {ui::MB_ICONSTOP | 0x1, QMessageBox::Critical},
        {ui::MB_ICONEXCLAMATION | 0x100, QMessageBox::Warning},
        {0x07, QMessageBox::NoIcon},
    };
    for (const auto& c : kIconsByFlags) EXPECT_EQ(IconForFlags(c.flags), c.icon) << c.flags;
    for (const auto& c : otherBitsSet) EXPECT_EQ(IconForFlags(c.flags), c.icon) << c.flags;
}

TEST(ProgressScaling, SmallRangesShowAsTheyAreLargeOnesScaleToTheWidgetLimit) {
    constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t max;
        std::int64_t position;
        int widgetMax;
        int widgetPosition;
    } cases[] = {
        {100, 0, 100, 0},
        {100, 37, 100, 37},
        {65535, 65535, 65535, 65535},
        {65536, 65536, 65535, 65535},
        {65536, 32768, 65535, 32767},
        {131070, 1, 65535, 0},
        {131070, 2, 65535, 1},
        {10'000'000'000, 5'000'000'000, 65535, 32767},
        {kHuge, kHuge, 65535, 65535},
        {kHuge, kHuge / 2, 65535, 32767},
        {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaledProgressMax(0, c.max), c.widgetMax) << c.max;
        EXPECT_EQ(ScaledProgressPosition(0, c.max, c.position), c.widgetPosition)
            << c.max << " " << c.position;
    }
}

TEST(ProgressScaling, PositionOutsideTheRangeIsClamped) {
    EXPECT_EQ(ScaledProgressPosition(0, 100, 150), 100);
    EXPECT_EQ(ScaledProgressPosition(0, 100, -5), 0);
}

TEST(MemoText, OnlyCrLfBreaksALineOtherControlsShowAsPictures) {
    const struct {
        std::string layer;
        QString widget;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"a\r\nb", "a\nb"},
        {"a\r\n", "a\n"},
        {"\r\n\r\n", "\n\n"},
        {"эталон\r\nяб", QString::fromUtf8("эталон\nяб")},
        // A lone CR or LF is a character of the line, not a break.
        {"a\rb", QString::fromUtf8("a␍b")},
        {"a\nb", QString::fromUtf8("a␊b")},
        // What "All" puts into a standard from a text with CR LF line ends: LF before CR.
        {"ab\n\r", QString::fromUtf8("ab␊␍")},
        {"\r\r\n\n", QString::fromUtf8("␍\n␊")},
        {std::string("x\0y", 3), QString::fromUtf8("x␀y")},
        {"\x01\x1b\x1f\x7f", QString::fromUtf8("␁␛␟␡")},
        // TAB stays a TAB: the result table's columns stand on it.
        {"1\t 2 %\t\ta", "1\t 2 %\t\ta"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayerTextToWidget(c.layer), c.widget) << c.layer;
        EXPECT_EQ(WidgetTextToLayer(c.widget), c.layer) << c.layer;
    }
}

TEST(MemoText, WidgetLineBreaksBecomeCrLf) {
    EXPECT_EQ(WidgetTextToLayer("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(WidgetTextToLayer(QString("a") + QChar::ParagraphSeparator + "b"), "a\r\nb");
    // Shift+Enter in the widget starts a new line too.
    EXPECT_EQ(WidgetTextToLayer(QString("a") + QChar::LineSeparator + "b"), "a\r\nb");
    EXPECT_EQ(WidgetTextToLayer(QString::fromUtf8("я\nё")), "я\r\nё");
    // A no-break space is a character of its own, not a blank.
    EXPECT_EQ(WidgetTextToLayer(QString(QChar(0xA0))), "\u00A0");
}

TEST(CaretMapping, CrLfCountsTwiceInTheLayerOnceInTheWidget) {
    const struct {
        std::string layer;
        int widget;
        std::size_t index;
    } cases[] = {
        {"ab\r\ncd", 0, 0},
        {"ab\r\ncd", 2, 2},
        {"ab\r\ncd", 3, 4},
        {"ab\r\ncd", 5, 6},
        {"я\r\nб", 1, 1},
        {"я\r\nб", 2, 3},
        {"\r\n\r\nx", 2, 4},
        {"\r\n\r\nx", 3, 5},
        {"", 0, 0},
        // A lone CR or LF is one character on both sides.
        {"a\rb\r\nc", 2, 2},
        {"a\rb\r\nc", 4, 5},
        {"\n\r\r\nx", 3, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayerCaretIndex(c.layer, c.widget), c.index) << c.layer << " @" << c.widget;
        EXPECT_EQ(WidgetCaretPosition(c.layer, c.index), c.widget) << c.layer << " @" << c.index;
    }
}

TEST(CaretMapping, PositionsBeyondTheTextStopAtItsEnd) {
    EXPECT_EQ(LayerCaretIndex("ab\r\n", 10), 4u);
    EXPECT_EQ(WidgetCaretPosition("ab\r\n", 10), 3);
    // Inside a CR LF pair the caret belongs before it.
    EXPECT_EQ(WidgetCaretPosition("ab\r\ncd", 3), 2);
}

TEST(DecimalSeparator, OnlyASingleAsciiCharacterIsTaken) {
    EXPECT_EQ(AsciiDecimalSeparator("."), '.');
    EXPECT_EQ(AsciiDecimalSeparator(","), ',');
    EXPECT_EQ(AsciiDecimalSeparator(QString(QChar(0x066B))), std::nullopt);
    EXPECT_EQ(AsciiDecimalSeparator(""), std::nullopt);
    EXPECT_EQ(AsciiDecimalSeparator(".."), std::nullopt);
}

TEST(WindowPlacement, StoredPlaceWhenItFitsOtherwiseOntoTheScreen) {
    const QSize frame(426, 376);
    EXPECT_EQ(PlaceOnScreen({1075, 221}, frame, QRect(0, 0, 1600, 1000)), QPoint(1075, 221));
    EXPECT_EQ(PlaceOnScreen({1075, 221}, frame, QRect(0, 0, 1024, 768)), QPoint(598, 221));
    EXPECT_EQ(PlaceOnScreen({1075, 221}, frame, QRect(0, 0, 800, 500)), QPoint(374, 124));
    // A second screen to the left: the place is kept within it.
    EXPECT_EQ(PlaceOnScreen({1075, 221}, frame, QRect(-1280, 0, 1280, 1024)), QPoint(-426, 221));
    // Larger than the screen: its top-left corner stays visible.
    EXPECT_EQ(PlaceOnScreen({1075, 221}, frame, QRect(0, 0, 320, 240)), QPoint(0, 0));
}

TEST(TypingLimit, RefusesGrowthBeyondTheLimitButNotShortening) {
    EXPECT_FALSE(ExceedsTypingLimit("1234567", "12345678", 8));
    EXPECT_TRUE(ExceedsTypingLimit("12345678", "123456789", 8));
    EXPECT_FALSE(ExceedsTypingLimit("abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrstuvwx", 9));
    EXPECT_TRUE(ExceedsTypingLimit("abcdefghijkl", "abcdefghijklm", 9));
    EXPECT_FALSE(ExceedsTypingLimit("", "a very long pasted text", 0));
    // Characters, not bytes: eight Cyrillic letters fill an 8-character field.
    EXPECT_FALSE(
        ExceedsTypingLimit(QString::fromUtf8("пароль1"), QString::fromUtf8("пароль12"), 8));
}

}  // namespace
