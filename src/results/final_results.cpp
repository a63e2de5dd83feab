#include "results/final_results.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void final_results(RunContext&, Problem&) {}

}  // namespace vormel
