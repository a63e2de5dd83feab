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

// The Boolean equations of every output from the sorted final terms, shared terms written once.
void boolean_equations(RunContext& ctx, const Problem& problem, const TermTable& terms);

}  // namespace vormel
