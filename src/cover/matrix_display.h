#pragma once

namespace vormel {

struct RunContext;
struct CoverMatrix;

// The covering matrix as a table of minterms against primes (display levels 3 and 4); more than
// 991 primes print a notice instead.
void display_cover_matrix(RunContext& ctx, const CoverMatrix& matrix);

}  // namespace vormel
