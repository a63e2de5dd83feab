#include "input/expand_inputs.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void expand_inputs(RunContext&, Problem&) {}

}  // namespace vormel
