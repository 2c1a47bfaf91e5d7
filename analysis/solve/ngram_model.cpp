#include "analysis/solve/ngram_model.h"

#include <array>
#include <cstdio>
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

const NgramModel& BuiltInModel(Language language, Spacing spacing) {
    const auto load = [](Language l, const unsigned char* begin, const unsigned char* end) {
        return NgramModel(Alphabet(l), begin, static_cast<std::size_t>(end - begin));
    };
    if (spacing == Spacing::LettersOnly) {
        if (language == Language::Russian) {
            static const NgramModel russian =
                load(Language::Russian, varn_model_ru_letters, varn_model_ru_letters_end);
            return russian;
        }
        static const NgramModel english =
            load(Language::English, varn_model_en_letters, varn_model_en_letters_end);
        return english;
    }
    if (language == Language::Russian) {
        static const NgramModel russian = load(Language::Russian, varn_model_ru, varn_model_ru_end);
        return russian;
    }
    static const NgramModel english = load(Language::English, varn_model_en, varn_model_en_end);
    return english;
}

double ReferenceBitsPerLetter(Language language, Spacing spacing) {
    const auto parse = [](const unsigned char* begin, const unsigned char* end) {
        // "VARNREF1 <words> <letters only>\n"
        const std::string text(reinterpret_cast<const char*>(begin),
                               static_cast<std::size_t>(end - begin));
        std::array<double, 2> bits{};
        if (text.rfind("VARNREF1 ", 0) != 0 ||
            std::sscanf(text.c_str() + 9, "%lf %lf", &bits[0], &bits[1]) != 2 || bits[0] <= 0 ||
            bits[1] <= 0)
            throw std::runtime_error("The reference costs of the letter models are damaged");
        return bits;
    };
    static const std::array<double, 2> russian = parse(varn_reference_ru, varn_reference_ru_end);
    static const std::array<double, 2> english = parse(varn_reference_en, varn_reference_en_end);
    const std::array<double, 2>& bits = language == Language::Russian ? russian : english;
    return bits[spacing == Spacing::Words ? 0 : 1];
}

}  // namespace varn::solve
