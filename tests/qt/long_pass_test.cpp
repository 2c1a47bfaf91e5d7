// A real pass over a large file through the real widgets, with the window's event loop running:
// the progress window's Cancel stops it with every file as it was and nothing left behind.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

class LongPass : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.setProgressDelay(std::chrono::milliseconds(0));
    }
    // Clicks the button with a patience of nothing, so that the pass runs on while the test
    // goes on, and cancels it as soon as the progress window is up.
    void startAndCancel(const char* button) {
        window.setPatience(std::chrono::milliseconds(0));
        QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton);
        window.setPatience(std::chrono::minutes(10));
        ASSERT_TRUE(window.busy());
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.progressWindow().isVisible(); }, 10000));
        QTest::mouseClick(window.progressWindow().cancelButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    TempDir dir;
};

TEST_F(LongPass, CancelOfANewFileLeavesNothingBehind) {
    // Long enough that the pass is still reading when the click arrives.
    std::string text(256u << 20, 'a');
    for (std::size_t i = 0; i < text.size(); i += 61) text[i] = '\n';
    const std::string source = dir.write("study.txt", text);
    platform.choose(source);
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    form.Memo1.setText("ba");
    platform.boxes.clear();
    platform.choose(dir.file("new.txt"));
    showTab(3);
    startAndCancel("ButtonNewFile");

    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "Операция отменена.");
    EXPECT_EQ(names(), std::vector<std::string>{"study.txt"});
    EXPECT_EQ(std::filesystem::file_size(source), text.size());
}

}  // namespace
