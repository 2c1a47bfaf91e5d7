#include "caesar/caesar_pass.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "io/failure.h"
#include "tests/support/file_faults.h"

namespace varn {
namespace {

namespace fs = std::filesystem;
// What a pass did, as the tests compare it: "done", "not writable" or the failure's kind.
std::string What(const CaesarOutcome& outcome) {
    if (outcome.notWritable) return "not writable";
    switch (outcome.failure.kind) {
        case io::FailureKind::None:
            return "done";
        case io::FailureKind::Create:
            return "create";
        case io::FailureKind::NotReplaceable:
            return "not replaceable";
        case io::FailureKind::Read:
            return "read";
        case io::FailureKind::Write:
            return "write";
        case io::FailureKind::Replace:
            return "replace";
        default:
            return "open";
    }
}

struct RecordingBar : Progress {
    std::uint64_t max = 999;
    std::uint64_t position = 999;
    std::uint64_t advanced = 0;
    bool filled = false;
    void SetMax(std::uint64_t value) override { max = value; }
    void SetPosition(std::uint64_t value) override { position = value; }
    void Advance(std::uint64_t steps) override {
        position += steps;
        advanced += steps;
    }
    void Fill() override {
        position = max;
        filled = true;
    }
};

// Every pass works in the current folder: each test gets a fresh one.
class CaesarPassTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "varn-caesar-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string Run(const std::string& name, bool decipher, bool replace) {
        return What(RunCaesarPass(name, decipher, replace, bar));
    }
    // No temporary of ours is left in the current folder.
    static bool NoTemporaries() {
        for (const auto& entry : fs::directory_iterator(".")) {
            if (entry.path().filename().string().starts_with(kCaesarTempPrefix)) return false;
        }
        return true;
    }
    RecordingBar bar;

  private:
    fs::path previous_;
    fs::path dir_;
};

TEST_F(CaesarPassTest, SeparateModeGivesTheWorkedExamples) {
    struct Case {
        std::string in;
        bool decipher;
        std::string out;
    };
    const Case cases[] = {
        {"abd xyz", false, "deg#{|}"},
        {"\xFF", false, " "},
        {" ", true, "\xFF"},
        {"a\nb", false, "d\r\ne"},  // bare LF comes out as CR LF
        {"a\rb", false, "de"},      // a lone CR is lost
        {"ab\x1a"
         "cd",
         false, "de"},  // byte 26 ends the input
        {"", false, ""},
    };
    for (const Case& c : cases) {
        Write("text.txt", c.in);
        EXPECT_EQ(Run("text.txt", c.decipher, false), "done");
        EXPECT_EQ(Read(kCaesarResultFile), c.out) << c.in;
        EXPECT_EQ(Read("text.txt"), c.in);
        EXPECT_TRUE(NoTemporaries());
        EXPECT_TRUE(bar.filled);
    }
}

// In place, a file that DOS text mode would not give back is refused and left as it is; into
// "__varn__.enc" the pass runs and warns. A text with CR LF, bare LF or a final 26 comes back.
TEST_F(CaesarPassTest, AFileThatWouldNotComeBackIsNotReplaced) {
    const struct {
        std::string in;
        bool lossy;
    } cases[] = {
        {"abc\x1a"
         "def",
         true},
        {"a\rb", true},
        {"ab\r", true},
        {std::string(3u << 20, 'x') + "\r", true},
        {"a\r\nb\nc", false},
        {"abc\x1a", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.substr(0, 8));
        Write("text.txt", c.in);
        const CaesarOutcome inPlace = RunCaesarPass("text.txt", false, true, bar);
        EXPECT_EQ(inPlace.notRestorable, c.lossy);
        EXPECT_EQ(inPlace.succeeded(), !c.lossy);
        if (c.lossy) {
            EXPECT_EQ(Read("text.txt"), c.in);
        }
        EXPECT_TRUE(NoTemporaries());

        Write("text.txt", c.in);
        const CaesarOutcome separate = RunCaesarPass("text.txt", false, false, bar);
        EXPECT_TRUE(separate.succeeded());
        EXPECT_EQ(separate.notPlainText, c.lossy);
        EXPECT_TRUE(fs::exists(kCaesarResultFile));
    }
}

TEST_F(CaesarPassTest, ReplaceModeRoundTripsCrLfText) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "Line \xC0\xE1\xFF xyz ~ " + std::to_string(i) + "\r\n";
    Write("text.txt", text);
    EXPECT_EQ(Run("text.txt", false, true), "done");
    const std::string enciphered = Read("text.txt");
    EXPECT_NE(enciphered, text);
    EXPECT_EQ(enciphered.size(), text.size());
    EXPECT_EQ(Run("text.txt", true, true), "done");
    EXPECT_EQ(Read("text.txt"), text);
    EXPECT_TRUE(NoTemporaries());
    EXPECT_FALSE(fs::exists(kCaesarResultFile));
}

TEST_F(CaesarPassTest, BarAdvancesAfterEachHundredCharacters) {
    struct Case {
        std::string in;
        std::uint64_t max;
        std::uint64_t advanced;
    };
    const Case cases[] = {
        {std::string(250, 'x'), 2, 2},
        {std::string(99, 'x'), 0, 0},
        {std::string(100, 'x'), 1, 1},
        {std::string(199, 'x') + std::string(100, '\r'), 2, 1},  // CRs are not characters
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        Write("text.txt", c.in);
        bar = RecordingBar{};
        Run("text.txt", false, false);
        EXPECT_EQ(bar.max, c.max);
        EXPECT_EQ(bar.advanced, c.advanced) << c.in.size();
        EXPECT_EQ(bar.position, c.max);
    }
}

