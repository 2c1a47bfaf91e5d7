#include "analysis/solve/solver.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "analysis/letter_table.h"
#include "analysis/solve/gram_counts.h"
#include "io/failure.h"
#include "io/file_reader.h"
#include "text/utf8_pass.h"

namespace varn::solve {

namespace {

// Feeds a text, piece by piece, to the counter of the whole and to the sample's counter.
class TextIntake {
  public:
    TextIntake(const Alphabet& alphabet, std::uint64_t size, const SolveOptions& options)
        : alphabet_(alphabet),
          size_(size),
          pieces_(std::max(1, options.samplePieces)),
          quota_(std::max<std::uint64_t>(1, options.sampleLetters / pieces_)),
          whole_(alphabet.symbols()),
          sample_(alphabet.symbols()) {
        nextStart_ = StartOf(0);
    }

    void feed(const unsigned char* data, std::size_t size) {
        CountBytes(data, size, counts_);
        const int boundary = alphabet_.boundary();
        for (std::size_t i = 0; i < size; ++i, ++offset_) {
            const int symbol = alphabet_.symbolOf(data[i]);
            whole_.feed(symbol);
            if (offset_ == nextStart_) {
                sample_.restart();
                left_ = quota_;
                do {
                    nextStart_ = ++piece_ < pieces_ ? StartOf(piece_) : ~std::uint64_t{0};
                } while (nextStart_ <= offset_);
            }
            if (left_ == 0) continue;
            sample_.feed(symbol);
            if (symbol != boundary) --left_;
        }
    }

    void finish() {
        whole_.finish();
        sample_.finish();
    }

    const ByteCounts& counts() const { return counts_; }
    const GramCounter& whole() const { return whole_; }
    const GramCounter& sample() const { return sample_; }

  private:
    // Pieces begin at equal steps over the text.
    std::uint64_t StartOf(int piece) const { return size_ / pieces_ * piece; }

    const Alphabet& alphabet_;
    std::uint64_t size_;
    int pieces_;
    std::uint64_t quota_;
    GramCounter whole_;
    GramCounter sample_;
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
    const NgramModel& model = BuiltInModel(alphabet.language());
    const GramText whole(intake.whole().grams(), alphabet.symbols());
    Key key = RankKey(alphabet, intake.counts());
    if (solution.letters <= options.sampleLetters) {
        key = Search(whole, model, key, options.search);
    } else {
        const GramText sample(intake.sample().grams(), alphabet.symbols());
        key = Search(sample, model, key, options.search);
        Climb(whole, model, key);
    }
    for (int s = 0; s < alphabet.letters(); ++s)
        solution.plain[alphabet.letter(s)] = alphabet.letter(key[s]);
    solution.status = SolveStatus::Solved;
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

Solution SolveFile(const std::string& path, Language language, Progress* progress,
                   const SolveOptions& options, Encoding encoding) {
    const InputFile file(path);
    if (!file.IsOpen()) throw io::FileError(file.Failure());
    const Alphabet alphabet(language);
    TextIntake intake(alphabet, file.Size(), options);
    if (progress) {
        progress->SetMax(file.Size() / kProgressStep);
        progress->SetPosition(0);
    }
    PieceReader reader(file, std::size_t{1} << 20);
    CodeReader codes(encoding, 1);
    std::vector<unsigned char> decoded;
    if (encoding != Encoding::Windows1251)
        decoded.resize(CodeReader::Capacity(std::size_t{1} << 20));
    std::uint64_t read = 0;
    for (;;) {
        const unsigned char* data = nullptr;
        const std::int64_t got = reader.Next(data);
        if (got < 0) throw io::FileError(io::FailureNow(io::FailureKind::Read, path));
        const bool last = static_cast<std::uint64_t>(got) < (std::size_t{1} << 20);
        if (encoding != Encoding::Windows1251) {
            intake.feed(decoded.data(),
                        codes.Read(data, static_cast<std::size_t>(got), last, decoded.data()));
        } else if (got > 0) {
            intake.feed(data, static_cast<std::size_t>(got));
        }
        if (got == 0) break;
        if (progress) progress->Advance(StepsBefore(read + got) - StepsBefore(read));
        read += static_cast<std::uint64_t>(got);
        if (static_cast<std::uint64_t>(got) < (std::size_t{1} << 20)) break;
    }
    intake.finish();
    Solution solution = Finish(alphabet, intake, options);
    if (progress) progress->Fill();
    return solution;
}

}  // namespace varn::solve
