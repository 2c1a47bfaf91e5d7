#pragma once

// The encrypted file format and the two passes over it.
//
//   offset 0: L, plaintext length, signed 32-bit, low byte first
//   offset 4: N = L div 8 + 1 blocks of 8 bytes (ECB); plaintext words are taken high byte
//             first, cipher words stored low byte first; the last block is zero-padded, so a
//             length that is a multiple of 8 (0 included) ends in a block of zeros.
//
// The passes work on file descriptors of regular files in large chunks, so memory stays constant;
// neither opens nor closes files. The source is read with pread into a cache-sized buffer (a
// mapping pays a page fault per 4 KiB, which on virtual machines costs more than the copy); the
// target is written with pwrite, so a full disk is an error value, never a signal.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "concurrency/workers.h"
#include "crypt/crypt_result.h"
#include "crypt/idea.h"
#include "crypt/idea_blocks.h"

namespace varn {

// Sources of this size or more do not fit the signed 32-bit length field.
inline constexpr std::int64_t kIdeaSizeLimit = std::int64_t{1} << 31;

#ifndef VARN_SMALL_CHUNKS
// Bytes per chunk a thread reads, ciphers and writes at a time.
inline constexpr std::size_t kIdeaChunkBytes = std::size_t{4} << 20;

// Bytes a thread reads, ciphers and writes at a time: small enough for the data to stay in the
// core's cache between the three.
inline constexpr std::size_t kIdeaWriteBytes = std::size_t{256} << 10;
#else
// The fuzz build: tiny chunks, so that inputs of a few hundred bytes already span several chunks
// and pieces and keep the second thread busy.
inline constexpr std::size_t kIdeaChunkBytes = 64;
inline constexpr std::size_t kIdeaWriteBytes = 24;
#endif

struct IdeaStreamOptions {
    IdeaPath path = IdeaBestPath();
    unsigned threads = 2;  // threads sharing the chunks of a pass (1 = the calling thread only)
    const ThreadLauncher* launcher = nullptr;  // how threads start (null: the usual way)
};

// Key words from a password of Windows-1251 bytes: character i is the high byte of word i and
// the low byte of word i+1; only the first 8 characters count.
IdeaKey IdeaKeyFromPassword(std::string_view password);

// Size of the encrypted file for a plaintext of `length` bytes.
std::int64_t IdeaEncryptedSize(std::int64_t length);

// Every function below returns ok, a refusal of the format, or a file failure without a name:
// Read (the source) or Write (the target), with errno.

// Checks made before anything is written: TooLarge / NotEncrypted, or Read.
CryptResult IdeaCheckPlainSource(int source);
CryptResult IdeaCheckEncryptedSource(int source);

// Writes the encrypted form of the whole source to the (empty) target.
CryptResult IdeaEncryptStream(int source, int target, const IdeaKey& key,
                              const IdeaStreamOptions& options = {});

// Whether the last block of a well-formed encrypted source deciphers under `key` to its L mod 8
// bytes followed by zero bytes, as every encryption writes it: ok or WrongPassword (or what
// IdeaCheckEncryptedSource finds). Reads and deciphers one block.
CryptResult IdeaCheckPadding(int source, const IdeaKey& key);

// Writes the plaintext of an encrypted source to the (empty) target; refuses a malformed size and,
// before writing anything, a last block whose padding is not zero.
CryptResult IdeaDecryptStream(int source, int target, const IdeaKey& key,
                              const IdeaStreamOptions& options = {});

}  // namespace varn
