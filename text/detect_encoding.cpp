#include "text/detect_encoding.h"

#include <array>
#include <cmath>
#include <set>

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

// How often Russian uses each small letter, per mille, а to я, then ё: a plain text tells its
// page by them, a key scrambles them.
constexpr double kRussianPerMille[33] = {80.1, 15.9, 45.4, 17.0, 29.8, 84.5,  9.4,  16.5, 73.5,
                                         12.1, 34.9, 44.0, 32.1, 67.0, 109.7, 28.1, 47.3, 54.7,
                                         63.2, 26.2, 2.6,  9.7,  4.8,  14.4,  7.3,  3.6,  0.4,
                                         19.0, 17.4, 3.2,  6.4,  20.1, 1.0};

// Bits a letter costs under those frequencies, by its small letter's code.
std::array<double, 256> LetterBits() {
    std::array<double, 256> bits{};
    for (int i = 0; i < 32; ++i) bits[0xE0 + i] = -std::log2(kRussianPerMille[i] / 1000);
    bits[0xB8] = -std::log2(kRussianPerMille[32] / 1000);
    return bits;
}

int Lower(int code) {
    if (code >= 0xC0 && code <= 0xDF) return code + 32;
    if (code == 0xA8) return 0xB8;
    return code;
}

// Short words that every Russian text is full of; a key turns them into others.
constexpr std::size_t kCommonWordLetters = 4;
constexpr const char* kCommonWords[] = {
    "не",  "на",  "что", "по",  "как", "из",   "за",   "от",   "же",   "то",   "он",
    "она", "они", "это", "все", "так", "но",   "для",  "бы",   "ты",   "мы",   "вы",
    "его", "ее",  "её",  "мне", "был", "была", "было", "уже",  "или",  "ни",   "да",
    "нет", "еще", "ещё", "там", "где", "кто",  "вот",  "при",  "до",   "без",  "под",
    "над", "их",  "им",  "нас", "ну",  "чем",  "тем",  "если", "меня", "тебя", "себя"};

bool IsCommonWord(const std::string& codes) {
    static const std::set<std::string> words = [] {
        std::set<std::string> all;
        for (const char* utf8 : kCommonWords) {
            std::string missing;
            all.insert(Utf8ToText(utf8, Encoding::Windows1251, missing));
        }
        return all;
    }();
    return words.count(codes) > 0;
}

constexpr Encoding kCandidates[] = {Encoding::Windows1251, Encoding::Koi8r, Encoding::Cp866};
constexpr int kPages = 3;

// What the sample looks like under one page.
struct Reading {
    double odd = 0;    // characters a Russian text does not hold
    double words = 0;  // words by their cases: capitalised +, broken -
    int capitals = 0;  // Cyrillic letters by case
    int small = 0;
    int wordCount = 0;      // runs of Cyrillic letters
    int commonWords = 0;    // of them the short words Russian uses most
    double letterBits = 0;  // the letters' cost under Russian letter frequencies

    int letters() const { return capitals + small; }
    double bitsPerLetter() const { return letterBits / letters(); }
};

Reading Read(std::string_view sample, const CodePage& page) {
    static const std::array<double, 256> bits = LetterBits();
    Reading reading;
    int letters = 0;      // of the current word
    int capitals = 0;     // of the current word
    bool broken = false;  // a capital after a small letter in the current word
    std::string word;     // its first letters, in small letters
    const auto endWord = [&] {
        if (letters > 0) {
            ++reading.wordCount;
            reading.commonWords += letters == static_cast<int>(word.size()) && IsCommonWord(word);
        }
        if (letters >= 2) {
            if (broken) {
                reading.words -= 3;
            } else if (capitals == 1) {
                reading.words += 3;  // capitalised
            }
        }
        letters = capitals = 0;
        broken = false;
        word.clear();
    };
    for (const unsigned char b : sample) {
        const int code = page.toCode[b];
        const Kind kind = b < 0x80 ? Kind::Other : KindOf(code);
        if (kind == Kind::Capital || kind == Kind::Small) {
            if (kind == Kind::Capital) {
                if (letters > capitals) broken = true;
                ++capitals;
                ++reading.capitals;
            } else {
                ++reading.small;
            }
            ++letters;
            if (word.size() < kCommonWordLetters) word += static_cast<char>(Lower(code));
            reading.letterBits += bits[Lower(code)];
            continue;
        }
        endWord();
        if (kind == Kind::Odd) reading.odd += 1;
    }
    endWord();
    return reading;
}

