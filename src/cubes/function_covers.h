#pragma once
#include <vector>

#include "cubes/cube.h"
#include "model/term_table.h"

namespace vormel {
struct Problem;
}

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

// The function of a problem as three covers that split the space for every output: the points where it
// is 1, those where it is unspecified, and those where it is 0.
struct FunctionCovers {
    Space space;
    Cover on;
    Cover dc;
    Cover off;
    bool off_built = true;  // false: off is empty, it was too large to build (see function_covers)
};

// Built from the input rows, never from minterms, with the meaning the expansion gives them: a point
// is 1 for an output where any row covering it says 1, else 0 where any says 0, else unspecified where
// a row covers it at all; points no row covers take the output's $REST value.
// With `off_optional`, an output whose OFF part passes 20,000 cubes plus 64 per cube of its ON and
// DC parts leaves the whole OFF cover unbuilt (off_built false): such complements (random-like
// functions of many inputs) grow far beyond any cover of the function, and a caller that can grow
// cubes inside ON and DC instead does without them.
FunctionCovers function_covers(const Problem& problem, bool off_optional = false);

// The covers with the outputs of polarity 0 inverted (their ON and OFF parts swapped).
FunctionCovers with_polarity(const FunctionCovers& f, const std::vector<int>& polarity);

// ON and DC covers of the outputs as realised with `polarity` (0 inverts); OFF is left empty.
FunctionCovers care_covers(const Problem& problem, const std::vector<int>& polarity);

// Input word of an X byte row (0, 1, 2 per input) and back.
InBits input_word(const std::uint8_t* x, int nx);
void input_bytes(const InBits& in, int nx, std::uint8_t* x);

// A cover as a term table whose Y entries are the output's polarity value where the cube feeds it.
TermTable to_term_table(const Cover& f, const Space& s, const std::vector<int>& polarity);

// The complement of a term table read as covers (output j of a row: Y = 1), one per output, in the
// same form. The table must fit this width class; cubes/term_complement.h picks the class.
TermTable complement_table(const TermTable& f);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
