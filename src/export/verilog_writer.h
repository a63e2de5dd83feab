#pragma once
#include <string>

namespace vormel {

struct ResultView;

// The result as one structural Verilog module: a wire and an assign per product term, an assign
// per output (the OR of its terms, complemented where it was realised inverted).
std::string write_verilog(const ResultView& view);

}  // namespace vormel
