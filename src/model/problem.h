#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/final_output.h"
#include "model/term_table.h"

namespace vormel {

// The classic methods expand every minterm of every output: 2^22 rows of 100 values at most.
inline constexpr int kMaxInputs = 22;
inline constexpr int kMaxOutputs = 100;
// The cube methods never expand minterms; their widest cubes hold 4,096 inputs and outputs.
inline constexpr int kMaxCubeInputs = 4096;
inline constexpr int kMaxCubeOutputs = 4096;
// Longer names would make every name header and equation of the report grow with them.
inline constexpr int kMaxNameLength = 64;

// Relation codes of out_relation row 1.
enum Relation : int {
    relation_ordinary = -1,
    relation_const0 = 0,
    relation_const1 = 1,
    relation_undefined_inverted = 2,  // no term, polarity 0: constant 1
    relation_undefined_normal = 3,    // no term, polarity 1: constant 0
    relation_identical = 4,
    relation_inverse = 5,
};

// The verdict of the cube methods' proof of the final terms.
enum class ProofOutcome { not_run, passed, failed };

// The one problem in memory: names, input table, fully expanded table, per-output bookkeeping and
// the final product terms. Readers re-create it; later steps only read the input side.
struct Problem {
    int xmax = -1;  // highest input index
    int ymax = -1;  // highest output index
    std::vector<std::string> xnames;
    std::vector<std::string> ynames;
    int ynames_maxlen = 0;

    std::vector<std::string> input_lines;  // index 0 is line 1
    std::string input_ext;                 // "tab", "pla", ...
    std::string input_type;                // "TABLE" or "BOOLEAN"
    std::string pla_type = "FD";

    TermTable intab;      // one row per entry line (or per distinct equation term)
    ExpandedTable extab;  // Y of every minterm; X implied by the row number
    // Values of the minimized functions on every minterm, set by the final comparison.
    FinalOutput expanded_final_output;

    std::vector<std::uint8_t> rest_values = std::vector<std::uint8_t>(kMaxOutputs, 0);
    bool rest_used = false;
    std::uint8_t rest_default = 0;

    std::vector<int> polarity;                     // 1 normal, 0 inverted, per output
    std::vector<int> out_related;                  // out_relation row 0
    std::vector<int> out_code;                     // out_relation row 1 (Relation)
    double expanded_literals = 0;

    TermTable final_terms;
    ProofOutcome cube_proof = ProofOutcome::not_run;
    // The reader met more inputs or outputs than the classic methods take.
    bool past_classic_limits = false;
    // QMC was chosen for a file wider than it takes, and CNS ran instead.
    bool qmc_replaced = false;

    int inputs() const { return xmax + 1; }
    int outputs() const { return ymax + 1; }
};

struct LiteralCounts {
    int x_literals = 0;
    int y_literals = 0;
    int product_terms = 0;
};

// Rows whose X part is all "-" are skipped; a row counts only when it feeds at least one output.
LiteralCounts count_literals(const TermTable& table);
LiteralCounts count_literals(const ExpandedTable& table);

}  // namespace vormel
