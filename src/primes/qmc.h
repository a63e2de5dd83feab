#pragma once
#include <vector>

#include "primes/cube_index.h"
#include "primes/cube_mask.h"

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// Generate Primes by Quine-McCluskey for every output and the polarity pass(es) of polarity_mode.
void Primes_QMC(RunContext& ctx, Problem& problem, PrimeStore& store);

// What the comparison steps of one output and polarity share.
struct QmcPass {
    RunContext& ctx;
    const Problem& problem;
    PrimeStore& store;  // current_output and current_value name the set; maxlpnum bounds the tables
    int steps = 0;      // comparison steps so far, this one included
    bool last_output = false;
    CubeIndex in_index;
    CubeIndex out_index;
};

// One comparison step: merges the adjacent groups of `in` into `out`, then carries the rows that
// merged with nothing. done = true when nothing merged; `in` is then reported and stored as the
// primes. System Error 2 when `out` reaches maxlpnum rows.
void main_QMC(QmcPass& pass, const std::vector<Cube>& in, std::vector<Cube>& out, bool& done);

}  // namespace vormel
