#include "text/dos_text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string_view>

#include "analysis/letter_count.h"
#include "analysis/replace_letters.h"
#include "io/file_reader.h"
#include "test_files.h"
#include "tests/support/file_faults.h"
#include "tests/support/thread_faults.h"

namespace varn {
namespace {

using test::ReadBytes;
using test::TempDir;

// The text's loop: read in DOS text mode, map, write in DOS text mode, one byte at a time.
struct Reference {
    std::string out;
    std::vector<std::uint64_t> stepAfterCharacter;  // bar position after each character
};
Reference TranslateByteByByte(const std::string& in, const ByteMap& map, ProgressRule rule) {
    Reference reference;
    std::uint64_t n = 0;
    std::uint64_t position = 0;
    for (const char c : in) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 26) break;
        if (b == 13) continue;
        if (rule == ProgressRule::AdvanceBefore && n % 100 == 0) ++position;
        ++n;
        if (rule == ProgressRule::AdvanceAfter && n % 100 == 0) ++position;
        const unsigned char m = map[b];
        if (m == 10) reference.out += '\r';
        reference.out += static_cast<char>(m);
        reference.stepAfterCharacter.push_back(position);
    }
    return reference;
}

ByteMap Identity() {
    ByteMap map;
    std::iota(map.begin(), map.end(), 0);
    return map;
}

class DosTextTest : public ::testing::Test {
  protected:
    std::vector<std::uint64_t> positions;
    std::uint64_t position = 0;
    ProgressAdvance advance = [this](std::uint64_t steps) {
        position += steps;
        positions.push_back(position);
    };
    TempDir dir;
};

TEST_F(DosTextTest, SubstitutionWithoutPairingIsTheFileFolded) {
    // An empty standard pairs nothing: every byte is written folded.
    LetterTable table;
    ResetLetterTable(table);
    struct Case {
        std::string in;
        std::string out;
        std::uint64_t steps;
    };
    const Case cases[] = {
        {"ABC", "abc", 1},
        {"abc", "abc", 1},
        {"ab\rd", "abd", 1},
        {"ab\x1a"
         "cd\x1a",
         "ab", 1},
        {"\x1a"
         "abc",
         "", 0},
        {"a\nb", "a\r\nb", 1},
        {"a\r\nb\r\n", "a\r\nb\r\n", 1},
        {"a\rb", "ab", 1},
        {"\r\r\r", "", 0},
        {"", "", 0},
        {"\xC0\xA8\xDF", "\xE0\xB8\xFF", 1},
        {std::string(250, 'x'), std::string(250, 'x'), 3},
        {std::string(100, 'x'), std::string(100, 'x'), 1},
        {std::string(101, 'x'), std::string(101, 'x'), 2},
    };
    for (const Case& c : cases) {
        const std::string in = dir.Write("in", c.in);
        position = 0;
        EXPECT_EQ(ReplaceLetters(table, in, dir.Path("out"), advance).kind, io::FailureKind::None);
        EXPECT_EQ(ReadBytes(dir.Path("out")), c.out);
        EXPECT_EQ(position, c.steps) << c.in.size() << " bytes";
    }
}

TEST_F(DosTextTest, SubstitutesThePairedLetters) {
    const std::string in = dir.Write("in", "ABBA E\r\nabba e\r\n");
    LetterTable table;
    std::string s = "ba";
    struct : Progress {
        void SetMax(std::uint64_t) override {}
        void SetPosition(std::uint64_t) override {}
        void Advance(std::uint64_t) override {}
        void Fill() override {}
    } bar;
    CountOnEtalon(table, s, in, kDescending, bar, bar);
    ASSERT_EQ(ReplaceLetters(table, in, dir.Path("out"), advance).kind, io::FailureKind::None);
    EXPECT_EQ(ReadBytes(dir.Path("out")), "baab e\r\nbaab e\r\n");
}

TEST_F(DosTextTest, MappedLineFeedIsExpandedAndMappedAwayLineFeedIsNot) {
    ByteMap map = Identity();
    map['x'] = 10;
    map[10] = 'y';
    const std::string in = dir.Write("in", "axb\nc");
    ASSERT_EQ(TranslateDosText(in, dir.Path("out"), map, ProgressRule::AdvanceAfter, advance).kind,
              io::FailureKind::None);
    EXPECT_EQ(ReadBytes(dir.Path("out")), "a\r\nbyc");
}

// The ways of running a pass; each must give the same file and the same bar positions.
struct Mode {
    bool pipeline;
};
constexpr Mode kModes[] = {{true}, {false}};

