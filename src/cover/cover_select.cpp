#include "cover/cover_select.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void Cover_Single(RunContext&, const Problem&, PrimeStore&) {}

}  // namespace vormel
