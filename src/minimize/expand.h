#pragma once
#include <cstdint>
#include <vector>

#include "cubes/cube.h"
#include "minimize/blocking_rows.h"
#include "minimize/growth_bound.h"
#include "minimize/stop_check.h"

// EXPAND: every cube grows into a prime implicant that meets no cube of the OFF-set, raising input
// literals and output bits alike (Brayton, Hachtel, McMullen, Sangiovanni-Vincentelli, "Logic
// Minimization Algorithms for VLSI Synthesis", 1984, ch. 4; Rudell, "Logic Synthesis for VLSI
// Design", 1989, ch. 3). The raises are chosen so that the prime swallows as many other cubes of
// the cover as possible; swallowed cubes leave the cover. Cost per cube: O(|off|) per raise step
// plus O(|f| * |off|) for the feasibility checks of the cubes it could swallow.
namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

struct ExpandParams {
    bool inputs_only = false;      // output parts stay as they are (the sparse pass)
    std::uint64_t order_seed = 0;  // 0: the weight order; otherwise a shuffle drawn from this seed
    // With inputs_only: per cube of f, 1 when no input part of it can be raised already (it stays
    // as it is, still swallowing the cubes it contains); none or empty: every cube is expanded.
    const std::vector<char>* input_prime = nullptr;
};

// Scratch space reused between cubes: the OFF cubes that still constrain the growing cube, and the
// cubes it may still swallow whole or only overlap.
struct ExpandWork {
    BlockingRows rows;
    std::vector<int> feasible;
    std::vector<int> candidates;
    cubes::Cover feasible_cubes;  // the feasible cubes, for their columns
    std::vector<int> in_need;  // per input bit / output: how many blocked cubes need it raised
    std::vector<int> out_need;
};

// Expands c into a prime within `bound`, aiming to contain the cubes of `targets` whose `skip` entry
// is 0 (found through target_columns, the columns of targets, when given). Only input parts are
// raised when inputs_only.
cubes::Cube expand_cube(const cubes::Cube& c, const GrowthBound& bound, const cubes::Cover& targets,
                        const std::vector<char>& skip, const cubes::Space& s, bool inputs_only, ExpandWork& work,
                        const cubes::CoverColumns* target_columns = nullptr);

// The order in which expand visits the cubes of f: cubes whose parts few other cubes share come
// first (they are the least likely to be swallowed), or a seeded shuffle.
std::vector<int> expand_order(const cubes::Cover& f, std::uint64_t order_seed);

// Expands every cube of f within `bound` (the OFF-set's columns are built once per minimization:
// every pass of every run reads the same). When stopped, the cubes not yet reached stay as they
// are (still a cover).
void expand(cubes::Cover& f, const GrowthBound& bound, const cubes::Space& s, const ExpandParams& params,
            StopCheck& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
