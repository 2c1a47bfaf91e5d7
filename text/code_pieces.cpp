#include "text/code_pieces.h"

#include <vector>

#include "io/failure.h"
#include "text/utf8_pass.h"

namespace varn {

void ReadAsCodes(const InputFile& file, Encoding encoding, unsigned char none, Progress* progress,
                 const std::function<void(const unsigned char* codes, std::size_t size)>& take) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    if (progress) {
        progress->SetMax(file.Size() / kProgressStep);
        progress->SetPosition(0);
    }
    PieceReader reader(file, kPiece);
    CodeReader codes(encoding, none);
    std::vector<unsigned char> decoded;
    if (encoding != Encoding::Windows1251) decoded.resize(CodeReader::Capacity(kPiece));
    std::uint64_t read = 0;
    for (;;) {
        const unsigned char* data = nullptr;
        const std::int64_t got = reader.Next(data);
        if (got < 0) throw io::FileError(io::ReadFailureNow(file.Path()));
        const auto size = static_cast<std::size_t>(got);
        const bool last = size < kPiece;
        if (encoding != Encoding::Windows1251) {
            take(decoded.data(), codes.Read(data, size, last, decoded.data()));
        } else if (size > 0) {
            take(data, size);
        }
        if (progress && size > 0) progress->Advance(StepsBefore(read + size) - StepsBefore(read));
        read += size;
        if (last) return;
    }
}

}  // namespace varn
