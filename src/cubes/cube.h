#pragma once
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "cubes/cube_class.h"
#include "cubes/words.h"

// Multi-output cubes in positional notation. Input i owns bits 2i and 2i+1 of `in`:
// 01 = the input is 0, 10 = the input is 1, 11 = either (no literal), 00 = empty cube.
// Output j is bit j of `out`; a set bit means the cube belongs to that output.
namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

using InBits = Words<VORMEL_CUBE_IN_WORDS>;
using OutBits = Words<VORMEL_CUBE_OUT_WORDS>;
inline constexpr int kClassInputs = 32 * VORMEL_CUBE_IN_WORDS;
inline constexpr int kClassOutputs = 64 * VORMEL_CUBE_OUT_WORDS;

inline constexpr InBits kLowBits = InBits::filled(0x5555555555555555ull);

struct Cube {
    InBits in;
    OutBits out;

    bool operator==(const Cube&) const = default;
};

using Cover = std::vector<Cube>;

// The dimensions of one problem: which bits are in use.
struct Space {
    int nx = 0;
    int ny = 0;
    InBits in_full;  // every used input pair 11
    OutBits out_full;

    static Space of(int inputs, int outputs) {
        if (inputs > kClassInputs || outputs > kClassOutputs) {
            throw std::length_error("cube space of " + std::to_string(inputs) + " inputs and " + std::to_string(outputs) +
                                    " outputs is wider than its class");
        }
        Space s;
        s.nx = inputs;
        s.ny = outputs;
        s.in_full = InBits::first(2 * inputs);
        s.out_full = OutBits::first(outputs);
        return s;
    }
    Cube universe() const { return Cube{in_full, out_full}; }
    InBits low_full() const { return in_full & kLowBits; }
};

// Bit pattern of one input value inside `in`.
inline InBits input_bits(int input, int value) { return InBits::bit(2 * input + (value ? 1 : 0)); }
inline InBits input_pair(int input) { return InBits::bit(2 * input) | InBits::bit(2 * input + 1); }
// Both bits of the pairs whose low bit is set in `low` (low bits only).
inline InBits pairs_of(const InBits& low) { return low | (low << 1); }
inline int input_value(const Cube& c, int input) {  // 0, 1, 2 = no literal, 3 = empty
    switch ((c.in.w[input >> 5] >> (2 * (input & 31))) & 3) {
        case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        default: return 3;
    }
}

inline bool has_output(const Cube& c, int j) { return c.out.test(j); }
inline void set_output(Cube& c, int j) { c.out.set(j); }
inline void clear_output(Cube& c, int j) { c.out.reset(j); }
inline int output_count(const Cube& c) { return c.out.count(); }
inline bool outputs_empty(const Cube& c) { return c.out.none(); }
inline bool outputs_meet(const Cube& a, const Cube& b) { return (a.out & b.out).any(); }

// One bit per input (at the pair's low position) for the pairs that are 00.
inline InBits empty_pairs(const InBits& in, const Space& s) { return ~(in | (in >> 1)) & s.low_full(); }
// One bit per input for the pairs that are 11 (no literal).
inline InBits free_pairs(const InBits& in) { return in & (in >> 1) & kLowBits; }

// Inputs that carry a literal.
inline int literal_count(const Cube& c, const Space& s) { return s.nx - free_pairs(c.in).count(); }
inline bool is_empty(const Cube& c, const Space& s) { return empty_pairs(c.in, s).any() || outputs_empty(c); }

// b lies inside a.
inline bool contains(const Cube& a, const Cube& b) { return (b.in & ~a.in).none() && (b.out & ~a.out).none(); }
inline Cube intersect(const Cube& a, const Cube& b) { return Cube{a.in & b.in, a.out & b.out}; }
inline Cube supercube(const Cube& a, const Cube& b) { return Cube{a.in | b.in, a.out | b.out}; }
// Inputs in which a and b take opposite values.
inline int input_distance(const Cube& a, const Cube& b, const Space& s) { return empty_pairs(a.in & b.in, s).count(); }
// Input distance, plus one when the two share no output.
inline int distance(const Cube& a, const Cube& b, const Space& s) {
    return input_distance(a, b, s) + (outputs_meet(a, b) ? 0 : 1);
}
inline bool intersects(const Cube& a, const Cube& b, const Space& s) {
    return outputs_meet(a, b) && empty_pairs(a.in & b.in, s).none();
}

// The consensus of two cubes at distance at most one (the empty cube otherwise): the conflicting
// part is raised, everything else intersected. Two cubes that conflict only in their outputs give
// the input intersection with the union of the outputs.
inline Cube consensus(const Cube& a, const Cube& b, const Space& s) {
    Cube c = intersect(a, b);
    const InBits empty = empty_pairs(c.in, s);
    const bool outs_meet = !outputs_empty(c);
    if (empty.none() && !outs_meet) {
        c.out = a.out | b.out;
    } else if (empty.count() == 1 && outs_meet) {
        c.in |= pairs_of(empty);
    } else if (empty.any() || !outs_meet) {
        return Cube{};
    }
    return c;
}

// The cofactor of c with respect to p (c and p must intersect): what c says inside p, as a cube of
// the whole space.
inline Cube cofactor(const Cube& c, const Cube& p, const Space& s) {
    return Cube{(c.in | ~p.in) & s.in_full, (c.out | ~p.out) & s.out_full};
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
