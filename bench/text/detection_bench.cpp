// Accuracy of encoding detection on held-out Russian passages in the forms ciphertexts are
// written in (ordinary prose, plain or enciphered under random case-keeping keys; capitals only;
// small letters only; letters only; capitals in groups of five), 24 to 1000 letters long, in the
// four encodings.
//   detection_bench [HELDOUT_RU] [trials per cell]
// A cell gives the share read in the file's own encoding and, in brackets, the share read as
// Windows-1251 with the notice that KOI8-R reads as well (a single-case text whose bytes cannot
// tell the two pages apart).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "cipher_forms.h"
#include "text/detect_encoding.h"
#include "text/encoding.h"

namespace {

// The passages of a held-out file, as the tests join them.
std::string Passages(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string text, line;
    while (std::getline(in, line)) {
        if (line == "%") continue;
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using varn::solve::Language;
    int at = 1;
    const std::string corpus = argc > at && !std::isdigit(static_cast<unsigned char>(argv[at][0]))
                                   ? Passages(argv[at++])
                                   : varn::trials::HeldOutText(Language::Russian);
    const int trials = argc > at ? std::max(1, std::atoi(argv[at])) : 400;
    const int lengths[] = {24, 48, 100, 300, 1000};
    std::printf("| form | letters |");
    for (const varn::Encoding e : varn::kEncodings) std::printf(" %s |", varn::EncodingName(e));
    std::printf("\n|---|---|---|---|---|---|\n");
    for (const varn::trials::FormName& form : varn::trials::kForms) {
        for (const int length : lengths) {
            std::printf("| %s | %d |", form.name, length);
            for (const varn::Encoding encoding : varn::kEncodings) {
                int right = 0;
                int noticed = 0;
                for (int t = 0; t < trials; ++t) {
                    const std::uint64_t seed = 7000 + static_cast<std::uint64_t>(t);
                    const std::string codes =
                        varn::trials::InForm(corpus, Language::Russian, form.form,
                                             static_cast<std::uint64_t>(length), seed);
                    std::string missing;
                    const std::string bytes = varn::CodesToText(codes, encoding, missing);
                    const varn::Detection found = varn::Detect(bytes);
                    right += found.encoding == encoding;
                    noticed += found.koi8rReadsAsWell;
                }
                std::printf(" %.1f %% (%.1f %%) |", 100.0 * right / trials,
                            100.0 * noticed / trials);
            }
            std::printf("\n");
        }
    }
    return 0;
}
