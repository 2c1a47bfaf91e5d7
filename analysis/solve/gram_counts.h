#pragma once

#include <cstdint>
#include <vector>

namespace varn::solve {

// One distinct 4-gram of a text's symbols and how often it occurs.
struct Gram {
    std::uint8_t symbols[4];
    std::uint32_t count;
};

// Counts the 4-grams of a stream of symbols 0 .. n-1, where n-1 is the word boundary: a run of
// boundaries counts as one, and the stream starts after a boundary. Counts are dense (n^4 of
// them), so feeding costs the same whatever the text.
class GramCounter {
  public:
    explicit GramCounter(int symbols);

    void feed(int symbol) {
        if (symbol == boundary_ && last_ == boundary_) return;
        last_ = symbol;
        index_ = (index_ * n_ + static_cast<std::uint32_t>(symbol)) % size_;
        if (symbol != boundary_)
            ++letters_;
        else
            ++boundaries_;
        if (++seen_ >= 4) ++counts_[index_];
    }
    // Starts a fresh stretch of text, as after a boundary.
    void restart();
    // Closes the last word with a boundary.
    void finish() { feed(boundary_); }

    std::uint64_t letters() const { return letters_; }
    // The word boundaries fed, each run as one, the closing one included.
    std::uint64_t boundaries() const { return boundaries_; }
    // The distinct 4-grams, in index order.
    std::vector<Gram> grams() const;

  private:
    int n_;
    int boundary_;
    std::uint32_t size_;
    std::vector<std::uint32_t> counts_;
    int last_;
    std::uint32_t index_ = 0;
    std::uint64_t seen_ = 0;
    std::uint64_t letters_ = 0;
    std::uint64_t boundaries_ = 0;
};

}  // namespace varn::solve
