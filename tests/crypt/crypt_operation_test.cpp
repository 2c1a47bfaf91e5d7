#include "crypt/crypt_operation.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <vector>

#include "temp_dir.h"
#include "tests/crypt/crypt_result_name.h"
#include "tests/support/file_faults.h"

namespace varn {
namespace {

std::string RandomText(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

class CryptOperationTest : public test::TempDirTest {
  protected:
    // How the operation ended, in a word ("ok", "wrong password", "rename", ...).
    std::string Run(const std::string& file, std::vector<std::string> passwords, bool decrypt,
                    bool overwrite) {
        CryptRequest request{file, std::move(passwords), decrypt, overwrite};
        last_ = RunCryptOperation(request);
        return test::What(last_);
    }
    // No temporary of ours is left in the folder (or in `folder`).
    bool NoTemporaries(const std::string& folder = ".") const {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().filename().string().starts_with(kCryptTempPrefix)) return false;
        }
        return true;
    }

    CryptResult last_;
};

TEST_F(CryptOperationTest, EncryptsInPlaceAndDecryptsBack) {
    const std::string plain = RandomText(5000, 1);
    WriteFile("a.txt", plain);
    ASSERT_EQ(Run("a.txt", {"pass"}, false, true), "ok");
    EXPECT_EQ(ReadFile("a.txt").size(), static_cast<std::size_t>(IdeaEncryptedSize(5000)));
    EXPECT_NE(ReadFile("a.txt").substr(4, 100), plain.substr(0, 100));
    EXPECT_TRUE(NoTemporaries());
    ASSERT_EQ(Run("a.txt", {"pass"}, true, true), "ok");
    EXPECT_EQ(ReadFile("a.txt"), plain);
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, SmallSourcesGiveOneOrTwoBlocks) {
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 12}, {8, 20}, {9, 20}};
    for (const auto& [plainSize, fileSize] : cases) {
        const std::string plain = RandomText(plainSize, 2);
        WriteFile("s.bin", plain);
        ASSERT_EQ(Run("s.bin", {"k"}, false, true), "ok");
        EXPECT_EQ(ReadFile("s.bin").size(), fileSize);
        ASSERT_EQ(Run("s.bin", {"k"}, true, true), "ok");
        EXPECT_EQ(ReadFile("s.bin"), plain);
    }
}

TEST_F(CryptOperationTest, WrongPasswordIsRefusedAndChangesNothing) {
    for (std::size_t size : {96, 97, 103}) {  // length mod 8: 0, 1, 7
        const std::string plain = RandomText(size, 3);
        WriteFile("w.txt", plain);
        ASSERT_EQ(Run("w.txt", {"\xEF\xE0\xF0\xEE\xEB\xFC"}, false, true), "ok");
        const std::string encrypted = ReadFile("w.txt");
        for (bool overwrite : {true, false}) {
            EXPECT_EQ(Run("w.txt", {"\xEF\xE0\xF0\xEE\xEB"}, true, overwrite), "wrong password");
            EXPECT_EQ(ReadFile("w.txt"), encrypted);
            EXPECT_FALSE(Exists("w.enc"));
            EXPECT_TRUE(NoTemporaries());
        }
        ASSERT_EQ(Run("w.txt", {"\xEF\xE0\xF0\xEE\xEB\xFC"}, true, true), "ok");
        EXPECT_EQ(ReadFile("w.txt"), plain);
    }
}

TEST(CryptEncName, UsesTheFilesOwnNameInItsOwnFolder) {
    const std::pair<std::string, std::string> cases[] = {
        {"x.txt", "x.enc"},
        {"x", "x.enc"},
        {"x.tar.gz", "x.enc"},
        {"/a/b.c/x.txt", "/a/b.c/x.enc"},
        {"/a/b.c/x", "/a/b.c/x.enc"},
        {"~/.config/a.txt", "~/.config/a.enc"},
        {".bashrc", "bashrc.enc"},
        {"dir/..a.b", "dir/a.enc"},
        {"...", "....enc"},
        {"dir/..", "dir/...enc"},
        {"x.enc", "x.enc"},
        {"/" + std::string(300, 'n') + ".txt", "/" + std::string(300, 'n') + ".enc"},
    };
    for (const auto& [source, result] : cases) EXPECT_EQ(CryptEncName(source), result) << source;
}

