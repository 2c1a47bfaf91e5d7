#include "text/detect_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "cipher_forms.h"
#include "text/encoding.h"

namespace varn {
namespace {

using solve::Language;
using trials::Form;

// Windows-1251 codes of a text in `encoding`.
std::string In(const std::string& codes, Encoding encoding) {
    std::string missing;
    return CodesToText(codes, encoding, missing);
}

// Windows-1251 codes of control text.
std::string Codes(const char* utf8) {
    std::string missing;
    return Utf8ToText(utf8, Encoding::Windows1251, missing);
}

bool HasBothCases(const std::string& codes) {
    bool capital = false, small = false;
    for (const unsigned char c : codes) {
        capital = capital || (c >= 0xC0 && c < 0xE0) || c == 0xA8;
        small = small || c >= 0xE0 || c == 0xB8;
    }
    return capital && small;
}

// A byte from 0x80 to 0xBF: in Windows-1251 and KOI8-R no letter but ё, and no sign that is one
// in both pages.
bool HasTellingByte(const std::string& bytes) {
    for (const unsigned char b : bytes)
        if (b >= 0x80 && b < 0xC0) return true;
    return false;
}

constexpr bool Enciphered(Form form) {
    return form != Form::Prose && form != Form::PlainCapitals;
}

TEST(DetectionTest, HeldOutTextInEveryFormEncodingAndLength) {
    const std::string corpus = trials::HeldOutText(Language::Russian);
    constexpr int kExcerpts = 30;
    for (const trials::FormName& form : trials::kForms) {
        for (const std::uint64_t letters : {48, 100, 300, 1000}) {
            for (const Encoding encoding : kEncodings) {
                SCOPED_TRACE(testing::Message() << form.name << ", " << letters << " letters, "
                                                << EncodingName(encoding));
                int right = 0, telling = 0;
                for (int seed = 0; seed < kExcerpts; ++seed) {
                    const std::string codes =
                        trials::InForm(corpus, Language::Russian, form.form, letters, seed);
                    const std::string bytes = In(codes, encoding);
                    const Detection found = Detect(bytes);
                    SCOPED_TRACE(TextToUtf8(codes, Encoding::Windows1251));
                    right += found.encoding == encoding;
                    if (encoding == Encoding::Windows1251 || encoding == Encoding::Utf8) {
                        EXPECT_EQ(found.encoding, encoding);
                    } else if (letters >= 100 && found.encoding != encoding) {
                        // Never a silent wrong page: only the default, said to be one.
                        EXPECT_EQ(found.encoding, Encoding::Windows1251);
                        EXPECT_TRUE(found.koi8rReadsAsWell);
                    }
                    const bool singleCaseCipher =
                        trials::SingleCase(form.form) && Enciphered(form.form) &&
                        encoding != Encoding::Cp866 && encoding != Encoding::Utf8;
                    if (singleCaseCipher) {
                        // The bytes alone can tell the two pages apart, or the choice is said.
                        const bool tells = HasTellingByte(bytes);
                        EXPECT_EQ(found.koi8rReadsAsWell, !tells);
                        EXPECT_EQ(found.encoding, tells ? encoding : Encoding::Windows1251);
                    }
                    // The notice names the default only.
                    EXPECT_TRUE(!found.koi8rReadsAsWell || found.encoding == Encoding::Windows1251);
                    if (HasBothCases(codes) || HasTellingByte(bytes)) ++telling;
                }
                if (letters >= 100 && encoding != Encoding::Utf8 &&
                    !trials::SingleCase(form.form)) {
                    EXPECT_GE(right, telling * 95 / 100);
                }
            }
        }
    }
}

TEST(DetectionTest, EnglishTextInEveryFormIsReadAlikeWithoutANotice) {
    const std::string corpus = trials::HeldOutText(Language::English);
    for (const trials::FormName& form : trials::kForms) {
        for (int seed = 0; seed < 10; ++seed) {
            const std::string codes =
                trials::InForm(corpus, Language::English, form.form, 300, seed);
            for (const Encoding encoding : kEncodings) {
                const Detection found = Detect(In(codes, encoding));
                EXPECT_EQ(found.encoding, Encoding::Windows1251) << form.name;
                EXPECT_FALSE(found.koi8rReadsAsWell) << form.name;
            }
        }
    }
}

TEST(DetectionTest, YoAndSignsDecideASingleCaseCiphertext) {
    // Capitals and small letters in groups, under a key: no word, case or letter says a page.
    const std::string capitals = Codes("ЪЫЗЖП РЕКЛМ ОВБДЦ ЧШЙФГ ХЭЮЯЬ СТУНИ ");
    const std::string small = Codes("ъызжп реклм овбдц чшйфг хэюяь стуни ");
    const struct {
        const char* name;
        std::string codes;
        Encoding encoding;
        Encoding read;  // what the file reads as
        bool notice;
    } cases[] = {
        {"capitals alone", capitals, Encoding::Windows1251, Encoding::Windows1251, true},
        {"capitals alone", capitals, Encoding::Koi8r, Encoding::Windows1251, true},
        {"small letters alone", small, Encoding::Windows1251, Encoding::Windows1251, true},
        {"small letters alone", small, Encoding::Koi8r, Encoding::Windows1251, true},
        {"capital yo", capitals + Codes("ЁЖИК"), Encoding::Windows1251, Encoding::Windows1251,
         false},
        {"capital yo", capitals + Codes("ЁЖИК"), Encoding::Koi8r, Encoding::Koi8r, false},
        {"small yo", small + Codes("ёжик"), Encoding::Windows1251, Encoding::Windows1251, false},
        {"small yo", small + Codes("ёжик"), Encoding::Koi8r, Encoding::Koi8r, false},
        {"guillemets", capitals + Codes("«ЗЖП»"), Encoding::Windows1251, Encoding::Windows1251,
         false},
        {"dash", capitals + Codes("— ЗЖП"), Encoding::Windows1251, Encoding::Windows1251, false},
        {"numero", capitals + Codes("№ 5"), Encoding::Windows1251, Encoding::Windows1251, false},
        {"no-break space", capitals + Codes("ЗЖП\u00A05"), Encoding::Koi8r, Encoding::Koi8r, false},
        {"capitals alone", capitals, Encoding::Cp866, Encoding::Cp866, false},
        {"capitals alone", capitals, Encoding::Utf8, Encoding::Utf8, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " in " << EncodingName(c.encoding));
        const Detection found = Detect(In(c.codes, c.encoding));
        EXPECT_EQ(found.encoding, c.read);
        EXPECT_EQ(found.koi8rReadsAsWell, c.notice);
    }
}

TEST(DetectionTest, ShortTextsWithBothCasesAndTheEdgesOfUtf8) {
    // "Привет, мир"; the same under a letter key keeping cases, longer.
    const std::string shortText = Codes("Привет, мир");
    const std::string enciphered = Codes("Гуйнсд, пйу Вхе лисс. Кйо фохд зоу.");
    for (const std::string* text : {&shortText, &enciphered}) {
        for (const Encoding encoding : kEncodings) {
            SCOPED_TRACE(testing::Message() << EncodingName(encoding) << " "
                                            << TextToUtf8(*text, Encoding::Windows1251));
            const Detection found = Detect(In(*text, encoding));
            EXPECT_EQ(found.encoding, encoding);
            EXPECT_FALSE(found.koi8rReadsAsWell);
        }
    }
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBFplain"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("plain ASCII"), Encoding::Windows1251);
    EXPECT_FALSE(Detect("plain ASCII").koi8rReadsAsWell);
    // A sample cut inside a sequence is still UTF-8; a whole text ending so is not.
    EXPECT_EQ(DetectEncoding("\xD0\x96\xD0", true), Encoding::Utf8);
    EXPECT_NE(DetectEncoding("\xD0\x96\xD0", false), Encoding::Utf8);
}

}  // namespace
}  // namespace varn
