#pragma once
// Multi-output functions with don't-cares held point by point, and brute-force checks of covers
// against them: the oracle for every test of the shared heuristic.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cubes/cube.h"

namespace vormel::minimize::testing {

enum PointValue : std::uint8_t { point_off = 0, point_on = 1, point_dc = 2 };

struct PointFunction {
    cubes::Space space;
    std::vector<std::uint8_t> values;  // output j, input point p (bit i = input i): j * 2^nx + p
    cubes::Cover on_cubes;             // the cubes the ON-set was drawn as

    std::uint8_t at(int j, std::uint32_t p) const { return values[(static_cast<std::size_t>(j) << space.nx) + p]; }
    std::uint32_t points() const { return 1u << space.nx; }
};

// ON is a union of a few random multi-output cubes, DC of a few more (where not ON), the rest OFF.
PointFunction random_function(std::mt19937& rng, int nx, int ny);

// One cube per input point, carrying the outputs where the point has `value`.
cubes::Cover point_cover(const PointFunction& fn, PointValue value);

// The three covers the engine takes. With `points`, ON and DC hold one cube per point; otherwise
// ON is the cubes it was drawn as and DC their complement within the DC cubes. OFF is always the
// complement of both.
struct FunctionCovers {
    cubes::Cover on, dc, off;
};
FunctionCovers covers_of(const PointFunction& fn, bool points);

// Calls fn(p) for every input point p of c.
template <typename Fn>
void for_each_point(const cubes::Cube& c, int nx, Fn&& fn) {
    std::uint32_t fixed = 0, free = 0;
    for (int i = 0; i < nx; ++i) {
        const auto pair = (c.in.w[0] >> (2 * i)) & 3;
        if (pair == 3) free |= 1u << i;
        else if (pair == 2) fixed |= 1u << i;
        else if (pair == 0) return;
    }
    for (std::uint32_t sub = 0;; sub = (sub - free) & free) {
        fn(fixed | sub);
        if (sub == free) break;
    }
}

// c meets the OFF-set of one of its outputs.
bool touches_off(const cubes::Cube& c, const PointFunction& fn);

// "" when f covers every ON point of every output and no OFF point.
std::string check_valid(const cubes::Cover& f, const PointFunction& fn);
// "" when no input literal can be raised in any cube without touching OFF (and, with outputs_too,
// no output bit can be added either).
std::string check_prime(const cubes::Cover& f, const PointFunction& fn, bool outputs_too);
// "" when every cube covers an ON point of one of its outputs that no other cube covers.
std::string check_irredundant(const cubes::Cover& f, const PointFunction& fn);

// Every prime implicant of the function in the multi-output sense (input part and output part
// maximal), by enumeration of all cubes; for a handful of inputs only.
cubes::Cover all_primes(const PointFunction& fn);

// p covers an ON point that no other prime of `primes` covers.
bool essential_by_points(const cubes::Cube& p, const cubes::Cover& primes, const PointFunction& fn);

}  // namespace vormel::minimize::testing
