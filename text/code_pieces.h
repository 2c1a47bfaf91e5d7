#pragma once

#include <cstddef>
#include <functional>

#include "io/file_reader.h"
#include "text/encoding.h"
#include "text/progress.h"

namespace varn {

// Reads a file from its start in pieces and hands each on as 8-bit codes of `encoding`: one per
// character that has one, `none` for every other character (and every invalid UTF-8 byte); a
// Windows-1251 file's bytes as they are. Moves `progress`, when given, as the counts do: maximum
// size / 100, a step per 100 bytes read; filling it is the caller's, once its own work is done.
// Throws io::FileError (Read, with the file's name; a cancelled read too).
void ReadAsCodes(const InputFile& file, Encoding encoding, unsigned char none, Progress* progress,
                 const std::function<void(const unsigned char* codes, std::size_t size)>& take);

}  // namespace varn
