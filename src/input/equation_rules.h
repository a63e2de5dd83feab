#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vormel {

struct RunContext;

// Joins an equation with its continuation lines (lines[next] onwards; `next` moves past every line
// consumed) and normalises its operators to "=", "*", "+" and "/" without blanks. `line` is the
// upper-case equation line with its blanks. A line without "=" raises input error 10 and gives "".
std::string join_equation(RunContext& ctx, const std::string& line, const std::vector<std::string>& lines,
                          std::size_t& next);

// "F = A AND NOT B" -> "F=A*/B".
std::string normalise_operators(std::string equation);

}  // namespace vormel
