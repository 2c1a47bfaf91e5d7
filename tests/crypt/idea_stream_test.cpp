#include "crypt/idea_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <stdexcept>
#include <string>
#include <tuple>

#include "tests/crypt/crypt_result_name.h"
#include "tests/support/thread_faults.h"

namespace varn {
namespace {

using test::What;

// An in-memory file, closed at the end of the scope.
class MemFile {
  public:
    explicit MemFile(const std::string& content = {}) : fd_(::memfd_create("crypt", MFD_CLOEXEC)) {
        EXPECT_GE(fd_, 0);
        EXPECT_EQ(::pwrite(fd_, content.data(), content.size(), 0),
                  static_cast<ssize_t>(content.size()));
    }
    ~MemFile() { ::close(fd_); }
    int fd() const { return fd_; }
    std::string Content() const {
        struct stat st {};
        ::fstat(fd_, &st);
        std::string s(static_cast<std::size_t>(st.st_size), '\0');
        EXPECT_EQ(::pread(fd_, s.data(), s.size(), 0), static_cast<ssize_t>(s.size()));
        return s;
    }

  private:
    int fd_;
};

std::string RandomText(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

std::string Encrypt(const std::string& plain, std::string_view password,
                    const IdeaStreamOptions& options = {}) {
    MemFile in(plain), out;
    EXPECT_EQ(What(IdeaEncryptStream(in.fd(), out.fd(), IdeaKeyFromPassword(password), options)),
              "ok");
    return out.Content();
}

std::string Decrypt(const std::string& encrypted, std::string_view password,
                    const IdeaStreamOptions& options = {}) {
    MemFile in(encrypted), out;
    EXPECT_EQ(What(IdeaDecryptStream(in.fd(), out.fd(), IdeaKeyFromPassword(password), options)),
              "ok");
    return out.Content();
}

TEST(IdeaKeyFromPassword, EachCharacterIsHighByteOfItsWordAndLowByteOfTheNext) {
    const std::tuple<std::string, IdeaKey> cases[] = {
        {"", IdeaKey{}},
        {"A", IdeaKey{0x4100}},
        {"ab", IdeaKey{0x6100, 0x6261}},
        {"abcdefgh", IdeaKey{0x6100, 0x6261, 0x6362, 0x6463, 0x6564, 0x6665, 0x6766, 0x6867}},
        {"abcdefghijk", IdeaKey{0x6100, 0x6261, 0x6362, 0x6463, 0x6564, 0x6665, 0x6766, 0x6867}},
        // Windows-1251 Cyrillic: bytes above 127 must not turn negative.
        {"\xEF\xE0\xF0\xEE\xEB\xFC", IdeaKey{0xEF00, 0xE0EF, 0xF0E0, 0xEEF0, 0xEBEE, 0xFCEB}},
    };
    for (const auto& [password, key] : cases) {
        EXPECT_EQ(IdeaKeyFromPassword(password), key) << password;
    }
}

TEST(IdeaEncryptStream, WritesLengthAndBlocksInTheirByteOrder) {
    const std::string plain = "ABCDEFGHI";
    const std::string file = Encrypt(plain, "pass");
    ASSERT_EQ(file.size(), 20u);
    EXPECT_EQ(file.substr(0, 4), std::string("\x09\x00\x00\x00", 4));
    const IdeaSchedule z = IdeaExpandKey(IdeaKeyFromPassword("pass"));
    const std::uint16_t blocks[2][4] = {{0x4142, 0x4344, 0x4546, 0x4748}, {0x4900, 0, 0, 0}};
    for (int b = 0; b < 2; ++b) {
        std::uint16_t y[4];
        IdeaCipherBlock(blocks[b], y, z);
        for (int i = 0; i < 4; ++i) {
            const std::size_t at = 4 + 8 * b + 2 * i;
            EXPECT_EQ(static_cast<unsigned char>(file[at]), y[i] & 0xFF);
            EXPECT_EQ(static_cast<unsigned char>(file[at + 1]), y[i] >> 8);
        }
    }
}

TEST(IdeaEncryptStream, LengthFieldIsLittleEndian) {
    const std::string file = Encrypt(std::string(0x1234, 'x'), "k");
    EXPECT_EQ(file.substr(0, 4), std::string("\x34\x12\x00\x00", 4));
    EXPECT_EQ(file.size(), static_cast<std::size_t>(IdeaEncryptedSize(0x1234)));
}

TEST(IdeaStream, SizesAndRoundTrip) {
    const std::tuple<std::size_t, std::size_t> cases[] = {
        {0, 12}, {1, 12}, {7, 12}, {8, 20}, {9, 20}, {15, 20}, {16, 28}, {1000, 1012}};
    for (const auto& [plainSize, fileSize] : cases) {
        const std::string plain = RandomText(plainSize, static_cast<unsigned>(plainSize));
        const std::string file = Encrypt(plain, "secret");
        EXPECT_EQ(file.size(), fileSize) << plainSize;
        EXPECT_EQ(Decrypt(file, "secret"), plain) << plainSize;
    }
}

TEST(IdeaStream, PaddingBlockOfAMultipleOfEightIsAnEncipheredZeroBlock) {
    const std::string file = Encrypt("12345678", "pw");
    const std::string zeroBlock = Encrypt("", "pw").substr(4);
    EXPECT_EQ(file.substr(12), zeroBlock);
}

// The last block's padding deciphers to zeros only under the right key; a wrong one is refused
// before anything is written, whatever the length mod 8.
TEST(IdeaStream, WrongPasswordIsRefusedBeforeAnythingIsWritten) {
    for (std::size_t size : {0, 1, 7, 8, 96, 777, 1023}) {
        const std::string file = Encrypt(RandomText(size, 3), "right");
        for (const char* password : {"wrong", "righ", "right\x01"}) {
            MemFile in(file), out;
            EXPECT_EQ(What(IdeaCheckPadding(in.fd(), IdeaKeyFromPassword(password))),
                      "wrong password");
            EXPECT_EQ(What(IdeaDecryptStream(in.fd(), out.fd(), IdeaKeyFromPassword(password))),
                      "wrong password")
                << size << " " << password;
            EXPECT_TRUE(out.Content().empty());
        }
        MemFile in(file);
        EXPECT_EQ(What(IdeaCheckPadding(in.fd(), IdeaKeyFromPassword("right"))), "ok");
    }
}

// Chunk edges, thread counts and paths must not change a byte.
TEST(IdeaStream, SameBytesForEveryPathAndThreadCount) {
    // Pieces end inside the last block and right after it; chunks end before the end of the file.
    const std::size_t sizes[] = {kIdeaWriteBytes + 3, kIdeaWriteBytes - 8, kIdeaChunkBytes,
                                 3 * kIdeaChunkBytes + 13};
    for (std::size_t size : sizes) {
        const std::string plain = RandomText(size, 7);
        const std::string reference = Encrypt(plain, "ref", {IdeaPath::Scalar, 1});
        for (IdeaPath path : {IdeaPath::Sse2, IdeaPath::Avx2, IdeaPath::Avx512}) {
            if (!IdeaPathAvailable(path)) continue;
            for (unsigned threads : {1u, 2u, 3u}) {
                SCOPED_TRACE(::testing::Message()
                             << IdeaPathName(path) << " threads " << threads << " size " << size);
                const IdeaStreamOptions options{path, threads};
                EXPECT_TRUE(Encrypt(plain, "ref", options) == reference);
                EXPECT_TRUE(Decrypt(reference, "ref", options) == plain);
            }
        }
    }
}

// Threads that cannot be started leave their share to the others; a thread that throws ends the
// pass with its error on the caller's side. Never an ended program or a hang.
TEST(IdeaStream, ThreadFaultsEndInTheSameBytesOrInAnError) {
    using test::FaultyLauncher;
    const std::string plain = RandomText(3 * kIdeaChunkBytes + 13, 5);
    const std::string reference = Encrypt(plain, "t", {IdeaPath::Scalar, 1});
    struct Case {
        unsigned threads;
        int starts;    // threads that start
        int throwing;  // the start whose task throws
    };
    const Case cases[] = {
        {2, 0, FaultyLauncher::kNever},
        {3, 1, FaultyLauncher::kNever},
        {2, FaultyLauncher::kNever, 1},
        {3, FaultyLauncher::kNever, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "threads " << c.threads << " starts " << c.starts
                                          << " throwing " << c.throwing);
        for (bool decrypt : {false, true}) {
            const FaultyLauncher launcher(c.starts, c.throwing);
            const IdeaStreamOptions options{IdeaBestPath(), c.threads, &launcher};
            MemFile in(decrypt ? reference : plain), out;
            const IdeaKey key = IdeaKeyFromPassword("t");
            const auto run = [&] {
                return decrypt ? IdeaDecryptStream(in.fd(), out.fd(), key, options)
                               : IdeaEncryptStream(in.fd(), out.fd(), key, options);
            };
            if (c.throwing == FaultyLauncher::kNever) {
                EXPECT_EQ(What(run()), "ok");
                EXPECT_TRUE(out.Content() == (decrypt ? plain : reference));
            } else {
                EXPECT_THROW(run(), std::runtime_error);
            }
        }
    }
}

TEST(IdeaDecryptStream, RefusesSizeThatDoesNotFitTheStoredLength) {
    const std::string good = Encrypt("hello", "pw");  // L = 5, 12 bytes
    const std::string cases[] = {
        "",
        "\x05\x00\x00",
        good.substr(0, 11),
        good + "x",
        good + std::string(8, '\0'),
        std::string("\x08\x00\x00\x00", 4) + good.substr(4),  // L = 8 needs 20 bytes
        std::string("\xFF\xFF\xFF\xFF", 4) + good.substr(4),  // L < 0
        std::string("\x00\x00\x00\x80", 4) + good.substr(4),
    };
    for (const std::string& file : cases) {
        MemFile in(file), out;
        EXPECT_EQ(What(IdeaCheckEncryptedSource(in.fd())), "not encrypted") << file.size();
        EXPECT_EQ(What(IdeaDecryptStream(in.fd(), out.fd(), IdeaKeyFromPassword("pw"))),
                  "not encrypted");
        EXPECT_EQ(out.Content(), "");
    }
    MemFile in(good);
    EXPECT_EQ(What(IdeaCheckEncryptedSource(in.fd())), "ok");
}

TEST(IdeaEncryptStream, RefusesSourceOf2GiBBeforeWriting) {
    MemFile below, limit, out;
    ASSERT_EQ(::ftruncate(below.fd(), kIdeaSizeLimit - 1), 0);
    ASSERT_EQ(::ftruncate(limit.fd(), kIdeaSizeLimit), 0);
    EXPECT_EQ(What(IdeaCheckPlainSource(below.fd())), "ok");
    EXPECT_EQ(What(IdeaCheckPlainSource(limit.fd())), "too large");
    EXPECT_EQ(What(IdeaEncryptStream(limit.fd(), out.fd(), IdeaKey{})), "too large");
    EXPECT_EQ(out.Content(), "");
}

TEST(IdeaStream, ReportsUnreadableSourceAndUnwritableTarget) {
    MemFile source(RandomText(100, 1)), target;
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    EXPECT_EQ(What(IdeaEncryptStream(source.fd(), full, IdeaKey{})), "write");
    // Blocks written by a helper thread fail the same way.
    MemFile large(RandomText(3 * kIdeaChunkBytes, 2));
    for (unsigned threads : {1u, 2u}) {
        const IdeaStreamOptions options{IdeaBestPath(), threads};
        MemFile encrypted;
        ASSERT_EQ(What(IdeaEncryptStream(large.fd(), encrypted.fd(), IdeaKey{}, options)), "ok");
        // With the errno of the write that failed, on whichever thread made it.
        const CryptResult written = IdeaDecryptStream(encrypted.fd(), full, IdeaKey{}, options);
        EXPECT_EQ(What(written), "write");
        EXPECT_EQ(written.failure.error, ENOSPC);
    }
    ::close(full);

    // A descriptor open for writing only cannot be read.
    const std::string self = "/proc/self/fd/" + std::to_string(source.fd());
    const int writeOnly = ::open(self.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writeOnly, 0);
    EXPECT_EQ(What(IdeaEncryptStream(writeOnly, target.fd(), IdeaKey{})), "read");
    ::close(writeOnly);
}

}  // namespace
}  // namespace varn
