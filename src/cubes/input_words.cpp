#include "cubes/input_words.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

LiteralColumns literal_columns(const InputCover& f) {
    LiteralColumns cols;
    for (const InBits& in : f) {
        cols.zero |= zero_literals(in);
        cols.one |= one_literals(in);
    }
    return cols;
}

std::vector<InBits> input_groups(const InBits* begin, const InBits* end) {
    std::vector<InBits> groups;
    for (const InBits* c = begin; c != end; ++c) {
        InBits support = literal_inputs(*c);
        // The cube joins every group it touches into one.
        std::size_t kept = 0;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if ((groups[g] & support).any()) support |= groups[g];
            else groups[kept++] = groups[g];
        }
        groups.resize(kept);
        if (support.any()) groups.push_back(support);
    }
    return groups;
}

InBits busiest_input(const InBits* begin, const InBits* end, const InBits& candidates) {
    // Counts all columns at once: plane k holds bit k of every column's count, so adding a cube
    // costs a short carry chain instead of a step per literal.
    InBits planes[64];
    std::fill_n(planes, std::bit_width(static_cast<std::uint64_t>(end - begin)), InBits{});
    const InBits wanted = candidates & kLowBits;
    int used = 0;
    for (const InBits* p = begin; p != end; ++p) {
        InBits carry = (*p ^ (*p >> 1)) & wanted;
        int k = 0;
        for (; carry; ++k) {
            const InBits next = planes[k] & carry;
            planes[k] ^= carry;
            carry = next;
        }
        used = std::max(used, k);
    }
    // The busiest columns, from the top plane down: keep those with the bit set where any has it.
    InBits best = wanted;
    for (int k = used - 1; k >= 0; --k) {
        const InBits higher = best & planes[k];
        if (higher.any()) best = higher;
    }
    return best.lowest_bit();
}

void append_cofactor(InputCover& w, std::size_t b, std::size_t e, const InBits& bit, int value) {
    const InBits keep = value ? bit << 1 : bit;
    const InBits pair = pairs_of(bit);
    // Every cube is written and only the kept ones advance the end: no branch to mispredict.
    std::size_t out = w.size();
    w.resize(out + (e - b));
    for (std::size_t i = b; i < e; ++i) {
        const InBits in = w[i];
        w[out] = in | pair;
        out += (in & keep).any();
    }
    w.resize(out);
}

InputCover cofactor_input(const InputCover& f, const InBits& bit, int value) {
    const InBits keep = value ? bit << 1 : bit;
    const InBits pair = pairs_of(bit);
    InputCover out;
    out.reserve(f.size());
    for (const InBits& in : f) {
        if (in & keep) out.push_back(in | pair);
    }
    return out;
}

void remove_contained_inputs(InputCover& f) {
    std::vector<std::uint32_t> order(f.size());
    std::iota(order.begin(), order.end(), 0u);
    // Larger cubes first, so a cube only needs checking against those already kept.
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return f[a].count() > f[b].count(); });
    std::vector<char> dropped(f.size(), 0);
    InputCover kept;
    kept.reserve(f.size());
    for (std::uint32_t i : order) {
        const InBits& in = f[i];
        const bool inside = std::any_of(kept.begin(), kept.end(), [&in](const InBits& k) { return (in & ~k).none(); });
        if (inside) dropped[i] = 1;
        else kept.push_back(in);
    }
    std::size_t w = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (!dropped[i]) f[w++] = f[i];
    }
    f.resize(w);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
