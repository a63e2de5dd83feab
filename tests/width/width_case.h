#pragma once
#include <string>
#include <vector>

#include "cubes/width_classes.h"

// A random function of few used inputs scattered among many, and what one width class's copy of the
// cube code makes of it, written over the used inputs only: two classes given the same case with
// the unused inputs removed or added must write the same text.
namespace vormel::width_test {

struct WidthCase {
    int inputs = 0;                 // of the space
    std::vector<int> used_inputs;   // ascending; the only inputs with literals
    int outputs = 0;                // of the space
    std::vector<int> used_outputs;  // ascending; the only outputs cubes carry
    unsigned seed = 0;
};

// The case with the same used inputs and outputs packed at the low end of the narrowest space.
WidthCase packed(const WidthCase& c);

struct Transcript {
    std::string text;    // every result, over the used inputs and outputs
    std::string errors;  // disagreements with the point oracle
};

}  // namespace vormel::width_test

// Per class (width_transcripts.cpp): cube operations on random cubes and covers; the heuristic and
// the exact method on a random function of the case (outputs unscattered).
#define VORMEL_DECLARE_TRANSCRIPTS(index, name, in_words, out_words)                     \
    namespace vormel::width_test::name {                            \
    Transcript cube_operations(const WidthCase& c, int rounds);     \
    Transcript minimized(const WidthCase& c, bool exact);           \
    }
VORMEL_CUBE_CLASSES(VORMEL_DECLARE_TRANSCRIPTS)
#undef VORMEL_DECLARE_TRANSCRIPTS
