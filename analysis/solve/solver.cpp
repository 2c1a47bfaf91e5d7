#include "analysis/solve/solver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

#include "analysis/letter_table.h"
#include "analysis/solve/gram_counts.h"
#include "io/failure.h"
#include "io/file_reader.h"
#include "text/code_pieces.h"

namespace varn::solve {

namespace {

// Feeds a text, piece by piece, to the counter of the whole and to the sample's counter; its
// first letters also to a counter that drops the boundaries, beside the lengths of their words.
class TextIntake {
  public:
    TextIntake(const Alphabet& alphabet, std::uint64_t size, const SolveOptions& options)
        : alphabet_(alphabet),
          size_(size),
          pieces_(std::max(1, options.samplePieces)),
          quota_(std::max<std::uint64_t>(1, options.sampleLetters / pieces_)),
          whole_(alphabet.symbols()),
          sample_(alphabet.symbols()),
          bare_(alphabet.symbols()),
          bareLeft_(options.sampleLetters) {
        nextStart_ = StartOf(0);
    }

    void feed(const unsigned char* data, std::size_t size) {
        CountBytes(data, size, counts_);
        const int boundary = alphabet_.boundary();
        std::size_t i = 0;
        // The first letters go to the counter without boundaries too; the loop for the rest
        // stays as tight as it was.
        for (; i < size && bareLeft_ > 0; ++i) {
            const int symbol = alphabet_.symbolOf(data[i]);
            FeedBare(symbol, boundary);
            Feed(symbol, boundary);
        }
        for (; i < size; ++i) Feed(alphabet_.symbolOf(data[i]), boundary);
    }

    void finish() {
        whole_.finish();
        sample_.finish();
        bare_.finish();
        EndWord();
    }

    const ByteCounts& counts() const { return counts_; }
    const GramCounter& whole() const { return whole_; }
    const GramCounter& sample() const { return sample_; }
    // The first letters of the text as they run, without boundaries.
    const GramCounter& bare() const { return bare_; }

    // Whether the first letters come in groups of one length, as ciphertexts are often written
    // ("QWERT ZUIOP ..."): then the breaks are no word boundaries.
    bool inGroups() const {
        std::uint64_t words = 0, modal = 0;
        std::size_t length = 0;
        for (std::size_t k = 1; k < wordLengths_.size(); ++k) {
            words += wordLengths_[k];
            if (wordLengths_[k] > modal) {
                modal = wordLengths_[k];
                length = k;
            }
        }
        return words >= 6 && length >= 2 && length <= 12 && modal * 10 >= words * 9;
    }

  private:
    void Feed(int symbol, int boundary) {
        whole_.feed(symbol);
        if (offset_ == nextStart_) {
            sample_.restart();
            left_ = quota_;
            do {
                nextStart_ = ++piece_ < pieces_ ? StartOf(piece_) : ~std::uint64_t{0};
            } while (nextStart_ <= offset_);
        }
        ++offset_;
        if (left_ == 0) return;
        sample_.feed(symbol);
        if (symbol != boundary) --left_;
    }
    void FeedBare(int symbol, int boundary) {
        if (symbol == boundary) {
            EndWord();
            return;
        }
        bare_.feed(symbol);
        ++run_;
        --bareLeft_;
    }
    void EndWord() {
        if (run_ > 0) ++wordLengths_[std::min<std::uint64_t>(run_, wordLengths_.size() - 1)];
        run_ = 0;
    }

    // Pieces begin at equal steps over the text.
    std::uint64_t StartOf(int piece) const { return size_ / pieces_ * piece; }

    const Alphabet& alphabet_;
    std::uint64_t size_;
    int pieces_;
    std::uint64_t quota_;
    GramCounter whole_;
    GramCounter sample_;
    GramCounter bare_;
    std::uint64_t bareLeft_;
    std::uint64_t run_ = 0;                        // letters of the word being read
    std::array<std::uint64_t, 33> wordLengths_{};  // words by length, the last entry for longer
    ByteCounts counts_{};
    std::uint64_t offset_ = 0;
    std::uint64_t nextStart_ = 0;
    int piece_ = 0;
    std::uint64_t left_ = 0;
};

// The rank pairing: the k-th most frequent ciphertext letter (ties in byte order) gets the k-th
// letter of the language's frequency order.
Key RankKey(const Alphabet& alphabet, const ByteCounts& counts) {
    const int letters = alphabet.letters();
    std::vector<std::uint64_t> perLetter(letters, 0);
    for (int b = 0; b < 256; ++b) {
        const int s = alphabet.symbolOf(static_cast<unsigned char>(b));
        if (s != alphabet.boundary()) perLetter[s] += counts[b];
    }
    std::vector<int> order(letters);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (perLetter[a] != perLetter[b]) return perLetter[a] > perLetter[b];
        return alphabet.letter(a) < alphabet.letter(b);
    });
    const std::string& frequent = FrequencyOrder(alphabet.language());
    Key key(alphabet.symbols());
    for (int k = 0; k < letters; ++k)
        key[order[k]] =
            static_cast<std::uint8_t>(alphabet.symbolOf(static_cast<unsigned char>(frequent[k])));
    key[alphabet.boundary()] = static_cast<std::uint8_t>(alphabet.boundary());
    return key;
}

