#pragma once
#include <string>

namespace vormel {

struct Problem;
struct TermTable;

// The proof of the final result against the expanded input: "passed", "failed", or "not run" when
// there are no minimized values to compare (a cube run without an expanded table: its proof on cubes).
std::string proof_of(const Problem& p);

// How an output is realised: its relation to the others, the output it follows, its polarity.
struct OutputRelation {
    const char* relation;  // "ordinary", "constant_0", "constant_1", "identical", "inverse"
    int other = -1;
    const char* polarity = nullptr;  // "1" or "0", only for outputs realised by terms of their own
};
OutputRelation relation_of(const Problem& p, int j);

// The terms of the final terms that output j ORs as an ordinary output, and their input literals
// (none for an output of another relation).
struct OwnTerms {
    int terms = 0;
    int literals = 0;
};
OwnTerms own_terms(const Problem& p, const TermTable& terms, int j);

}  // namespace vormel