TEST_F(CaesarPassTest, ReadOnlyFileIsNotReplaced) {
    Write("text.txt", "abc");
    ::chmod("text.txt", 0444);
    EXPECT_EQ(Run("text.txt", false, true), "not writable");
    EXPECT_EQ(Read("text.txt"), "abc");
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CaesarPassTest, FailedMoveToTheResultFileClaimsNoCompletion) {
    Write("text.txt", "abc");
    fs::create_directory(kCaesarResultFile);
    Write(std::string(kCaesarResultFile) + "/keep", "x");  // a folder where the result should go
    EXPECT_EQ(Run("text.txt", true, false), "not replaceable");
    EXPECT_EQ(Read("text.txt"), "abc");
    EXPECT_EQ(Read(std::string(kCaesarResultFile) + "/keep"), "x");
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CaesarPassTest, EarlierResultFileIsReplacedWithTheSourcesPermissionBits) {
    Write(kCaesarResultFile, "old result, longer than the new one");
    Write("text.txt", "abc");
    ::chmod("text.txt", 0600);
    EXPECT_EQ(Run("text.txt", false, false), "done");
    EXPECT_EQ(Read(kCaesarResultFile), "def");
    EXPECT_EQ(fs::status(kCaesarResultFile).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    // In place the file keeps its own bits.
    EXPECT_EQ(Run("text.txt", false, true), "done");
    EXPECT_EQ(fs::status("text.txt").permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(CaesarPassTest, ALinkAtTheResultNameIsReplacedNotFollowed) {
    Write("victim.txt", "precious");
    ASSERT_EQ(::symlink("victim.txt", kCaesarResultFile), 0);
    Write("text.txt", "abc");
    EXPECT_EQ(Run("text.txt", false, false), "done");
    EXPECT_EQ(Read("victim.txt"), "precious");
    EXPECT_FALSE(fs::is_symlink(kCaesarResultFile));
    EXPECT_EQ(Read(kCaesarResultFile), "def");
}

TEST_F(CaesarPassTest, WriteFailureNeitherCompletesNorTouchesTheFile) {
    Write("text.txt", std::string(100000, 'a'));
    {
        const FileSizeLimit full(1000);
        EXPECT_EQ(Run("text.txt", false, true), "write");
        EXPECT_EQ(Run("text.txt", false, false), "write");
    }
    EXPECT_EQ(Read("text.txt"), std::string(100000, 'a'));
    EXPECT_FALSE(fs::exists(kCaesarResultFile));
    EXPECT_TRUE(NoTemporaries());
    EXPECT_FALSE(bar.filled);
}

TEST_F(CaesarPassTest, ReadFailureNeitherCompletesNorLeavesTheTemporaryFile) {
    // Opens and has a size, but reading its first bytes fails.
    EXPECT_EQ(Run("/proc/self/mem", false, false), "read");
    EXPECT_TRUE(NoTemporaries());
    EXPECT_FALSE(fs::exists(kCaesarResultFile));
    EXPECT_FALSE(bar.filled);
}

// A text of many small buffers, with a byte 26 in a late one: both ways of running the pass write
// the same file and move the bar as far.
TEST_F(CaesarPassTest, PipelinedAndSequentialPassesAgree) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "Line \xC0\xE1\xFF xyz ~ " + std::to_string(i) + "\r\n";
    text[text.size() - 500] = 26;
    std::string results[2];
    std::uint64_t advanced[2];
    for (bool pipeline : {false, true}) {
        Write("text.txt", text);
        bar = RecordingBar{};
        EXPECT_EQ(What(RunCaesarPass("text.txt", false, false, bar, {4099, pipeline})), "done");
        results[pipeline] = Read(kCaesarResultFile);
        advanced[pipeline] = bar.advanced;
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[1].size(), text.size() - 500);
    EXPECT_EQ(advanced[0], advanced[1]);
    const std::string read = text.substr(0, text.size() - 500);
    const auto characters = read.size() - std::count(read.begin(), read.end(), '\r');
    EXPECT_EQ(advanced[1], characters / 100);
}

TEST_F(CaesarPassTest, UnopenableFileThrowsTheOpenError) {
    fs::create_directory("folder");
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    const std::pair<std::string, io::FailureKind> cases[] = {
        {"missing.txt", io::FailureKind::Open},
        {"folder", io::FailureKind::NotRegular},
        {"fifo", io::FailureKind::NotRegular},  // refused without waiting for a writer
        {"/dev/zero", io::FailureKind::NotRegular},
    };
    for (const auto& [name, kind] : cases) {
        try {
            Run(name, false, true);
            ADD_FAILURE() << name;
        } catch (const io::FileError& error) {
            EXPECT_EQ(error.failure().kind, kind);
            EXPECT_EQ(error.failure().path, name);
        }
    }
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CaesarPassTest, LongNamesAreUsedWhole) {
    std::string folder;
    for (int i = 0; i < 30; ++i) folder += "folder" + std::to_string(i) + "/";
    fs::create_directories(folder);
    const std::string name = folder + "text.txt";
    ASSERT_GT(name.size(), 254u);
    Write(name, "abc");
    EXPECT_EQ(Run(name, false, true), "done");
    EXPECT_EQ(Read(name), "def");
}

}  // namespace
}  // namespace varn