// Cases tell a page only where both occur: then capitals start words and are far fewer than
// small letters. A text in one case says nothing by it, since its writer or a key chose the case,
// and Windows-1251 capitals are KOI8-R small letters and the reverse.
double CaseScore(const Reading& reading) {
    if (reading.capitals == 0 || reading.small == 0) return 0;
    return reading.words + 2.0 * (reading.small - reading.capitals) / reading.letters();
}

// A plain text tells its page by its words or, when long, by its letters alone; a key leaves
// every page as far from Russian as a random order of letters is.
constexpr double kPlainScore = 8;

// At least three of the common words, one word in eight, and three times as many as any other
// page reads.
constexpr int kPlainCommonWords = 3;

bool ReadsAsPlainWords(const Reading (&readings)[kPages], int page) {
    const Reading& fit = readings[page];
    if (fit.commonWords < kPlainCommonWords || fit.commonWords * 8 < fit.wordCount) return false;
    for (int other = 0; other < kPages; ++other)
        if (other != page && readings[other].commonWords * 3 > fit.commonWords) return false;
    return true;
}

// Russian letters cost 4.5 bits each by their frequencies. Random keys came as close as 4.8; a
// plain text of 200 letters stays below 4.65 but for about one in fifty.
constexpr int kPlainLetters = 200;
constexpr double kPlainBitsPerLetter = 4.65;
constexpr double kPlainMargin = 0.5;

bool ReadsAsPlainLetters(const Reading (&readings)[kPages], int page) {
    const Reading& fit = readings[page];
    if (fit.letters() < kPlainLetters || fit.bitsPerLetter() > kPlainBitsPerLetter) return false;
    for (int other = 0; other < kPages; ++other) {
        if (other == page || readings[other].letters() == 0) continue;
        if (readings[other].bitsPerLetter() < fit.bitsPerLetter() + kPlainMargin) return false;
    }
    return true;
}

}  // namespace

Detection Detect(std::string_view sample, bool cut) {
    if (sample.substr(0, 3) == "\xEF\xBB\xBF") return {Encoding::Utf8};
    if (IsUtf8(sample, cut)) return {Encoding::Utf8};
    bool high = false;
    for (const unsigned char b : sample) high = high || b >= 0x80;
    if (!high) return {Encoding::Windows1251};
    Reading readings[kPages];
    for (int i = 0; i < kPages; ++i) readings[i] = Read(sample, PageOf(kCandidates[i]));
    double scores[kPages];
    for (int i = 0; i < kPages; ++i) {
        scores[i] =
            -4 * readings[i].odd + CaseScore(readings[i]) +
            (ReadsAsPlainWords(readings, i) || ReadsAsPlainLetters(readings, i) ? kPlainScore : 0);
    }
    // Windows-1251 on a tie: the program's own page, and the common one of Russian 8-bit texts.
    int best = 0;
    for (int i = 1; i < kPages; ++i)
        if (scores[i] > scores[best]) best = i;
    Detection detection{kCandidates[best]};
    detection.koi8rReadsAsWell = best == 0 && scores[1] == scores[0];
    return detection;
}

Encoding DetectEncoding(std::string_view sample, bool cut) {
    return Detect(sample, cut).encoding;
}

std::string ReadDetectionSample(const std::string& path, bool& cut) {
    const InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    std::string sample(kDetectionSample, '\0');
    const std::int64_t got =
        file.Read(reinterpret_cast<unsigned char*>(sample.data()), sample.size());
    if (got < 0) throw io::FileError(io::ReadFailureNow(path));
    sample.resize(static_cast<std::size_t>(got));
    cut = file.Size() > sample.size();
    return sample;
}

Detection DetectFile(const std::string& path) {
    bool cut = false;
    const std::string sample = ReadDetectionSample(path, cut);
    return Detect(sample, cut);
}

Encoding DetectFileEncoding(const std::string& path) {
    return DetectFile(path).encoding;
}

}  // namespace varn
