#include "analysis/letter_count.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <stdexcept>

#include "analysis/result_rows.h"
#include "io/failure.h"
#include "test_files.h"
#include "tests/support/thread_faults.h"
#include "text/byte_count.h"

namespace varn {
namespace {

using test::ReadBytes;
using test::RecordingProgress;
using test::TempDir;

class CountTest : public ::testing::Test {
  protected:
    TempDir dir;
    LetterTable table;
    RecordingProgress a;
    RecordingProgress b;
};

// The six bytes a, b, b, a, space, e on three standards in both directions.
TEST_F(CountTest, SixByteFileGivesTheWorkedRows) {
    const std::string path = dir.Write("six.txt", "abba e");
    struct Case {
        std::string standard;
        int direction;
        std::vector<std::string> rows;
    };
    const std::string rowA = "   2\t 33.334 %\t\ta\t";
    const std::string rowB = "   2\t 33.334 %\t\tb\t";
    const Case cases[] = {
        {"ab", kDescending, {rowA + "a", rowB + "b"}},
        {"ba", kDescending, {rowA + "b", rowB + "a"}},
        {"aab", kDescending, {rowA + "a", rowB + "a"}},
        {"ab", kAscending, {rowA + "a", rowB + "b"}},
        {"ba", kAscending, {rowA + "b", rowB + "a"}},
        {"aab", kAscending, {rowA + "a", rowB + "b"}},
        {"ab\r\n", kDescending, {rowA + "a", rowB + "b"}},
    };
    for (const Case& c : cases) {
        std::string s = c.standard;
        const std::uint64_t total = CountOnEtalon(table, s, path, c.direction, a, b);
        EXPECT_EQ(total, 6u);
        EXPECT_EQ(EtalonRows(table, s, total), c.rows) << c.standard << " " << c.direction;
    }
    EXPECT_EQ(EtalonSummary(6, true), std::vector<std::string>{"Всего букв : 6"});
    EXPECT_EQ(EtalonSummary(6, false), std::vector<std::string>{"Letters : 6"});
}

TEST_F(CountTest, FinalLineBreakIsCutFromTheStandardInPlace) {
    const std::string path = dir.Write("f", "abc");
    std::string s = "a\r\nb\r\n";
    CountOnEtalon(table, s, path, kDescending, a, b);
    EXPECT_EQ(s, "a\r\nb");  // only the last one
}

TEST_F(CountTest, OneEmptyLineStandardGivesNoRowsAndTheTableInByteOrder) {
    const std::string path = dir.Write("six.txt", "abba e");
    std::string s = "\r\n";
    const std::uint64_t total = CountOnEtalon(table, s, path, kDescending, a, b);
    EXPECT_EQ(s, "");
    EXPECT_TRUE(EtalonRows(table, s, total).empty());
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[i].character, i);
        EXPECT_EQ(table[i].paired, i);
    }
    EXPECT_EQ(table['a'].count, 2u);
}

TEST_F(CountTest, AllOnTheSixByteFile) {
    const std::string path = dir.Write("six.txt", "abba e");
    const std::uint64_t total = CountAll(table, path, kDescending, a);
    const AllRowsResult all = AllRows(table, total);
    const std::vector<std::string> rows = {
        "   2\t 33.334 %\t\ta\t97",
        "   2\t 33.334 %\t\tb\t98",
        "   1\t 16.667 %\t\t \t32",
        "   1\t 16.667 %\t\te\t101",
    };
    EXPECT_EQ(all.rows, rows);
    EXPECT_EQ(all.newStandard, "ab e");
    EXPECT_EQ(AllSummary(total, true),
              (std::vector<std::string>{"Всего букв : 6", "См. новый эталон..."}));
    EXPECT_EQ(AllSummary(total, false),
              (std::vector<std::string>{"Whole letters : 6", "Refer to new standard..."}));
}

