#include "ui/memo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "io/failure.h"
#include "tests/support/temp_dir.h"

namespace {

struct LinesCase {
    std::string text;
    std::vector<std::string> lines;
};

class MemoLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(MemoLines, SplitAtCrLfOnly) {
    ui::Memo memo("m", nullptr, {});
    memo.setText(GetParam().text);
    EXPECT_EQ(memo.lines(), GetParam().lines);
    EXPECT_EQ(memo.hasLines(), !GetParam().lines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MemoLines,
    ::testing::Values(LinesCase{"", {}}, LinesCase{"\r\n", {""}}, LinesCase{"ab", {"ab"}},
                      LinesCase{"ab\r\n", {"ab"}}, LinesCase{"ab\r\ncd", {"ab", "cd"}},
                      LinesCase{"ab\r\n\r\n", {"ab", ""}},
                      // A lone CR or LF is part of a line, as in a row holding a control byte.
                      LinesCase{"a\rb\nc\r\n", {"a\rb\nc"}}));

TEST(MemoAddLine, AppendsAfterCrLfOrStartsANewLine) {
    ui::Memo memo("m", nullptr, {});
    memo.addLine("one");
    EXPECT_EQ(memo.text(), "one\r\n");
    memo.addLine("");
    EXPECT_EQ(memo.text(), "one\r\n\r\n");
    memo.setText("typed");
    memo.addLine("two");
    EXPECT_EQ(memo.text(), "typed\r\ntwo");
    EXPECT_EQ(memo.lineCount(), 2u);
}

TEST(MemoFiles, LoadDecodesWindows1251AndMakesLineBreaksCrLf) {
    TempDir dir;
    ui::Memo memo("m", nullptr, {});
    memo.loadFromFile(dir.write("in.txt", std::string("\xEF\xF0\xE8\r\nb\nc\rd\0tail", 16)));
    EXPECT_EQ(memo.text(), "при\r\nb\r\nc\r\nd");
}

TEST(MemoFiles, SaveWritesEachLineWithCrLfInWindows1251) {
    TempDir dir;
    ui::Memo memo("m", nullptr, {});
    memo.setText("xyz\r\nя\tЁ");
    memo.saveToFile(dir.file("out.txt"));
    EXPECT_EQ(TempDir::read(dir.file("out.txt")), "xyz\r\n\xFF\t\xA8\r\n");
}

// The failure carries what failed; the window words it.
varn::io::Failure FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const varn::io::FileError& error) {
        return error.failure();
    }
    return {};
}

TEST(MemoFiles, FailuresSayWhatFailedAndLeaveEverythingAsItWas) {
    using varn::io::FailureKind;
    TempDir dir;
    ui::Memo memo("m", nullptr, {});
    memo.setText("kept");
    std::filesystem::create_directory(dir.file("folder"));
    const std::pair<std::string, FailureKind> inputs[] = {
        {dir.file("missing.txt"), FailureKind::Open},
        {dir.file("folder"), FailureKind::NotRegular},
        {"/dev/zero", FailureKind::NotRegular},
    };
    for (const auto& [path, kind] : inputs) {
        const varn::io::Failure failure = FailureOf([&] { memo.loadFromFile(path); });
        EXPECT_EQ(failure.kind, kind) << path;
        EXPECT_EQ(failure.path, path);
    }
    EXPECT_EQ(memo.text(), "kept");
    const std::pair<std::string, FailureKind> targets[] = {
        {dir.file("no/such/folder.txt"), FailureKind::Create},
        {dir.file("folder"), FailureKind::NotReplaceable},
        {"/dev/full", FailureKind::NotReplaceable},
    };
    for (const auto& [path, kind] : targets) {
        const varn::io::Failure failure = FailureOf([&] { memo.saveToFile(path); });
        EXPECT_EQ(failure.kind, kind) << path;
        EXPECT_EQ(failure.path, path);
        EXPECT_NE(failure.error, 0);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
}

TEST(MemoFiles, SaveReplacesTheFileKeepingItsPermissionBits) {
    TempDir dir;
    ui::Memo memo("m", nullptr, {});
    const std::string path = dir.write("private.txt", "old content that is longer");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    memo.setText("new");
    memo.saveToFile(path);
    EXPECT_EQ(TempDir::read(path), "new\r\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
