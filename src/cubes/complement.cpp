#include <algorithm>
#include <limits>
#include <unordered_map>

#include "cubes/cover_algebra.h"
#include "cubes/input_words.h"
#include "report/run_threads.h"

// Unate recursive complement (Brayton et al., 1984, ch. 3): complement the two cofactors of a binate
// split and merge them, raising the split input where a cube of one half lies in the other half.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

// De Morgan on one cube: one cube per literal, with that literal complemented.
void append_complement_of_cube(const InBits& in, const Space& s, InputCover& out) {
    (zero_literals(in) | one_literals(in)).for_each([&](int low) {
        const InBits pair = input_pair(low >> 1);
        out.push_back((s.in_full & ~pair) | (pair & ~in));
    });
}

// Buffers of one complement, reused by every merge of its recursion, and its size bound.
struct ComplementWork {
    std::vector<char> free;     // needs no literal of the split input
    std::vector<char> dropped;  // lies inside a free cube of the other half
    std::size_t most = std::numeric_limits<std::size_t>::max();
    bool over = false;  // the result passed `most` cubes: the recursion gives up
};

// out[o0, o1) = the complement where x = 0, out[o1, end) where x = 1, become x'.c0 + x.c1 in place.
// Neither half has a literal of x, and each half is free of contained cubes. A cube inside a cube of
// the other half needs no literal of x; a cube can then only lie inside such a free cube of the
// other half, so only those pairs are checked for containment.
void merge_halves(InputCover& out, std::size_t o0, std::size_t o1, const InBits& bit, ComplementWork& work) {
    const InBits pair = pairs_of(bit);
    const std::size_t o2 = out.size();
    std::vector<char>& free = work.free;
    std::vector<char>& dropped = work.dropped;
    free.assign(o2 - o0, 0);
    dropped.assign(o2 - o0, 0);
    if ((o1 - o0) * (o2 - o1) <= 4'000'000) {
        for (std::size_t a = o0; a < o1; ++a) {
            for (std::size_t b = o1; b < o2; ++b) {
                if ((out[a] & ~out[b]).none()) free[a - o0] = 1;
                if ((out[b] & ~out[a]).none()) free[b - o0] = 1;
            }
        }
        // Equal cubes in both halves: the one of the first half stays.
        for (std::size_t a = o0; a < o1; ++a) {
            if (!free[a - o0]) continue;
            for (std::size_t b = o1; b < o2; ++b)
                if ((out[b] & ~out[a]).none()) dropped[b - o0] = 1;
        }
        for (std::size_t b = o1; b < o2; ++b) {
            if (!free[b - o0]) continue;
            for (std::size_t a = o0; a < o1; ++a)
                if ((out[a] & ~out[b]).none() && out[a] != out[b]) dropped[a - o0] = 1;
        }
    }
    std::size_t kept = o0;
    for (std::size_t k = o0; k < o2; ++k) {
        if (dropped[k - o0]) continue;
        const InBits literal = k < o1 ? bit : bit << 1;
        out[kept++] = free[k - o0] ? out[k] : (out[k] & ~pair) | literal;
    }
    out.resize(kept);
}

// Appends the complement of words [b, e) of w to out; cofactors live on the end of w meanwhile.
void complement_of_range(InputCover& w, std::size_t b, std::size_t e, const Space& s, InputCover& out,
                         ComplementWork& work) {
    if (work.over || (work.over = out.size() > work.most)) return;
    if (b == e) {
        out.push_back(s.in_full);
        return;
    }
    LiteralColumns cols;
    InBits in_every = kLowBits;  // inputs with a literal in every cube
    for (std::size_t i = b; i < e; ++i) {
        if (w[i] == s.in_full) return;
        const InBits zero = zero_literals(w[i]);
        const InBits one = one_literals(w[i]);
        cols.zero |= zero;
        cols.one |= one;
        in_every &= zero | one;
    }
    if (e - b == 1) {
        append_complement_of_cube(w[b], s, out);
        return;
    }
    // Literals every cube shares: f = c.g, so f' = c' + g', where g' has no literal of c's inputs
    // and no cube of either part lies inside one of the other.
    if (const InBits common = in_every & ~cols.binate(); common.any()) {
        const InBits pairs = pairs_of(common);
        append_complement_of_cube((s.in_full & ~pairs) | (w[b] & pairs), s, out);
        const std::size_t top = w.size();
        for (std::size_t i = b; i < e; ++i) w.push_back(w[i] | pairs);
        complement_of_range(w, top, w.size(), s, out, work);
        w.resize(top);
        return;
    }
    InBits bit = busiest_input(w.data() + b, w.data() + e, cols.binate());
    if (bit.none()) bit = busiest_input(w.data() + b, w.data() + e, cols.zero | cols.one);
    const std::size_t o0 = out.size();
    std::size_t o1 = o0;
    for (int value : {0, 1}) {
        const std::size_t top = w.size();
        append_cofactor(w, b, e, bit, value);
        complement_of_range(w, top, w.size(), s, out, work);
        w.resize(top);
        if (work.over) return;
        if (value == 0) o1 = out.size();
    }
    merge_halves(out, o0, o1, bit, work);
}

}  // namespace

std::optional<InputCover> input_complement_within(const InputCover& f, const Space& s, std::size_t most) {
    InputCover w;
    w.reserve(f.size() * 4);
    w = f;
    InputCover out;
    ComplementWork work;
    work.most = most;
    complement_of_range(w, 0, w.size(), s, out, work);
    if (work.over || out.size() > most) return std::nullopt;
    return out;
}

InputCover input_complement(const InputCover& f, const Space& s) {
    return *input_complement_within(f, s, std::numeric_limits<std::size_t>::max());
}

Cover join_output_parts(const std::vector<InputCover>& parts, const Space& s) {
    // Equal input parts of different outputs become one cube, in order of first appearance.
    Cover out;
    std::unordered_map<InBits, std::size_t, InBits::Hash> where;
    for (int j = 0; j < s.ny; ++j) {
        for (const InBits& in : parts[j]) {
            auto [it, fresh] = where.try_emplace(in, out.size());
            if (fresh) out.push_back(Cube{in, {}});
            set_output(out[it->second], j);
        }
    }
    remove_contained(out);
    return out;
}

Cover complement(const Cover& f, const Space& s) {
    std::vector<InputCover> per_output(static_cast<std::size_t>(s.ny));
    threads::for_each_index(0, s.ny, [&](int j) {
        InputCover part;
        for (const Cube& c : f) {
            if (has_output(c, j)) part.push_back(c.in);
        }
        per_output[j] = input_complement(part, s);
    });
    return join_output_parts(per_output, s);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
