#include <gtest/gtest.h>

#include "io/cancellation.h"
#include "tests/support/form_fixture.h"
#include "ui/cp1251.h"

namespace {

// The letter chart driven through the form's handlers, as the chart window drives them.
class Chart : public FormTest {
  protected:
    Chart() {
        form.chart.OnChange = [this](const ChartSnapshot& snapshot) {
            last = snapshot;
            ++changes;
        };
    }
    void act(const std::function<void()>& action) { form.dispatch(action); }
    std::string barLetters() const {
        std::string out;
        for (const varn::ChartBar& bar : last.chart.bars) out += static_cast<char>(bar.letter);
        return out;
    }

    ChartSnapshot last;
    int changes = 0;
};

// Letters of the English standard's first nine with a few ties.
const std::string kText = "eeeeeeeee tttttttt aaaaaaa ooooooo nnnnn iiii ss r";

TEST_F(Chart, FollowsTheCountTheStandardAndTheDirection) {
    study(kText);
    press(form.RadioButtonEngDn);
    act([&] { form.ButtonChartClick(); });
    EXPECT_TRUE(last.shown);
    EXPECT_FALSE(last.counted);
    press(form.ButtonStart);
    EXPECT_TRUE(last.counted);
    // The result table's order: the blank (7 times) ties with a and o and comes first by its code.
    EXPECT_EQ(barLetters().substr(0, 9), "et aonisr");
    EXPECT_EQ(last.chart.bars[0].partner, ' ');
    EXPECT_EQ(last.statistics.size(), 5u);
    EXPECT_EQ(last.statistics[0], "Букв подсчитано: 43");

    // A new standard pairs anew without a count.
    act([&] { form.Memo1.setText("et"); });
    EXPECT_EQ(barLetters(), "et");
    EXPECT_EQ(last.chart.bars[0].partner, 'e');
    act([&] { form.RadioButtonUp.click(); });
    EXPECT_EQ(barLetters(), "te");
    EXPECT_EQ(last.chart.bars[1].partner, 't');

    // Nothing changed: nothing is sent.
    const int before = changes;
    act([] {});
    EXPECT_EQ(changes, before);
    english();
    EXPECT_EQ(last.statistics[0], "Letters counted: 43");
}

// Two clicks exchange the bars' partners in the editor, the old standard going to the reminder;
// the window's substitution is redone at once and equals "In window" with the hand-edited
// standard; undo brings both texts back.
TEST_F(Chart, ExchangeByClicksIsTheHandEditAndRedoesTheWindow) {
    const std::string cipher = "xxxxx yyy zz w";
    study(cipher);
    act([&] { form.Memo1.setText("wxyz"); });
    form.MemoOldEtl.setText("reminder");
    press(form.ButtonStart);
    press(form.Button_VOkno);
    ASSERT_EQ(form.Memo10.text(), "wwwww xxx yy z");
    act([&] { form.ButtonChartClick(); });
    ASSERT_EQ(barLetters(), "xyzw");

    act([&] { form.ChartBarClick(0); });
    EXPECT_EQ(last.selected, 0u);
    EXPECT_EQ(form.Memo1.text(), "wxyz");
    act([&] { form.ChartBarClick(3); });
    EXPECT_FALSE(last.selected);
    EXPECT_EQ(form.Memo1.text(), "zxyw");
    EXPECT_EQ(form.MemoOldEtl.text(), "wxyz");
    EXPECT_TRUE(last.canUndo);
    EXPECT_EQ(last.chart.bars[0].partner, 'z');

    // The same standard typed by hand into a second window gives the same text.
    FakePlatform otherPlatform;
    TForm1 other(otherPlatform);
    other.FormShow();
    otherPlatform.choose(form.OpenDialog1.fileName);
    other.dispatch([&] { other.Button2.click(); });
    other.Memo1.setText("zxyw");
    other.dispatch([&] { other.Button_VOkno.click(); });
    EXPECT_EQ(form.Memo10.text(), other.Memo10.text());
    EXPECT_EQ(form.Memo10.text(), "zzzzz xxx yy w");

    act([&] { form.ChartUndoClick(); });
    EXPECT_EQ(form.Memo1.text(), "wxyz");
    EXPECT_EQ(form.MemoOldEtl.text(), "reminder");
    EXPECT_EQ(form.Memo10.text(), "wwwww xxx yy z");
    EXPECT_FALSE(last.canUndo);
}

TEST_F(Chart, ClicksThatExchangeNothing) {
    study("aab");
    press(form.RadioButtonEngDn);
    press(form.ButtonStart);
    act([&] { form.ButtonChartClick(); });
    const std::string standard = form.Memo1.text();
    act([&] { form.ChartBarClick(1); });
    act([&] { form.ChartBarClick(1); });  // the same bar again lets it go
    EXPECT_FALSE(last.selected);
    act([&] { form.ChartBarClick(999); });
    EXPECT_FALSE(last.selected);
    EXPECT_EQ(form.Memo1.text(), standard);
    // Undo after a hand edit keeps the edit.
    act([&] { form.ChartBarClick(0); });
    act([&] { form.ChartBarClick(1); });
    ASSERT_NE(form.Memo1.text(), standard);
    act([&] { form.Memo1.setText("typed"); });
    act([&] { form.ChartUndoClick(); });
    EXPECT_EQ(form.Memo1.text(), "typed");
    EXPECT_FALSE(last.canUndo);
    EXPECT_TRUE(platform.boxes.empty());

    // The line break inside a standard of two lines takes no part in exchanges.
    act([&] { form.Memo1.setText("ab\r\nc"); });
    ASSERT_EQ(last.chart.bars.size(), 5u);
    for (std::size_t i = 0; i < last.chart.bars.size(); ++i) {
        if (last.chart.bars[i].partner != '\r' && last.chart.bars[i].partner != '\n') continue;
        act([&] { form.ChartBarClick(i); });
        EXPECT_FALSE(last.selected);
        act([&] { form.ChartBarClick(0); });
        act([&] { form.ChartBarClick(i); });
        EXPECT_EQ(form.Memo1.text(), "ab\r\nc");
        act([&] { form.ChartBarClick(0); });  // lets the first bar go
    }
}

TEST_F(Chart, BigramsOfTheFileWhileShown) {
    study("the then thin");
    press(form.RadioButtonEngDn);
    press(form.ButtonStart);
    act([&] { form.ButtonChartClick(); });
    EXPECT_TRUE(last.bigrams.empty());
    act([&] { form.ChartViewClick(ChartView::Bigrams); });
    ASSERT_FALSE(last.bigrams.empty());
    EXPECT_EQ(last.bigrams[0].first, 't');
    EXPECT_EQ(last.bigrams[0].second, 'h');
    EXPECT_EQ(last.bigrams[0].count, 3u);
    // Bars do not take clicks in this view.
    act([&] { form.ChartBarClick(0); });
    EXPECT_FALSE(last.selected);
}

// A cancelled count of the pairs leaves the view it had, says only that it was cancelled, and is
// done again at the next look.
TEST_F(Chart, ACancelledCountOfThePairsIsDoneAgain) {
    std::string text;
    while (text.size() < (std::size_t{4} << 20)) text += "the then thin ";
    study(text);
    press(form.RadioButtonEngDn);
    press(form.ButtonStart);
    act([&] { form.ButtonChartClick(); });
    form.ProgressBar1.setListener([](ui::Control& control, ui::Property) {
        auto& bar = static_cast<ui::ProgressBar&>(control);
        if (bar.position() > 0) varn::io::RequestCancel();
    });
    act([&] { form.ChartViewClick(ChartView::Bigrams); });
    form.ProgressBar1.setListener({});
    varn::io::ClearCancel();
    EXPECT_TRUE(last.bigrams.empty());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, kCancelledRussian);

