// Encrypts and decrypts one page-cached file through the real module, first with the default
// options (what the program runs, with the peak resident size), then per vector path and thread
// count, and prints MiB/s of plaintext; then a plain copy of the file (the I/O ceiling), and the
// cipher alone on a buffer in memory, one thread.
// Usage: bench_crypt FILE [MiB, default 1024] [repeats, default 3] [paths, e.g. avx2,avx512bw]
// FILE is created with random content if missing; the pass output goes to FILE's folder.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "crypt/crypt_operation.h"

namespace {

using varn::CryptRequest;
using varn::IdeaPath;

bool MakeFile(const std::string& path, std::size_t bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) == bytes) {
        return true;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    std::mt19937_64 rng(1);
    std::vector<std::uint64_t> buffer((std::size_t{1} << 20) / 8);
    for (std::size_t done = 0; done < bytes;) {
        for (auto& w : buffer) w = rng();
        const std::size_t n = std::min(bytes - done, buffer.size() * 8);
        if (::write(fd, buffer.data(), n) != static_cast<ssize_t>(n)) return false;
        done += n;
    }
    return ::close(fd) == 0;
}

// Reads the file once so that it is in the page cache.
void Warm(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> buffer(std::size_t{4} << 20);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// Ciphering threads of the rows beside the default.
constexpr unsigned kThreading[] = {1, 2};

double Seconds(const std::chrono::steady_clock::time_point& since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Best of `repeats` timings of one operation; `prepare` runs untimed before each.
template <class Prepare>
double TimeOperation(const CryptRequest& request, int repeats, Prepare prepare) {
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        const varn::CryptResult result = varn::RunCryptOperation(request);
        const double s = Seconds(start);
        if (!result.ok()) {
            std::fprintf(stderr, "operation failed (refusal %d, failure %d on %s)\n",
                         static_cast<int>(result.refusal), static_cast<int>(result.failure.kind),
                         result.failure.path.c_str());
            std::exit(1);
        }
        best = std::min(best, s);
    }
    return best;
}

// Plain copy of the file in chunks of the same size, no cipher: the I/O ceiling of a pass.
double CopyOnly(const std::string& from, std::size_t bytes, int repeats) {
    const std::string to = "bench-copy.dat";
    std::vector<unsigned char> buffer(varn::kIdeaChunkBytes);
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        ::unlink(to.c_str());
        const auto start = std::chrono::steady_clock::now();
        const int in = ::open(from.c_str(), O_RDONLY);
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (off_t at = 0;; at += static_cast<off_t>(buffer.size())) {
            const ssize_t n = ::pread(in, buffer.data(), buffer.size(), at);
            if (n <= 0 || ::pwrite(out, buffer.data(), static_cast<std::size_t>(n), at) != n) break;
        }
        ::close(in);
        ::close(out);
        best = std::min(best, Seconds(start));
    }
    ::unlink(to.c_str());
    return static_cast<double>(bytes) / (1 << 20) / best;
}

// The block cipher alone, in place on a cache-sized buffer, best of `repeats` over 256 MiB.
double CipherOnly(IdeaPath path, varn::IdeaWordOrder order, int repeats) {
    std::vector<unsigned char> buffer(std::size_t{1} << 20, 0x5A);
    const varn::IdeaSchedule z = varn::IdeaExpandKey(varn::IdeaKeyFromPassword("bench"));
    constexpr int kRounds = 256;
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRounds; ++i) {
            varn::IdeaCipherBlocks(buffer.data(), buffer.data(), buffer.size() / 8, z, order, path);
        }
        best = std::min(best, Seconds(start));
    }
    return kRounds / best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [MiB] [repeats] [paths]\n", argv[0]);
        return 2;
    }
    std::string file = argv[1];
    const std::size_t mib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1024;
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
    const std::string wanted = argc > 4 ? argv[4] : "";
    const std::size_t bytes = mib << 20;
    if (!MakeFile(file, bytes)) {
        std::perror(file.c_str());
        return 1;
    }
    // The pass output is relative to the working folder: keep it on the file's volume.
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos) {
        const std::string folder = slash == 0 ? "/" : file.substr(0, slash);
        if (::chdir(folder.c_str()) != 0) {
            std::perror(folder.c_str());
            return 1;
        }
        file = file.substr(slash + 1);
    }
    Warm(file);
    const std::string encName = varn::CryptEncName(file);
    const std::string cipherFile = "bench-cipher.dat";  // its own result is bench-cipher.enc
    const std::string plainOut = varn::CryptEncName(cipherFile);

    // Encrypts and decrypts the file with `options`; prints one row of plaintext MiB/s.
    const auto row = [&](const std::string& label, const std::string& threading,
                         const varn::IdeaStreamOptions& options, int runs) {
        const CryptRequest enc{file, {"bench"}, false, false, options};
        const double encSeconds = TimeOperation(enc, runs, [&] { ::unlink(encName.c_str()); });
        ::unlink(cipherFile.c_str());
        if (::rename(encName.c_str(), cipherFile.c_str()) != 0) std::exit(1);
        Warm(cipherFile);
        const CryptRequest dec{cipherFile, {"bench"}, true, false, options};
        const double decSeconds = TimeOperation(dec, runs, [&] { ::unlink(plainOut.c_str()); });
        ::unlink(plainOut.c_str());
        ::unlink(cipherFile.c_str());
        const double m = static_cast<double>(bytes) / (1 << 20);
        std::printf("%-9s %7s %12.0f %12.0f\n", label.c_str(), threading.c_str(), m / encSeconds,
                    m / decSeconds);
        std::fflush(stdout);
    };

    std::printf("%-9s %7s %12s %12s\n", "path", "threads", "enc MiB/s", "dec MiB/s");
    // What the program runs, first, while the peak resident size is still its own.
    const varn::IdeaStreamOptions defaults;
    row("default", std::to_string(defaults.threads), defaults, repeats);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%-9s %s: %s, peak resident size %.1f MiB\n", "", "default path",
                std::string(varn::IdeaPathName(defaults.path)).c_str(),
                static_cast<double>(usage.ru_maxrss) / 1024);
    for (IdeaPath path : {IdeaPath::Scalar, IdeaPath::Sse2, IdeaPath::Avx2, IdeaPath::Avx512}) {
        if (!varn::IdeaPathAvailable(path)) continue;
        if (!wanted.empty() &&
            ("," + wanted + ",").find("," + std::string(varn::IdeaPathName(path)) + ",") ==
                std::string::npos) {
            continue;
        }
        for (const unsigned threads : kThreading) {
            const varn::IdeaStreamOptions options{path, threads};
            row(std::string(varn::IdeaPathName(path)), std::to_string(threads), options,
                path == IdeaPath::Scalar ? 1 : repeats);
        }
    }
    const double copy = CopyOnly(file, bytes, repeats);
    std::printf("%-9s %7u %12.0f %12.0f\n", "copy", 1u, copy, copy);

    std::printf("\n%-9s %7s %12s %12s\n", "cipher", "threads", "enc MiB/s", "dec MiB/s");
    for (IdeaPath path : {IdeaPath::Scalar, IdeaPath::Sse2, IdeaPath::Avx2, IdeaPath::Avx512}) {
        if (!varn::IdeaPathAvailable(path)) continue;
        std::printf("%-9s %7u %12.0f %12.0f\n", std::string(varn::IdeaPathName(path)).c_str(), 1u,
                    CipherOnly(path, varn::IdeaWordOrder::PlainToCipher, repeats),
                    CipherOnly(path, varn::IdeaWordOrder::CipherToPlain, repeats));
    }
    return 0;
}
