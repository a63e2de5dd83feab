#include "export/blif_writer.h"

#include <vector>

#include "export/result_view.h"

namespace vormel {

namespace {

char literal_char(std::uint8_t v) { return v == kZero ? '0' : '1'; }

std::string list(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += " " + name;
    return text;
}

// The table of an output that ORs its terms: the inputs its own terms use, then its shared terms.
std::string output_table(const ResultView& view, int j, bool inverted) {
    const std::vector<int> rows = view.terms_of(j);
    std::vector<int> inputs;
    for (int i = 0; i < view.terms.nx; ++i) {
        for (int r : rows) {
            if (!view.shared[r] && view.terms.x(r)[i] != kDash) {
                inputs.push_back(i);
                break;
            }
        }
    }
    std::vector<int> shared;
    for (int r : rows) {
        if (view.shared[r]) shared.push_back(r);
    }
    std::string text = ".names";
    for (int i : inputs) text += " " + view.inputs[i];
    for (int r : shared) text += " " + view.term_names[r];
    text += " " + view.outputs[j] + "\n";
    const char value = inverted ? '0' : '1';
    if (rows.empty()) return inverted ? text + "1\n" : text;
    for (int r : rows) {
        std::string line;
        for (int i : inputs) line += view.shared[r] || view.terms.x(r)[i] == kDash ? '-' : literal_char(view.terms.x(r)[i]);
        for (int s : shared) line += s == r ? '1' : '-';
        text += line + (line.empty() ? "" : " ") + value + "\n";
    }
    return text;
}

}  // namespace

std::string write_blif(const ResultView& view) {
    std::string text = "# product terms of the minimized result\n";
    for (const std::string& rename : view.renamed) text += "# renamed " + rename + "\n";
    text += ".model " + view.model + "\n";
    text += ".inputs" + list(view.inputs) + "\n";
    text += ".outputs" + list(view.outputs) + "\n";
    for (int r = 0; r <= view.terms.last; ++r) {
        if (!view.shared[r]) continue;
        std::string names, line;
        for (int i = 0; i < view.terms.nx; ++i) {
            if (view.terms.x(r)[i] == kDash) continue;
            names += " " + view.inputs[i];
            line += literal_char(view.terms.x(r)[i]);
        }
        text += ".names" + names + " " + view.term_names[r] + "\n" + line + " 1\n";
    }
    for (int j = 0; j < static_cast<int>(view.outputs.size()); ++j) {
        const OutputRealisation& out = view.realisations[j];
        switch (out.kind) {
            case OutputRealisation::Kind::terms: text += output_table(view, j, out.inverted); break;
            case OutputRealisation::Kind::copy:
                text += ".names " + view.outputs[out.source] + " " + view.outputs[j] + (out.inverted ? "\n0 1\n" : "\n1 1\n");
                break;
            case OutputRealisation::Kind::constant: text += ".names " + view.outputs[j] + (out.inverted ? "\n1\n" : "\n"); break;
        }
    }
    return text + ".end\n";
}

}  // namespace vormel