    act([&] { form.ChartViewClick(ChartView::Bigrams); });
    ASSERT_FALSE(last.bigrams.empty());
    EXPECT_EQ(last.bigrams[0].first, 't');
    EXPECT_EQ(last.bigrams[0].second, 'h');
    EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(Chart, ExportWritesWhatTheRendererDrawsByTheNameChosen) {
    const auto render = [](ChartImageFormat format) {
        return std::string(format == ChartImageFormat::Svg ? "<svg/>" : "PNG");
    };
    const struct {
        const char* name;
        const char* bytes;
    } cases[] = {{"chart.png", "PNG"}, {"chart.SVG", "<svg/>"}, {"chart", "PNG"}};
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        platform.choose(path);
        act([&] { form.ChartExportClick(render); });
        EXPECT_EQ(TempDir::read(path), c.bytes) << c.name;
    }
    EXPECT_EQ(platform.dialogs.back().dialog, "SaveDialogChart");
    EXPECT_EQ(platform.dialogs.back().title, "Сохранение диаграммы");
    // A folder at the name is refused, in a box, and nothing is written.
    platform.choose(dir.path().string());
    act([&] { form.ChartExportClick(render); });
    ASSERT_EQ(platform.boxes.size(), 1u);
    platform.cancel();
    act([&] { form.ChartExportClick(render); });
    EXPECT_EQ(platform.boxes.size(), 1u);
}

}  // namespace
