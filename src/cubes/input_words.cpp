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
    // Counts all columns at once: plane k holds bit k of every column's count, so adding a cube
    // costs a short carry chain instead of a step per literal.
    std::uint64_t planes[64];
    std::fill_n(planes, std::bit_width(static_cast<std::uint64_t>(end - begin)), std::uint64_t{0});
    int used = 0;
    for (const std::uint64_t* p = begin; p != end; ++p) {
        std::uint64_t carry = (*p ^ (*p >> 1)) & candidates & kLowBits;
        int k = 0;
        for (; carry; ++k) {
            const std::uint64_t next = planes[k] & carry;
            planes[k] ^= carry;
            carry = next;
        }
        used = std::max(used, k);
    }
    int best = -1;
    std::uint64_t best_count = 0;
    for (std::uint64_t c = candidates & kLowBits; c; c &= c - 1) {
        const int at = std::countr_zero(c);
        std::uint64_t count = 0;
        for (int k = 0; k < used; ++k) count |= ((planes[k] >> at) & 1) << k;
        if (best < 0 || count > best_count) {
            best = at;
            best_count = count;
        }
    }
    return best < 0 ? 0 : std::uint64_t{1} << best;
}

void append_cofactor(InputCover& w, std::size_t b, std::size_t e, std::uint64_t bit, int value) {
    const std::uint64_t keep = value ? bit << 1 : bit;
    const std::uint64_t pair = bit * 3;
    // Every cube is written and only the kept ones advance the end: no branch to mispredict.
    std::size_t out = w.size();
    w.resize(out + (e - b));
    for (std::size_t i = b; i < e; ++i) {
        const std::uint64_t in = w[i];
        w[out] = in | pair;
        out += (in & keep) != 0;
    }
    w.resize(out);
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