TEST_F(CryptOperationTest, KeepingTheFileWritesEncNameBesideIt) {
    ASSERT_EQ(::mkdir("b.c", 0755), 0);
    WriteFile("b.c/x.txt", "text");
    ASSERT_EQ(Run(Path("b.c/x.txt"), {"p"}, false, false), "ok");
    EXPECT_EQ(ReadFile("b.c/x.txt"), "text");
    EXPECT_EQ(ReadFile("b.c/x.enc").size(), 12u);
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, ExistingEncNameIsNotReplaced) {
    WriteFile("x.txt", "text");
    ASSERT_EQ(Run("x.txt", {"first"}, false, false), "ok");
    const std::string first = ReadFile("x.enc");
    ASSERT_EQ(Run("x.txt", {"second"}, false, false), "rename");
    EXPECT_EQ(ReadFile("x.enc"), first);
    EXPECT_TRUE(NoTemporaries());

    // Decrypting "x.enc" beside itself names the result "x.enc" again.
    ASSERT_EQ(Run("x.enc", {"first"}, true, false), "rename");
    EXPECT_EQ(ReadFile("x.enc"), first);
    EXPECT_TRUE(NoTemporaries());

    // A link at the result name is never followed nor replaced.
    ASSERT_EQ(::symlink("x.txt", "y.enc"), 0);
    WriteFile("y.txt", "other");
    ASSERT_EQ(Run("y.txt", {"p"}, false, false), "rename");
    EXPECT_EQ(ReadFile("x.txt"), "text");
    EXPECT_EQ(std::filesystem::read_symlink("y.enc"), "x.txt");
}

TEST_F(CryptOperationTest, RefusesWhatCannotBeOpenedForUpdate) {
    WriteFile("ro.txt", "read only");
    ASSERT_EQ(::chmod("ro.txt", 0444), 0);
    ASSERT_EQ(::mkdir("folder", 0755), 0);
    ASSERT_EQ(::mkfifo("fifo", 0644), 0);
    for (const char* name : {"ro.txt", "folder", "missing.txt", "", "/proc/self/status", "fifo",
                             "/dev/zero", "/dev/null"}) {
        for (bool decrypt : {false, true}) {
            for (bool overwrite : {false, true}) {
                EXPECT_EQ(Run(name, {"p"}, decrypt, overwrite), "open") << name;
                EXPECT_TRUE(NoTemporaries());
            }
        }
    }
    EXPECT_EQ(ReadFile("ro.txt"), "read only");
    EXPECT_FALSE(Exists("ro.enc"));
}

TEST_F(CryptOperationTest, FilesNamedLikeTheOldTemporariesAreOrdinaryFiles) {
    WriteFile("tempfile.dnc", "mine");
    WriteFile("tempfile-3x.dnc", "also mine");
    WriteFile("t.txt", "text");
    ASSERT_EQ(Run("tempfile.dnc", {"p"}, false, true), "ok");
    ASSERT_EQ(Run("t.txt", {"a", "b", "c"}, false, true), "ok");
    ASSERT_EQ(Run("tempfile.dnc", {"p"}, true, true), "ok");
    EXPECT_EQ(ReadFile("tempfile.dnc"), "mine");
    EXPECT_EQ(ReadFile("tempfile-3x.dnc"), "also mine");
}

TEST_F(CryptOperationTest, TemporaryFileThatCannotBeCreated) {
    // /proc/self/attr/current takes writes, but no file can be created beside it.
    const char* name = "/proc/self/attr/current";
    struct stat st {};
    if (::stat(name, &st) != 0 || (st.st_mode & 0222) == 0) GTEST_SKIP() << name;
    EXPECT_EQ(Run(name, {"p"}, false, true), "temporary");
}

TEST_F(CryptOperationTest, TripleRoundTripWithOverwrite) {
    const std::string plain = RandomText(1234, 4);
    WriteFile("3x.doc", plain);
    const std::vector<std::string> passes = {"one", "two", "three"};
    ASSERT_EQ(Run("3x.doc", passes, false, true), "ok");
    // Three layers, each with its own length field and padding.
    const auto layered = IdeaEncryptedSize(IdeaEncryptedSize(IdeaEncryptedSize(1234)));
    EXPECT_EQ(ReadFile("3x.doc").size(), static_cast<std::size_t>(layered));
    EXPECT_TRUE(NoTemporaries());
    const std::string encrypted = ReadFile("3x.doc");

    // One layer off is not the plaintext.
    ASSERT_EQ(Run("3x.doc", {"three"}, true, true), "ok");
    EXPECT_NE(ReadFile("3x.doc"), plain);
    WriteFile("3x.doc", encrypted);

    ASSERT_EQ(Run("3x.doc", {"three", "two", "one"}, true, true), "ok");
    EXPECT_EQ(ReadFile("3x.doc"), plain);
    EXPECT_TRUE(NoTemporaries());
}

