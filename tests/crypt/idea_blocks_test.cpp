#include "crypt/idea_blocks.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace varn {
namespace {

using Bytes = std::vector<unsigned char>;

// Keys and data rich in the words the modular multiplication treats specially.
std::vector<IdeaKey> TestKeys() {
    std::vector<IdeaKey> keys = {IdeaKey{}, IdeaKey{1, 1, 1, 1, 1, 1, 1, 1},
                                 IdeaKey{0xFFFF, 0, 0xFFFF, 0, 0x8000, 0, 1, 0}};
    std::mt19937 rng(10);
    for (int i = 0; i < 5; ++i) {
        IdeaKey k;
        for (auto& w : k) w = static_cast<std::uint16_t>(rng());
        keys.push_back(k);
    }
    return keys;
}

Bytes TestData(std::size_t blocks, std::mt19937& rng) {
    Bytes data(blocks * 8);
    const unsigned char special[] = {0x00, 0xFF, 0x01, 0x80};
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const unsigned r = rng();
        if (r % 3 == 0) {  // a special word
            data[i] = data[i + 1] = special[(r >> 8) % 4];
            if ((r >> 12) & 1) data[i + 1] = 0x01;
        } else {
            data[i] = static_cast<unsigned char>(r >> 16);
            data[i + 1] = static_cast<unsigned char>(r >> 24);
        }
    }
    return data;
}

TEST(IdeaBlocksScalar, FollowsTheWordOrderOfEachDirection) {
    const IdeaSchedule z = IdeaExpandKey(IdeaKey{1, 2, 3, 4, 5, 6, 7, 8});
    const Bytes plain = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    Bytes cipher(8);
    IdeaCipherBlocks(plain.data(), cipher.data(), 1, z, IdeaWordOrder::PlainToCipher,
                     IdeaPath::Scalar);
    const std::uint16_t x[4] = {0x0102, 0x0304, 0x0506, 0x0708};
    std::uint16_t y[4];
    IdeaCipherBlock(x, y, z);
    for (int i = 0; i < 4; ++i) {  // plaintext high byte first, cipher low byte first
        EXPECT_EQ(cipher[2 * i], y[i] & 0xFF);
        EXPECT_EQ(cipher[2 * i + 1], y[i] >> 8);
    }
    Bytes back(8);
    IdeaCipherBlocks(cipher.data(), back.data(), 1, IdeaInvertKey(z), IdeaWordOrder::CipherToPlain,
                     IdeaPath::Scalar);
    EXPECT_EQ(back, plain);
}

class IdeaBlocksPath : public ::testing::TestWithParam<IdeaPath> {
  protected:
    void SetUp() override {
        if (!IdeaPathAvailable(GetParam()))
            GTEST_SKIP() << "CPU lacks " << IdeaPathName(GetParam());
    }
};

TEST_P(IdeaBlocksPath, EqualsScalarForAnyBlockCount) {
    std::mt19937 rng(11);
    const std::size_t counts[] = {0,  1,  7,  8,  9,  15, 16,   17,  31,
                                  32, 33, 63, 64, 65, 95, 1000, 4099};
    for (const IdeaKey& key : TestKeys()) {
        const IdeaSchedule enc = IdeaExpandKey(key);
        const IdeaSchedule dec = IdeaInvertKey(enc);
        for (std::size_t n : counts) {
            for (IdeaWordOrder order :
                 {IdeaWordOrder::PlainToCipher, IdeaWordOrder::CipherToPlain}) {
                const IdeaSchedule& z = order == IdeaWordOrder::PlainToCipher ? enc : dec;
                const Bytes in = TestData(n, rng);
                Bytes expected(in.size()), actual(in.size());
                IdeaCipherBlocks(in.data(), expected.data(), n, z, order, IdeaPath::Scalar);
                IdeaCipherBlocks(in.data(), actual.data(), n, z, order, GetParam());
                ASSERT_EQ(actual, expected) << "blocks " << n;
                Bytes inPlace = in;
                IdeaCipherBlocks(inPlace.data(), inPlace.data(), n, z, order, GetParam());
                ASSERT_EQ(inPlace, expected) << "in place, blocks " << n;
            }
        }
    }
}

TEST_P(IdeaBlocksPath, DecryptsWhatItEncrypts) {
    std::mt19937 rng(12);
    const IdeaSchedule enc = IdeaExpandKey(TestKeys()[4]);
    const Bytes plain = TestData(1001, rng);
    Bytes cipher(plain.size()), back(plain.size());
    IdeaCipherBlocks(plain.data(), cipher.data(), 1001, enc, IdeaWordOrder::PlainToCipher,
                     GetParam());
    IdeaCipherBlocks(cipher.data(), back.data(), 1001, IdeaInvertKey(enc),
                     IdeaWordOrder::CipherToPlain, GetParam());
    EXPECT_EQ(back, plain);
}

INSTANTIATE_TEST_SUITE_P(AllPaths, IdeaBlocksPath,
                         ::testing::Values(IdeaPath::Sse2, IdeaPath::Avx2, IdeaPath::Avx512),
                         [](const auto& info) { return std::string(IdeaPathName(info.param)); });

}  // namespace
}  // namespace varn
