#include "multiout/polarity_search.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void polarity_search(RunContext&, Problem&, PrimeStore&) {}

}  // namespace vormel