// Where the bar must stand after each buffer of `buffer` input bytes.
std::vector<std::uint64_t> PositionsAtBufferEnds(const std::string& bytes,
                                                 const Reference& reference, std::size_t buffer) {
    std::vector<std::uint64_t> expected;
    std::uint64_t characters = 0;
    for (std::size_t start = 0; start < bytes.size(); start += buffer) {
        const std::string_view piece = std::string_view(bytes).substr(start, buffer);
        const auto cut = piece.find('\x1a');
        const std::string_view kept = piece.substr(0, cut);
        const auto before = characters;
        characters += kept.size() - std::count(kept.begin(), kept.end(), '\r');
        if (characters > before) {
            const auto steps = reference.stepAfterCharacter[characters - 1];
            const auto last = before == 0 ? 0 : reference.stepAfterCharacter[before - 1];
            if (steps > last) expected.push_back(steps);
        }
        if (cut != std::string::npos) break;
    }
    return expected;
}

// Text with CR LF and bare line ends, lone CRs and bytes that map to LF; no byte 26.
std::string MixedText(std::mt19937& random, std::size_t size) {
    std::string bytes;
    while (bytes.size() < size) {
        const unsigned r = random() % 10;
        bytes += r == 0 ? "\r\n" : r == 1 ? "\r" : r == 2 ? "\n" : r == 3 ? "q" : "";
        if (r > 3) bytes += static_cast<char>(random() % 256);
    }
    bytes.resize(size);
    for (auto& c : bytes)
        if (c == 26) c = 27;
    return bytes;
}

ByteMap RandomMap(std::mt19937& random, bool onlyLineFeedGivesLineFeed) {
    ByteMap map;
    for (auto& m : map) m = static_cast<unsigned char>(random() % 200 + 11);
    map[10] = 10;
    if (!onlyLineFeedGivesLineFeed) map['q'] = 10;  // some bytes grow into CR LF
    return map;
}

TEST_F(DosTextTest, BufferedPassEqualsTheByteLoopAtEveryBufferEnd) {
    std::mt19937 random(11);
    for (ProgressRule rule : {ProgressRule::AdvanceBefore, ProgressRule::AdvanceAfter}) {
        for (std::size_t size : {1u, 99u, 100u, 101u, 250u, 1000u, 4099u, 100003u}) {
            // Line feeds only from themselves (the usual case, CR LF pairs copied as they are)
            // and from other bytes too.
            for (bool onlyLineFeedGivesLineFeed : {true, false}) {
                const ByteMap map = RandomMap(random, onlyLineFeedGivesLineFeed);
                std::string bytes = MixedText(random, size);
                if (size > 4000) bytes[size - 1000] = 26;
                const Reference reference = TranslateByteByByte(bytes, map, rule);
                const std::string in = dir.Write("in", bytes);
                for (std::size_t buffer : {1u, 7u, 100u, 4096u, 1u << 20}) {
                    if (buffer == 1 && size > 5000) continue;
                    for (const Mode mode : kModes) {
                        SCOPED_TRACE(testing::Message() << "size " << size << " buffer " << buffer
                                                        << " pipeline " << mode.pipeline);
                        positions.clear();
                        position = 0;
                        ASSERT_EQ(TranslateDosText(in, dir.Path("out"), map, rule, advance,
                                                   {buffer, mode.pipeline})
                                      .kind,
                                  io::FailureKind::None);
                        EXPECT_EQ(ReadBytes(dir.Path("out")), reference.out);
                        // After each buffer the bar is where the byte loop stands after the
                        // same characters.
                        EXPECT_EQ(positions, PositionsAtBufferEnds(bytes, reference, buffer));
                    }
                }
            }
        }
    }
}

