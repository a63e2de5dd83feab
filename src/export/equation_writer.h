#pragma once
#include <string>

namespace vormel {

struct ResultView;

// The result as Boolean equations in the operators the eqn readers of ABC and SIS know,
// "OUT = a * !b + c;": shared terms first as equations of their own, an output realised inverted
// as "OUT = !(...);". INORDER and OUTORDER lines name the ports.
std::string write_equations(const ResultView& view);

}  // namespace vormel
