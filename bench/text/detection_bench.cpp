// Accuracy of encoding detection on held-out Russian passages, cut to lengths of 12 to 1000
// characters, in the four encodings, plain and enciphered under random case-keeping keys.
//   detection_bench HELDOUT_RU [trials per cell]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "text/detect_encoding.h"
#include "text/encoding.h"

namespace {

// Passages of the file (Windows-1251, separated by lines holding "%"), joined with blanks into
// one stream of text from which windows are cut.
std::string Passages(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(start, end - start);
        start = end + 1;
        if (line == "%") {
            text += "\n";
            continue;
        }
        text += line + "\n";
    }
    return text;
}

bool Cyrillic(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

// A random key on the 33 letters, the same for capitals and small letters.
std::string Encipher(const std::string& text, std::mt19937& random) {
    std::vector<int> small;
    for (int c = 0xE0; c <= 0xFF; ++c) small.push_back(c);
    small.push_back(0xB8);
    std::vector<int> key = small;
    std::shuffle(key.begin(), key.end(), random);
    int smallOf[256];
    for (int c = 0; c < 256; ++c) smallOf[c] = -1;
    for (std::size_t i = 0; i < small.size(); ++i) smallOf[small[i]] = key[i];
    std::string out = text;
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (!Cyrillic(c)) continue;
        const bool capital = c < 0xE0 && c != 0xB8;
        const int lower = c == 0xA8 ? 0xB8 : capital ? c + 32 : c;
        int to = smallOf[lower];
        if (capital) to = to == 0xB8 ? 0xA8 : to - 32;
        ch = static_cast<char>(to);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s HELDOUT_RU [trials]\n", argv[0]);
        return 2;
    }
    const int trials = argc >= 3 ? std::atoi(argv[2]) : 400;
    const std::string text = Passages(argv[1]);
    std::mt19937 random(20261210);
    const int lengths[] = {12, 24, 48, 100, 200, 500, 1000};
    std::printf("| length | text |");
    for (const varn::Encoding e : varn::kEncodings) std::printf(" %s |", varn::EncodingName(e));
    std::printf("\n|---|---|---|---|---|---|\n");
    for (const int length : lengths) {
        for (const int form : {0, 1, 2, 3}) {
            const bool enciphered = form == 1 || form == 3;
            const char* names[] = {"plain", "enciphered", "plain, capitals", "enciphered, small"};
            std::printf("| %d | %s |", length, names[form]);
            for (const varn::Encoding encoding : varn::kEncodings) {
                int right = 0;
                for (int t = 0; t < trials; ++t) {
                    // A window of `length` characters holding at least one Cyrillic letter.
                    std::string window;
                    do {
                        std::uniform_int_distribution<std::size_t> at(0, text.size() - length);
                        window = text.substr(at(random), static_cast<std::size_t>(length));
                    } while (std::none_of(window.begin(), window.end(), [](char c) {
                        return Cyrillic(static_cast<unsigned char>(c));
                    }));
                    if (form >= 2) {
                        for (char& ch : window) {
                            const auto c = static_cast<unsigned char>(ch);
                            const bool small = c >= 0xE0 || c == 0xB8;
                            const bool capital = (c >= 0xC0 && c < 0xE0) || c == 0xA8;
                            if (form == 2 && small)
                                ch = static_cast<char>(c == 0xB8 ? 0xA8 : c - 32);
                            if (form == 3 && capital)
                                ch = static_cast<char>(c == 0xA8 ? 0xB8 : c + 32);
                        }
                    }
                    if (enciphered) window = Encipher(window, random);
                    std::string missing;
                    const std::string bytes = varn::CodesToText(window, encoding, missing);
                    const varn::Encoding found = varn::DetectEncoding(bytes);
                    // Without a byte from 128 up, every 8-bit page reads the text alike.
                    bool high = false;
                    for (const unsigned char b : bytes) high = high || b >= 0x80;
                    if (found == encoding || (!high && encoding != varn::Encoding::Utf8)) ++right;
                }
                std::printf(" %.1f %% |", 100.0 * right / trials);
            }
            std::printf("\n");
        }
    }
    return 0;
}