// The pass tells from the bytes it reads whether DOS text mode lost part of the file, as a plain
// look at the whole file tells it: a byte 26 before the end, or a 13 that no 10 follows.
TEST_F(DosTextTest, TellsWhatDosTextModeLostFromOneRead) {
    const auto lostByLooking = [](const std::string& s) {
        const std::size_t end = s.find('\x1a');
        if (end != std::string::npos && end + 1 < s.size()) return true;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == 13 && (i + 1 == s.size() || s[i + 1] != 10)) return true;
        }
        return false;
    };
    std::mt19937 random(5);
    const char alphabet[] = {'a', 13, 10, 26};
    for (int trial = 0; trial < 400; ++trial) {
        std::string bytes(random() % 12, 'a');
        for (char& c : bytes) c = alphabet[random() % 4];
        const std::string in = dir.Write("in", bytes);
        for (std::size_t buffer : {1u, 2u, 3u, 5u, 4096u}) {
            for (const Mode mode : kModes) {
                const InputFile input(in);  // a pass reads its input from where it stands
                bool lost = !lostByLooking(bytes);
                const int out = ::open(dir.Path("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
                ASSERT_FALSE(TranslateDosText(input, out, Identity(), ProgressRule::AdvanceAfter,
                                              {}, {buffer, mode.pipeline}, &lost));
                ::close(out);
                EXPECT_EQ(lost, lostByLooking(bytes))
                    << testing::PrintToString(bytes) << " buffer " << buffer;
            }
        }
    }
}

// Files larger than one mapped window, with buffers that straddle its edges, and the end of
// text some buffers into the file.
TEST_F(DosTextTest, LargeFileWithAwkwardBuffersEqualsTheByteLoop) {
    std::mt19937 random(5);
    const ByteMap map = RandomMap(random, true);
    std::string bytes = MixedText(random, (std::size_t{9} << 20) + 3);
    const std::string whole = dir.Write("whole", bytes);
    bytes[(std::size_t{7} << 20) + 12345] = 26;
    const std::string cut = dir.Write("cut", bytes);
    for (const std::string& in : {whole, cut}) {
        const Reference reference =
            TranslateByteByByte(ReadBytes(in), map, ProgressRule::AdvanceAfter);
        for (std::size_t buffer :
             {std::size_t{65537}, std::size_t{1000003}, std::size_t{3} << 20}) {
            for (const Mode mode : kModes) {
                SCOPED_TRACE(testing::Message()
                             << in << " buffer " << buffer << " pipeline " << mode.pipeline);
                positions.clear();
                position = 0;
                ASSERT_EQ(TranslateDosText(in, dir.Path("out"), map, ProgressRule::AdvanceAfter,
                                           advance, {buffer, mode.pipeline})
                              .kind,
                          io::FailureKind::None);
                EXPECT_TRUE(ReadBytes(dir.Path("out")) == reference.out);
                EXPECT_EQ(positions, PositionsAtBufferEnds(ReadBytes(in), reference, buffer));
            }
        }
    }
}

// Every block path against the byte path, on line ends placed at and around block edges.
TEST(DosTextTranslatorTest, EveryPathEqualsTheBytePath) {
    // Every byte changes but CR and LF, and only LF gives LF, so the block paths are taken.
    ByteMap map = Identity();
    for (int b = 0; b < 256; ++b)
        if (b != 10 && b != 13 && (b ^ 0x80) != 10 && (b ^ 0x80) != 13)
            map[b] = static_cast<unsigned char>(b ^ 0x80);
    const DosTextTranslator bytes(map, DosTextPath::Bytes);
    std::mt19937 random(3);
    std::vector<std::string> texts;
    for (const char* pattern : {"\r\n", "\n", "\r", "\r\r\n", "\n\r", "\r\n\n", "\n\n"}) {
        // The pattern at every offset of a run of plain bytes, a block and more long.
        for (std::size_t at = 0; at < 140; ++at) {
            std::string text(140, 'a');
            text.replace(at, 0, pattern);
            texts.push_back(text);
        }
    }
    for (int n = 0; n < 200; ++n) {
        std::string text;
        const std::size_t size = random() % 400;
        while (text.size() < size) {
            const unsigned r = random() % 40;
            text += r == 0 ? "\r\n" : r == 1 ? "\r" : r == 2 ? "\n" : "";
            if (r > 2) text += static_cast<char>(random() % 256);
        }
        texts.push_back(text);
    }
    texts.push_back(std::string(1000, '\r'));
    texts.push_back(std::string(1000, '\n'));
    for (DosTextPath path : {DosTextPath::Best, DosTextPath::Wide, DosTextPath::Sse2}) {
        if (!DosTextPathAvailable(path)) continue;
        const DosTextTranslator translator(map, path);
        for (const std::string& text : texts) {
            const auto* in = reinterpret_cast<const unsigned char*>(text.data());
            std::vector<unsigned char> want(2 * text.size() + 1);
            std::vector<unsigned char> got(2 * text.size() + 1);
            std::uint64_t wantCharacters = 0;
            std::uint64_t gotCharacters = 1;
            const std::size_t wantSize =
                bytes.Translate(in, text.size(), want.data(), wantCharacters);
            const std::size_t gotSize =
                translator.Translate(in, text.size(), got.data(), gotCharacters);
            ASSERT_EQ(gotSize, wantSize)
                << static_cast<int>(path) << " " << testing::PrintToString(text);
            EXPECT_TRUE(std::equal(want.begin(), want.begin() + wantSize, got.begin()));
            EXPECT_EQ(gotCharacters, wantCharacters);
        }
    }
}

TEST_F(DosTextTest, FailuresAreReportedAndNeverAsSuccess) {
    const ByteMap map = Identity();
    const std::string in = dir.Write("in", "some text\n");
    // Many buffers: the reading side is ahead, waiting for room, when the first write fails.
    const std::string large = dir.Write("large", std::string(100000, 'x'));
    const std::string folder = dir.Path("folder");
    std::filesystem::create_directory(folder);
    for (const Mode mode : kModes) {
        SCOPED_TRACE(testing::Message() << "pipeline " << mode.pipeline);
        const auto run = [&](const std::string& from, const std::string& to) {
            return TranslateDosText(from, to, map, ProgressRule::AdvanceBefore, advance,
                                    {1000, mode.pipeline})
                .kind;
        };
        EXPECT_EQ(run(dir.Path("missing"), dir.Path("out")), io::FailureKind::Open);
        EXPECT_EQ(run(folder, dir.Path("out")), io::FailureKind::NotRegular);
        EXPECT_EQ(run(in, dir.Path("no/such/folder/out")), io::FailureKind::Create);
        EXPECT_EQ(run(in, folder), io::FailureKind::NotReplaceable);
        EXPECT_EQ(run(in, "/dev/full"), io::FailureKind::NotReplaceable);
        EXPECT_EQ(run("/dev/zero", dir.Path("out")), io::FailureKind::NotRegular);
        {
            const FileSizeLimit full(5000);
            EXPECT_EQ(run(large, dir.Path("out")), io::FailureKind::Write);
        }
        // Opens, but reading its first bytes fails (nothing is mapped at address 0).
        EXPECT_EQ(run("/proc/self/mem", dir.Path("out")), io::FailureKind::Read);
        // No failure left a file behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")),
                                std::filesystem::directory_iterator()),
                  3);
        EXPECT_EQ(run(in, dir.Path("out")), io::FailureKind::None);
        std::filesystem::remove(dir.Path("out"));
    }
}

