#include "export/result_view.h"

#include <filesystem>
#include <set>

#include "model/problem.h"
#include "model/valid_name.h"
#include "results/boolean_equations.h"
#include "results/sort_final_terms.h"

namespace vormel {

namespace {

// Keeps a plain identifier as it is, makes any other name valid, and adds "_" until it is unique.
std::string identifier(const std::string& name, std::set<std::string>& taken, std::vector<std::string>& renamed) {
    std::string id = plain_identifier(name) ? name : valid_name_of(name);
    while (taken.count(id) != 0) id += '_';
    taken.insert(id);
    if (id != name) renamed.push_back(name + " -> " + id);
    return id;
}

OutputRealisation realisation_of(const Problem& problem, int j) {
    OutputRealisation r;
    switch (problem.out_code[j]) {
        case relation_const0:
        case relation_undefined_normal: r.kind = OutputRealisation::Kind::constant; break;
        case relation_const1:
        case relation_undefined_inverted:
            r.kind = OutputRealisation::Kind::constant;
            r.inverted = true;
            break;
        case relation_identical:
        case relation_inverse:
            r.kind = OutputRealisation::Kind::copy;
            r.source = problem.out_related[j];
            r.inverted = problem.out_code[j] == relation_inverse;
            break;
        default: r.inverted = j < static_cast<int>(problem.polarity.size()) && problem.polarity[j] == 0; break;
    }
    return r;
}

}  // namespace

std::vector<int> ResultView::terms_of(int output) const {
    std::vector<int> rows;
    if (realisations[output].kind != OutputRealisation::Kind::terms) return rows;
    for (int r = 0; r <= terms.last; ++r) {
        if (terms.y(r)[output] != kDash) rows.push_back(r);
    }
    return rows;
}

int ResultView::term_source(int output, bool& inverted) const {
    inverted = false;
    // A copy never leads back to itself; the bound only guards against a broken relation table.
    for (std::size_t step = 0; step <= realisations.size(); ++step) {
        const OutputRealisation& r = realisations[output];
        inverted = inverted != r.inverted;
        if (r.kind == OutputRealisation::Kind::terms) return output;
        if (r.kind == OutputRealisation::Kind::constant) return -1;
        output = r.source;
    }
    return -1;
}

ResultView result_view(const Problem& problem, const std::string& input_file) {
    ResultView view;
    std::set<std::string> taken;
    std::vector<std::string> ignored;
    std::string stem = std::filesystem::path(input_file).filename().string();
    stem = stem.substr(0, stem.find('.'));
    view.model = identifier(stem.empty() ? "vormel" : stem, taken, ignored);
    for (const std::string& name : problem.xnames) view.inputs.push_back(identifier(name, taken, view.renamed));
    for (const std::string& name : problem.ynames) view.outputs.push_back(identifier(name, taken, view.renamed));
    for (int j = 0; j < problem.outputs(); ++j) view.realisations.push_back(realisation_of(problem, j));

    TermTable sorted = problem.final_terms;
    sort_final_terms(sorted);
    const std::vector<std::string> shared_names = name_shared_terms(problem, sorted);
    view.terms = TermTable(problem.inputs(), problem.outputs());
    int unshared = 0;
    for (int r = 0; r <= sorted.last; ++r) {
        bool feeds = false;
        for (int j = 0; j < problem.outputs(); ++j) {
            feeds = feeds || (sorted.y(r)[j] != kDash && view.realisations[j].kind == OutputRealisation::Kind::terms);
        }
        if (!feeds) continue;
        const int row = view.terms.append_row();
        std::copy_n(sorted.x(r), problem.inputs(), view.terms.x(row));
        for (int j = 0; j < problem.outputs(); ++j) {
            const bool fed = sorted.y(r)[j] != kDash && view.realisations[j].kind == OutputRealisation::Kind::terms;
            view.terms.y(row)[j] = fed ? kOne : kDash;
        }
        const bool shared = !shared_names[r].empty();
        view.shared.push_back(shared);
        view.term_names.push_back(identifier(shared ? shared_names[r] : "T_" + std::to_string(unshared++), taken, ignored));
    }
    return view;
}

std::string product_text(const ResultView& view, int row, const std::string& and_op, const std::string& not_op) {
    std::string text;
    for (int i = 0; i < view.terms.nx; ++i) {
        const std::uint8_t v = view.terms.x(row)[i];
        if (v == kDash) continue;
        if (!text.empty()) text += and_op;
        if (v == kZero) text += not_op;
        text += view.inputs[i];
    }
    return text;
}

}  // namespace vormel
