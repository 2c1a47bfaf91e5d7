#include "io/file_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <string>

#include "test_files.h"

namespace varn {
namespace {

using test::TempDir;

// Reads the whole file through a PieceReader; every piece but the last is full.
std::string ReadInPieces(const std::string& path, std::size_t pieceSize) {
    const InputFile file(path);
    PieceReader reader(file, pieceSize);
    std::string all;
    for (;;) {
        const unsigned char* data = nullptr;
        const std::int64_t got = reader.Next(data);
        if (got < 0) return "read error";
        all.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(got));
        if (static_cast<std::size_t>(got) < pieceSize) return all;
    }
}

TEST(PieceReaderTest, PiecesJoinIntoTheFile) {
    TempDir dir;
    std::mt19937 random(9);
    std::string bytes((std::size_t{9} << 20) + 5, '\0');
    for (auto& c : bytes) c = static_cast<char>(random());
    const std::string path = dir.Write("f", bytes);
    for (std::size_t piece : {std::size_t{4093}, std::size_t{1} << 20, std::size_t{3000001},
                              bytes.size(), bytes.size() + 1}) {
        SCOPED_TRACE(testing::Message() << "piece " << piece);
        EXPECT_TRUE(ReadInPieces(path, piece) == bytes);
    }
}

TEST(PieceReaderTest, EmptyUnreadableAndSizelessFiles) {
    TempDir dir;
    EXPECT_EQ(ReadInPieces(dir.Write("empty", ""), 4096), "");
    // Its size reads 0, and reading its first bytes fails.
    EXPECT_EQ(ReadInPieces("/proc/self/mem", 4096), "read error");
    // A file under /proc has no size, yet holds bytes.
    EXPECT_FALSE(ReadInPieces("/proc/self/status", 7).empty());
}

}  // namespace
}  // namespace varn