TEST_F(DosTextTest, ThrowingProgressStopsThePassAndPassesTheErrorOn) {
    const std::string in = dir.Write("in", std::string(100000, 'x'));
    for (const Mode mode : kModes) {
        int calls = 0;
        const ProgressAdvance throwing = [&](std::uint64_t) {
            if (++calls == 3) throw std::runtime_error("stop");
        };
        EXPECT_THROW(TranslateDosText(in, dir.Path("out"), Identity(), ProgressRule::AdvanceBefore,
                                      throwing, {1000, mode.pipeline}),
                     std::runtime_error);
        EXPECT_EQ(calls, 3);
    }
}

// No reading thread to be had, or one that fails: the same output on one thread, or the error
// reaches the caller and the target is left alone; never a hang or an ended program.
TEST_F(DosTextTest, AFailedThreadStartTranslatesOnOneThreadAndAThrowingReaderPassesItsErrorOn) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i) + "\r\n";
    const std::string in = dir.Write("in", text);
    const ByteMap map = Identity();
    std::vector<std::uint64_t> wanted;
    ASSERT_EQ(TranslateDosText(in, dir.Path("want"), map, ProgressRule::AdvanceAfter,
                               [&](std::uint64_t n) { wanted.push_back(n); }, {1000})
                  .kind,
              io::FailureKind::None);

    const test::FaultyLauncher noThreads(0);
    std::vector<std::uint64_t> steps;
    ASSERT_EQ(
        TranslateDosText(in, dir.Path("out"), map, ProgressRule::AdvanceAfter,
                         [&](std::uint64_t n) { steps.push_back(n); }, {1000, true, &noThreads})
            .kind,
        io::FailureKind::None);
    EXPECT_EQ(ReadBytes(dir.Path("out")), ReadBytes(dir.Path("want")));
    EXPECT_EQ(steps, wanted);
    EXPECT_EQ(noThreads.Attempts(), 1);

    const test::FaultyLauncher throwing(1, 1);
    try {
        TranslateDosText(in, dir.Path("failed"), map, ProgressRule::AdvanceAfter, advance,
                         {1000, true, &throwing});
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "injected");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path("failed")));
}

TEST_F(DosTextTest, ExistingOutputIsReplaced) {
    const std::string in = dir.Write("in", "ab");
    const std::string out = dir.Write("out", "a much longer old content");
    ASSERT_EQ(TranslateDosText(in, out, Identity(), ProgressRule::AdvanceBefore, advance).kind,
              io::FailureKind::None);
    EXPECT_EQ(ReadBytes(out), "ab");
}

}  // namespace
}  // namespace varn
