#include "primes/qmc.h"

namespace vormel {

// Not built yet: the step walks the state machine only.
void Primes_QMC(RunContext&, Problem&, PrimeStore&) {}

}  // namespace vormel
