#pragma once
#include <cstdint>
#include <vector>

namespace vormel {

// The 32-bit linear congruential generator of the ROLEXA search. Re-seeded at every bundle
// optimization, so a run is repeatable draw for draw.
class RandomGenerator {
public:
    // Seeding with 1 gives 1065353216, the bit pattern of the single-precision 1.0f.
    void seed(float value);
    std::uint32_t state() const { return random_state_; }

    // Advances the state and returns u in [0, 1): (state >> 1) / 2^31.
    double draw();
    // lo + floor(u * (hi - lo + 1)), computed exactly in integers.
    int random_integer(int lo, int hi);
    // Advances the state by n draws at once (for a shuffle whose order nobody looks at).
    void skip(std::uint32_t n);

private:
    std::uint32_t random_state_ = 0;
    // Cached jump coefficients of the last skip length: state_n = mul * state + add.
    std::uint32_t skip_n_ = 0;
    std::uint32_t skip_mul_ = 1;
    std::uint32_t skip_add_ = 0;
};

// A permutation of 0 .. m: for i = 0 .. m in order, swap position i with a random position in 0 .. m.
// Draws m + 1 numbers.
void shuffle_indices(RandomGenerator& rng, int m, std::vector<int>& order);

}  // namespace vormel
