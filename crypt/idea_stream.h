#pragma once

// The encrypted file format and the two passes over it.
//
//   offset 0: L, plaintext length, signed 32-bit, low byte first
//   offset 4: N = L div 8 + 1 blocks of 8 bytes (ECB); plaintext words are taken high byte
//             first, cipher words stored low byte first; the last block is zero-padded, so a
//             length that is a multiple of 8 (0 included) ends in a block of zeros.
//
// The passes work on file descriptors of regular files in large chunks, so memory stays constant;
// neither opens nor closes files. The source is read with pread into a cache-sized buffer (or,
// when asked, mapped a window at a time); the target is written with pwrite, so a full disk is an
// error value, never a signal.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "concurrency/workers.h"
#include "crypt/idea.h"
#include "crypt/idea_blocks.h"

namespace varn {

// Sources of this size or more do not fit the signed 32-bit length field.
inline constexpr std::int64_t kIdeaSizeLimit = std::int64_t{1} << 31;

#ifndef VARN_SMALL_CHUNKS
// Bytes per chunk a thread reads, ciphers and writes at a time.
inline constexpr std::size_t kIdeaChunkBytes = std::size_t{4} << 20;

// Bytes a thread ciphers into its write buffer and writes at a time when it writes for itself:
// small enough for the data to stay in the core's cache between the cipher and the write.
inline constexpr std::size_t kIdeaWriteBytes = std::size_t{256} << 10;
#else
// The fuzz build: tiny chunks, so that inputs of a few hundred bytes already span several chunks,
// pieces and map windows and keep the second thread busy.
inline constexpr std::size_t kIdeaChunkBytes = 64;
inline constexpr std::size_t kIdeaWriteBytes = 24;
#endif

struct IdeaStreamOptions {
    IdeaPath path = IdeaBestPath();
    unsigned threads = 2;      // threads sharing the chunks of a pass (1 = the calling thread only)
    bool writeBehind = false;  // each of them hands its writes to a thread of its own
    // Bytes of the source mapped at a time (rounded up to whole pages, at most one chunk);
    // 0 reads the source with pread instead: a mapping pays a page fault per 4 KiB, which on
    // some hosts (virtual machines) costs more than the copy into a cache-sized buffer.
    std::size_t mapWindow = 0;
    const ThreadLauncher* launcher = nullptr;  // how threads start (null: the usual way)
};

enum class IdeaStreamStatus {
    Ok,
    ReadFailed,    // the source could not be read to its end
    WriteFailed,   // the target could not be written
    TooLarge,      // encryption: the source is kIdeaSizeLimit bytes or more
    NotEncrypted,  // decryption: the size does not match the stored length (or L < 0)
    WrongPadding,  // decryption: the last block's padding did not decipher to zero bytes (a wrong
                   // password or a damaged file); nothing was written
};

// Key words from a password of Windows-1251 bytes: character i is the high byte of word i and
// the low byte of word i+1; only the first 8 characters count.
IdeaKey IdeaKeyFromPassword(std::string_view password);

// Size of the encrypted file for a plaintext of `length` bytes.
std::int64_t IdeaEncryptedSize(std::int64_t length);

// Checks made before anything is written: Ok, TooLarge / NotEncrypted, or ReadFailed.
IdeaStreamStatus IdeaCheckPlainSource(int source);
IdeaStreamStatus IdeaCheckEncryptedSource(int source);

// Writes the encrypted form of the whole source to the (empty) target.
IdeaStreamStatus IdeaEncryptStream(int source, int target, const IdeaKey& key,
                                   const IdeaStreamOptions& options = {});

// Whether the last block of a well-formed encrypted source deciphers under `key` to its L mod 8
// bytes followed by zero bytes, as every encryption writes it: Ok or WrongPadding (or the
// failures of IdeaCheckEncryptedSource). Reads and deciphers one block.
IdeaStreamStatus IdeaCheckPadding(int source, const IdeaKey& key);

// Writes the plaintext of an encrypted source to the (empty) target; refuses a malformed size and,
// before writing anything, a last block whose padding is not zero.
IdeaStreamStatus IdeaDecryptStream(int source, int target, const IdeaKey& key,
                                   const IdeaStreamOptions& options = {});

}  // namespace varn