// Each layer encrypts, so equal passwords cannot make the layers cancel.
TEST_F(CryptOperationTest, TripleWithEqualPasswordsIsAcceptedAndReversible) {
    WriteFile("eq.txt", "equal passwords");
    ASSERT_EQ(Run("eq.txt", {"same", "same", "same"}, false, true), "ok");
    ASSERT_EQ(Run("eq.txt", {"same", "same", "same"}, true, true), "ok");
    EXPECT_EQ(ReadFile("eq.txt"), "equal passwords");
}

TEST_F(CryptOperationTest, TripleDecryptionWithWrongThirdPasswordChangesNothing) {
    WriteFile("f.txt", RandomText(300, 5));
    ASSERT_EQ(Run("f.txt", {"one", "two", "three"}, false, true), "ok");
    const std::string encrypted = ReadFile("f.txt");
    EXPECT_EQ(Run("f.txt", {"THREE", "two", "one"}, true, true), "wrong password");
    EXPECT_EQ(ReadFile("f.txt"), encrypted);
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, TripleWithoutOverwriteWritesTheEncNameOnce) {
    const std::string plain = RandomText(50, 6);
    WriteFile("k.txt", plain);
    ASSERT_EQ(Run("k.txt", {"1", "2", "3"}, false, false), "ok");
    EXPECT_EQ(ReadFile("k.txt"), plain);
    EXPECT_TRUE(NoTemporaries());
    ASSERT_EQ(Run("k.enc", {"3", "2", "1"}, true, true), "ok");
    EXPECT_EQ(ReadFile("k.enc"), plain);
}

TEST_F(CryptOperationTest, NotEncryptedFileIsRefusedUnchanged) {
    WriteFile("plain.txt", "just some text");
    EXPECT_EQ(Run("plain.txt", {"p"}, true, true), "not encrypted");
    EXPECT_EQ(ReadFile("plain.txt"), "just some text");
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, FullDiskLeavesTheFileAndReportsOnce) {
    const std::size_t size = 3 * kIdeaChunkBytes + 5;  // several chunks, 2 threads
    WriteFile("big.bin", RandomText(size, 7));
    for (bool decrypt : {false, true}) {
        if (decrypt) {
            ASSERT_EQ(Run("big.bin", {"p"}, false, true), "ok");
        }
        const std::string before = ReadFile("big.bin");
        {
            const FileSizeLimit full(size / 2);
            EXPECT_EQ(Run("big.bin", {"p"}, decrypt, true), "write");
        }
        EXPECT_TRUE(ReadFile("big.bin") == before);
        EXPECT_TRUE(NoTemporaries());
    }
}

TEST_F(CryptOperationTest, SourceOf2GiBIsRefusedBeforeAnythingIsWritten) {
    WriteFile("huge.bin", "");
    ASSERT_EQ(::truncate("huge.bin", kIdeaSizeLimit), 0);  // sparse
    EXPECT_EQ(Run("huge.bin", {"p"}, false, true), "too large");
    struct stat st {};
    ASSERT_EQ(::stat("huge.bin", &st), 0);
    EXPECT_EQ(st.st_size, kIdeaSizeLimit);
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, TripleRefusesUpFrontAFileWhoseLayersWouldNotFit) {
    // The first two layers fit; the third one's source, 2 GiB + 4 bytes, would not.
    WriteFile("big.bin", "");
    ASSERT_EQ(::truncate("big.bin", kIdeaSizeLimit - 10), 0);  // sparse
    ASSERT_GE(IdeaEncryptedSize(IdeaEncryptedSize(kIdeaSizeLimit - 10)), kIdeaSizeLimit);
    {
        // A pass that ran would fail its writes instead.
        const FileSizeLimit full(4096);
        EXPECT_EQ(Run("big.bin", {"a", "b", "c"}, false, true), "too large");
    }
    struct stat st {};
    ASSERT_EQ(::stat("big.bin", &st), 0);
    EXPECT_EQ(st.st_size, kIdeaSizeLimit - 10);
    EXPECT_TRUE(NoTemporaries());
}

TEST_F(CryptOperationTest, AResultNameTooLongForTheFileSystemHasItsOwnMessage) {
    const std::string name(255, 'n');  // the longest name; its ".enc" is 4 bytes too long
    WriteFile(name, "text");
    for (bool decrypt : {false, true}) {
        EXPECT_EQ(Run(name, {"p"}, decrypt, false), "name too long");
        EXPECT_EQ(ReadFile(name), "text");
        EXPECT_TRUE(NoTemporaries());
    }
}

