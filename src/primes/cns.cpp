#include "primes/cns.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void Primes_CNS(RunContext&, Problem&, PrimeStore&) {}

}  // namespace vormel
