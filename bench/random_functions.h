#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vormel::bench {

// Shapes of the random benchmark functions.
enum class RandomShape {
    narrow,       // 4-16 inputs, 1-24 outputs, up to 400 rows, 0-50% don't-care rows
    wide_sparse,  // 120-200 inputs, 3-10 outputs, 60-200 rows of 2-12 literals
};

// Writes `count` random functions in the common PLA dialect (type fd) into `folder` and returns
// their paths. The same seed gives the same files on every machine (no library distributions).
std::vector<std::string> write_random_functions(const std::string& folder, int count, std::uint64_t seed,
                                                RandomShape shape);

}  // namespace vormel::bench
