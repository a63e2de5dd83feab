#pragma once
#include <vector>

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// The gates of the two-stage realisation: and_count[n] AND gates and or_count[n] OR gates of n inputs.
struct GateCount {
    std::vector<int> and_count;
    std::vector<int> or_count;
    long long gates = 0;
    long long gate_inputs = 0;
};
GateCount gate_count(const Problem& problem, const TermTable& terms);

// The AND and OR gates of the two-stage realisation by number of inputs (inverters not counted) and
// the total number of gate inputs. Outputs that are not ordinary cost no gate.
void count_gates(RunContext& ctx, const Problem& problem, const TermTable& terms);

}  // namespace vormel
