#include "cli/deciphered_output.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "io/file_reader.h"
#include "io/transfer.h"

namespace varn::cli {

std::string WriteDeciphered(const std::string& path, const ByteMap& map, int descriptor) {
    const InputFile file(path);
    if (!file.IsOpen()) return "cannot open " + path;
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const DosTextTranslator translator(map);
    std::vector<unsigned char> out(2 * kPiece + 1);
    PieceReader reader(file, kPiece, false);
    for (;;) {
        const unsigned char* data = nullptr;
        const std::int64_t got = reader.Next(data);
        if (got < 0) return "cannot read " + path;
        auto size = static_cast<std::size_t>(got);
        const void* end = std::memchr(data, 26, size);
        if (end) size = static_cast<std::size_t>(static_cast<const unsigned char*>(end) - data);
        std::uint64_t characters = 0;
        const std::size_t bytes = translator.Translate(data, size, out.data(), characters);
        if (!io::WriteAll(descriptor, out.data(), bytes))
            return std::string("cannot write the output: ") + std::strerror(errno);
        if (end || static_cast<std::size_t>(got) < kPiece) return {};
    }
}

}  // namespace varn::cli
