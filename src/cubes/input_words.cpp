#include "cubes/input_words.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace vormel::cubes {

LiteralColumns literal_columns(const InputCover& f) {
    LiteralColumns cols;
    for (std::uint64_t in : f) {
        cols.zero |= zero_literals(in);
        cols.one |= one_literals(in);
    }
    return cols;
}

std::uint64_t busiest_input(const std::uint64_t* begin, const std::uint64_t* end, std::uint64_t candidates) {
    int counts[32] = {};
    for (const std::uint64_t* p = begin; p != end; ++p) {
        const std::uint64_t in = *p;
        for (std::uint64_t lits = (zero_literals(in) | one_literals(in)) & candidates; lits; lits &= lits - 1) {
            ++counts[std::countr_zero(lits) / 2];
        }
    }
    int best = -1;
    for (std::uint64_t c = candidates; c; c &= c - 1) {
        const int i = std::countr_zero(c) / 2;
        if (best < 0 || counts[i] > counts[best]) best = i;
    }
    return best < 0 ? 0 : std::uint64_t{1} << (2 * best);
}

void append_cofactor(InputCover& w, std::size_t b, std::size_t e, std::uint64_t bit, int value) {
    const std::uint64_t keep = value ? bit << 1 : bit;
    const std::uint64_t pair = bit * 3;
    for (std::size_t i = b; i < e; ++i) {
        if (w[i] & keep) w.push_back(w[i] | pair);
    }
}

InputCover cofactor_input(const InputCover& f, std::uint64_t bit, int value) {
    const std::uint64_t keep = value ? bit << 1 : bit;
    const std::uint64_t pair = bit * 3;
    InputCover out;
    out.reserve(f.size());
    for (std::uint64_t in : f) {
        if (in & keep) out.push_back(in | pair);
    }
    return out;
}

void remove_contained_inputs(InputCover& f) {
    std::vector<std::uint32_t> order(f.size());
    std::iota(order.begin(), order.end(), 0u);
    // Larger cubes first, so a cube only needs checking against those already kept.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return std::popcount(f[a]) > std::popcount(f[b]); });
    std::vector<char> dropped(f.size(), 0);
    InputCover kept;
    kept.reserve(f.size());
    for (std::uint32_t i : order) {
        const std::uint64_t in = f[i];
        const bool inside = std::any_of(kept.begin(), kept.end(), [in](std::uint64_t k) { return (in & ~k) == 0; });
        if (inside) dropped[i] = 1;
        else kept.push_back(in);
    }
    std::size_t w = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (!dropped[i]) f[w++] = f[i];
    }
    f.resize(w);
}

}  // namespace vormel::cubes
