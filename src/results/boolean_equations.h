#pragma once
#include <string>
#include <vector>

namespace vormel {

struct RunContext;
struct Problem;
struct TermTable;

// One name per term: "PT_0", "PT_1", ... for a term of two or more literals that feeds two or more
// ordinary outputs, else empty.
std::vector<std::string> name_shared_terms(const Problem& problem, const TermTable& terms);

// One equation as the report writes it: the name on the left ("PT_0", "SUM"; "/" before an output
// realised inverted) and the right side's parts, joined by "+": products (" A * /B", a blank before
// an input that is not complemented), shared term names (" PT_0") or, for an output without terms
// of its own, one value (" 0", " 1", " OTHER", " /OTHER").
struct Equation {
    std::string name;
    bool inverted = false;
    bool shared_term = false;
    std::vector<std::string> right;
    std::string left() const { return (inverted ? "/" : "") + name; }
};
// The equations of the shared terms, then of every output, from the sorted final terms.
std::vector<Equation> equations_of(const Problem& problem, const TermTable& terms);

// The Boolean equations of every output from the sorted final terms, shared terms written once.
void boolean_equations(RunContext& ctx, const Problem& problem, const TermTable& terms);

}  // namespace vormel
