#include "analysis/solve/gram_counts.h"

namespace varn::solve {

GramCounter::GramCounter(int symbols)
    : n_(symbols),
      boundary_(symbols - 1),
      size_(static_cast<std::uint32_t>(symbols * symbols * symbols * symbols)),
      counts_(size_, 0),
      last_(boundary_) {
    restart();
}

void GramCounter::restart() {
    last_ = boundary_;
    index_ = static_cast<std::uint32_t>(boundary_);
    seen_ = 1;
}

std::vector<Gram> GramCounter::grams() const {
    std::vector<Gram> out;
    for (std::uint32_t i = 0; i < size_; ++i) {
        if (counts_[i] == 0) continue;
        Gram g{};
        std::uint32_t rest = i;
        for (int k = 3; k >= 0; --k) {
            g.symbols[k] = static_cast<std::uint8_t>(rest % n_);
            rest /= n_;
        }
        g.count = counts_[i];
        out.push_back(g);
    }
    return out;
}

}  // namespace varn::solve
