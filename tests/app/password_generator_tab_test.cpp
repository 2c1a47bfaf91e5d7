#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "passgen/random_source.h"
#include "tests/support/form_fixture.h"
#include "ui/cp1251.h"

namespace {

class ScriptedDraws : public varn::RandomSource {
  public:
    std::deque<std::uint16_t> draws;
    std::uint16_t Draw() override {
        const std::uint16_t next = draws.empty() ? 0 : draws.front();
        if (!draws.empty()) draws.pop_front();
        return next;
    }
};

class PasswordGenerator : public FormTest {
  protected:
    void generate() { press(form.ButtonGenPassword); }
};

TEST_F(PasswordGenerator, ShowsThePasswordItsCountAndItsSplitText) {
    ScriptedDraws draws;
    // 'A', a blank (rejected), 'A' again (rejected), 0x1FF -> 255 'я', '!'.
    draws.draws = {65, 32, 65, 0x1FF, 33};
    form.state.passwordRandom = &draws;
    form.EditKolvoSygn.setText("3");
    generate();
    EXPECT_EQ(form.EditGenPassword.text(), "Aя!");
    EXPECT_EQ(form.EditSplitPassword.text(), "     A -lat  я -rus  ! -lat  ");
    EXPECT_EQ(form.EditGenPassword.hint(), form.EditSplitPassword.text());
    EXPECT_EQ(form.EditKolvoSygn.text(), "3");
    english();
    EXPECT_EQ(form.EditGenPassword.hint(), "Field with generateded password");
    EXPECT_EQ(form.EditGenPassword.text(), "Aя!");
}

TEST_F(PasswordGenerator, CountFieldIsCorrected) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "8"}, {"30", "25"}, {"0", "8"}, {"-3", "8"}};
    for (const auto& [typed, shown] : cases) {
        form.EditKolvoSygn.setText(typed);
        generate();
        EXPECT_EQ(form.EditKolvoSygn.text(), shown) << typed;
        EXPECT_EQ(ui::EncodeCp1251(form.EditGenPassword.text()).size(), std::stoul(shown));
        EXPECT_EQ(form.EditSplitPassword.text().size() > 5, true);
    }
}

TEST_F(PasswordGenerator, NothingAtAllWithoutARange) {
    form.CheckBoxLat.setChecked(false);
    form.CheckBoxRus.setChecked(false);
    form.EditKolvoSygn.setText("99");
    generate();
    EXPECT_EQ(form.EditKolvoSygn.text(), "99");
    EXPECT_EQ(form.EditGenPassword.text(), "");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PasswordGenerator, RusOnlyGivesTwentyFiveDistinctCyrillicCharacters) {
    form.CheckBoxLat.setChecked(false);
    form.EditKolvoSygn.setText("25");
    generate();
    const std::string bytes = ui::EncodeCp1251(form.EditGenPassword.text());
    ASSERT_EQ(bytes.size(), 25u);
    std::set<unsigned char> seen;
    for (unsigned char c : bytes) {
        EXPECT_GE(c, 192);
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), 25u);
    EXPECT_EQ(form.EditSplitPassword.text().size(), 5u + 8u * 25u + 25u)
        << "Cyrillic is two bytes in UTF-8";
}

TEST_F(PasswordGenerator, ANonIntegerCountGoesToTheGeneralErrorBox) {
    form.EditKolvoSygn.setText("abc");
    generate();
    EXPECT_EQ(lastBox().text, "'abc' is not a valid integer value.");
    EXPECT_EQ(lastBox().title, "Ostrel Varn 3.8");
    EXPECT_EQ(form.EditKolvoSygn.text(), "abc");
    EXPECT_EQ(form.EditGenPassword.text(), "");
}

TEST_F(PasswordGenerator, UpDownStepsTheCountWithinOneToTwentyFive) {
    form.EditKolvoSygn.setText("25");
    form.UpDownKolvoSign.stepUp();
    EXPECT_EQ(form.EditKolvoSygn.text(), "25");
    form.EditKolvoSygn.setText("1");
    form.UpDownKolvoSign.stepDown();
    EXPECT_EQ(form.EditKolvoSygn.text(), "1");
    form.UpDownKolvoSign.stepUp();
    EXPECT_EQ(form.EditKolvoSygn.text(), "2");
}

}  // namespace
