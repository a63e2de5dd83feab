#pragma once
#include <functional>
#include <vector>

#include "cubes/function_covers.h"
#include "minimize/cover_cost.h"
#include "minimize/observer.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

// A minimizer of one polarity assignment: the covers already inverted where the polarity is 0.
// It may run on any thread and must only poll `stop` (thread-safe) for a user's break.
using PolarityMinimizer = std::function<cubes::Cover(const cubes::FunctionCovers& f, const std::function<bool()>& stop)>;

struct PolarityChoice {
    std::vector<int> polarity;  // 1 normal, 0 inverted, per output
    cubes::Cover cover;
    CoverCost cost;
    int tried = 0;  // assignments minimized
    bool stopped = false;
};

// The largest output count for which every assignment is tried.
inline constexpr int kMaxCombinationOutputs = 8;

// Each output's phase for the fewest terms: the phases read off one minimization of both phases of
// every output compete with all-normal and all-inverted.
// `all_normal` is the all-normal result, which the caller has already.
PolarityChoice choose_polarity_automatic(const cubes::FunctionCovers& f, const PolarityChoice& all_normal,
                                         const PolarityMinimizer& minimize, const std::function<bool()>& stop,
                                         Observer& observer);

// Every assignment of the outputs' phases (at most kMaxCombinationOutputs outputs), each minimized by
// `estimate`; the `refined` cheapest of them are minimized again by `minimize`, and the cheapest
// cover of all wins (the earliest on a tie).
PolarityChoice choose_polarity_combination(const cubes::FunctionCovers& f, const PolarityMinimizer& estimate,
                                           const PolarityMinimizer& minimize, const std::function<bool()>& stop,
                                           Observer& observer, int refined = 16);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
