#include "text/detect_encoding.h"

#include <array>
#include <cmath>

#include "io/failure.h"
#include "io/file_reader.h"
#include "text/utf8.h"

namespace varn {

namespace {

// Strict UTF-8 with at least one sequence of more than one byte.
bool IsUtf8(std::string_view sample, bool cut) {
    const auto* p = reinterpret_cast<const unsigned char*>(sample.data());
    bool multiByte = false;
    for (std::size_t i = 0; i < sample.size();) {
        char32_t point;
        const int length = utf8::Decode(p + i, sample.size() - i, point);
        if (length == 0 && cut) break;
        if (length <= 0) return false;
        multiByte = multiByte || length > 1;
        i += static_cast<std::size_t>(length);
    }
    return multiByte;
}

enum class Kind { Capital, Small, Other, Odd };

// What a code is to the score: a Cyrillic capital or small letter, a character a Russian text
// holds anyway (ASCII, the common punctuation), or an odd one (box drawing, symbols).
Kind KindOf(int code) {
    if (code < 0) return Kind::Odd;
    if ((code >= 0xC0 && code <= 0xDF) || code == 0xA8) return Kind::Capital;
    if (code >= 0xE0 || code == 0xB8) return Kind::Small;
    if (code < 0x80) return Kind::Other;
    switch (code) {
        case 0x85:  // ellipsis
        case 0x93:  // quotation marks
        case 0x94:
        case 0x84:
        case 0x96:  // dashes
        case 0x97:
        case 0xA0:  // no-break space
        case 0xAB:  // guillemets
        case 0xBB:
        case 0xB9:  // numero sign
            return Kind::Other;
        default:
            return Kind::Odd;
    }
}

// Small letters by their usual frequency in Russian, most frequent first: a plain text in a
// single case is told apart by which letters it uses most.
constexpr const char kRussianByFrequency[] =
    "\xEE\xE5\xE0\xE8\xED\xF2\xF1\xF0\xE2\xEB\xEA\xEC\xE4\xEF\xF3\xFF\xFB\xE7\xFC\xE1\xE3\xF7\xE9"
    "\xF5\xE6\xFE\xF8\xF6\xF9\xFD\xF4\xFA\xB8";

std::array<double, 256> LetterWeights() {
    std::array<double, 256> weight{};
    for (std::size_t rank = 0; rank + 1 < sizeof kRussianByFrequency; ++rank) {
        weight[static_cast<unsigned char>(kRussianByFrequency[rank])] =
            1.0 - static_cast<double>(rank) / 16.0;
    }
    return weight;
}

int Lower(int code) {
    if (code >= 0xC0 && code <= 0xDF) return code + 32;
    if (code == 0xA8) return 0xB8;
    return code;
}

// What the sample looks like under one page.
struct Reading {
    double odd = 0;      // characters a Russian text does not hold
    double words = 0;    // words by their cases: capitalised +, broken -, small a little +
    double letters = 0;  // letters by how often Russian uses them
    int mixedWords = 0;  // capitalised or broken words: evidence of case at all
};

Reading Read(std::string_view sample, const CodePage& page) {
    static const std::array<double, 256> weight = LetterWeights();
    Reading reading;
    int letters = 0;      // of the current word
    int capitals = 0;     // of the current word
    bool broken = false;  // a capital after a small letter in the current word
    const auto endWord = [&] {
        if (letters >= 2) {
            if (broken) {
                reading.words -= 3;
                ++reading.mixedWords;
            } else if (capitals == 1) {
                reading.words += 3;  // capitalised
                ++reading.mixedWords;
            } else if (capitals == 0) {
                reading.words += 0.5;
            }
        }
        letters = capitals = 0;
        broken = false;
    };
    for (const unsigned char b : sample) {
        const int code = page.toCode[b];
        const Kind kind = b < 0x80 ? Kind::Other : KindOf(code);
        if (kind == Kind::Capital || kind == Kind::Small) {
            if (kind == Kind::Capital) {
                if (letters > capitals) broken = true;
                ++capitals;
            }
            ++letters;
            reading.letters += weight[Lower(code)];
            continue;
        }
        endWord();
        if (kind == Kind::Odd) reading.odd += 1;
    }
    endWord();
    return reading;
}

// Cases decide where the text mixes them; a text in one case is told by its letters, which
// only a plain text gives away (a key scrambles them, leaving the preference for small letters).
double Score(const Reading& reading, bool caseEvidence) {
    return -4 * reading.odd + reading.words + (caseEvidence ? 0.3 : 0.45) * reading.letters;
}

}  // namespace

Encoding DetectEncoding(std::string_view sample, bool cut) {
    if (sample.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8;
    if (IsUtf8(sample, cut)) return Encoding::Utf8;
    bool high = false;
    for (const unsigned char b : sample) high = high || b >= 0x80;
    if (!high) return Encoding::Windows1251;
    constexpr Encoding kCandidates[] = {Encoding::Windows1251, Encoding::Koi8r, Encoding::Cp866};
    Reading readings[3];
    bool caseEvidence = false;
    for (int i = 0; i < 3; ++i) {
        readings[i] = Read(sample, PageOf(kCandidates[i]));
        caseEvidence = caseEvidence || readings[i].mixedWords > 0;
    }
    Encoding best = Encoding::Windows1251;
    double bestScore = -INFINITY;
    for (int i = 0; i < 3; ++i) {
        const Encoding candidate = kCandidates[i];
        const double score = Score(readings[i], caseEvidence);
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

std::string ReadDetectionSample(const std::string& path, bool& cut) {
    const InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    std::string sample(kDetectionSample, '\0');
    const std::int64_t got =
        file.Read(reinterpret_cast<unsigned char*>(sample.data()), sample.size());
    if (got < 0) throw io::FileError(io::FailureNow(io::FailureKind::Read, path));
    sample.resize(static_cast<std::size_t>(got));
    cut = file.Size() > sample.size();
    return sample;
}

Encoding DetectFileEncoding(const std::string& path) {
    bool cut = false;
    const std::string sample = ReadDetectionSample(path, cut);
    return DetectEncoding(sample, cut);
}

}  // namespace varn