TEST_F(CountTest, AllShowsControlBytesAndLeavesNulOutOfTheStandard) {
    const std::string path = dir.Write("ctl", std::string("a\r\n\0\0\0", 6));
    const std::uint64_t total = CountAll(table, path, kDescending, a);
    const AllRowsResult all = AllRows(table, total);
    const std::vector<std::string> rows = {
        "   3\t 50 %\t\t\t0",
        "   1\t 16.667 %\t\t\n\t10",
        "   1\t 16.667 %\t\t\r\t13",
        "   1\t 16.667 %\t\ta\t97",
    };
    EXPECT_EQ(all.rows, rows);
    EXPECT_EQ(all.newStandard, "\n\ra");
    for (const auto& entry : table) EXPECT_EQ(entry.paired, entry.character);
}

TEST_F(CountTest, FoldsCapitalsIntoSmallLetters) {
    const std::string path = dir.Write("fold", "Aa\xA8\xB8");
    std::string s = "a\xB8";
    CountOnEtalon(table, s, path, kDescending, a, b);
    LetterTable byChar{};
    for (const auto& entry : table) byChar[entry.character] = entry;
    EXPECT_EQ(byChar['a'].count, 2u);
    EXPECT_EQ(byChar[0xB8].count, 2u);
    EXPECT_EQ(byChar['A'].count, 0u);
    EXPECT_EQ(byChar[0xA8].count, 0u);
}

TEST_F(CountTest, EmptyFileCountsNothingAndFillsToZero) {
    const std::string path = dir.Write("empty", "");
    std::string s = "ab";
    EXPECT_EQ(CountOnEtalon(table, s, path, kDescending, a, b), 0u);
    EXPECT_EQ(a.max, 0u);
    EXPECT_EQ(a.position, 0u);
    EXPECT_TRUE(a.filled);
    EXPECT_EQ(EtalonRows(table, s, 0),
              (std::vector<std::string>{"   0\t 0 %\t\ta\ta", "   0\t 0 %\t\tb\tb"}));
    EXPECT_TRUE(AllRows(table, 0).rows.empty());
}

TEST_F(CountTest, UnopenableFileThrowsAndLeavesTheTableReset) {
    table[0].count = 99;
    const std::string missing = dir.Path("missing");
    const std::string folder = dir.Path("");
    for (const std::string& path : {missing, folder}) {
        std::string s = "ab";
        try {
            CountOnEtalon(table, s, path, kDescending, a, b);
            ADD_FAILURE() << "no error for " << path;
        } catch (const io::FileError& error) {
            EXPECT_EQ(error.failure().path, path);
        }
        EXPECT_EQ(table[0].count, 0u);
        EXPECT_THROW(CountAll(table, path, kDescending, a), std::runtime_error);
    }
}

// A bar that gives up part way must not leave the second thread waiting.
TEST_F(CountTest, ThrowingProgressStopsTheCountAndPassesTheErrorOn) {
    const std::string path = dir.Write("text", std::string(100000, 'x'));
    for (unsigned threads : {1u, 2u}) {
        int calls = 0;
        const ProgressAdvance throwing = [&](std::uint64_t) {
            if (++calls == 3) throw std::runtime_error("stop");
        };
        ByteCounts counts{};
        EXPECT_THROW(CountFileBytes(path, counts, nullptr, throwing, {4096, threads}),
                     std::runtime_error);
        EXPECT_EQ(calls, 3);
    }
}

// No second thread to be had, or one that fails: the count is the same on one thread, or the
// error reaches the caller; never a hang or an ended program.
TEST_F(CountTest, AFailedThreadStartCountsOnOneThreadAndAThrowingWorkerPassesItsErrorOn) {
    std::string bytes(300001, 'e');
    for (std::size_t i = 0; i < bytes.size(); i += 7) bytes[i] = static_cast<char>(i);
    const std::string path = dir.Write("text", bytes);
    ByteCounts expected{};
    for (unsigned char c : bytes) ++expected[c];

    const test::FaultyLauncher noThreads(0);
    ByteCounts counts{};
    std::uint64_t steps = 0;
    const FileCount counted = CountFileBytes(
        path, counts, nullptr, [&](std::uint64_t n) { steps += n; }, {4096, 2, &noThreads});
    EXPECT_EQ(counted.total, bytes.size());
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(steps, StepsBefore(bytes.size()));
    EXPECT_EQ(noThreads.Attempts(), 1);

    const test::FaultyLauncher throwing(1, 1);
    try {
        CountFileBytes(path, counts, nullptr, nullptr, {4096, 2, &throwing});
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "injected");
    }
}

