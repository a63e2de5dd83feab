#include "api/result_of.h"

#include <fmt/format.h>

#include "export/result_facts.h"
#include "export/result_view.h"
#include "export/summary_json.h"
#include "input/input_text.h"
#include "model/problem.h"
#include "results/boolean_equations.h"
#include "results/count_gates.h"
#include "results/sort_final_terms.h"

namespace vormel::api {

namespace {

char value_char(std::uint8_t value) { return value == vormel::kDash ? '-' : static_cast<char>('0' + value); }

std::vector<Term> terms_of(const vormel::ResultView& view) {
    const vormel::TermTable& table = view.table;
    std::vector<Term> terms;
    for (int r = 0; r <= table.last; ++r) {
        Term term;
        for (int i = 0; i < table.nx; ++i) term.inputs += value_char(table.x(r)[i]);
        for (int j = 0; j < table.ny; ++j) term.outputs += table.y(r)[j] == vormel::kDash ? '0' : '1';
        terms.push_back(std::move(term));
    }
    return terms;
}

// "SUM = /A * B + A * /B", one line an equation.
std::string equation_text(const vormel::Problem& problem, const vormel::TermTable& sorted) {
    std::string text;
    for (const vormel::Equation& equation : vormel::equations_of(problem, sorted)) {
        text += equation.left() + " =";
        if (equation.right.empty()) text += " 0";
        for (std::size_t part = 0; part < equation.right.size(); ++part) {
            // The report pads an input that is not complemented to the width of one that is.
            std::string product = equation.right[part];
            vormel::replace_all(product, " *  ", " * ");
            text += (part ? " + " : " ") + product.substr(product.starts_with(' ') ? 1 : 0);
        }
        text += '\n';
    }
    return text;
}

Proof proof_of(const vormel::Problem& problem, const vormel::RunFacts& facts) {
    Proof proof;
    proof.exact = facts.exact;
    proof.minimum_proven = facts.exact && facts.exact_proven;
    proof.lower_bound = facts.exact ? facts.exact_lower_bound : 0;
    if (vormel::proof_of(problem) != "passed") proof.outcome = "not proven";
    else if (!facts.exact) proof.outcome = "proven equal";
    else if (facts.exact_proven) proof.outcome = "proven minimum";
    else proof.outcome = fmt::format("proven equal, at least {} terms", facts.exact_lower_bound);
    return proof;
}

}  // namespace

Result result_of(const vormel::Problem& problem, const vormel::RunFacts& facts, const vormel::WrittenNames& written) {
    Result result;
    result.input_names = problem.xnames;
    result.output_names = problem.ynames;
    vormel::TermTable sorted = problem.final_terms;
    vormel::sort_final_terms(sorted);
    result.terms = terms_of(vormel::result_view(problem, facts.file, written));
    for (int j = 0; j < problem.outputs(); ++j) {
        const vormel::OutputRelation how = vormel::relation_of(problem, j);
        const vormel::OwnTerms own = vormel::own_terms(problem, sorted, j);
        Output output{problem.ynames[j], how.relation, how.other >= 0 ? problem.ynames[how.other] : "",
                      how.polarity && how.polarity[0] == '0' ? 0 : 1, own.terms, own.literals};
        result.outputs.push_back(std::move(output));
    }
    result.equations = equation_text(problem, sorted);
    const vormel::LiteralCounts counts = vormel::count_literals(sorted);
    const vormel::GateCount gates = vormel::gate_count(problem, sorted);
    result.cost = {counts.product_terms, counts.x_literals, counts.y_literals, gates.gates, gates.gate_inputs};
    result.proof = proof_of(problem, facts);
    return result;
}

}  // namespace vormel::api