// The seed of the search, mixed with the text's counts: a fixed answer for each text, yet texts
// do not share one sequence of restarts.
std::uint64_t SeedFor(const ByteCounts& counts, std::uint64_t seed) {
    std::uint64_t hash = 1469598103934665603ULL ^ seed;
    for (const std::uint64_t c : counts) hash = (hash ^ c) * 1099511628211ULL;
    return hash;
}

// The text's mean cost under random keys, in quanta: what no knowledge of the key gives.
double RandomKeyCost(const GramText& text, const NgramModel& model, int letters) {
    constexpr int kKeys = 8;
    std::mt19937_64 random(7);
    Key key(static_cast<std::size_t>(letters) + 1);
    std::iota(key.begin(), key.end(), 0);
    double total = 0;
    for (int k = 0; k < kKeys; ++k) {
        for (int i = letters - 1; i > 0; --i)
            std::swap(key[i], key[random() % static_cast<std::uint64_t>(i + 1)]);
        total += static_cast<double>(Score(text, model, key));
    }
    return total / kKeys;
}

// The bits of the key the text has to pin down: log2 of the number of keys.
double KeyBits(int letters) {
    double bits = 0;
    for (int k = 2; k <= letters; ++k) bits += std::log2(k);
    return bits;
}

// Calibrated on held-out passages of 50 to 150 letters: answers with more excess than this,
// in bits per letter over the language's own text, were mostly wrong ...
constexpr double kExcessAllowed = 0.4;
// ... unless the text carries this many times the key's information, when the excess allowed
// grows with it (a long text of an unusual kind stays trusted) up to kExcessAllowedAtMost.
constexpr double kEvidenceNeeded = 4.5;
constexpr double kExcessAllowedAtMost = 1.2;
// Answers of real text, right or wrong, stayed below 2 bits of excess; noise scores 3 to 10.
constexpr double kExcessOfNoise = 3.0;

// Rates the answer `key` on `text`, which holds `letters` letters.
void Assess(Solution& solution, const GramText& text, std::uint64_t letters,
            const NgramModel& model, const Key& key, const Alphabet& alphabet) {
    const double quanta = model.quantaPerBit() * static_cast<double>(letters);
    solution.bitsPerLetter = static_cast<double>(Score(text, model, key)) / quanta;
    solution.randomBitsPerLetter = RandomKeyCost(text, model, alphabet.letters()) / quanta;
    solution.languageBitsPerLetter = ReferenceBitsPerLetter(alphabet.language(), solution.spacing);
    const double excess = solution.bitsPerLetter - solution.languageBitsPerLetter;
    // How many times over the letters carry the information the key holds: the bits a letter
    // of the language saves over noise, times the letters, over log2 of the number of keys.
    const double evidence =
        static_cast<double>(letters) *
        std::max(0.0, solution.randomBitsPerLetter - solution.languageBitsPerLetter) /
        KeyBits(alphabet.letters());
    const double allowed = std::min(
        kExcessAllowedAtMost, kExcessAllowed + 0.1 * std::max(0.0, evidence - kEvidenceNeeded));
    // Each margin is 0.5 at its threshold.
    const double fitMargin = std::clamp(0.5 + (allowed - excess), 0.0, 1.0);
    const double evidenceMargin = std::clamp(0.5 + (evidence - kEvidenceNeeded) / 5, 0.0, 1.0);
    solution.confidence = std::min(fitMargin, evidenceMargin);
    solution.reliable = solution.confidence >= 0.5;
    if (excess > kExcessOfNoise) solution.status = SolveStatus::NotLanguage;
}

Spacing SpacingOf(const GramCounter& whole) {
    return whole.letters() > kLettersPerBoundaryWithoutWords * whole.boundaries()
               ? Spacing::LettersOnly
               : Spacing::Words;
}

// How the text is read for the search: which model, and which counts.
struct Reading {
    Spacing spacing;
    const GramCounter* counted;
};

