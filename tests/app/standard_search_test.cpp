#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"
#include "tests/support/solve_trials.h"
#include "ui/cp1251.h"

namespace {

using StandardSearch = FormTest;
using varn::solve::Language;

// The window's plaintext view: letters folded, LF shown as CR LF.
std::string AsShown(const std::string& plain) {
    std::string folded;
    for (const char c : plain) {
        if (c == '\n') folded += '\r';
        folded += static_cast<char>(varn::LowerChar(static_cast<unsigned char>(c)));
    }
    return ui::DecodeCp1251(folded);
}

void FindStandard(TForm1& form) {
    form.dispatch([&] { form.Memo1.contextActions.at(0).trigger(); });
}

struct StartCase {
    ui::RadioButton TForm1::*builtIn;  // nullptr: an empty editor
    bool englishInterface;
    Language language;
    std::size_t standardLength;
};

// From every built-in standard, and from an empty editor in either interface language, the
// found standard makes "In window" show the plaintext.
TEST_F(StandardSearch, FoundStandardShowsThePlaintextInTheWindow) {
    const StartCase cases[] = {
        {&TForm1::RadioButtonRusDn, false, Language::Russian, 34},
        {&TForm1::RadioButtonRusUp, true, Language::Russian, 34},
        {&TForm1::RadioButtonEngDn, false, Language::English, 27},
        {&TForm1::RadioButtonEndUp, false, Language::English, 27},
        {nullptr, true, Language::English, 27},
        {nullptr, false, Language::Russian, 34},
    };
    std::uint64_t seed = 40;
    for (const StartCase& c : cases) {
        ++seed;
        c.englishInterface ? english() : russian();
        if (c.builtIn) {
            press(form.*c.builtIn);
        } else {
            press(form.ButtonClearEtalon);
        }
        const std::string before = form.Memo1.text();
        const std::string plain =
            varn::trials::Excerpt(varn::trials::HeldOutText(c.language), c.language, 600,
                                  varn::trials::Measure::Letters, seed);
        study(varn::trials::Encipher(plain, varn::trials::RandomKey(c.language, seed)));

        FindStandard(form);
        EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.back().text;
        EXPECT_EQ(form.MemoOldEtl.text(), before);
        EXPECT_EQ(ui::EncodeCp1251(form.Memo1.text()).size(), c.standardLength);
        EXPECT_EQ(form.Memo5.text(), c.englishInterface ? "Standard\r\n" : "Эталон\r\n");
        EXPECT_EQ(form.Memo2.lineCount(), c.standardLength + 1);
        EXPECT_EQ(form.ProgressBar1.position(), form.ProgressBar1.max());

        press(form.Button_VOkno);
        EXPECT_EQ(form.Memo10.text(), AsShown(plain)) << "case " << seed;
    }
}

// Nothing to solve: the message says why, and the standard and its reminder stay.
TEST_F(StandardSearch, UnsolvableFilesLeaveTheStandardAlone) {
    const struct {
        ui::RadioButton TForm1::*builtIn;
        std::string file;
        const char* message;
    } cases[] = {
        {&TForm1::RadioButtonEngDn, "Hello there!\r\n",
         "В файле только 10 английских букв, а для подбора эталона нужно не меньше 30: эталон не "
         "изменён."},
        {&TForm1::RadioButtonRusDn, "1234 5678 -- 42\n",
         "В файле нет русских букв: эталон не изменён."},
        // The editor holds the other language than the file.
        {&TForm1::RadioButtonEngDn,
         ui::EncodeCp1251("Съешь же ещё этих мягких французских булок, да выпей чаю."),
         "В файле нет английских букв: эталон не изменён."},
    };
    for (const auto& c : cases) {
        press(form.*c.builtIn);
        // A change of tab makes the reminder a copy of the standard.
        form.dispatch([&] { form.PageControl1.setActivePageIndex(0); });
        form.dispatch([&] { form.PageControl1.setActivePageIndex(2); });
        const std::string standard = form.Memo1.text();
        study(c.file);
        FindStandard(form);
        ASSERT_FALSE(platform.boxes.empty());
        EXPECT_EQ(lastBox().text, c.message);
        EXPECT_EQ(lastBox().title, "Внимание");
        EXPECT_EQ(form.Memo1.text(), standard);
        EXPECT_EQ(form.MemoOldEtl.text(), standard);
        EXPECT_TRUE(form.RadioButtonEngDn.checked() || form.RadioButtonRusDn.checked());
    }
    english();
    study("Hi!");
    FindStandard(form);
    EXPECT_EQ(lastBox().text,
              "The file holds only 2 English letters, at least 30 are needed to find the standard: "
              "the standard is left as it was.");
}

// A short text is solved, with a notice that the result may be wrong; random bytes are refused.
TEST_F(StandardSearch, SaysWhenTheResultIsDoubtfulOrTheFileNoText) {
    press(form.RadioButtonEngDn);
    const std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::English), Language::English, 35,
                              varn::trials::Measure::Letters, 12);
    study(varn::trials::Encipher(plain, varn::trials::RandomKey(Language::English, 12)));
    FindStandard(form);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, "Результат ненадёжен: текст слишком короткий или не на этом языке.");
    EXPECT_EQ(form.MemoOldEtl.text(), " etaonisrhldcupfmwybgvkqxjz");
    EXPECT_NE(form.Memo1.text(), form.MemoOldEtl.text());

    std::string noise(4000, '\0');
    std::uint64_t state = 5;
    for (char& b : noise) b = static_cast<char>((state = state * 6364136223846793005ULL + 1) >> 56);
    study(noise);
    english();
    const std::string standard = form.Memo1.text();
    FindStandard(form);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_EQ(lastBox().text,
              "The file does not read as English text under a simple substitution (random bytes "
              "or a binary file?): the standard is left as it was.");
    EXPECT_EQ(form.Memo1.text(), standard);
}

TEST_F(StandardSearch, NeedsAFileUnderStudy) {
    press(form.RadioButtonEngDn);
    FindStandard(form);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, "Файл не выбран.");
    EXPECT_EQ(form.Memo1.text(), " etaonisrhldcupfmwybgvkqxjz");
}

}  // namespace
