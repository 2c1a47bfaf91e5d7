#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ui {

// Failures of the file layer carry its fixed English texts, shown by the window's error guard.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Opens the file read-only and takes its size. A folder does not open as a file.
// Throws FileError "Cannot open file %s".
std::uint64_t OpenAndTakeSize(const std::string& path);

// Throws "Cannot open file %s" or "Stream read error".
std::string ReadWholeFile(const std::string& path);

// Creates or truncates the file and writes the bytes.
// Throws "Cannot create file %s" or "Stream write error".
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace ui
