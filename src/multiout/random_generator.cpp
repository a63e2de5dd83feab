#include "multiout/random_generator.h"

#include <bit>
#include <utility>

namespace vormel {

namespace {
constexpr std::uint32_t kMultiplier = 134775813u;
constexpr std::uint32_t kIncrement = 1u;
}  // namespace

void RandomGenerator::seed(float value) { random_state_ = std::bit_cast<std::uint32_t>(value); }

double RandomGenerator::draw() {
    random_state_ = random_state_ * kMultiplier + kIncrement;
    return static_cast<double>(random_state_ >> 1) / 2147483648.0;
}

int RandomGenerator::random_integer(int lo, int hi) {
    random_state_ = random_state_ * kMultiplier + kIncrement;
    // floor(((state >> 1) / 2^31) * span) without the rounding of a double product.
    const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return lo + static_cast<int>((static_cast<std::uint64_t>(random_state_ >> 1) * span) >> 31);
}

void RandomGenerator::skip(std::uint32_t n) {
    if (n != skip_n_) {
        // Compose the affine step n times by squaring: (m, a) applied k times.
        std::uint32_t mul = 1, add = 0;
        std::uint32_t step_mul = kMultiplier, step_add = kIncrement;
        for (std::uint32_t k = n; k != 0; k >>= 1) {
            if (k & 1u) {
                mul = mul * step_mul;
                add = add * step_mul + step_add;
            }
            step_add = step_add * step_mul + step_add;
            step_mul = step_mul * step_mul;
        }
        skip_n_ = n;
        skip_mul_ = mul;
        skip_add_ = add;
    }
    random_state_ = random_state_ * skip_mul_ + skip_add_;
}

void shuffle_indices(RandomGenerator& rng, int m, std::vector<int>& order) {
    order.resize(static_cast<std::size_t>(m) + 1);
    for (int i = 0; i <= m; ++i) order[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i <= m; ++i) {
        const int j = rng.random_integer(0, m);
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    }
}

}  // namespace vormel
