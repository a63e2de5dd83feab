#pragma once
#include <cstdint>

#include "model/final_output.h"
#include "model/term_table.h"

namespace vormel {

// Input value of one row for code that works on both table kinds.
inline std::uint8_t x_value(const TermTable& table, int row, int input) { return table.x(row)[input]; }
inline std::uint8_t x_value(const ExpandedTable& table, int row, int input) { return table.x(row, input); }
inline std::uint8_t x_value(const FinalOutput& table, int row, int input) { return table.x(row, input); }

}  // namespace vormel
