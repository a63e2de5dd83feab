#pragma once
#include <bit>
#include <cstdint>
#include <vector>

// Multi-output cubes in positional notation. Input i owns bits 2i and 2i+1 of `in`:
// 01 = the input is 0, 10 = the input is 1, 11 = either (no literal), 00 = empty cube.
// Output j is bit j of out[j / 64]; a set bit means the cube belongs to that output.
namespace vormel::cubes {

inline constexpr std::uint64_t kLowBits = 0x5555555555555555ull;

struct Cube {
    std::uint64_t in = 0;
    std::uint64_t out[2] = {0, 0};

    bool operator==(const Cube&) const = default;
};

using Cover = std::vector<Cube>;

// The dimensions of one problem: which bits are in use.
struct Space {
    int nx = 0;
    int ny = 0;
    std::uint64_t in_full = 0;   // every used input pair 11
    std::uint64_t out_full[2] = {0, 0};

    static Space of(int inputs, int outputs) {
        Space s;
        s.nx = inputs;
        s.ny = outputs;
        s.in_full = inputs >= 32 ? ~0ull : (std::uint64_t{1} << (2 * inputs)) - 1;
        for (int j = 0; j < outputs; ++j) s.out_full[j >> 6] |= std::uint64_t{1} << (j & 63);
        return s;
    }
    Cube universe() const { return Cube{in_full, {out_full[0], out_full[1]}}; }
    std::uint64_t low_full() const { return in_full & kLowBits; }
};

// Bit pattern of one input value inside `in`.
inline std::uint64_t input_bits(int input, int value) { return std::uint64_t{value ? 2u : 1u} << (2 * input); }
inline std::uint64_t input_pair(int input) { return std::uint64_t{3} << (2 * input); }
inline int input_value(const Cube& c, int input) {  // 0, 1, 2 = no literal, 3 = empty
    switch ((c.in >> (2 * input)) & 3) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        default: return 3;
    }
}

inline bool has_output(const Cube& c, int j) { return (c.out[j >> 6] >> (j & 63)) & 1u; }
inline void set_output(Cube& c, int j) { c.out[j >> 6] |= std::uint64_t{1} << (j & 63); }
inline void clear_output(Cube& c, int j) { c.out[j >> 6] &= ~(std::uint64_t{1} << (j & 63)); }
inline int output_count(const Cube& c) { return std::popcount(c.out[0]) + std::popcount(c.out[1]); }
inline bool outputs_empty(const Cube& c) { return (c.out[0] | c.out[1]) == 0; }
inline bool outputs_meet(const Cube& a, const Cube& b) { return ((a.out[0] & b.out[0]) | (a.out[1] & b.out[1])) != 0; }

// One bit per input (at the pair's low position) for the pairs that are 00.
inline std::uint64_t empty_pairs(std::uint64_t in, const Space& s) {
    return ~(in | (in >> 1)) & s.low_full();
}
// One bit per input for the pairs that are 11 (no literal).
inline std::uint64_t free_pairs(std::uint64_t in) { return in & (in >> 1) & kLowBits; }

// Inputs that carry a literal.
inline int literal_count(const Cube& c, const Space& s) { return s.nx - std::popcount(free_pairs(c.in)); }
inline bool is_empty(const Cube& c, const Space& s) { return empty_pairs(c.in, s) != 0 || outputs_empty(c); }

// b lies inside a.
inline bool contains(const Cube& a, const Cube& b) {
    return (b.in & ~a.in) == 0 && (b.out[0] & ~a.out[0]) == 0 && (b.out[1] & ~a.out[1]) == 0;
}
inline Cube intersect(const Cube& a, const Cube& b) {
    return Cube{a.in & b.in, {a.out[0] & b.out[0], a.out[1] & b.out[1]}};
}
inline Cube supercube(const Cube& a, const Cube& b) {
    return Cube{a.in | b.in, {a.out[0] | b.out[0], a.out[1] | b.out[1]}};
}
// Inputs in which a and b take opposite values.
inline int input_distance(const Cube& a, const Cube& b, const Space& s) {
    return std::popcount(empty_pairs(a.in & b.in, s));
}
// Input distance, plus one when the two share no output.
inline int distance(const Cube& a, const Cube& b, const Space& s) {
    return input_distance(a, b, s) + (outputs_meet(a, b) ? 0 : 1);
}
inline bool intersects(const Cube& a, const Cube& b, const Space& s) {
    return outputs_meet(a, b) && empty_pairs(a.in & b.in, s) == 0;
}

// The consensus of two cubes at distance at most one (the empty cube otherwise): the conflicting
// part is raised, everything else intersected. Two cubes that conflict only in their outputs give
// the input intersection with the union of the outputs.
inline Cube consensus(const Cube& a, const Cube& b, const Space& s) {
    Cube c = intersect(a, b);
    const std::uint64_t empty = empty_pairs(c.in, s);
    const bool outs_meet = !outputs_empty(c);
    if (empty == 0 && !outs_meet) {
        c.out[0] = a.out[0] | b.out[0];
        c.out[1] = a.out[1] | b.out[1];
    } else if (std::popcount(empty) == 1 && outs_meet) {
        c.in |= empty * 3;
    } else if (empty != 0 || !outs_meet) {
        return Cube{};
    }
    return c;
}

// The cofactor of c with respect to p (c and p must intersect): what c says inside p, as a cube of
// the whole space.
inline Cube cofactor(const Cube& c, const Cube& p, const Space& s) {
    return Cube{(c.in | ~p.in) & s.in_full, {(c.out[0] | ~p.out[0]) & s.out_full[0], (c.out[1] | ~p.out[1]) & s.out_full[1]}};
}

}  // namespace vormel::cubes
