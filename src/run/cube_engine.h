#pragma once
#include "cubes/function_covers.h"
#include "minimize/polarity_choice.h"

namespace vormel {

struct Session;

// What the cube engines (methods shared and exact) carry from one step to the next.
struct CubeEngineState {
    cubes::FunctionCovers covers;       // the function as given (every output normal)
    minimize::PolarityChoice result;    // the best cover so far and its polarity
    int lower_bound = 0;                // exact: no cover has fewer terms
    bool proven = false;                // exact: result.cost.terms is the minimum
    double exact_seconds = 0;           // exact: solving time spent so far, against the one limit
};

// Step 2 of a cube-engine run: the ON, DC and OFF covers of all outputs.
void Cube_Sets(Session& session);
// Step 3: the cover of the requested polarity (all outputs normal for Automatic and Combination).
void Cube_Cover(Session& session);
// Step 4: the polarity search, the ROLEXA restarts, and the result as final terms and polarity.
void Cube_Bundle(Session& session);

}  // namespace vormel
