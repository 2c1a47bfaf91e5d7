#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "concurrency/workers.h"
#include "io/file_reader.h"
#include "io/replacement.h"
#include "text/encoding.h"
#include "text/progress.h"

namespace varn {

using ByteMap = std::array<unsigned char, 256>;

// When a pass over n characters advances its bar.
enum class ProgressRule {
    AdvanceBefore,  // at characters 0, 100, 200, ... before counting them: 250 give 3 steps
    AdvanceAfter,   // after the 100th, 200th, ... character: 250 give 2 steps
};

struct DosTextOptions {
    std::size_t bufferSize = std::size_t{1} << 20;  // input bytes per read
    // A second thread reads and translates the next buffers while this one writes; progress is
    // still reported on the calling thread, after each buffer is written.
    bool pipeline = true;
    const ThreadLauncher* launcher = nullptr;  // how the second thread starts (null: the usual way)
    // The text's encoding: `map` is on 8-bit codes, so a KOI8-R or CP866 byte goes through its
    // code and back (a character the page lacks stays as it is: see MissingCharacters) and UTF-8
    // is decoded and encoded around it. DOS text mode holds for Windows-1251 and CP866 only.
    Encoding encoding = Encoding::Windows1251;
    // For an 8-bit page, map the bytes themselves rather than their codes.
    bool mapBytes = false;
};

// The characters (as UTF-8) that `map` gives for letters of `encoding` and that `encoding`
// cannot hold, each once; empty when the pass loses nothing.
std::string MissingCharacters(const ByteMap& map, Encoding encoding);

// How the translator handles blocks holding no byte that needs more than a lookup.
enum class DosTextPath {
    Best,   // the widest the processor offers
    Wide,   // 64 bytes at a time (AVX-512 VBMI)
    Sse2,   // 16 bytes at a time
    Bytes,  // byte by byte
};
bool DosTextPathAvailable(DosTextPath path);

// Translates one text file into another in DOS text mode through `map`: reading drops every
// byte 13 and ends at the first byte 26; each remaining byte b becomes map[b]; writing turns
// every output byte 10 into 13 10. The output is written from the descriptor's position.
// `advance` receives the steps of `rule` per buffer. Returns what failed, with errno: Read (with
// the input's name) or Write (without a name: the descriptor is the caller's); nothing on success.
// `lost`, when given, is told after a whole pass whether DOS text mode dropped part of the input
// (see DosTextLossScanner), from the bytes as they were read: the file needs no second read.
io::Failure TranslateDosText(const InputFile& input, int output, const ByteMap& map,
                             ProgressRule rule, const ProgressAdvance& advance,
                             const DosTextOptions& options = {}, bool* lost = nullptr);

// The same from a named regular file to a target that the complete output replaces atomically
// (io::Replacement): on any failure the target is as it was and nothing is left behind. Returns
// what failed: Open or NotRegular (the input), Create or NotReplaceable (the output), Read, Write,
// Changed (the input changed during the pass) or Replace; nothing on success.
io::Failure TranslateDosText(const std::string& inPath, const io::Target& out, const ByteMap& map,
                             ProgressRule rule, const ProgressAdvance& advance,
                             const DosTextOptions& options = {});

// The buffer step of the above, for `in` holding no byte 26: writes at most 2 * size + 1 bytes
// (one byte of scratch past the end) to `out`; returns the bytes written and sets `characters`
// to the characters delivered by the reader (the bytes other than 13).
class DosTextTranslator {
  public:
    explicit DosTextTranslator(const ByteMap& map, DosTextPath path = DosTextPath::Best);
    std::size_t Translate(const unsigned char* in, std::size_t size, unsigned char* out,
                          std::uint64_t& characters) const;

  private:
    // Low 16 bits: the bytes to write; bits 16-23: how many of them (0 for 13, 2 for an
    // output 10); bit 24: one character delivered.
    std::array<std::uint32_t, 256> code_{};
    // The map with 13 kept as 13: a block whose every CR stands right before an LF comes out
    // the same length (CR dropped, LF written as CR LF), so it is a plain lookup.
    std::array<unsigned char, 256> plain_{};
    // The one in use: Bytes unless only 10 itself maps to 10, which the block paths rely on.
    DosTextPath path_ = DosTextPath::Bytes;
};

}  // namespace varn
