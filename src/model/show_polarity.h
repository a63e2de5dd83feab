#pragma once
#include <string>
#include <vector>

namespace vormel {

struct RunContext;
struct Problem;

// The polarity digits of every output, e.g. "110".
std::string polarity_digits(const Problem& problem);
std::string polarity_digits(const std::vector<int>& polarity);
// Polarity status line: " Polarity = " + digits, or the both-polarities texts of Automatic and
// Combination (empty for 0-Set and 1-Set) when with_digits is false.
void show_polarity(RunContext& ctx, const Problem& problem, bool with_digits);
// The status line with the digits of this vector.
void show_polarity(RunContext& ctx, const std::vector<int>& polarity);

}  // namespace vormel
