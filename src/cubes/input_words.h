#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "cubes/cube.h"

// The single-output core of tautology and complement: a cover of one output is a list of input words.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

using InputCover = std::vector<InBits>;

// Per input (bit at the pair's low position): some cube has the literal 0 / the literal 1 there.
struct LiteralColumns {
    InBits zero;
    InBits one;
    InBits binate() const { return zero & one; }
};

inline InBits zero_literals(const InBits& in) { return in & ~(in >> 1) & kLowBits; }
inline InBits one_literals(const InBits& in) { return (in >> 1) & ~in & kLowBits; }
// The inputs (as low bits) where `in` has a literal: the two bits of the pair differ.
inline InBits literal_inputs(const InBits& in) { return (in ^ (in >> 1)) & kLowBits; }

LiteralColumns literal_columns(const InputCover& f);

// The input (given by its low bit) that carries a literal in the most cubes among `candidates`
// (the lowest such input on a tie); none when there is no candidate.
InBits busiest_input(const InBits* begin, const InBits* end, const InBits& candidates);
inline InBits busiest_input(const InputCover& f, const InBits& candidates) {
    return busiest_input(f.data(), f.data() + f.size(), candidates);
}

// The inputs with a literal in the cubes [begin, end) (as low bits), in groups that no cube links:
// each cube's literals lie in one group. A cover whose cubes fall into several groups is the union
// of functions of disjoint inputs, which tautology and complement can take one at a time.
std::vector<InBits> input_groups(const InBits* begin, const InBits* end);

// Appends to w the cofactor of words [b, e) of w for input `bit` = `value`.
void append_cofactor(InputCover& w, std::size_t b, std::size_t e, const InBits& bit, int value);

// The cubes of f that allow input `bit` (low bit of its pair) to take `value`, with that input freed.
InputCover cofactor_input(const InputCover& f, const InBits& bit, int value);

bool input_tautology(const InputCover& f, const Space& s);
InputCover input_complement(const InputCover& f, const Space& s);
// The same, or none as soon as it holds more than `most` cubes (also on the way: a complement that
// large costs time and memory far beyond its size, and a caller that can do without it gives up).
std::optional<InputCover> input_complement_within(const InputCover& f, const Space& s, std::size_t most);
// One cover from per-output input covers (parts[j] for output j); equal input parts share a cube.
Cover join_output_parts(const std::vector<InputCover>& parts, const Space& s);
// Drops input words that lie inside another (the first of equal words stays); order kept.
void remove_contained_inputs(InputCover& f);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
