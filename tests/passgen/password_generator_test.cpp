#include "passgen/password_generator.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <stdexcept>
#include <string>

#include "passgen/system_random_source.h"
#include "scripted_random_source.h"

namespace varn {
namespace {

using testing::ScriptedRandomSource;

unsigned Code(char c) {
    return static_cast<unsigned char>(c);
}

// --- count field -------------------------------------------------------------------------

struct LengthCase {
    const char* text;
    int length;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class PasswordLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(PasswordLengthTest, CorrectsTheCount) {
    EXPECT_EQ(PasswordLength(GetParam().text), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(Counts, PasswordLengthTest,
                         ::testing::Values(LengthCase{"", 8}, LengthCase{"1", 1},
                                           LengthCase{"8", 8}, LengthCase{"24", 24},
                                           LengthCase{"25", 25}, LengthCase{"26", 25},
                                           LengthCase{"30", 25}, LengthCase{"2147483647", 25},
                                           LengthCase{"0", 8}, LengthCase{"-3", 8},
                                           LengthCase{"-2147483648", 8}, LengthCase{"+5", 5}));

TEST(PasswordLength, NonIntegerThrowsTheConversionMessage) {
    try {
        PasswordLength("1O");
        FAIL() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "'1O' is not a valid integer value");
    }
}

// --- generation with a scripted source ------------------------------------------------------

TEST(GeneratePassword, NeitherRangeDoesNothingAtAll) {
    ScriptedRandomSource random({});
    // Not even a bad count is looked at.
    for (const char* text : {"8", "30", "", "abc"}) {
        EXPECT_FALSE(GeneratePassword({false, false, text}, random).has_value()) << text;
    }
    EXPECT_EQ(random.used(), 0u);
}

TEST(GeneratePassword, NonIntegerCountThrowsBeforeAnyDraw) {
    ScriptedRandomSource random({});
    EXPECT_THROW(GeneratePassword({true, true, "x"}, random), std::runtime_error);
    EXPECT_EQ(random.used(), 0u);
}

TEST(GeneratePassword, LatOnlyFollowsTheScriptedDraws) {
    ScriptedRandomSource random({
        32,      // blank: rejected
        127,     // DEL: rejected
        0x0141,  // 'A' after modulo 256: accepted
        0x0041,  // 'A' again: rejected
        200,     // Cyrillic, Rus not chosen: rejected
        126,     // '~': accepted
        0xFF21,  // '!': accepted
        33,      // never drawn: the password is complete
    });
    const auto result = GeneratePassword({true, false, "3"}, random);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->count, 3);
    EXPECT_EQ(result->password, "A~!");
    EXPECT_EQ(result->split, "     A -lat  ~ -lat  ! -lat  ");
    EXPECT_EQ(random.used(), 7u);
}

TEST(GeneratePassword, RusOnlyFollowsTheScriptedDraws) {
    ScriptedRandomSource random({
        65,      // Latin, Lat not chosen: rejected
        168,     // capital yo lies outside the range: rejected
        191,     // just below the range: rejected
        192,     // accepted
        0x01FF,  // 255: accepted
        192,     // repeat: rejected
    });
    const auto result = GeneratePassword({false, true, "2"}, random);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->password, "\xC0\xFF");
    EXPECT_EQ(result->split, "     \xC0 -rus  \xFF -rus  ");
    EXPECT_EQ(random.used(), 5u);
}

TEST(GeneratePassword, BothRangesMixAndLabelEachCharacter) {
    ScriptedRandomSource random({0, 0xE0, 'z', 160, 0xE0, '0', 255, 33});
    const auto result = GeneratePassword({true, true, "5"}, random);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->password, "\xE0z0\xFF!");
    EXPECT_EQ(result->split, "     \xE0 -rus  z -lat  0 -lat  \xFF -rus  ! -lat  ");
    EXPECT_EQ(random.used(), 8u);
}

TEST(GeneratePassword, EmptyCountMakesEightAndReportsIt) {
    ScriptedRandomSource random({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i'});
    const auto result = GeneratePassword({true, true, ""}, random);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->count, 8);
    EXPECT_EQ(result->password, "abcdefgh");
}

// --- generation with the system source -----------------------------------------------------

class SystemGeneration : public ::testing::Test {
  protected:
    PasswordResult Generate(bool lat, bool rus, const std::string& count) {
        auto result = GeneratePassword({lat, rus, count}, random_);
        EXPECT_TRUE(result.has_value());
        return result.value_or(PasswordResult{});
    }

    static void ExpectDistinct(const std::string& password) {
        const std::set<char> seen(password.begin(), password.end());
        EXPECT_EQ(seen.size(), password.size()) << "a character repeats";
    }

    SystemRandomSource random_;
};

TEST_F(SystemGeneration, CountIsCorrectedAndReported) {
    const struct {
        const char* text;
        int count;
    } cases[] = {{"", 8}, {"30", 25}, {"0", 8}, {"-3", 8}, {"1", 1}, {"17", 17}};
    for (const auto& c : cases) {
        const PasswordResult result = Generate(true, true, c.text);
        EXPECT_EQ(result.count, c.count) << c.text;
        EXPECT_EQ(result.password.size(), static_cast<std::size_t>(c.count)) << c.text;
    }
}

TEST_F(SystemGeneration, RusOnlyGivesDistinctCyrillicLetters) {
    for (int round = 0; round < 50; ++round) {
        const PasswordResult result = Generate(false, true, "25");
        ASSERT_EQ(result.password.size(), 25u);
        ExpectDistinct(result.password);
        for (char c : result.password) {
            EXPECT_GE(Code(c), 192u);
            EXPECT_LE(Code(c), 255u);
        }
    }
}

TEST_F(SystemGeneration, LatOnlyGivesDistinctPrintableLatin) {
    for (int round = 0; round < 50; ++round) {
        const PasswordResult result = Generate(true, false, "25");
        ASSERT_EQ(result.password.size(), 25u);
        ExpectDistinct(result.password);
        for (char c : result.password) {
            EXPECT_GE(Code(c), 33u);   // never the blank
            EXPECT_LE(Code(c), 126u);  // never DEL
        }
    }
}

TEST_F(SystemGeneration, BothRangesStayInsideThem) {
    for (int round = 0; round < 50; ++round) {
        const PasswordResult result = Generate(true, true, "25");
        ExpectDistinct(result.password);
        for (char c : result.password) {
            const unsigned r = Code(c);
            EXPECT_TRUE((r >= 33 && r <= 126) || r >= 192) << r;
        }
    }
}

TEST_F(SystemGeneration, TwoPasswordsDiffer) {
    // Unlike a clock-seeded generator, two presses in the same second give different results.
    EXPECT_NE(Generate(true, true, "25").password, Generate(true, true, "25").password);
}

// --- split text ----------------------------------------------------------------------------

TEST(SplitPassword, LengthAndLayoutForEveryLength) {
    std::string password;
    for (int n = 0; n <= kMaxPasswordLength; ++n) {
        const std::string split = SplitPassword(password);
        ASSERT_EQ(split.size(), 5u + 8u * password.size()) << n;
        EXPECT_EQ(split.substr(0, 5), "     ");
        for (std::size_t i = 0; i < password.size(); ++i) {
            const std::string group = split.substr(5 + 8 * i, 8);
            EXPECT_EQ(group[0], password[i]);
            EXPECT_EQ(group.substr(1), i % 2 == 0 ? " -lat  " : " -rus  ") << i;
        }
        password.push_back(static_cast<char>(n % 2 == 0 ? '!' + n : 0xC0 + n));
    }
}

TEST(SplitPassword, RangeEdgesAreLabelledByTheirGroup) {
    EXPECT_EQ(SplitPassword("!~"), "     ! -lat  ~ -lat  ");
    EXPECT_EQ(SplitPassword("\xC0\xFF"), "     \xC0 -rus  \xFF -rus  ");
}

}  // namespace
}  // namespace varn