TEST_F(CryptOperationTest, InPlaceKeepsThePermissionBitsAndWipesTheOldDataAfterTheRename) {
    WriteFile("secret.txt", "private words");
    ASSERT_EQ(::chmod("secret.txt", 0600), 0);
    // A descriptor held open on the old file shows what became of its data.
    const int old = ::open("secret.txt", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(old, 0);
    ASSERT_EQ(Run("secret.txt", {"p"}, false, true), "ok");
    char wiped[13] = {};
    EXPECT_EQ(::pread(old, wiped, sizeof wiped, 0), 13);
    ::close(old);
    EXPECT_EQ(std::string(wiped, sizeof wiped), std::string(13, '0'));
    struct stat st {};
    ASSERT_EQ(::stat("secret.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(Run("secret.txt", {"p"}, true, false), "ok");
    ASSERT_EQ(::stat("secret.enc", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadFile("secret.enc"), "private words");
    ASSERT_EQ(Run("secret.txt", {"p"}, true, true), "ok");
    ASSERT_EQ(::stat("secret.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadFile("secret.txt"), "private words");
}

TEST_F(CryptOperationTest, InPlaceLeavesTheDataOfAnotherHardLinkAlone) {
    const std::string plain = RandomText(3000, 9);
    WriteFile("doc.txt", plain);
    ASSERT_EQ(::link("doc.txt", "backup.txt"), 0);
    for (const std::vector<std::string>& passwords :
         {std::vector<std::string>{"p"}, std::vector<std::string>{"a", "b", "c"}}) {
        ASSERT_EQ(Run("doc.txt", passwords, false, true), "ok");
        EXPECT_FALSE(last_.wipe);
        EXPECT_EQ(ReadFile("backup.txt"), plain) << "the user's second name keeps its bytes";
        std::vector<std::string> back(passwords.rbegin(), passwords.rend());
        ASSERT_EQ(Run("doc.txt", back, true, true), "ok");
        EXPECT_EQ(ReadFile("doc.txt"), plain);
        ASSERT_EQ(::unlink("doc.txt"), 0);
        ASSERT_EQ(::link("backup.txt", "doc.txt"), 0);
    }
}

TEST_F(CryptOperationTest, ALinkNameIsReplacedThroughTheLink) {
    ASSERT_EQ(::mkdir("real", 0755), 0);
    WriteFile("real/doc.txt", "linked text");
    ASSERT_EQ(::symlink("real/doc.txt", "link"), 0);
    ASSERT_EQ(Run("link", {"p"}, false, true), "ok");
    EXPECT_EQ(std::filesystem::read_symlink("link"), "real/doc.txt");
    EXPECT_EQ(ReadFile("real/doc.txt").size(), 20u);
    EXPECT_TRUE(NoTemporaries("real"));
    ASSERT_EQ(Run("link", {"p"}, true, true), "ok");
    EXPECT_EQ(ReadFile("real/doc.txt"), "linked text");
}

// The named file lies on another file system than the working folder: its temporaries lie beside
// it, so the result takes its place by a rename there.
class CryptAcrossFileSystems : public CryptOperationTest {
  protected:
    void SetUp() override {
        CryptOperationTest::SetUp();
        folder_ = "/dev/shm/crypt_op_" + std::to_string(::getpid());
        test::RemoveTree(folder_);
        ASSERT_EQ(::mkdir(folder_.c_str(), 0755), 0);
    }
    void TearDown() override {
        test::RemoveTree(folder_);
        CryptOperationTest::TearDown();
    }
    std::size_t FilesInFolder() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_)) ++n;
        return n;
    }
    std::string folder_;
};

TEST_F(CryptAcrossFileSystems, OverwriteReplacesTheFileOnItsOwnVolume) {
    const std::string file = folder_ + "/doc.txt";
    const std::string plain = RandomText(10000, 8);
    WriteFile(file, plain);
    ASSERT_EQ(Run(file, {"p"}, false, true), "ok");
    EXPECT_EQ(ReadFile(file).size(), static_cast<std::size_t>(IdeaEncryptedSize(10000)));
    EXPECT_EQ(FilesInFolder(), 1u);
    EXPECT_TRUE(NoTemporaries());
    ASSERT_EQ(Run(file, {"p"}, true, true), "ok");
    EXPECT_EQ(ReadFile(file), plain);
}

TEST_F(CryptAcrossFileSystems, KeepingTheFileWritesTheEncNameBesideIt) {
    const std::string file = folder_ + "/doc.txt";
    WriteFile(file, "abc");
    ASSERT_EQ(Run(file, {"p"}, false, false), "ok");
    EXPECT_EQ(ReadFile(folder_ + "/doc.enc").size(), 12u);
    EXPECT_EQ(ReadFile(file), "abc");
    EXPECT_TRUE(NoTemporaries());
    // A second time the name is taken: the old result stays and nothing else is left.
    ASSERT_EQ(Run(file, {"q"}, false, false), "rename");
    EXPECT_EQ(FilesInFolder(), 2u);
}

}  // namespace
}  // namespace varn
