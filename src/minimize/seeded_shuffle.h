#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "cubes/cube_class.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A shuffle that depends only on the seed (splitmix64 draws, Fisher-Yates), the same on every
// platform and standard library.
inline void seeded_shuffle(std::vector<int>& v, std::uint64_t seed) {
    std::uint64_t state = seed;
    auto next = [&state] {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    };
    for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[next() % i]);
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
