#pragma once

#include "io/failure.h"
#include "io/file_reader.h"

namespace varn {

// Whether DOS text mode would lose part of the file: reading it ends at a byte 26 that is not the
// last byte, or drops a byte 13 that no byte 10 follows, so the file would not come back from a
// pass there and back. Reads the whole file from its start in large buffers; a read failure is
// set in `failure` (Read, with the file's name) and the answer is then false.
bool DosTextWouldLose(const InputFile& input, io::Failure& failure);

}  // namespace varn
