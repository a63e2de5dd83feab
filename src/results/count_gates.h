#pragma once

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// The AND and OR gates of the two-stage realisation by number of inputs (inverters not counted) and
// the total number of gate inputs. Outputs that are not ordinary cost no gate.
void count_gates(RunContext& ctx, const Problem& problem, const TermTable& terms);

}  // namespace vormel