TEST_F(CountTest, CountsBeyondTwoToTheTwentyFourExactly) {
    const std::string path = dir.Path("zeros");
    const std::uint64_t size = (std::uint64_t{17} << 20) + 3;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ASSERT_EQ(::pwrite(fd, "Q", 1, 5), 1);
    ::close(fd);
    for (unsigned threads : {1u, 2u}) {
        const std::uint64_t total = CountAll(table, path, kDescending, a, {1 << 20, threads});
        EXPECT_EQ(total, size);
        EXPECT_EQ(table[0].character, 0);
        EXPECT_EQ(table[0].count, size - 1);
        EXPECT_EQ(table[1].character, 'q');
        EXPECT_EQ(table[1].count, 1u);
        EXPECT_EQ(a.max, size / 100);
        EXPECT_EQ(a.positions.back(), (size + 99) / 100);
    }
}

// The text's loop: one byte at a time, the bar advanced at indices 0, 100, 200, ...
struct Reference {
    ByteCounts folded{};
    std::uint64_t steps = 0;
};
Reference CountByteByByte(const std::string& bytes) {
    Reference reference;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        ++reference.folded[LowerChar(static_cast<unsigned char>(bytes[i]))];
        if (i % 100 == 0) ++reference.steps;
    }
    return reference;
}

TEST_F(CountTest, BufferedCountEqualsTheByteLoopAtEveryBufferEnd) {
    std::mt19937 random(7);
    const std::size_t sizes[] = {0, 1, 99, 100, 101, 199, 1000, 4097, 65537, 300001};
    const std::size_t buffers[] = {1, 7, 100, 256, 4096, 1 << 20};
    for (std::size_t size : sizes) {
        std::string bytes(size, '\0');
        // Skewed data: long runs of one byte between random ones.
        for (auto& c : bytes) c = static_cast<char>(random() % 3 == 0 ? random() : 'e');
        const std::string path = dir.Write("random", bytes);
        const Reference reference = CountByteByByte(bytes);
        for (std::size_t buffer : buffers) {
            if (buffer == 1 && size > 70000) continue;
            for (const unsigned threads : {1u, 2u}) {
                RecordingProgress bar;
                RecordingProgress other;
                std::string s = "e";
                const std::uint64_t total =
                    CountOnEtalon(table, s, path, kDescending, bar, other, {buffer, threads});
                SCOPED_TRACE(testing::Message()
                             << "size " << size << " buffer " << buffer << " threads " << threads);
                EXPECT_EQ(total, size);
                for (const auto& entry : table)
                    EXPECT_EQ(entry.count, reference.folded[entry.character]);
                EXPECT_EQ(bar.max, size / 100);
                // One report per buffer, in file order, whichever thread counted it.
                std::vector<std::uint64_t> expected;
                for (std::size_t end = buffer; end < size + buffer; end += buffer)
                    expected.push_back(StepsBefore(std::min(end, size)));
                EXPECT_EQ(bar.positions, expected);
                EXPECT_EQ(other.positions, expected);
                EXPECT_TRUE(bar.filled);
                EXPECT_TRUE(other.filled);
                if (!expected.empty()) {
                    EXPECT_EQ(expected.back(), reference.steps);
                }
            }
        }
    }
}

TEST(CountBytesTest, LargeBufferOfOneByteCountsExactly) {
    const std::string bytes(5'000'003, '\xFF');
    ByteCounts counts{};
    CountBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), counts);
    EXPECT_EQ(counts[255], bytes.size());
    EXPECT_EQ(counts[0], 0u);
}

}  // namespace
}  // namespace varn
