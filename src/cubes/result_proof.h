#pragma once
#include <string>
#include <vector>

#include "model/term_table.h"

namespace vormel {
struct Problem;
}

namespace vormel::cubes {

// One way the result misses the input: an ON cube of the input that the realised output does not
// cover, or a product term that reaches into the output's OFF set.
struct ProofFault {
    int output = 0;
    bool missing = false;  // true: `row` (input cube) is not covered; false: term `row` reaches OFF
    std::string cube;      // the input part, "0", "1" and "-" per input
};

// The final terms proven against the function the input rows define (its ON, DC and OFF sets with
// the expansion's rules), per output and by cube algebra alone: every ON cube lies in the realised
// output (tautology of the result's cofactor), and every term of an output lies inside ON + DC
// (tautology of ON + DC cofactored by the term). Outputs of polarity 0 are realised inverted.
// Returns the faults found, at most one of each kind per output; empty means proven.
std::vector<ProofFault> prove_result(const Problem& problem, const TermTable& terms);

// Marks outputs whose realised functions equal an earlier output's (identical) or its complement
// (inverse) in out_relation, by the rule of the minterm comparison: only still ordinary outputs
// are marked, against earlier ordinary or constant ones, and a later match wins.
void mark_equal_realised_outputs(Problem& problem, const TermTable& terms);

}  // namespace vormel::cubes
