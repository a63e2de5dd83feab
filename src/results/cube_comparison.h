#pragma once

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// The cube methods' proof: the final terms against the input's ON, DC and OFF sets by cube algebra,
// under its heading, with the faults it finds and the verdict of the minterm comparison. Without an
// expanded table it also finds the identical and inverse outputs. A fault sets error_flag.
void cube_comparison(RunContext& ctx, Problem& problem, const TermTable& terms);

}  // namespace vormel
