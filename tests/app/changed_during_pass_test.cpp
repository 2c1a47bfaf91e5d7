// An operation whose file is changed by someone else between the pass and its commit: nothing is
// replaced and no new file appears (a copy of a file being written matches no state of it), the
// change stays as it was made, no temporary is left, and the window says so instead of claiming
// success.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "io/replacement.h"
#include "tests/support/form_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string kText = "Veni, vidi, vici.\r\n";
constexpr const char* kChanged = "The file changed during the operation; nothing was replaced.";

// Waits until a change made now gets a change time other than the file's current one (the file
// system takes times from a clock that ticks every few milliseconds).
void WaitPastChangeTime(const std::string& path) {
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    for (;;) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
        if (now.tv_sec > info.st_ctim.tv_sec ||
            (now.tv_sec == info.st_ctim.tv_sec && now.tv_nsec > info.st_ctim.tv_nsec)) {
            return;
        }
        ::usleep(1000);
    }
}

void Rewrite(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const std::string bytes(static_cast<std::size_t>(fs::file_size(path)), 'Z');
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

struct Change {
    const char* name;
    std::function<void(const std::string& path)> apply;
};

const Change kChanges[] = {
    {"AppendedTo",
     [](const std::string& path) {
         const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
         ASSERT_GE(fd, 0);
         ASSERT_EQ(::write(fd, "appended", 8), 8);
         ::close(fd);
     }},
    {"Cut", [](const std::string& path) { ASSERT_EQ(::truncate(path.c_str(), 7), 0); }},
    {"RewrittenWithTheSameSize", Rewrite},
    {"RewrittenWithTheModificationTimePutBack",
     [](const std::string& path) {
         struct stat before {};
         ASSERT_EQ(::stat(path.c_str(), &before), 0);
         WaitPastChangeTime(path);
         Rewrite(path);
         const timespec times[2] = {before.st_atim, before.st_mtim};
         ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
     }},
};

struct Operation {
    const char* name;
    std::function<void(TForm1&, const std::string& path)> run;
};

void Idea(TForm1& form, const std::string& path, bool triple, bool inPlace) {
    form.CheckBox3Idea.setChecked(triple);
    form.EditPassWordIdea.setText("one");
    form.EditPassWordIdea2.setText("two");
    form.EditPassWordIdea3.setText("three");
    form.MemoIdeaFile.setText(path);
    form.CheckBoxOwer.setChecked(inPlace);
    // The passwords typed once more, as an encryption in place asks (the forms here run on the
    // scripted desktop).
    auto& desktop = static_cast<FakePlatform&>(form.platform);
    desktop.passwords.assign({"one"});
    if (triple) desktop.passwords.assign({"one", "two", "three"});
    form.dispatch([&] { form.Button_EnCrypt.click(); });
}

const Operation kOperations[] = {
    {"CaesarInPlace",
     [](TForm1& form, const std::string& path) {
         form.MemoFile3V.setText(path);
         form.CheckBoxOvervriteFile3V.setChecked(true);
         form.dispatch([&] { form.ButtonEn.click(); });
     }},
    {"CaesarIntoItsResultFile",
     [](TForm1& form, const std::string& path) {
         form.MemoFile3V.setText(path);
         form.CheckBoxOvervriteFile3V.setChecked(false);
         form.dispatch([&] { form.ButtonEn.click(); });
     }},
    {"CreateNewFile",
     [](TForm1& form, const std::string& path) {
         auto& desktop = static_cast<FakePlatform&>(form.platform);
         desktop.choose(path);
         form.dispatch([&] { form.Button2.click(); });
         form.dispatch([&] { form.RadioButtonRusDn.click(); });
         desktop.choose((fs::path(path).parent_path() / "new.txt").string());
         form.dispatch([&] { form.ButtonNewFile.click(); });
     }},
    {"IdeaInPlace", [](TForm1& form, const std::string& path) { Idea(form, path, false, true); }},
    {"Idea3XInPlace", [](TForm1& form, const std::string& path) { Idea(form, path, true, true); }},
    {"IdeaIntoEnc", [](TForm1& form, const std::string& path) { Idea(form, path, false, false); }},
    {"Idea3XIntoEnc", [](TForm1& form, const std::string& path) { Idea(form, path, true, false); }},
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << change.name;
}
void PrintTo(const Operation& operation, std::ostream* out) {
    *out << operation.name;
}

class ChangedDuringPass : public FormTest,
                          public ::testing::WithParamInterface<std::tuple<Operation, Change>> {
  protected:
    ChangedDuringPass() { english(); }
    ~ChangedDuringPass() override { varn::io::SetBeforeCommitCheck({}); }
};

TEST_P(ChangedDuringPass, ReplacesNothingAndSaysSo) {
    const auto& [operation, change] = GetParam();
    std::string text;
    for (int i = 0; i < 500; ++i) text += kText;
    const std::string path = dir.write("doc.txt", text);
    // An hour old, so that any write during the pass moves the modification time.
    const timespec old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, 0), 0);

    std::string changed;
    varn::io::SetBeforeCommitCheck([&] {
        change.apply(path);
        changed = TempDir::read(path);
    });
    operation.run(form, path);

    ASSERT_FALSE(changed.empty()) << "the pass reached its commit";
    EXPECT_NE(changed, text);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, kChanged);
    EXPECT_EQ(TempDir::read(path), changed);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary and no result is left";
}

INSTANTIATE_TEST_SUITE_P(EveryOperationThatWritesAResult, ChangedDuringPass,
                         ::testing::Combine(::testing::ValuesIn(kOperations),
                                            ::testing::ValuesIn(kChanges)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
