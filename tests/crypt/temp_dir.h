#pragma once

#include <gtest/gtest.h>

#include <string>

namespace varn::test {

// Runs each test in a fresh folder as the current directory (the pass output is a relative
// name), and gives the old directory back afterwards.
class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    static void WriteFile(const std::string& path, const std::string& content);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);

    std::string dir_;

  private:
    std::string oldCwd_;
};

// Removes a folder tree (best effort).
void RemoveTree(const std::string& path);

}  // namespace varn::test
