#pragma once
#include <array>
#include <string>

namespace vormel {

struct Problem;

// The summary's layout; docs/summary.md describes every field of this version.
inline constexpr int kSummarySchemaVersion = 2;

// What a front end knows of one run besides the problem.
struct RunFacts {
    std::string file;
    bool saved = false;       // the run ended with its report files written
    std::string failure;      // why it did not, when it did not
    // The run's options.
    std::string method;       // "cns", "qmc", ...
    std::string polarity_mode;
    int display_level = 0;
    int rolexa_iterations = 0;
    int threads = 0;
    bool imported = false;
    double exact_limit_seconds = 0;
    // The exact method's result: the minimum is proven, else no cover has fewer terms than lower_bound.
    bool exact = false;
    bool exact_proven = false;
    int exact_lower_bound = 0;
    std::array<double, 5> step_seconds{};  // Expand, Primes, Cover, Bundle, Final; 0 when not run
    double total_seconds = 0;
};

// One file's entry of a summary: a JSON object whose scalar members come first, one a line, in the
// order file, file_hex, status, failure, proof, product_terms, input_literals, output_literals,
// gates, gate_inputs, seconds, inputs, outputs; then the exact method's bound, the options, the
// step times and per output its relation, polarity, terms and literals. The proof is checked here,
// against the expanded input, wherever Final Results produced the minimized values.
std::string summary_entry(const Problem& problem, const RunFacts& facts);

// The whole summary file around entries (each as summary_entry wrote it).
std::string summary_document(const std::string& entries_joined);

// A top-level scalar member of a summary entry as its JSON text (a string keeps its quotes), or ""
// when the entry has none.
std::string summary_field(const std::string& entry, const std::string& key);

// One JSON string literal. Bytes that are no part of a valid UTF-8 character are written as
// \u00XX, the character of that byte in Latin-1, so the text is valid JSON whatever it holds.
std::string json_string(const std::string& text);

}  // namespace vormel
