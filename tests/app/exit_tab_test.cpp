#include <gtest/gtest.h>

#include "tests/support/form_fixture.h"

namespace {

using ExitTab = FormTest;

TEST_F(ExitTab, YesWithAnEmptyStandardOrTableEndsAtOnceWithoutADialog) {
    form.Memo2.addLine("row");
    press(form.ButtonDa);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_TRUE(platform.dialogs.empty());
    form.Memo2.clear();
    form.Memo1.addLine("abc");
    platform.exitCode.reset();
    press(form.ButtonDa);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST_F(ExitTab, YesWritesTheStandardThenTheTable) {
    form.Memo1.addLine("etaoin");
    for (int i = 0; i < 30; ++i) form.Memo2.addLine("row " + std::to_string(i) + "\t\x0d\t13");
    platform.choose(dir.file("result.txt"));
    press(form.ButtonDa);
    EXPECT_EQ(platform.exitCode, 0);
    const std::string saved = TempDir::read(dir.file("result.txt"));
    std::size_t lines = 0;
    for (std::size_t at = saved.find("\r\n"); at != std::string::npos;
         at = saved.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 31u);
    EXPECT_TRUE(saved.starts_with("etaoin\r\nrow 0\t\r\t13\r\n"));
    EXPECT_EQ(form.Memo1.text(), "etaoin\r\n");
}

TEST_F(ExitTab, ACancelledDialogWritesNothingEvenAfterAnEarlierChoice) {
    form.Memo1.addLine("ab");
    form.Memo2.addLine("row");
    form.SaveDialog1.fileName = dir.write("earlier.txt", "keep me");
    platform.cancel();
    press(form.ButtonDa);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_EQ(TempDir::read(dir.file("earlier.txt")), "keep me");
}

TEST_F(ExitTab, AFailedSaveReportsKeepsTheEditorAndDoesNotEnd) {
    form.Memo1.addLine("ab");
    form.Memo2.addLine("row");
    platform.choose(dir.file("missing/folder/out.txt"));
    press(form.ButtonDa);
    EXPECT_FALSE(platform.exitCode.has_value());
    EXPECT_EQ(lastBox().text, "Cannot create file " + dir.file("missing/folder/out.txt") + ".");
    EXPECT_EQ(form.Memo1.text(), "ab\r\n");
}

TEST_F(ExitTab, NoEndsWithoutAQuestion) {
    form.Memo1.addLine("ab");
    form.Memo2.addLine("row");
    press(form.ButtonNet);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ExitTab, SiteLinksOpenTheDesktopBrowser) {
    form.dispatch([&] { form.LabelFrontURL.click(); });
    EXPECT_TRUE(platform.openedUrls.empty())
        << "a single click on the File tab's link does nothing";
    form.dispatch([&] { form.LabelFrontURL.doubleClick(); });
    const std::string address = kSiteAddress;
    EXPECT_EQ(platform.openedUrls, std::vector<std::string>{address});
    press(form.Label5);
    EXPECT_EQ(platform.openedUrls, (std::vector<std::string>{address, address}));
    EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
