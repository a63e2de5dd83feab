#pragma once
#include "model/term_table.h"

namespace vormel::cubes {

// The complement of a term table read as one cover per output (output j of a row: Y = 1), as a
// term table of the same inputs and outputs, computed on cubes of the narrowest width that fits.
// Throws std::length_error above the widest class.
TermTable complement_terms(const TermTable& f);

}  // namespace vormel::cubes
