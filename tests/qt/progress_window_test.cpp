// The progress window of a handler that runs on: it shows the share its tab's bar shows, and
// makes way for the handler's own boxes instead of staying open, Cancel live, over them.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/form1.h"
#include "qt/main_window.h"
#include "qt/window_thread.h"
#include "tests/support/fake_platform.h"
#include "ui/window_thread_platform.h"

namespace {

// Boxes as the desktop shows them, noting whether the progress window was up at the time.
class WatchedDesktop : public FakePlatform {
  public:
    void messageBox(const std::string& text, const std::string& title, unsigned flags) override {
        progressShownUnderBox = window != nullptr && window->progressWindow().isVisible();
        FakePlatform::messageBox(text, title, flags);
    }
    varn::desktop::MainWindow* window = nullptr;
    bool progressShownUnderBox = true;
};

class ProgressWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        desktop.window = &window;
        platform.setDialogHooks([this] { window.dialogOpening(); },
                                [this] { window.dialogClosed(); });
        window.setPatience(std::chrono::minutes(10));
        window.setProgressDelay(std::chrono::milliseconds(0));
        window.show();
    }
    // Runs `body` as a handler that goes on past the window's patience.
    void start(std::function<void()> body) {
        window.setPatience(std::chrono::milliseconds(0));
        window.dispatch(std::move(body));
        window.setPatience(std::chrono::minutes(10));
        ASSERT_TRUE(window.busy());
    }
    // Lets the handler go on once the progress window is up.
    void waitForProgressThenGo() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return window.progressWindow().isVisible(); }, 5000));
        go = true;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window.busy(); }, 10000));
    }
    void waitForGo() const {
        while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    WatchedDesktop desktop;
    ui::WindowThreadPlatform platform{desktop, varn::desktop::WindowThreadHandoff()};
    TForm1 form{platform};
    varn::desktop::MainWindow window{form};
    std::atomic<bool> go{false};
};

TEST_F(ProgressWindowTest, ShowsTheShareOfTheTabsBar) {
    const QProgressBar* shown = window.progressWindow().bar();
    start([this] {
        form.ProgressBar1.setMax(200);
        form.ProgressBar1.setPosition(50);
        waitForGo();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown->maximum() > 0; }, 5000))
        << "the progress window still shows only that the operation runs";
    EXPECT_EQ(shown->value() * 4, shown->maximum());
    EXPECT_TRUE(shown->isTextVisible());
    waitForProgressThenGo();
}

TEST_F(ProgressWindowTest, ClosesBeforeTheHandlersBoxOpens) {
    start([this] {
        form.ProgressBar1.setMax(100);
        form.ProgressBar1.setPosition(10);
        waitForGo();
        form.ShowMessage(MessageKind::Notice, "Шифрование файла закончено.", "Done.");
    });
    waitForProgressThenGo();
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_FALSE(desktop.progressShownUnderBox);
    EXPECT_FALSE(window.progressWindow().isVisible());
}

}  // namespace
