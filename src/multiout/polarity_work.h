#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "model/term_table.h"
#include "multiout/bundle_optimization.h"
#include "multiout/cube_table.h"

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// What the polarity search keeps while it tries polarity vectors.
struct PolarityWork {
    // The joined covers as the user knows them: tempa holds X, tempb holds Y. Their capacity starts at
    // the store's row bound and grows through check_temp_DIM; memory is only taken as rows arrive.
    TermTable tempa;
    TermTable tempb;
    int temp_capacity_last = -1;
    // The working table of the last polarity vector tried.
    CubeTable table;

    std::vector<int> best_polarity;  // entry 0 is -3 until a solution is recorded
    int best_pterms = 99999999;
    int best_literals = 99999999;
    BundleSearchBest bundle_best;

    void reset(const Problem& problem, const PrimeStore& store);
};

// Joins the stored covers of `polarity` into one table, merges equal terms and, with ROLEXA
// iterations and two or more outputs, runs the bundle optimization. change_count = changes of the
// optimization's last iteration. The optimization's better steps go to better_step when given,
// else they are shown at once against work.bundle_best.
void fill_temp_arrays(RunContext& ctx, const Problem& problem, const std::vector<int>& polarity, const PrimeStore& store,
                      PolarityWork& work, int& change_count, const BundleStepSink* better_step = nullptr);
// Joins rows with equal cubes into the first of them; merged = rows removed.
void merge_equal_terms(CubeTable& table, int& merged);

// Solves the current polarity and records it when it beats the best so far (fewer product terms,
// then fewer X + Y literals; a tie keeps the earlier). Returns whether it was recorded.
bool try_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work);
// Puts the polarity vector number i (0 .. count - 1) of a series into `polarity`.
using PolarityVectorOf = std::function<void(std::size_t i, std::vector<int>& polarity)>;
// try_polarity on `count` vectors in their order, with the same outcome and report; returns whether
// any was recorded. Leaves the current polarity at the last vector.
bool try_polarities(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work, std::size_t count,
                    const PolarityVectorOf& vector_of);
// All-normal, then all-inverted; with ROLEXA iterations the optimized terms replace the stored covers.
void try_both_polarities(RunContext& ctx, Problem& problem, PrimeStore& store, PolarityWork& work);
// Doubles the prime capacity of the store (System Warnings 1 and 8); a Break sets error_flag.
void grow_allprimes(RunContext& ctx, const Problem& problem, PrimeStore& store);
// Automatic mode: polarity vectors from the cost estimates at eight weights.
void sweep_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work);
// Automatic mode: single output flips from the best vector until none improves.
void refine_polarity(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work);
// The vector counter of Combination mode is a 32-bit signed integer: 2^outputs - 2 must fit.
inline constexpr int kMaxCombinationOutputs = 31;
// Combination mode: every mixed vector, from 11..10 down to 00..01. With more than
// kMaxCombinationOutputs outputs only System Warning 9 is written: the uniform vectors stay the best.
void try_all_combinations(RunContext& ctx, Problem& problem, const PrimeStore& store, PolarityWork& work);

}  // namespace vormel
