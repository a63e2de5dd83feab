#include "export/equation_writer.h"

#include <vector>

#include "export/result_view.h"

namespace vormel {

namespace {

std::string sum_of(const ResultView& view, int j) {
    std::string sum;
    for (int r : view.terms_of(j)) {
        std::string product = view.shared[r] ? view.term_names[r] : product_text(view, r, " * ", "!");
        if (product.empty()) product = "1";
        sum += (sum.empty() ? "" : " + ") + product;
    }
    return sum;
}

std::string right_side(const ResultView& view, int j) {
    const OutputRealisation& out = view.realisations[j];
    switch (out.kind) {
        case OutputRealisation::Kind::copy: return (out.inverted ? "!" : "") + view.outputs[out.source];
        case OutputRealisation::Kind::constant: return out.inverted ? "1" : "0";
        case OutputRealisation::Kind::terms: break;
    }
    const std::string sum = sum_of(view, j);
    if (sum.empty()) return out.inverted ? "1" : "0";
    return out.inverted ? "!(" + sum + ")" : sum;
}

}  // namespace

std::string write_equations(const ResultView& view) {
    std::string text = "# product terms of the minimized result\n";
    for (const std::string& rename : view.renamed) text += "# renamed " + rename + "\n";
    text += "INORDER =";
    for (const std::string& name : view.inputs) text += " " + name;
    text += ";\nOUTORDER =";
    for (const std::string& name : view.outputs) text += " " + name;
    text += ";\n";
    for (int r = 0; r <= view.terms.last; ++r) {
        if (view.shared[r]) text += view.term_names[r] + " = " + product_text(view, r, " * ", "!") + ";\n";
    }
    for (int j = 0; j < static_cast<int>(view.outputs.size()); ++j) {
        text += view.outputs[j] + " = " + right_side(view, j) + ";\n";
    }
    return text;
}

}  // namespace vormel
