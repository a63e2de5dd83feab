#pragma once
#include <cstdint>
#include <vector>

namespace vormel {

struct RunContext;
struct Problem;

// State of one expansion: which minterms an input row has reached, and the conflict rules in force.
struct ExpansionState {
    std::vector<std::uint64_t> reached;  // one bit per minterm
    bool boolean_input = false;          // equations: products are ORed
    bool ones_win = false;               // .pla of type fd: a 0/1 conflict gives 1
};

// Fills problem.extab from the input table: every input row's minterms receive its Y entry under
// the conflict rules, every minterm no row reaches receives rest_values. Cost is linear in the
// minterms the rows cover. A conflict raises input error 9 and stops with error_flag set.
void expand_table(RunContext& ctx, Problem& problem);

// Visits the minterms of input row k in ascending order (the leftmost don't care varies slowest,
// 0 before 1) and assigns each; false after a conflict.
bool expand_cube(RunContext& ctx, Problem& problem, ExpansionState& state, int k);

// Writes the Y entry of input row k into minterm m; false after a conflict (input error 9).
bool assign_minterm(RunContext& ctx, Problem& problem, ExpansionState& state, int k, std::uint32_t m);

}  // namespace vormel
