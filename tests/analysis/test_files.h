#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "text/progress.h"

namespace varn::test {

// A fresh folder per test, removed afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path dir_;
};

std::string ReadBytes(const std::string& path);

// A bar that records what it was told.
struct RecordingProgress : Progress {
    std::uint64_t max = 12345;
    std::uint64_t position = 12345;
    std::vector<std::uint64_t> positions;  // after each Advance
    bool filled = false;
    void SetMax(std::uint64_t value) override { max = value; }
    void SetPosition(std::uint64_t value) override { position = value; }
    void Advance(std::uint64_t steps) override {
        position += steps;
        positions.push_back(position);
    }
    void Fill() override {
        position = max;
        filled = true;
    }
};

}  // namespace varn::test
