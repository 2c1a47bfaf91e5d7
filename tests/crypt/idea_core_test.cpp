#include <gcrypt.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "crypt/idea.h"
#include "idea_vectors.h"

namespace varn {
namespace {

std::uint32_t AsResidue(std::uint16_t w) {
    return w == 0 ? 65536u : w;
}

std::uint16_t MulByDivision(std::uint16_t a, std::uint16_t b) {
    const std::uint64_t p = std::uint64_t{AsResidue(a)} * AsResidue(b) % 65537u;
    return static_cast<std::uint16_t>(p == 65536u ? 0 : p);
}

std::vector<std::uint16_t> HexWords(const std::string& hex) {
    std::vector<std::uint16_t> words;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
        words.push_back(static_cast<std::uint16_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
    }
    return words;
}

IdeaKey RandomKey(std::mt19937& rng) {
    IdeaKey key;
    for (auto& w : key) w = static_cast<std::uint16_t>(rng());
    return key;
}

TEST(IdeaMul, EqualsProductModuloPrimeForEveryFirstFactor) {
    std::vector<std::uint16_t> seconds = {0,   1,     2,     3,     255,   256,
                                          257, 32767, 32768, 32769, 65534, 65535};
    std::mt19937 rng(1);
    while (seconds.size() < 300) seconds.push_back(static_cast<std::uint16_t>(rng()));
    for (std::uint32_t a = 0; a <= 0xFFFF; ++a) {
        for (std::uint16_t b : seconds) {
            const auto x = static_cast<std::uint16_t>(a);
            if (IdeaMul(x, b) != MulByDivision(x, b) || IdeaMul(b, x) != MulByDivision(b, x)) {
                FAIL() << "a=" << a << " b=" << b;
            }
        }
    }
}

TEST(IdeaMul, EqualsProductModuloPrimeForRandomPairs) {
    std::mt19937 rng(2);
    for (int i = 0; i < 5'000'000; ++i) {
        const auto a = static_cast<std::uint16_t>(rng());
        const auto b = static_cast<std::uint16_t>(rng());
        if (IdeaMul(a, b) != MulByDivision(a, b)) FAIL() << "a=" << a << " b=" << b;
    }
}

TEST(IdeaMul, ZeroStandsFor65536) {
    EXPECT_EQ(IdeaMul(0, 0), 1);  // 65536 * 65536 == 1 (mod 65537)
    EXPECT_EQ(IdeaMul(0, 1), 0);
    EXPECT_EQ(IdeaMul(1, 0), 0);
    EXPECT_EQ(IdeaMul(0, 2), 65535);
}

TEST(IdeaInv, InvertsEveryWord) {
    for (std::uint32_t x = 0; x <= 0xFFFF; ++x) {
        const auto w = static_cast<std::uint16_t>(x);
        if (IdeaMul(w, IdeaInv(w)) != 1) FAIL() << "x=" << x;
    }
    EXPECT_EQ(IdeaInv(0), 0);
    EXPECT_EQ(IdeaInv(1), 1);
    EXPECT_EQ(IdeaInv(65535), 32768);
}

TEST(IdeaExpandKey, EachGroupIsTheKeyRotatedBy25Bits) {
    std::mt19937 rng(3);
    for (int n = 0; n < 100; ++n) {
        const IdeaKey key = RandomKey(rng);
        unsigned __int128 k = 0;
        for (std::uint16_t w : key) k = k << 16 | w;
        const IdeaSchedule z = IdeaExpandKey(key);
        for (int i = 0; i < kIdeaScheduleWords; ++i) {
            const int group = i / 8;
            unsigned __int128 r = k;
            for (int g = 0; g < group; ++g) r = r << 25 | r >> 103;
            const auto expected = static_cast<std::uint16_t>(r >> (16 * (7 - i % 8)));
            ASSERT_EQ(z[i], expected) << "word " << i;
        }
    }
}

TEST(IdeaCipherBlock, ReproducesPublishedVectors) {
    for (const IdeaVector& v : kIdeaVectors) {
        const std::vector<std::uint16_t> k = HexWords(v.key);
        const std::vector<std::uint16_t> p = HexWords(v.plain);
        const std::vector<std::uint16_t> c = HexWords(v.cipher);
        IdeaKey key;
        std::copy(k.begin(), k.end(), key.begin());
        const IdeaSchedule enc = IdeaExpandKey(key);
        std::uint16_t out[4];
        IdeaCipherBlock(p.data(), out, enc);
        EXPECT_EQ(std::vector<std::uint16_t>(out, out + 4), c) << v.key << " " << v.plain;
        IdeaCipherBlock(c.data(), out, IdeaInvertKey(enc));
        EXPECT_EQ(std::vector<std::uint16_t>(out, out + 4), p) << v.key << " " << v.cipher;
    }
}

TEST(IdeaCipherBlock, DecryptionUndoesEncryption) {
    std::mt19937 rng(4);
    std::vector<IdeaKey> keys = {IdeaKey{}, IdeaKey{0, 1, 0, 0xFFFF, 0, 0, 0x8000, 0}};
    while (keys.size() < 2000) keys.push_back(RandomKey(rng));
    for (const IdeaKey& key : keys) {
        const IdeaSchedule enc = IdeaExpandKey(key);
        const IdeaSchedule dec = IdeaInvertKey(enc);
        for (int n = 0; n < 20; ++n) {
            std::uint16_t x[4], y[4], back[4];
            for (auto& w : x) w = static_cast<std::uint16_t>(n < 2 ? n * 0xFFFF : rng());
            IdeaCipherBlock(x, y, enc);
            IdeaCipherBlock(y, back, dec);
            ASSERT_TRUE(std::equal(x, x + 4, back));
        }
    }
}

class IdeaAgainstGcrypt : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_NE(gcry_check_version(nullptr), nullptr); }
};

TEST_F(IdeaAgainstGcrypt, AgreesOnRandomKeysAndBlocks) {
    std::mt19937 rng(5);
    for (int n = 0; n < 2000; ++n) {
        const IdeaKey key = RandomKey(rng);
        unsigned char keyBytes[16];
        for (int i = 0; i < 8; ++i) {  // the reference takes big-endian words
            keyBytes[2 * i] = static_cast<unsigned char>(key[i] >> 8);
            keyBytes[2 * i + 1] = static_cast<unsigned char>(key[i]);
        }
        gcry_cipher_hd_t hd;
        ASSERT_EQ(gcry_cipher_open(&hd, GCRY_CIPHER_IDEA, GCRY_CIPHER_MODE_ECB, 0), 0);
        ASSERT_EQ(gcry_cipher_setkey(hd, keyBytes, sizeof keyBytes), 0);
        const IdeaSchedule enc = IdeaExpandKey(key);
        for (int b = 0; b < 16; ++b) {
            std::uint16_t x[4], y[4];
            unsigned char in[8], out[8];
            for (int i = 0; i < 4; ++i) {
                x[i] = static_cast<std::uint16_t>(rng());
                in[2 * i] = static_cast<unsigned char>(x[i] >> 8);
                in[2 * i + 1] = static_cast<unsigned char>(x[i]);
            }
            ASSERT_EQ(gcry_cipher_encrypt(hd, out, sizeof out, in, sizeof in), 0);
            IdeaCipherBlock(x, y, enc);
            for (int i = 0; i < 4; ++i) {
                ASSERT_EQ(y[i], out[2 * i] << 8 | out[2 * i + 1]) << "key " << n << " block " << b;
            }
        }
        gcry_cipher_close(hd);
    }
}

}  // namespace
}  // namespace varn
