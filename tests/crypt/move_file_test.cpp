#include "crypt/move_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "temp_dir.h"

namespace varn {
namespace {

// The working folder lies under /tmp; /dev/shm is another file system.
class MoveFileNoReplaceTest : public test::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        other_ = "/dev/shm/crypt_move_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        test::RemoveTree(other_);
    }
    void TearDown() override {
        test::RemoveTree(other_);
        TempDirTest::TearDown();
    }
    std::string other_;
};

TEST_F(MoveFileNoReplaceTest, MovesWithinAndAcrossFileSystems) {
    const std::string there[] = {Path("moved"), other_};
    for (const std::string& to : there) {
        WriteFile(Path("from"), "payload");
        ASSERT_TRUE(MoveFileNoReplace(Path("from"), to)) << to;
        EXPECT_FALSE(Exists(Path("from")));
        EXPECT_EQ(ReadFile(to), "payload");
    }
    ASSERT_TRUE(MoveFileNoReplace(other_, Path("back")));
    EXPECT_EQ(ReadFile(Path("back")), "payload");
    EXPECT_FALSE(Exists(other_));
}

TEST_F(MoveFileNoReplaceTest, NeverReplacesAnExistingTarget) {
    for (const std::string& to : {Path("target"), other_}) {
        WriteFile(Path("from"), "new");
        WriteFile(to, "old");
        errno = 0;
        EXPECT_FALSE(MoveFileNoReplace(Path("from"), to)) << to;
        EXPECT_EQ(errno, EEXIST);
        EXPECT_EQ(ReadFile(Path("from")), "new");
        EXPECT_EQ(ReadFile(to), "old");
    }
}

TEST_F(MoveFileNoReplaceTest, FailureLeavesSourceAndNoTarget) {
    errno = 0;
    EXPECT_FALSE(MoveFileNoReplace(Path("missing"), Path("to")));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(Exists(Path("to")));

    WriteFile(Path("from"), "data");
    EXPECT_FALSE(MoveFileNoReplace(Path("from"), Path("no/such/folder/to")));
    EXPECT_EQ(ReadFile(Path("from")), "data");
}

TEST_F(MoveFileNoReplaceTest, FailedCopyLeavesNoPartialTarget) {
    // Reading this file fails at its first byte, after the target was created for the copy.
    EXPECT_FALSE(MoveFileNoReplace("/proc/self/mem", Path("copy")));
    EXPECT_FALSE(Exists(Path("copy")));
}

}  // namespace
}  // namespace varn
