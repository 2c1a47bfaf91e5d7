#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "io/open_file.h"
#include "io/replacement.h"
#include "io/stale_temporaries.h"
#include "io/transfer.h"
#include "io/whole_file.h"
#include "tests/support/file_faults.h"
#include "tests/support/temp_dir.h"

namespace varn::io {
namespace {

namespace fs = std::filesystem;

std::size_t Entries(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(OpenRegular, RefusesWhatIsNotAPlainFileWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir.file("folder"));
    fs::create_symlink(dir.write("plain", "abc"), dir.file("link"));
    const std::pair<std::string, FailureKind> refused[] = {
        {fifo, FailureKind::NotRegular},  // would block an open without O_NONBLOCK
        {"/dev/zero", FailureKind::NotRegular},
        {dir.file("folder"), FailureKind::NotRegular},
        {dir.file("missing"), FailureKind::Open},
    };
    for (const auto& [path, kind] : refused) {
        struct stat info {};
        Failure failure;
        EXPECT_FALSE(OpenRegular(path, O_RDONLY, info, failure).ok()) << path;
        EXPECT_EQ(failure.kind, kind) << path;
        EXPECT_EQ(failure.path, path);
        EXPECT_NE(failure.error, 0);
    }
    // A link to a plain file is that file.
    struct stat info {};
    Failure failure;
    const Fd fd = OpenRegular(dir.file("link"), O_RDONLY, info, failure);
    ASSERT_TRUE(fd.ok());
    EXPECT_EQ(info.st_size, 3);
    EXPECT_TRUE(NameHolds(dir.file("plain"), fd.get()));
    EXPECT_TRUE(SameFile(dir.file("link"), dir.file("plain")));
    EXPECT_FALSE(SameFile(dir.file("plain"), dir.file("missing")));
    // Blocking reads are back on for the descriptor handed out.
    EXPECT_EQ(::fcntl(fd.get(), F_GETFL) & O_NONBLOCK, 0);
}

TEST(Replacement, ReplacesWholeOrNotAtAllKeepingThePermissionBits) {
    TempDir dir;
    const std::string target = dir.write("doc.txt", "old content");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ReplaceWholeFile(target, "new");
    EXPECT_EQ(TempDir::read(target), "new");
    EXPECT_EQ(ModeOf(target), 0640u);
    {
        const FileSizeLimit full(2);
        EXPECT_THROW(ReplaceWholeFile(target, "longer than two bytes"), FileError);
        EXPECT_THROW(ReplaceWholeFile(dir.file("fresh.txt"), "longer than two bytes"), FileError);
    }
    EXPECT_EQ(TempDir::read(target), "new");
    EXPECT_EQ(Entries(dir.path()), 1u) << "no temporary and no incomplete new file is left";
    ReplaceWholeFile(dir.file("fresh.txt"), "x");
    EXPECT_EQ(ModeOf(dir.file("fresh.txt")), NewFileMode());
}

TEST(Replacement, LinksAtTheTargetAreFollowedOrReplacedAsAsked) {
    TempDir dir;
    const std::string real = dir.write("real.txt", "real");
    fs::create_symlink(real, dir.file("link"));
    ReplaceWholeFile(dir.file("link"), "through");
    EXPECT_TRUE(fs::is_symlink(dir.file("link")));
    EXPECT_EQ(TempDir::read(real), "through");

    Target target(dir.file("link"));
    target.followLink = false;
    target.mode = 0600;
    Failure failure;
    Replacement result;
    ASSERT_TRUE(result.Begin(target, "t", failure));
    ASSERT_TRUE(WriteAll(result.fd(), "own", 3));
    ASSERT_TRUE(result.Commit(failure));
    EXPECT_FALSE(fs::is_symlink(dir.file("link")));
    EXPECT_EQ(TempDir::read(dir.file("link")), "own");
    EXPECT_EQ(ModeOf(dir.file("link")), 0600u);
    EXPECT_EQ(TempDir::read(real), "through");

    fs::create_symlink(dir.file("nowhere"), dir.file("dead"));
    EXPECT_FALSE(Replacement().Begin(dir.file("dead"), "t", failure));
    EXPECT_EQ(failure.kind, FailureKind::NotReplaceable);
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
}

TEST(Replacement, NeverReplacesWhatItMustNot) {
    TempDir dir;
    const std::string taken = dir.write("taken.enc", "keep");
    Target noReplace(taken);
    noReplace.mayReplace = false;
    Failure failure;
    EXPECT_FALSE(Replacement().Begin(noReplace, "t", failure));
    EXPECT_EQ(failure.kind, FailureKind::Replace);
    EXPECT_EQ(failure.error, EEXIST);

    // The name was taken after the check: the rename still refuses.
    Target late(dir.file("late.enc"));
    late.mayReplace = false;
    Replacement first;
    ASSERT_TRUE(first.Begin(late, "t", failure));
    dir.write("late.enc", "someone else's");
    EXPECT_FALSE(first.Commit(failure));
    EXPECT_EQ(failure.kind, FailureKind::Replace);
    EXPECT_EQ(TempDir::read(dir.file("late.enc")), "someone else's");

    // An input being replaced that another file has taken the place of meanwhile stays. The
    // input is held open, as its reader holds it, so its inode cannot be reused.
    const std::string input = dir.write("input.txt", "in");
    const Fd held(::open(input.c_str(), O_RDONLY));
    struct stat info {};
    ASSERT_EQ(::fstat(held.get(), &info), 0);
    Target inPlace(input);
    inPlace.expected = VersionOf(info);
    Replacement second;
    ASSERT_TRUE(second.Begin(inPlace, "t", failure));
    ASSERT_EQ(::unlink(input.c_str()), 0);
    dir.write("input.txt", "a new file under the old name");
    EXPECT_FALSE(second.Commit(failure));
    EXPECT_EQ(failure.kind, FailureKind::Changed);
    EXPECT_EQ(TempDir::read(input), "a new file under the old name");

    for (const char* target : {"/dev/null", "/dev/full"}) {
        EXPECT_FALSE(Replacement().Begin(std::string(target), "t", failure));
        EXPECT_EQ(failure.kind, FailureKind::NotReplaceable);
    }
    EXPECT_EQ(Entries(dir.path()), 3u);
}

TEST(TemporaryFile, IsExclusiveAndRemovesOnlyItself) {
    TempDir dir;
    Failure failure;
    TemporaryFile a;
    TemporaryFile b;
    ASSERT_TRUE(a.Create(".", "__varn__.tmp", failure));
    ASSERT_TRUE(b.Create(".", "__varn__.tmp", failure));
    EXPECT_NE(a.path(), b.path());
    EXPECT_EQ(ModeOf(a.path()), 0600u);
    EXPECT_EQ(fs::path(a.path()).filename().string().rfind("__varn__.tmp.", 0), 0u);

    // Someone renames a file of theirs over the name: it is theirs now, and stays.
    const std::string other = dir.write("other", "theirs");
    ASSERT_EQ(::rename(other.c_str(), b.path().c_str()), 0);
    const std::string bName = b.path();
    a.Remove();
    b.Remove();
    EXPECT_EQ(TempDir::read(bName), "theirs");
    EXPECT_EQ(Entries(dir.path()), 1u);

    EXPECT_FALSE(TemporaryFile().Create(dir.file("missing"), "x", failure));
    EXPECT_EQ(failure.kind, FailureKind::Create);
}

// Sets a name's modification time `seconds` in the past (the link itself for a link).
void Age(const std::string& path, int seconds) {
    const timespec then{::time(nullptr) - seconds, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// Whether another open file description can take the lock of the file at `path`.
bool Unlocked(const std::string& path) {
    const Fd other(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return other.ok() && ::flock(other.get(), LOCK_EX | LOCK_NB) == 0;
}

TEST(TemporaryFile, IsLockedWhileItLivesAndThroughTheRenameIntoPlace) {
    TempDir dir;
    Failure failure;
    TemporaryFile temporary;
    ASSERT_TRUE(temporary.Create(".", "t", failure));
    EXPECT_FALSE(Unlocked(temporary.path()));

    Replacement result;
    ASSERT_TRUE(result.Begin(dir.file("doc.txt"), "t", failure));
    const std::string name = result.temporaryPath();
    bool lockedAtTheCheck = false;
    SetBeforeCommitCheck([&] { lockedAtTheCheck = !Unlocked(name); });
    EXPECT_TRUE(result.Commit(failure));
    SetBeforeCommitCheck({});
    EXPECT_TRUE(lockedAtTheCheck) << "the first descriptor is closed, the lock stays";
    EXPECT_TRUE(Unlocked(dir.file("doc.txt"))) << "and goes with the operation";
}

TEST(StaleTemporaries, OnlyUnlockedOldPlainFilesOfTheOwnPatternAreRemoved) {
    TempDir dir;
    constexpr int kOld = kStaleTemporaryAgeSeconds + 5;
    const auto put = [&](const std::string& name, int age) {
        dir.write(name, "bytes");
        Age(dir.file(name), age);
    };
    put("__varn__.tmp.aB3dE6gH", kOld);  // left behind by a killed run
    put("__varn__.tmp.lockedXY", kOld);  // in use by another copy for long
    put("__varn__.tmp.freshABC", 0);     // just created by another copy, not yet locked
    put("tempfile.dnc.aB3dE6gH", kOld);  // another prefix: another operation's to clear
    put("__varn__.tmp.aB3dE6g", kOld);   // other patterns
    put("__varn__.tmp.aB3dE6gHi", kOld);
    put("__varn__.tmp.aB3dE6g-", kOld);
    put("__varn__.tmp_aB3dE6gH", kOld);
    put("x__varn__.tmp.aB3dE6gH", kOld);
    put("target", kOld);
    fs::create_symlink("target", dir.file("__varn__.tmp.linkABCD"));
    Age(dir.file("__varn__.tmp.linkABCD"), kOld);
    fs::create_directory(dir.file("__varn__.tmp.folderAB"));
    Age(dir.file("__varn__.tmp.folderAB"), kOld);
    ASSERT_EQ(::mkfifo(dir.file("__varn__.tmp.fifoABCD").c_str(), 0600), 0);
    Age(dir.file("__varn__.tmp.fifoABCD"), kOld);
    Fd holder(::open(dir.file("__varn__.tmp.lockedXY").c_str(), O_RDONLY | O_CLOEXEC));
    ASSERT_EQ(::flock(holder.get(), LOCK_EX), 0);

    const std::size_t before = Entries(dir.path());
    Failure failure;
    TemporaryFile fresh;
    ASSERT_TRUE(fresh.Create(dir.path().string(), "__varn__.tmp", failure));
    EXPECT_FALSE(fs::exists(dir.file("__varn__.tmp.aB3dE6gH")));
    EXPECT_EQ(Entries(dir.path()), before) << "one removed, one created, every other name kept";
    EXPECT_EQ(TempDir::read(dir.file("target")), "bytes");

    // Once its holder is gone, the old one goes too; the new one of this operation stays.
    holder.Close();
    RemoveStaleTemporaries(dir.path().string(), "__varn__.tmp");
    EXPECT_FALSE(fs::exists(dir.file("__varn__.tmp.lockedXY")));
    EXPECT_TRUE(fs::exists(fresh.path()));
    EXPECT_TRUE(fs::exists(dir.file("__varn__.tmp.freshABC")));
}

}  // namespace
}  // namespace varn::io
