#include "analysis/solve/ngram_model.h"

#include <cstring>
#include <stdexcept>

#include "analysis/solve/embedded_models.h"

namespace varn::solve {

namespace {
constexpr char kMagic[8] = {'V', 'A', 'R', 'N', '4', 'G', 'M', '1'};
constexpr std::size_t kHeader = sizeof kMagic + 2;
}  // namespace

NgramModel::NgramModel(const Alphabet& alphabet, const unsigned char* data, std::size_t size)
    : alphabet_(alphabet), n_(alphabet.symbols()), quantaPerBit_(0), costs_(nullptr) {
    const std::size_t letters = static_cast<std::size_t>(alphabet.letters());
    const std::size_t table = static_cast<std::size_t>(n_) * n_ * n_ * n_;
    if (size != kHeader + letters + table || std::memcmp(data, kMagic, sizeof kMagic) != 0 ||
        data[8] != n_ || data[9] == 0 ||
        std::memcmp(data + kHeader, alphabet.letterBytes().data(), letters) != 0) {
        throw std::runtime_error("The letter model does not fit its language");
    }
    quantaPerBit_ = data[9];
    costs_ = data + kHeader + letters;
}

const NgramModel& BuiltInModel(Language language) {
    if (language == Language::Russian) {
        static const NgramModel russian(
            Alphabet(Language::Russian), varn_model_ru,
            static_cast<std::size_t>(varn_model_ru_end - varn_model_ru));
        return russian;
    }
    static const NgramModel english(Alphabet(Language::English), varn_model_en,
                                    static_cast<std::size_t>(varn_model_en_end - varn_model_en));
    return english;
}

}  // namespace varn::solve
