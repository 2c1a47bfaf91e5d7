#include "ui/memo.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/file_layer.h"

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

TEST(MemoFiles, FailuresCarryTheFileLayerTexts) {
    TempDir dir;
    ui::Memo memo("m", nullptr, {});
    memo.setText("kept");
    std::filesystem::create_directory(dir.file("folder"));
    for (const std::string& path : {dir.file("missing.txt"), dir.file("folder")}) {
        try {
            memo.loadFromFile(path);
            ADD_FAILURE() << path;
        } catch (const ui::FileError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
        }
    }
    EXPECT_EQ(memo.text(), "kept");
    try {
        memo.saveToFile(dir.file("no/such/folder.txt"));
        ADD_FAILURE();
    } catch (const ui::FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file " + dir.file("no/such/folder.txt"));
    }
    EXPECT_THROW(memo.saveToFile("/dev/full"), ui::FileError);
}

}  // namespace
