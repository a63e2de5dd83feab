#pragma once
#include <cstdint>
#include <random>
#include <vector>

#include "cubes/cube.h"

// Brute-force meaning of cubes and covers, point by point, for tests of the cube layer and the engine.
namespace vormel::cubes::testing {

// Input point p: bit i of p is the value of input i.
inline bool cube_has_point(const Cube& c, std::uint32_t p, int nx) {
    for (int i = 0; i < nx; ++i) {
        const int v = (p >> i) & 1;
        if (!c.in.test(2 * i + v)) return false;
    }
    return true;
}

inline bool cover_has(const Cover& f, std::uint32_t p, int j, int nx) {
    for (const Cube& c : f) {
        if (has_output(c, j) && cube_has_point(c, p, nx)) return true;
    }
    return false;
}

// A random cube: each input free with probability `free_percent`, else a random literal.
inline Cube random_cube(std::mt19937& rng, const Space& s, int free_percent) {
    Cube c;
    for (int i = 0; i < s.nx; ++i) {
        const int r = static_cast<int>(rng() % 100);
        c.in |= r < free_percent ? input_pair(i) : input_bits(i, static_cast<int>(rng() & 1));
    }
    for (int j = 0; j < s.ny; ++j) {
        if (rng() % 2) set_output(c, j);
    }
    if (outputs_empty(c)) set_output(c, static_cast<int>(rng() % s.ny));
    return c;
}

inline Cover random_cover(std::mt19937& rng, const Space& s, int cubes, int free_percent) {
    Cover f;
    for (int k = 0; k < cubes; ++k) f.push_back(random_cube(rng, s, free_percent));
    return f;
}

// The same with the inputs dealt round-robin into `groups` groups and every cube's literals in one
// of them: a union of functions of disjoint inputs (as wide covers and their cofactors often are).
inline Cover random_grouped_cover(std::mt19937& rng, const Space& s, int cubes, int free_percent, int groups) {
    Cover f = random_cover(rng, s, cubes, free_percent);
    for (Cube& c : f) {
        const int own = static_cast<int>(rng() % static_cast<unsigned>(groups));
        for (int i = 0; i < s.nx; ++i)
            if (i % groups != own) c.in |= input_pair(i);
    }
    return f;
}

}  // namespace vormel::cubes::testing
