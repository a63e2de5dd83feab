#pragma once
#include "cubes/width_classes.h"

namespace vormel {
struct Session;
}

// The engine steps of each width class (run/cube_engine.cpp is compiled once per class); the
// entry points of run/cube_engine.h pick one.
#define VORMEL_DECLARE_CUBE_STEPS(index, name, in_words, out_words) \
    namespace vormel::name {                   \
    void cube_sets(Session& session);          \
    void cube_cover(Session& session);         \
    void cube_bundle(Session& session);        \
    }
VORMEL_CUBE_CLASSES(VORMEL_DECLARE_CUBE_STEPS)
#undef VORMEL_DECLARE_CUBE_STEPS
