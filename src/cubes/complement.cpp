#include <algorithm>
#include <unordered_map>

#include <tbb/parallel_for.h>

#include "cubes/cover_algebra.h"
#include "cubes/input_words.h"

// Unate recursive complement (Brayton et al., 1984, ch. 3): complement the two cofactors of a binate
// split and merge them, raising the split input where a cube of one half lies in the other half.
namespace vormel::cubes {

namespace {

// De Morgan on one cube: one cube per literal, with that literal complemented.
InputCover complement_of_cube(std::uint64_t in, const Space& s) {
    InputCover out;
    for (std::uint64_t lits = zero_literals(in) | one_literals(in); lits; lits &= lits - 1) {
        const std::uint64_t bit = lits & (~lits + 1);
        const std::uint64_t pair = bit * 3;
        out.push_back((s.in_full & ~pair) | (pair & ~in));
    }
    return out;
}

// x'·c0 + x·c1, where a cube of one half that lies inside a cube of the other needs no literal of x.
InputCover merge_halves(InputCover c0, InputCover c1, std::uint64_t bit) {
    const std::uint64_t pair = bit * 3;
    std::vector<char> c0_free(c0.size(), 0), c1_free(c1.size(), 0);
    if (c0.size() * c1.size() <= 4'000'000) {
        for (std::size_t a = 0; a < c0.size(); ++a) {
            for (std::size_t b = 0; b < c1.size(); ++b) {
                if ((c0[a] & ~c1[b]) == 0) c0_free[a] = 1;
                if ((c1[b] & ~c0[a]) == 0) c1_free[b] = 1;
            }
        }
    }
    InputCover out;
    out.reserve(c0.size() + c1.size());
    for (std::size_t a = 0; a < c0.size(); ++a) out.push_back(c0_free[a] ? c0[a] : (c0[a] & ~pair) | bit);
    for (std::size_t b = 0; b < c1.size(); ++b) out.push_back(c1_free[b] ? c1[b] : (c1[b] & ~pair) | (bit << 1));
    remove_contained_inputs(out);
    return out;
}

}  // namespace

InputCover input_complement(const InputCover& f, const Space& s) {
    if (f.empty()) return {s.in_full};
    if (std::find(f.begin(), f.end(), s.in_full) != f.end()) return {};
    if (f.size() == 1) return complement_of_cube(f[0], s);
    const LiteralColumns cols = literal_columns(f);
    std::uint64_t bit = busiest_input(f, cols.binate());
    if (bit == 0) bit = busiest_input(f, cols.zero | cols.one);
    return merge_halves(input_complement(cofactor_input(f, bit, 0), s), input_complement(cofactor_input(f, bit, 1), s),
                        bit);
}

Cover join_output_parts(const std::vector<InputCover>& parts, const Space& s) {
    // Equal input parts of different outputs become one cube, in order of first appearance.
    Cover out;
    std::unordered_map<std::uint64_t, std::size_t> where;
    for (int j = 0; j < s.ny; ++j) {
        for (std::uint64_t in : parts[j]) {
            auto [it, fresh] = where.try_emplace(in, out.size());
            if (fresh) out.push_back(Cube{in, {0, 0}});
            set_output(out[it->second], j);
        }
    }
    remove_contained(out);
    return out;
}

Cover complement(const Cover& f, const Space& s) {
    std::vector<InputCover> per_output(static_cast<std::size_t>(s.ny));
    tbb::parallel_for(0, s.ny, [&](int j) {
        InputCover part;
        for (const Cube& c : f) {
            if (has_output(c, j)) part.push_back(c.in);
        }
        per_output[j] = input_complement(part, s);
    });
    return join_output_parts(per_output, s);
}

}  // namespace vormel::cubes
