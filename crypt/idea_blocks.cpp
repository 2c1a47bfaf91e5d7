#include "crypt/idea_blocks.h"

#include "crypt/idea_lanes.h"

namespace varn {

namespace {

std::uint16_t LoadWord(const unsigned char* p, bool highFirst) {
    return highFirst ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                     : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

void StoreWord(unsigned char* p, std::uint16_t w, bool highFirst) {
    const auto hi = static_cast<unsigned char>(w >> 8);
    const auto lo = static_cast<unsigned char>(w);
    p[0] = highFirst ? hi : lo;
    p[1] = highFirst ? lo : hi;
}

void ScalarBlocks(const unsigned char* in, unsigned char* out, std::size_t blocks,
                  const IdeaSchedule& schedule, IdeaWordOrder order) {
    const bool inHighFirst = order == IdeaWordOrder::PlainToCipher;
    for (std::size_t b = 0; b < blocks; ++b, in += 8, out += 8) {
        std::uint16_t x[4];
        std::uint16_t y[4];
        for (int i = 0; i < 4; ++i) x[i] = LoadWord(in + 2 * i, inHighFirst);
        IdeaCipherBlock(x, y, schedule);
        for (int i = 0; i < 4; ++i) StoreWord(out + 2 * i, y[i], !inHighFirst);
    }
}

// The lane-parallel cipher of a vector path; null for the scalar one.
const lanes::LanePath* LanesOf(IdeaPath path) {
    switch (path) {
        case IdeaPath::Sse2:
            return &lanes::kSse2;
        case IdeaPath::Avx2:
            return &lanes::kAvx2;
        case IdeaPath::Avx512:
            return &lanes::kAvx512;
        case IdeaPath::Scalar:
            break;
    }
    return nullptr;
}

}  // namespace

bool IdeaPathAvailable(IdeaPath path) {
    switch (path) {
        case IdeaPath::Scalar:
            return true;
        case IdeaPath::Sse2:
            return __builtin_cpu_supports("sse2");
        case IdeaPath::Avx2:
            return __builtin_cpu_supports("avx2");
        case IdeaPath::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    }
    return false;
}

IdeaPath IdeaBestPath() {
    static const IdeaPath best = [] {
        for (IdeaPath p : {IdeaPath::Avx512, IdeaPath::Avx2, IdeaPath::Sse2}) {
            if (IdeaPathAvailable(p)) return p;
        }
        return IdeaPath::Scalar;
    }();
    return best;
}

std::string_view IdeaPathName(IdeaPath path) {
    switch (path) {
        case IdeaPath::Scalar:
            return "scalar";
        case IdeaPath::Sse2:
            return "sse2";
        case IdeaPath::Avx2:
            return "avx2";
        case IdeaPath::Avx512:
            return "avx512bw";
    }
    return "?";
}

void IdeaCipherBlocks(const unsigned char* in, unsigned char* out, std::size_t blocks,
                      const IdeaSchedule& schedule, IdeaWordOrder order, IdeaPath path) {
    if (!IdeaPathAvailable(path)) path = IdeaBestPath();
    std::size_t done = 0;
    if (const lanes::LanePath* lanePath = LanesOf(path)) {
        lanes::LaneFn* cipher = order == IdeaWordOrder::PlainToCipher ? lanePath->plainToCipher
                                                                      : lanePath->cipherToPlain;
        done = cipher(in, out, blocks, schedule.data());
    }
    ScalarBlocks(in + done * 8, out + done * 8, blocks - done, schedule, order);
}

}  // namespace varn
