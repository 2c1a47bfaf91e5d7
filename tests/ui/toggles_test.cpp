#include "ui/toggles.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "ui/event_guard.h"
#include "ui/file_dialog.h"
#include "ui/progress_bar.h"
#include "ui/simple_controls.h"
#include "ui/up_down.h"

namespace {

struct Group {
    ui::GroupBox frame{"frame", nullptr, {}};
    ui::RadioButton a{"a", &frame, {}};
    ui::RadioButton b{"b", &frame, {}};
    ui::GroupBox other{"other", &frame, {}};
    ui::RadioButton c{"c", &other, {}};
    std::string clicks;
    Group() {
        a.OnClick = [this] { clicks += "a"; };
        b.OnClick = [this] { clicks += "b"; };
        c.OnClick = [this] { clicks += "c"; };
    }
};

TEST(RadioButtons, SelectingClearsTheOthersOfTheSameParentThenClicks) {
    Group g;
    g.c.setChecked(true);
    g.a.setChecked(true);
    std::string seenInClick;
    g.b.OnClick = [&] { seenInClick = g.a.checked() ? "a still set" : "a cleared"; };
    g.b.click();
    EXPECT_EQ(seenInClick, "a cleared");
    EXPECT_FALSE(g.a.checked());
    EXPECT_TRUE(g.b.checked());
    EXPECT_TRUE(g.c.checked()) << "another parent is another group";
    EXPECT_EQ(g.clicks, "ca");
}

TEST(RadioButtons, SelectingASelectedOneOrClearingRaisesNothing) {
    Group g;
    g.a.setChecked(true);
    g.a.setChecked(true);
    g.a.click();
    g.a.setChecked(false);
    EXPECT_FALSE(g.a.checked());
    EXPECT_EQ(g.clicks, "a");
}

TEST(CheckBoxes, ClickEventOnEveryChangeOnly) {
    ui::CheckBox box("box", nullptr, {});
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.setChecked(false);
    EXPECT_EQ(clicks, 0);
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    box.click();
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks, 2);
}

TEST(ProgressBars, SixtyFourBitRangeWithPositionKeptInside) {
    ui::ProgressBar bar("bar", nullptr, {});
    bar.setMax(10'000'000'000);
    bar.setPosition(6'553'600);
    EXPECT_EQ(bar.position(), 6'553'600);
    bar.stepBy(20'000'000'000);
    EXPECT_EQ(bar.position(), 10'000'000'000);
    bar.setMax(0);
    EXPECT_EQ(bar.position(), 0);
    bar.stepBy(3);
    EXPECT_EQ(bar.position(), 0);
}

TEST(UpDown, StepsTheEditBetweenItsLimitsWithoutWrapping) {
    ui::Edit edit("edit", nullptr, {});
    ui::UpDown upDown("updown", nullptr, {});
    upDown.min = 1;
    upDown.max = 25;
    upDown.position = 8;
    upDown.associate = &edit;
    edit.setText("24");
    upDown.stepUp();
    upDown.stepUp();
    EXPECT_EQ(edit.text(), "25");
    edit.setText("1");
    upDown.stepDown();
    EXPECT_EQ(edit.text(), "1");
}

TEST(FileDialogs, KeepTheirLastNameWhenCancelled) {
    FakePlatform platform;
    ui::FileDialog dialog("OpenDialog1", ui::FileDialogKind::Open, platform);
    platform.choose("/tmp/a.txt");
    EXPECT_TRUE(dialog.execute());
    EXPECT_FALSE(dialog.execute());
    EXPECT_EQ(dialog.fileName, "/tmp/a.txt");
    EXPECT_EQ(platform.dialogs.back().fileName, "/tmp/a.txt") << "the dialog offers its last name";
}

TEST(EventGuard, AnEscapingErrorGivesOneStopBoxAndTheProgramGoesOn) {
    FakePlatform platform;
    ui::EventGuard guard(platform, "Ostrel Varn 3.8");
    guard.run([] { throw std::runtime_error("Cannot open file x."); });
    guard.run([] {});
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Cannot open file x..") << "the stop is added even after one";
    EXPECT_EQ(platform.boxes[0].title, "Ostrel Varn 3.8");
    EXPECT_EQ(platform.boxes[0].flags, ui::MB_OK | ui::MB_ICONSTOP);
}

}  // namespace
