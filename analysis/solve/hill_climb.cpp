#include "analysis/solve/hill_climb.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>

namespace varn::solve {

GramText::GramText(std::vector<Gram> grams, int symbols)
    : grams_(std::move(grams)), n_(symbols), holding_(symbols - 1), masks_(grams_.size(), 0) {
    const int boundary = symbols - 1;
    for (std::uint32_t i = 0; i < grams_.size(); ++i) {
        for (const std::uint8_t s : grams_[i].symbols) {
            if (s == boundary || (masks_[i] >> s & 1U)) continue;
            masks_[i] |= std::uint64_t{1} << s;
            holding_[s].push_back(i);
        }
    }
}

namespace {

std::uint32_t Cost(const NgramModel& model, const Gram& g, const Key& key) {
    const int n = model.symbols();
    const int index = ((key[g.symbols[0]] * n + key[g.symbols[1]]) * n + key[g.symbols[2]]) * n +
                      key[g.symbols[3]];
    return model.costs()[index] * g.count;
}

}  // namespace

std::int64_t Score(const GramText& text, const NgramModel& model, const Key& key) {
    std::int64_t total = 0;
    for (const Gram& g : text.grams()) total += Cost(model, g, key);
    return total;
}

std::int64_t Climb(const GramText& text, const NgramModel& model, Key& key, std::uint64_t* work) {
    const std::vector<Gram>& grams = text.grams();
    std::vector<std::uint32_t> cached(grams.size());
    std::int64_t total = 0;
    for (std::size_t i = 0; i < grams.size(); ++i) {
        cached[i] = Cost(model, grams[i], key);
        total += cached[i];
    }
    const int letters = text.symbols() - 1;
    // The grams an exchange of a and b touches: all that hold a, and those holding b but not a.
    const auto touched = [&](int a, int b, auto&& visit) {
        for (const std::uint32_t i : text.holding(a)) visit(i);
        for (const std::uint32_t i : text.holding(b))
            if (!(text.lettersIn(i) >> a & 1U)) visit(i);
    };
    std::uint64_t looked = grams.size();
    for (bool improved = true; improved;) {
        improved = false;
        for (int a = 0; a < letters; ++a) {
            for (int b = a + 1; b < letters; ++b) {
                if (text.holding(a).empty() && text.holding(b).empty()) continue;
                std::swap(key[a], key[b]);
                std::int64_t delta = 0;
                touched(a, b, [&](std::uint32_t i) {
                    delta += static_cast<std::int64_t>(Cost(model, grams[i], key)) - cached[i];
                });
                looked += text.holding(a).size() + text.holding(b).size();
                if (delta < 0) {
                    touched(a, b, [&](std::uint32_t i) { cached[i] = Cost(model, grams[i], key); });
                    total += delta;
                    improved = true;
                } else {
                    std::swap(key[a], key[b]);
                }
            }
        }
    }
    if (work) *work += looked;
    return total;
}

namespace {

// One run of simulated annealing over exchanges from `key`, the temperature falling linearly
// from `t0` (in cost quanta) to 0; leaves in `key` the best key met.
void AnnealOnce(const GramText& text, const NgramModel& model, Key& key, int steps, double t0,
                std::mt19937_64& random, std::uint64_t& work) {
    const std::vector<Gram>& grams = text.grams();
    std::vector<std::uint32_t> cached(grams.size());
    std::int64_t total = 0;
    for (std::size_t i = 0; i < grams.size(); ++i) {
        cached[i] = Cost(model, grams[i], key);
        total += cached[i];
    }
    const int letters = text.symbols() - 1;
    std::vector<int> present;
    // Only exchanges that move a letter of the text can change the cost. Picking the letters by
    // their frequency instead did worse on held-out texts.
    for (int a = 0; a < letters; ++a)
        if (!text.holding(a).empty()) present.push_back(a);
    const auto touched = [&](int a, int b, auto&& visit) {
        for (const std::uint32_t i : text.holding(a)) visit(i);
        for (const std::uint32_t i : text.holding(b))
            if (!(text.lettersIn(i) >> a & 1U)) visit(i);
    };
    Key best = key;
    std::int64_t bestTotal = total;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int step = 0; step < steps; ++step) {
        const double t = t0 * (1.0 - static_cast<double>(step) / steps);
        const int a = present[random() % present.size()];
        int b = static_cast<int>(random() % static_cast<std::uint64_t>(letters - 1));
        if (b >= a) ++b;
        std::swap(key[a], key[b]);
        std::int64_t delta = 0;
        touched(a, b, [&](std::uint32_t i) {
            delta += static_cast<std::int64_t>(Cost(model, grams[i], key)) - cached[i];
        });
        work += text.holding(a).size() + text.holding(b).size();
        if (delta <= 0 || (t > 0 && unit(random) < std::exp(-static_cast<double>(delta) / t))) {
            touched(a, b, [&](std::uint32_t i) { cached[i] = Cost(model, grams[i], key); });
            total += delta;
            if (total < bestTotal) {
                bestTotal = total;
                best = key;
            }
        } else {
            std::swap(key[a], key[b]);
        }
    }
    key = best;
}

// A key drawn uniformly at random: the partners of the first `letters` symbols shuffled.
void Shuffle(Key& key, int letters, std::mt19937_64& random) {
    for (int i = letters - 1; i > 0; --i)
        std::swap(key[i], key[random() % static_cast<std::uint64_t>(i + 1)]);
}

// The best key of a search so far, climbed from the start, and how many runs since have come
// back to its cost: the search stops once the answer keeps recurring.
struct BestSoFar {
    BestSoFar(const Key& start, const GramText& text, const NgramModel& model, std::uint64_t& work)
        : key(start), cost(Climb(text, model, key, &work)) {}
    void Offer(const Key& candidate, std::int64_t candidateCost) {
        if (candidateCost < cost) {
            key = candidate;
            cost = candidateCost;
            foundAgain = 0;
        } else if (candidateCost == cost) {
            ++foundAgain;
        }
    }
    Key key;
    std::int64_t cost;
    int foundAgain = 0;
};

}  // namespace

