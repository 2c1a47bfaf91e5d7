// Cancel at a known point of a pass: the form keeps the standard, its reminder, the result box
// and the letter table the user had, and says only that the operation was cancelled.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "io/cancellation.h"
#include "tests/support/form_fixture.h"
#include "tests/support/solve_trials.h"

namespace {

// What the user sees of the frequency tabs, and the table behind it.
struct FormView {
    std::string standard, reminder, results, heading;
    bool builtIn;
    std::string table;

    static FormView Of(const TForm1& form) {
        std::string table;
        for (const varn::LetterEntry& entry : form.state.LetterTable) {
            table += std::to_string(entry.character) + ":" + std::to_string(entry.count) + ":" +
                     std::to_string(entry.paired) + " ";
        }
        return {form.Memo1.text(), form.MemoOldEtl.text(),          form.Memo2.text(),
                form.Memo5.text(), form.RadioButtonRusDn.checked(), table};
    }
    bool operator==(const FormView&) const = default;
};

void PrintTo(const FormView& view, std::ostream* out) {
    *out << "standard \"" << view.standard << "\", reminder \"" << view.reminder << "\", heading \""
         << view.heading << "\", results of " << view.results.size() << " bytes";
}

class Cancel : public FormTest {
  protected:
    ~Cancel() override {
        form.ProgressBar1.setListener({});
        varn::io::ClearCancel();
    }

    // Asks to cancel once the count tab's bar reaches `position` (-1: its maximum), as the
    // progress window's Cancel would from the window's thread.
    void cancelAt(std::int64_t position) {
        form.ProgressBar1.setListener([position](ui::Control& control, ui::Property) {
            auto& bar = static_cast<ui::ProgressBar&>(control);
            const std::int64_t at = position < 0 ? bar.max() : position;
            if (bar.max() > 0 && bar.position() >= at) varn::io::RequestCancel();
        });
    }

    // A counted file with a built-in standard and a reminder in the form.
    void countedBefore(const std::string& text) {
        study(text);
        press(form.RadioButtonRusDn);
        press(form.ButtonStart);
        form.MemoOldEtl.setText("старый эталон");
        ASSERT_TRUE(platform.boxes.empty());
    }

    void expectCancelledWith(const FormView& before) {
        EXPECT_EQ(FormView::Of(form), before);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(lastBox().text, kCancelledRussian);
    }
};

// Several of the passes' buffers, so that a cancel after the first still stops the read.
std::string ManyBuffers() {
    std::string text;
    while (text.size() < (std::size_t{6} << 20)) text += "Съешь же ещё этих мягких булок.\r\n";
    return text;
}

TEST_F(Cancel, ACancelledCountLeavesTheFormAsItWas) {
    const std::string text = ManyBuffers();
    countedBefore(text);
    for (ui::Button TForm1::*button : {&TForm1::ButtonStart, &TForm1::Button_AllScan}) {
        platform.boxes.clear();
        const FormView before = FormView::Of(form);
        cancelAt(1);
        press(form.*button);
        expectCancelledWith(before);
        varn::io::ClearCancel();
    }
}

TEST_F(Cancel, ACancelAfterTheSearchReadTheFileLeavesTheStandard) {
    using varn::solve::Language;
    const std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::Russian), Language::Russian, 600,
                              varn::trials::Measure::Letters, 7);
    countedBefore(varn::trials::Encipher(plain, varn::trials::RandomKey(Language::Russian, 7)));
    const FormView before = FormView::Of(form);
    cancelAt(-1);
    form.dispatch([&] { form.Memo1.contextActions.at(0).trigger(); });
    expectCancelledWith(before);
}

}  // namespace
