#include "export/result_view.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "input/input_text.h"
#include "model/problem.h"
#include "model/valid_name.h"
#include "results/boolean_equations.h"
#include "results/sort_final_terms.h"

namespace vormel {

namespace {

// The reserved words of Verilog (IEEE 1364-2005), sorted: no module, port or wire may be named so.
constexpr std::string_view kVerilogKeywords[] = {
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex", "casez", "cell",
    "cmos", "config", "deassign", "default", "defparam", "design", "disable", "edge", "else", "end", "endcase",
    "endconfig", "endfunction", "endgenerate", "endmodule", "endprimitive", "endspecify", "endtable", "endtask",
    "event", "for", "force", "forever", "fork", "function", "generate", "genvar", "highz0", "highz1", "if",
    "ifnone", "incdir", "include", "initial", "inout", "input", "instance", "integer", "join", "large",
    "liblist", "library", "localparam", "macromodule", "medium", "module", "nand", "negedge", "nmos", "nor",
    "noshowcancelled", "not", "notif0", "notif1", "or", "output", "parameter", "pmos", "posedge", "primitive",
    "pull0", "pull1", "pulldown", "pullup", "pulsestyle_ondetect", "pulsestyle_onevent", "rcmos", "real",
    "realtime", "reg", "release", "repeat", "rnmos", "rpmos", "rtran", "rtranif0", "rtranif1", "scalared",
    "showcancelled", "signed", "small", "specify", "specparam", "strong0", "strong1", "supply0", "supply1",
    "table", "task", "time", "tran", "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg",
    "unsigned", "use", "uwire", "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor",
    "xor"};
static_assert(std::is_sorted(std::begin(kVerilogKeywords), std::end(kVerilogKeywords)));

bool verilog_keyword(const std::string& name) {
    return std::binary_search(std::begin(kVerilogKeywords), std::end(kVerilogKeywords), std::string_view(name));
}

// Keeps a plain identifier as it is, makes any other name valid, and adds "_" until it is unique
// and no keyword of the formats written.
std::string identifier(const std::string& name, std::set<std::string>& taken, std::vector<std::string>& renamed) {
    std::string id = plain_identifier(name) ? name : valid_name_of(name);
    while (taken.count(id) != 0 || verilog_keyword(id)) id += '_';
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

// The input's spelling of the name at `index` where the reader changed only its case.
const std::string& as_written(const std::vector<std::string>& names, const std::vector<std::string>& written, std::size_t index) {
    const bool same = index < written.size() && upper_case(written[index]) == names[index];
    return same ? written[index] : names[index];
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

ResultView result_view(const Problem& problem, const std::string& input_file, const WrittenNames& written) {
    ResultView view;
    std::set<std::string> taken;
    std::vector<std::string> ignored;
    std::string stem = std::filesystem::path(input_file).filename().string();
    stem = stem.substr(0, stem.find('.'));
    view.model = identifier(stem.empty() ? "vormel" : stem, taken, ignored);
    for (std::size_t i = 0; i < problem.xnames.size(); ++i) {
        view.inputs.push_back(identifier(as_written(problem.xnames, written.inputs, i), taken, view.renamed));
    }
    for (std::size_t j = 0; j < problem.ynames.size(); ++j) {
        view.outputs.push_back(identifier(as_written(problem.ynames, written.outputs, j), taken, view.renamed));
    }
    for (int j = 0; j < problem.outputs(); ++j) view.realisations.push_back(realisation_of(problem, j));

    TermTable sorted = problem.final_terms;
    sort_final_terms(sorted);
    const std::vector<std::string> shared_names = name_shared_terms(problem, sorted);
    view.terms = TermTable(problem.inputs(), problem.outputs());
    view.table = TermTable(problem.inputs(), problem.outputs());
    for (int j = 0; j < problem.outputs(); ++j) {
        view.table_inverted.push_back(j < static_cast<int>(problem.polarity.size()) && problem.polarity[j] == 0);
    }
    int unshared = 0;
    for (int r = 0; r <= sorted.last; ++r) {
        if (std::all_of(sorted.y(r), sorted.y(r) + problem.outputs(), [](std::uint8_t v) { return v == kDash; })) continue;
        const int row = view.table.append_row();
        std::copy_n(sorted.x(r), problem.inputs(), view.table.x(row));
        for (int j = 0; j < problem.outputs(); ++j) view.table.y(row)[j] = sorted.y(r)[j] == kDash ? kDash : kOne;
    }
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
