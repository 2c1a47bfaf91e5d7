#pragma once

// Faults that hit root as hard as anyone, and a view of a folder to show that nothing was lost.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

// While it lives, a write past `bytes` into any file fails with EFBIG, as on a full disk; the
// signal such a write would raise is ignored, so the program sees the error.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    sighandler_t previousHandler_ = SIG_DFL;
};

// A file as the user sees it: its bytes, permission bits, or where its link points.
struct FileState {
    std::string bytes;
    unsigned mode = 0;
    std::string link;
    bool operator==(const FileState&) const = default;
};

// Every name in a folder and its subfolders, relative to it. A name that is not there afterwards,
// an extra name (a temporary left behind) or a changed byte shows as a difference.
inline std::map<std::string, FileState> FolderState(const std::filesystem::path& folder) {
    std::map<std::string, FileState> state;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        FileState file;
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        file.mode = info.st_mode;
        if (S_ISLNK(info.st_mode)) {
            file.link = std::filesystem::read_symlink(entry.path()).string();
        } else if (S_ISREG(info.st_mode)) {
            std::ifstream in(entry.path(), std::ios::binary);
            file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        state[name] = file;
    }
    return state;
}

inline void PrintTo(const FileState& file, std::ostream* out) {
    *out << "{" << file.bytes.size() << " bytes, mode " << std::oct << file.mode << std::dec
         << (file.link.empty() ? "" : ", link to " + file.link) << "}";
}
