#pragma once
#include <vector>

#include "cubes/function_covers.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// Output phases estimated from covers of the function under several assignments, without a further
// minimization: each cube feeds its outputs in the phase it was found for (bit 2j normal, 2j + 1
// inverted), cubes with the same inputs merge, and the phases needing the fewest cubes (then
// literals) win. Past 64 outputs the doubled bits do not fit a cube; those outputs stay normal.
class PhasePool {
public:
    explicit PhasePool(const cubes::Space& s);
    // A cover of all outputs, output j in phase polarity[j].
    void add(const cubes::Cover& cover, const std::vector<int>& polarity);
    // A cover of one output alone (its cubes name output 0).
    void add_output(const cubes::Cover& cover, int output, int phase);
    std::vector<int> fewest_cubes() const;

private:
    int nx_, ny_, outputs_;
    cubes::Cover cubes_;
};

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
