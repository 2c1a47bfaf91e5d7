#include "io/file_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>

#include "test_files.h"

namespace varn {
namespace {

using test::TempDir;

TEST(MapFilePartTest, MapsWhatTheFileHoldsAndRefusesPagesPastItsEnd) {
    TempDir dir;
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string bytes = std::string(page, 'a') + "tail";
    const InputFile file(dir.Write("f", bytes));
    ASSERT_TRUE(file.IsOpen());

    const unsigned char* whole = MapFilePart(file.Descriptor(), 0, bytes.size());
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(whole), bytes.size()), bytes);
    UnmapFilePart(whole, bytes.size());

    const unsigned char* second = MapFilePart(file.Descriptor(), page, 4);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second), 4), "tail");
    UnmapFilePart(second, 4);

    // Touching the third page would raise a bus error: it is refused instead.
    EXPECT_EQ(MapFilePart(file.Descriptor(), 0, 3 * page), nullptr);
    EXPECT_EQ(MapFilePart(file.Descriptor(), 0, 0), nullptr);
}

// Reads the whole file through a PieceReader; every piece but the last is full.
std::string ReadInPieces(const std::string& path, std::size_t pieceSize, bool map) {
    const InputFile file(path);
    PieceReader reader(file, pieceSize, map);
    std::string all;
    for (;;) {
        const unsigned char* data = nullptr;
        const std::int64_t got = reader.Next(data);
        if (got < 0) return "read error";
        all.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < pieceSize) return all;
    }
}

TEST(PieceReaderTest, PiecesJoinIntoTheFileAcrossMappedWindows) {
    TempDir dir;
    std::mt19937 random(9);
    std::string bytes((std::size_t{9} << 20) + 5, '\0');
    for (auto& c : bytes) c = static_cast<char>(random());
    const std::string path = dir.Write("f", bytes);
    for (std::size_t piece : {std::size_t{4093}, std::size_t{1} << 20, std::size_t{3000001},
                              bytes.size(), bytes.size() + 1}) {
        for (bool map : {true, false}) {
            SCOPED_TRACE(testing::Message() << "piece " << piece << " map " << map);
            EXPECT_TRUE(ReadInPieces(path, piece, map) == bytes);
        }
    }
}

TEST(PieceReaderTest, FilesThatCannotBeMappedAreRead) {
    TempDir dir;
    EXPECT_EQ(ReadInPieces(dir.Write("empty", ""), 4096, true), "");
    // Its size reads 0, and reading its first bytes fails.
    EXPECT_EQ(ReadInPieces("/proc/self/mem", 4096, true), "read error");
    // A file under /proc has no size, yet holds bytes.
    EXPECT_FALSE(ReadInPieces("/proc/self/status", 7, true).empty());
}

}  // namespace
}  // namespace varn