Key Search(const GramText& text, const NgramModel& model, const Key& start,
           const SearchOptions& options) {
    const int letters = text.symbols() - 1;
    std::mt19937_64 random(options.seed);
    const auto pick = [&](int below) {
        return static_cast<int>(random() % static_cast<std::uint64_t>(below));
    };
    std::uint64_t work = 0;
    BestSoFar best(start, text, model, work);
    for (int restart = 1; restart <= options.maxRestarts && best.foundAgain < options.patience &&
                          work < options.budget &&
                          !(restart > options.hopelessAfter && best.cost > options.hopelessCost);
         ++restart) {
        Key key = best.key;
        if (options.randomEvery > 0 && restart % options.randomEvery == 0) {
            Shuffle(key, letters, random);
        } else {
            const int exchanges = 1 + pick(std::max(1, options.maxPerturbation));
            for (int e = 0; e < exchanges; ++e) std::swap(key[pick(letters)], key[pick(letters)]);
        }
        best.Offer(key, Climb(text, model, key, &work));
    }
    return best.key;
}

Key Anneal(const GramText& text, const NgramModel& model, const Key& start,
           const SearchOptions& options) {
    const int letters = text.symbols() - 1;
    const double t0 = options.annealBits * model.quantaPerBit();
    std::mt19937_64 random(options.seed);
    std::uint64_t work = 0;
    BestSoFar best(start, text, model, work);
    for (int restart = 0; best.foundAgain < options.annealPatience && work < options.budget &&
                          !(restart >= options.hopelessAfter && best.cost > options.hopelessCost);
         ++restart) {
        // Every other run starts from a random key, the rest from the best so far.
        Key key = best.key;
        if (restart % 2 == 1) Shuffle(key, letters, random);
        AnnealOnce(text, model, key, options.annealSteps, t0, random, work);
        best.Offer(key, Climb(text, model, key, &work));  // the final polish
    }
    return best.key;
}

}  // namespace varn::solve
