#pragma once
#include <string>

namespace vormel {

struct RunContext;
struct Problem;

// The polarity digits of every output, e.g. "110".
std::string polarity_digits(const Problem& problem);
// Polarity status line: " Polarity = " + digits, or the both-polarities texts of Automatic and
// Combination (empty for 0-Set and 1-Set) when with_digits is false.
void show_polarity(RunContext& ctx, const Problem& problem, bool with_digits);

}  // namespace vormel
