// Accuracy and time of the automatic standard search on held-out texts under random keys.
//
//   solve_bench [trials] [--letters-only | --groups] [--language ru|en] [--up-to LETTERS] [--dump]
//               [--anneal STEPS BITS PATIENCE]
//
// `--groups` writes the letters only in groups of five, ten groups a line, as ciphertexts often
// are. For every length it prints the median and 10th percentile of the share of letters right and
// the median and largest wall time per solve. For tuning: `--up-to` leaves out the rows past that
// many letters (the byte rows count as longer than any letter row); `--dump` writes a line per
// solve to standard error (language, length, letters only, share right, the answer's bits per
// letter, a random key's, the language's, confidence, status, seconds, and the plaintext's own
// bits per letter: a wrong answer that costs more than the plaintext is the search's fault, one
// that costs less the model's); `--anneal` sets the annealing's steps, temperature and patience.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/solve/solver.h"
#include "solve_trials.h"

namespace {

using varn::solve::Language;
using varn::trials::Measure;

struct Length {
    const char* label;
    std::uint64_t amount;
    Measure measure;
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

std::string InGroups(const std::string& letters) {
    std::string out;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i > 0 && i % 5 == 0) out += i % 50 == 0 ? '\n' : ' ';
        out += letters[i];
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    int trials = 41;
    bool lettersOnly = false;
    bool dump = false;
    bool groups = false;
    varn::solve::SolveOptions options;
    std::uint64_t upTo = ~std::uint64_t{0};
    std::vector<Language> languages = {Language::Russian, Language::English};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--dump")) {
            dump = true;
        } else if (!std::strcmp(argv[i], "--anneal") && i + 3 < argc) {
            options.search.annealSteps = std::atoi(argv[++i]);
            options.search.annealBits = std::atof(argv[++i]);
            options.search.annealPatience = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--letters-only")) {
            lettersOnly = true;
        } else if (!std::strcmp(argv[i], "--groups")) {
            lettersOnly = groups = true;
        } else if (!std::strcmp(argv[i], "--up-to") && i + 1 < argc) {
            upTo = std::strtoull(argv[++i], nullptr, 10);
        } else if (!std::strcmp(argv[i], "--language") && i + 1 < argc) {
            ++i;
            languages = {!std::strcmp(argv[i], "ru") ? Language::Russian : Language::English};
        } else {
            trials = std::max(1, std::atoi(argv[i]));
        }
    }
    const Length lengths[] = {
        {"50 letters", 50, Measure::Letters},     {"75 letters", 75, Measure::Letters},
        {"100 letters", 100, Measure::Letters},   {"150 letters", 150, Measure::Letters},
        {"200 letters", 200, Measure::Letters},   {"300 letters", 300, Measure::Letters},
        {"500 letters", 500, Measure::Letters},   {"1000 letters", 1000, Measure::Letters},
        {"2000 letters", 2000, Measure::Letters}, {"64 KB", 64 << 10, Measure::Bytes},
        {"1 MB", 1 << 20, Measure::Bytes},
    };
    std::printf("%-9s %-13s %7s %8s %8s %10s %10s\n", "language", "length", "trials", "median",
                "p10", "median s", "max s");
    for (const Language language : languages) {
        const std::string corpus = varn::trials::HeldOutText(language);
        for (const Length& length : lengths) {
            const bool longer =
                length.measure == Measure::Bytes ? upTo != ~std::uint64_t{0} : length.amount > upTo;
            if (longer) continue;
            const int runs = length.amount > (64 << 10) ? std::max(1, trials / 4) : trials;
            std::vector<double> right, seconds;
            for (int t = 0; t < runs; ++t) {
                const std::uint64_t seed = 1000 + static_cast<std::uint64_t>(t);
                std::string plain = varn::trials::Excerpt(corpus, language, length.amount,
                                                          length.measure, seed, lettersOnly);
                if (groups) plain = InGroups(plain);
                const std::string cipher =
                    varn::trials::Encipher(plain, varn::trials::RandomKey(language, seed));
                const auto start = std::chrono::steady_clock::now();
                const varn::solve::Solution solution =
                    varn::solve::SolveText(reinterpret_cast<const unsigned char*>(cipher.data()),
                                           cipher.size(), language, options);
                seconds.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                        .count());
                right.push_back(
                    varn::trials::LettersRight(plain, cipher, solution.plain, language));
                if (dump)
                    std::fprintf(stderr, "D %d %llu %d %.4f %.4f %.4f %.4f %.4f %.4f %.3f %.4f\n",
                                 language == Language::Russian, (unsigned long long)length.amount,
                                 lettersOnly, right.back(), solution.bitsPerLetter,
                                 solution.randomBitsPerLetter, solution.languageBitsPerLetter,
                                 solution.confidence, static_cast<double>(solution.status),
                                 seconds.back(),
                                 varn::solve::BitsPerLetterAsItStands(
                                     reinterpret_cast<const unsigned char*>(plain.data()),
                                     plain.size(), language));
            }
            std::printf("%-9s %-13s %7d %7.1f%% %7.1f%% %10.3f %10.3f\n",
                        language == Language::Russian ? "ru" : "en", length.label, runs,
                        100 * Percentile(right, 0.5), 100 * Percentile(right, 0.1),
                        Percentile(seconds, 0.5),
                        *std::max_element(seconds.begin(), seconds.end()));
            std::fflush(stdout);
        }
    }
}
