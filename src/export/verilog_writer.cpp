#include "export/verilog_writer.h"

#include <vector>

#include "export/result_view.h"

namespace vormel {

namespace {

std::string joined(const std::vector<std::string>& names, const std::string& separator) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : separator) + name;
    return text;
}

std::string output_expression(const ResultView& view, int j) {
    const OutputRealisation& out = view.realisations[j];
    const std::string complement = out.inverted ? "~" : "";
    switch (out.kind) {
        case OutputRealisation::Kind::copy: return complement + view.outputs[out.source];
        case OutputRealisation::Kind::constant: return out.inverted ? "1'b1" : "1'b0";
        case OutputRealisation::Kind::terms: break;
    }
    std::vector<std::string> terms;
    for (int r : view.terms_of(j)) terms.push_back(view.term_names[r]);
    if (terms.empty()) return out.inverted ? "1'b1" : "1'b0";
    const std::string sum = joined(terms, " | ");
    return out.inverted ? "~(" + sum + ")" : sum;
}

}  // namespace

std::string write_verilog(const ResultView& view) {
    std::string text = "// product terms of the minimized result\n";
    for (const std::string& rename : view.renamed) text += "// renamed " + rename + "\n";
    std::vector<std::string> ports = view.inputs;
    ports.insert(ports.end(), view.outputs.begin(), view.outputs.end());
    text += "module " + view.model + " (" + joined(ports, ", ") + ");\n";
    if (!view.inputs.empty()) text += "  input " + joined(view.inputs, ", ") + ";\n";
    text += "  output " + joined(view.outputs, ", ") + ";\n";
    if (!view.term_names.empty()) text += "  wire " + joined(view.term_names, ", ") + ";\n";
    for (int r = 0; r <= view.terms.last; ++r) {
        const std::string product = product_text(view, r, " & ", "~");
        text += "  assign " + view.term_names[r] + " = " + (product.empty() ? "1'b1" : product) + ";\n";
    }
    for (int j = 0; j < static_cast<int>(view.outputs.size()); ++j) {
        text += "  assign " + view.outputs[j] + " = " + output_expression(view, j) + ";\n";
    }
    return text + "endmodule\n";
}

}  // namespace vormel
