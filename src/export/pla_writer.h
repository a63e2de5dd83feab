#pragma once
#include <string>

namespace vormel {

struct ResultView;

// How an exported PLA gives an output that was realised inverted.
enum class PlaPhase {
    phase_line,         // its terms as they are, marked 0 in a ".phase" line
    complemented_back,  // the complement of its terms, so the file holds every output's ON set
                        // and every reader of the format takes it
};

// The result as a .pla of type fd: one row per product term of the report's final table, every
// output by its own terms (so .p is the report's count with PlaPhase::phase_line), plus one row
// per complement cube; the outputs a row feeds 1, all others 0.
std::string write_pla(const ResultView& view, PlaPhase phase);

}  // namespace vormel
