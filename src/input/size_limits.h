#pragma once
#include <string_view>

namespace vormel {

struct RunContext;
struct Problem;

// How many inputs and outputs a run of the chosen method takes: the classic methods expand every
// minterm (22 x 100), the cube methods never do (4,096 x 4,096).
struct SizeLimits {
    int inputs = 0;
    int outputs = 0;
};
SizeLimits size_limits(int prime_method);

// Input error 2 (inputs) or 3 (outputs) for a count past the method's limit; after a classic
// method's error one more line names the methods that take the function. Always returns false.
bool refuse_count(RunContext& ctx, Problem& problem, bool inputs, std::string_view count_text);
// The line that tells a classic run of a function too large for it which methods take it.
void point_to_cube_methods(RunContext& ctx, Problem& problem);

// The expanded minterm tables are made for every classic run, and for a cube-method run only
// while they stay small enough to show (2^12 = 4,096 rows).
inline constexpr int kMaxShownExpansionInputs = 12;
bool expands_minterms(int prime_method, int inputs);

}  // namespace vormel
