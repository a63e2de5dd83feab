#pragma once
// Brute-force meaning of small multi-output functions for tests of the exact method: a truth table
// per output, primes by checking every cube, minimum covers by searching over the primes.
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "cubes/cube.h"

namespace vormel::minimize::testing {

enum class Value : std::uint8_t { off, on, dc };

// A function of at most 6 inputs and 3 outputs; point p has input i = bit i of p.
struct SmallFunction {
    cubes::Space space;
    std::vector<std::vector<Value>> value;  // [output][point]
    cubes::Cover on_cubes;                  // the cubes the ON set was drawn as (overlapping)

    int points() const { return 1 << space.nx; }
    // Points of output j whose value is one of the given ones, as a mask.
    std::uint64_t mask(int j, bool on, bool dc, bool off) const;
    // The ON cover as drawn, DC and OFF as point cubes: the three split the space.
    cubes::Cover dc_cover() const;
    cubes::Cover off_cover() const;
};

// Random cubes for ON and a few for DC (ON wins where they overlap); the rest is OFF.
SmallFunction random_small_function(std::mt19937& rng, int nx, int ny);
// Every point drawn on its own: ON with on_percent, else DC with dc_percent; ON given as points.
// Such functions leave cyclic covering problems far more often than unions of cubes.
SmallFunction random_point_function(std::mt19937& rng, int nx, int ny, int on_percent, int dc_percent);

// The points of a cube as a mask (nx <= 6).
std::uint64_t cube_points(std::uint64_t in, int nx);

// Every multi-output prime of ON + DC: for each input cube the largest output set it fits, kept
// when no single raised literal keeps all those outputs. Ascending (in, out).
cubes::Cover brute_force_primes(const SmallFunction& f);

struct BruteForceCost {
    int terms = 0;
    int literals = 0;
    bool operator==(const BruteForceCost&) const = default;
};

// The cheapest cover of the ON points (fewest primes, then fewest input literals) by depth-first
// search over the primes covering the first uncovered point, pruned by a count of uncovered points
// no two of which share a prime.
BruteForceCost brute_force_minimum(const SmallFunction& f, const cubes::Cover& primes);

// The cover holds every ON point and no OFF point.
bool covers_exactly(const SmallFunction& f, const cubes::Cover& cover);

}  // namespace vormel::minimize::testing
