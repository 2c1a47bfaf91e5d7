#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/solve/gram_counts.h"
#include "analysis/solve/ngram_model.h"

namespace varn::solve {

// A key: key[c] is the plaintext symbol of the ciphertext symbol c; the boundary maps to itself.
using Key = std::vector<std::uint8_t>;

struct SearchOptions {
    std::uint64_t seed = 20240917;  // mixed with the text: the same file gives the same answer
    // Restarts of the climb (long texts): stop once the best key has been found again this many
    // times, or the restarts run out.
    int patience = 200;
    int maxRestarts = 20000;  // at most this many restarts after the first climb
    int randomEvery = 4;      // every so many restarts start from a random key
    int maxPerturbation = 6;  // other restarts exchange 1 to this many pairs of the best key
    // The work of the whole search, in 4-gram costs looked up: it bounds the time whatever the
    // text (about a billion a second on one core; noise, which never settles, spends it all),
    // and counting work instead of time keeps the answer independent of the machine's load.
    std::uint64_t budget = 250'000'000;
    // Annealing (short texts): exchanges tried in one run, the starting temperature in bits, and
    // the runs whose result must recur before the search stops.
    int annealSteps = 10000;
    double annealBits = 8;
    int annealPatience = 20;
    // Noise never settles and would spend the whole budget: once this many restarts (or runs)
    // have left the best key costing more than `hopelessCost`, the search gives up on it.
    int hopelessAfter = 1;
    std::int64_t hopelessCost = std::numeric_limits<std::int64_t>::max();
};

// The text to solve, as its distinct 4-grams, indexed by the letters they hold so that an
// exchange of two letters rescores only the 4-grams it touches.
class GramText {
  public:
    GramText(std::vector<Gram> grams, int symbols);

    const std::vector<Gram>& grams() const { return grams_; }
    int symbols() const { return n_; }
    const std::vector<std::uint32_t>& holding(int letter) const { return holding_[letter]; }
    std::uint64_t lettersIn(std::uint32_t gram) const { return masks_[gram]; }

  private:
    std::vector<Gram> grams_;
    int n_;
    std::vector<std::vector<std::uint32_t>> holding_;  // gram indices holding each letter
    std::vector<std::uint64_t> masks_;                 // the letters of each gram, one bit each
};

// The total cost of the text deciphered with the key: lower is more likely.
std::int64_t Score(const GramText& text, const NgramModel& model, const Key& key);

// Exchanges pairs of plaintext letters while that lowers the cost; returns the cost reached.
// Adds the 4-gram costs it looked up to `work` when given.
std::int64_t Climb(const GramText& text, const NgramModel& model, Key& key,
                   std::uint64_t* work = nullptr);

// Climbs from `start`, then restarts from perturbed copies of the best key (and now and then
// from a random key) until the best has been found `patience` times, or the restarts or the
// budget run out.
Key Search(const GramText& text, const NgramModel& model, const Key& start,
           const SearchOptions& options);

// For short texts, whose climbs stick in many wrong optima: runs of simulated annealing, each
// polished by a climb, alternately from a random key and from the best so far, until the best
// has been found `annealPatience` times or the budget runs out.
Key Anneal(const GramText& text, const NgramModel& model, const Key& start,
           const SearchOptions& options);

}  // namespace varn::solve
