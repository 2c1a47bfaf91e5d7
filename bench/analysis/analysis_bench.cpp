// The workloads of run_benchmarks.sh: the letter count and the substitution over a file. Each
// prints its own time and MB/s when run alone.
//   analysis_bench count FILE [threads] [buffer] [encoding]
//   analysis_bench replace FILE OUT [pipeline 0|1] [buffer] [encoding]
//   analysis_bench make-text FILE BYTES
//   analysis_bench convert FILE OUT ENCODING   (a Windows-1251 text in another encoding)
// The encoding is windows-1251 (the default), utf-8, koi8-r or cp866.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "analysis/letter_count.h"
#include "analysis/replace_letters.h"
#include "text/encoding.h"

namespace {

struct NoBar : varn::Progress {
    std::uint64_t position = 0;
    void SetMax(std::uint64_t) override {}
    void SetPosition(std::uint64_t p) override { position = p; }
    void Advance(std::uint64_t steps) override { position += steps; }
    void Fill() override {}
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, std::uint64_t bytes, double seconds) {
    std::printf("%-28s %8.3f s  %8.0f MB/s\n", what, seconds, bytes / seconds / 1e6);
}

// Cyrillic and Latin words, spaces, punctuation and CR LF line ends, as cp1251 bytes.
int MakeText(const std::string& path, std::uint64_t bytes) {
    std::mt19937 random(1);
    std::ofstream out(path, std::ios::binary);
    std::string line;
    std::uint64_t written = 0;
    while (written < bytes) {
        line.clear();
        while (line.size() < 70) {
            const int length = 1 + static_cast<int>(random() % 9);
            const bool cyrillic = random() % 3 != 0;
            for (int i = 0; i < length; ++i) {
                const int letter = static_cast<int>(random() % (cyrillic ? 32 : 26));
                const bool capital = i == 0 && random() % 5 == 0;
                line += static_cast<char>(cyrillic ? (capital ? 192 : 224) + letter
                                                   : (capital ? 'A' : 'a') + letter);
            }
            line += random() % 8 == 0 ? ", " : " ";
        }
        line += "\r\n";
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        written += line.size();
    }
    return out ? 0 : 1;
}

// A table paired on a Russian frequency order, as after a count, without counting the file.
varn::LetterTable PairedTable() {
    varn::LetterTable table;
    varn::ResetLetterTable(table);
    for (int c = 224; c < 256; ++c) table[c].count = static_cast<std::uint64_t>((c * 37) % 101);
    std::string s = "\xEE\xE5\xE0\xE8\xED\xF2\xF1\xF0\xE2\xEB";
    varn::PairWithEtalon(table, s, varn::kDescending);
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s count|replace|make-text FILE ...\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    if (mode == "make-text" && argc >= 4)
        return MakeText(path, std::strtoull(argv[3], nullptr, 10));
    if (mode == "convert" && argc >= 5) {
        const auto encoding = varn::ParseEncoding(argv[4]);
        if (!encoding) return 2;
        std::ifstream in(path, std::ios::binary);
        std::ofstream out(argv[3], std::ios::binary);
        std::string piece(std::size_t{1} << 20, '\0');
        std::string missing;
        while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) ||
               in.gcount() > 0) {
            out << varn::CodesToText(piece.substr(0, static_cast<std::size_t>(in.gcount())),
                                     *encoding, missing);
        }
        return out ? 0 : 1;
    }
    const auto encodingAt = [&](int at) {
        return argc > at ? varn::ParseEncoding(argv[at]).value_or(varn::Encoding::Windows1251)
                         : varn::Encoding::Windows1251;
    };

    if (mode == "count") {
        // Counting "All": the letter table sorted by count afterwards.
        varn::LetterTable table;
        NoBar bar;
        varn::CountOptions options;
        if (argc >= 4) options.threads = static_cast<unsigned>(std::atoi(argv[3]));
        if (argc >= 5 && std::strtoull(argv[4], nullptr, 10) > 0)
            options.bufferSize = std::strtoull(argv[4], nullptr, 10);
        options.encoding = encodingAt(5);
        const auto start = std::chrono::steady_clock::now();
        varn::CountAll(table, path, varn::kDescending, bar, options);
        const std::string what = "count, " + std::to_string(options.threads) + " thread(s), " +
                                 varn::EncodingName(options.encoding);
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        Report(what.c_str(), static_cast<std::uint64_t>(in.tellg()), Seconds(start));
        return 0;
    }
    if (mode == "replace" && argc >= 4) {
        varn::DosTextOptions options;
        if (argc >= 5) options.pipeline = std::atoi(argv[4]) != 0;
        if (argc >= 6 && std::strtoull(argv[5], nullptr, 10) > 0)
            options.bufferSize = std::strtoull(argv[5], nullptr, 10);
        options.encoding = encodingAt(6);
        const varn::LetterTable table = PairedTable();
        const auto start = std::chrono::steady_clock::now();
        std::uint64_t steps = 0;
        const auto result = varn::ReplaceLetters(
            table, path, std::string(argv[3]), [&](std::uint64_t n) { steps += n; }, options);
        const double seconds = Seconds(start);
        if (result) {
            std::fprintf(stderr, "substitution failed\n");
            return 1;
        }
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        const std::string what =
            std::string("ReplaceLetters, ") + varn::EncodingName(options.encoding);
        Report(what.c_str(), static_cast<std::uint64_t>(in.tellg()), seconds);
        return 0;
    }
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}
