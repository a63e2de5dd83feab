#pragma once
#include <string>
#include <vector>

#include "model/term_table.h"

namespace vormel {

struct Problem;

// How one output is realised: the OR of its own terms, a copy of another output, or a constant;
// `inverted` complements the OR, the copy, or the constant 0.
struct OutputRealisation {
    enum class Kind { terms, copy, constant };
    Kind kind = Kind::terms;
    bool inverted = false;
    int source = -1;  // copy: the output repeated
};

// The final result as every writer sees it, after Final Results has run: the product terms in the
// report's order (those that feed no output left out), their shared names and the outputs.
struct ResultView {
    std::string model;                  // module name: the input file's stem as a valid name
    std::vector<std::string> inputs;    // names as identifiers (no Verilog keyword), unique over inputs, outputs, terms
    std::vector<std::string> outputs;
    std::vector<std::string> renamed;   // "original -> identifier" for every name that changed
    TermTable terms;                    // Y entry 1 where the term feeds that output, else 2
    std::vector<std::string> term_names;  // "PT_n" for the report's shared terms, else "T_n"
    std::vector<bool> shared;
    std::vector<OutputRealisation> realisations;
    // The report's final product-term table, every output by its own terms (copies and constants
    // too): the rows that feed an output, Y 1 where they feed it; table_inverted[j] when output j's
    // terms give its complement (polarity 0).
    TermTable table;
    std::vector<bool> table_inverted;

    // The terms an output ORs (for a copy or a constant, none).
    std::vector<int> terms_of(int output) const;
    // Follows copies to the output whose terms realise `output` (-1 for a constant), and whether
    // the OR of those terms is complemented on the way.
    int term_source(int output, bool& inverted) const;
};

// Names as the input wrote them where our reader took them in upper case (empty: not known).
struct WrittenNames {
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
};

// The view of the problem's final result; a name of `written` replaces the reader's name when it
// differs from it in case only.
ResultView result_view(const Problem& problem, const std::string& input_file, const WrittenNames& written = {});

// The literals of term `row` joined by `and_op`, each complemented input behind `not_op`; "" for a
// term without literals.
std::string product_text(const ResultView& view, int row, const std::string& and_op, const std::string& not_op);

}  // namespace vormel
