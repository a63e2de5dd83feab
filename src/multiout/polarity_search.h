#pragma once

namespace vormel {

struct RunContext;
struct Problem;
class PrimeStore;

// Bundle Optimization: chooses problem.polarity by polarity_mode, joins the covers into one
// multi-output table, shrinks it over the ROLEXA iterations and leaves problem.final_terms.
void polarity_search(RunContext& ctx, Problem& problem, PrimeStore& store);

}  // namespace vormel