Reading ReadingOf(const TextIntake& intake, const SolveOptions& options) {
    const bool inGroups = intake.inGroups();
    const Spacing spacing = inGroups ? Spacing::LettersOnly : SpacingOf(intake.whole());
    // Letters only are searched as they run, without the breaks between lines or groups: all
    // of them up to the sample's size, else (in groups) the first that many.
    const bool bare = spacing == Spacing::LettersOnly &&
                      (inGroups || intake.whole().letters() <= options.sampleLetters);
    return {spacing, bare ? &intake.bare() : &intake.whole()};
}

Solution Finish(const Alphabet& alphabet, const TextIntake& intake, const SolveOptions& options) {
    Solution solution;
    solution.counts = intake.counts();
    solution.letters = intake.whole().letters();
    for (int b = 0; b < 256; ++b) solution.plain[b] = static_cast<unsigned char>(b);
    if (solution.letters == 0) return solution;
    if (solution.letters < kMinimumLetters) {
        solution.status = SolveStatus::TooShort;
        return solution;
    }
    const Reading reading = ReadingOf(intake, options);
    solution.spacing = reading.spacing;
    const GramCounter& counted = *reading.counted;
    const NgramModel& model = BuiltInModel(alphabet.language(), solution.spacing);
    const GramText text(counted.grams(), alphabet.symbols());
    Key key = RankKey(alphabet, intake.counts());
    SearchOptions search = options.search;
    search.seed = SeedFor(intake.counts(), search.seed);
    const std::uint64_t searched = std::min(counted.letters(), options.sampleLetters);
    if (searched > options.fullPatienceUpTo) {
        const auto shrink = [&](int patience) {
            return std::max<int>(std::min(options.leastPatience, patience),
                                 static_cast<int>(static_cast<std::uint64_t>(patience) *
                                                  options.fullPatienceUpTo / searched));
        };
        search.patience = shrink(search.patience);
        search.annealPatience = shrink(search.annealPatience);
    }
    // Twice the noise level: only noise stays there after a climb or a run of annealing.
    const double noiseBits =
        ReferenceBitsPerLetter(alphabet.language(), solution.spacing) + 2 * kExcessOfNoise;
    const auto hopelessFor = [&](std::uint64_t letters) {
        return static_cast<std::int64_t>(noiseBits * model.quantaPerBit() *
                                         static_cast<double>(letters));
    };
    search.hopelessCost = hopelessFor(counted.letters());
    if (searched <= options.annealUpTo) {
        key = Anneal(text, model, key, search);
    } else if (counted.letters() <= options.sampleLetters) {
        key = Search(text, model, key, search);
    } else {
        const GramText sample(intake.sample().grams(), alphabet.symbols());
        search.hopelessCost = hopelessFor(intake.sample().letters());
        key = Search(sample, model, key, search);
        // Noise is refused whatever a climb over the whole would give it.
        if (Score(sample, model, key) <= search.hopelessCost) Climb(text, model, key);
    }
    for (int s = 0; s < alphabet.letters(); ++s)
        solution.plain[alphabet.letter(s)] = alphabet.letter(key[s]);
    solution.status = SolveStatus::Solved;
    Assess(solution, text, counted.letters(), model, key, alphabet);
    return solution;
}

}  // namespace

Solution SolveText(const unsigned char* data, std::size_t size, Language language,
                   const SolveOptions& options) {
    const Alphabet alphabet(language);
    TextIntake intake(alphabet, size, options);
    intake.feed(data, size);
    intake.finish();
    return Finish(alphabet, intake, options);
}

double BitsPerLetterAsItStands(const unsigned char* data, std::size_t size, Language language) {
    const Alphabet alphabet(language);
    const SolveOptions options;
    TextIntake intake(alphabet, size, options);
    intake.feed(data, size);
    intake.finish();
    const Reading reading = ReadingOf(intake, options);
    if (reading.counted->letters() == 0) return 0;
    const NgramModel& model = BuiltInModel(language, reading.spacing);
    Key identity(static_cast<std::size_t>(alphabet.symbols()));
    std::iota(identity.begin(), identity.end(), 0);
    const GramText text(reading.counted->grams(), alphabet.symbols());
    return static_cast<double>(Score(text, model, identity)) /
           (model.quantaPerBit() * static_cast<double>(reading.counted->letters()));
}

Solution SolveFile(const std::string& path, Language language, Progress* progress,
                   const SolveOptions& options, Encoding encoding) {
    const InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    const Alphabet alphabet(language);
    TextIntake intake(alphabet, file.Size(), options);
    // Byte 1 is no letter: a character without a code parts the letters beside it.
    ReadAsCodes(
        file, encoding, 1, progress,
        [&intake](const unsigned char* codes, std::size_t size) { intake.feed(codes, size); });
    intake.finish();
    Solution solution = Finish(alphabet, intake, options);
    if (progress) progress->Fill();
    return solution;
}

}  // namespace varn::solve
