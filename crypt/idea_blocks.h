#pragma once

// Many independent blocks at once (electronic code book), on the widest vector unit available.

#include <cstddef>
#include <string_view>

#include "crypt/idea.h"

namespace varn {

enum class IdeaPath { Scalar, Sse2, Avx2, Avx512 };

// How the 16-bit words of a buffer are laid out. Plaintext words are read high byte first and
// cipher words are stored low byte first, so encryption and decryption each swap on one side.
enum class IdeaWordOrder { PlainToCipher, CipherToPlain };

bool IdeaPathAvailable(IdeaPath path);
IdeaPath IdeaBestPath();
std::string_view IdeaPathName(IdeaPath path);

// Ciphers `blocks` 8-byte blocks from in to out (which may be the same buffer) with one schedule.
// An unavailable path falls back to the best available one; all paths give identical bytes.
void IdeaCipherBlocks(const unsigned char* in, unsigned char* out, std::size_t blocks,
                      const IdeaSchedule& schedule, IdeaWordOrder order,
                      IdeaPath path = IdeaBestPath());

}  // namespace varn
