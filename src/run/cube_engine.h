#pragma once
#include <chrono>
#include <memory>

namespace vormel {

struct Session;

// What one width class of the engine keeps between steps (its covers and best result).
struct CubeClassState {
    virtual ~CubeClassState() = default;
};

// What the cube engines (methods shared and exact) carry from one step to the next.
struct CubeEngineState {
    int width_class = -1;                      // the cube width the run uses (cubes/width_classes.h)
    std::unique_ptr<CubeClassState> per_class;  // that class's covers and result
    int lower_bound = 0;                        // exact: no cover has fewer terms
    bool proven = false;                        // exact: the result's term count is the minimum
    // exact: the run's one time limit, from the start of its first cover; the second solve (the
    // polarity search's winner) and the search itself get only what is left.
    std::chrono::steady_clock::time_point exact_deadline{};
};

// The steps run on the narrowest cube width that holds the problem (or a wider one the options ask for).
// Step 2 of a cube-engine run: the ON, DC and OFF covers of all outputs.
void Cube_Sets(Session& session);
// Step 3: the cover of the requested polarity (all outputs normal for Automatic and Combination).
void Cube_Cover(Session& session);
// Step 4: the polarity search, the ROLEXA restarts, and the result as final terms and polarity.
void Cube_Bundle(Session& session);

}  // namespace vormel
