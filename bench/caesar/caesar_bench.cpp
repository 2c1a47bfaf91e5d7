// Times one enciphering pass into "__varn__.enc" in the current folder; prints MB/s.
//   caesar_bench FILE [pipeline 0|1]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "caesar/caesar_pass.h"

namespace {
struct NoBar : varn::Progress {
    void SetMax(std::uint64_t) override {}
    void SetPosition(std::uint64_t) override {}
    void Advance(std::uint64_t) override {}
    void Fill() override {}
};
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [pipeline]\n", argv[0]);
        return 2;
    }
    varn::DosTextOptions options;
    if (argc >= 3) options.pipeline = std::atoi(argv[2]) != 0;
    NoBar bar;
    const auto start = std::chrono::steady_clock::now();
    const varn::CaesarOutcome outcome = varn::RunCaesarPass(argv[1], false, false, bar, options);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.succeeded()) {
        std::fprintf(stderr, "pass failed\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
    std::printf("%-28s %8.3f s  %8.0f MB/s\n", "Caesar encipher pass", seconds,
                static_cast<double>(in.tellg()) / seconds / 1e6);
    return 0;
}
