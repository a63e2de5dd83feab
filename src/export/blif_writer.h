#pragma once
#include <string>

namespace vormel {

struct ResultView;

// The result as a two-level BLIF model: one .names per shared term and per output, an output
// realised inverted given by its OFF-set rows, copies and constants as one-row tables.
std::string write_blif(const ResultView& view);

}  // namespace vormel
