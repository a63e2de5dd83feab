#pragma once
#include <array>
#include <string>

namespace vormel {

struct Problem;

// What a front end knows of one run besides the problem.
struct RunFacts {
    std::string file;
    bool saved = false;       // the run ended with its report files written
    std::string failure;      // why it did not, when it did not
    std::string method;       // "cns", "qmc", ...
    std::string polarity_mode;
    std::array<double, 5> step_seconds{};  // Expand, Primes, Cover, Bundle, Final; 0 when not run
    double total_seconds = 0;
};

// One file's entry of a summary: a JSON object whose scalar members come first, one a line, in the
// order file, status, proof, product_terms, literals, gates, gate_inputs, seconds; then the
// options, the step times and per output its polarity, terms and literals. The proof is checked
// here, against the expanded input, wherever Final Results produced the minimized values.
std::string summary_entry(const Problem& problem, const RunFacts& facts);

// The whole summary file around entries (each as summary_entry wrote it).
std::string summary_document(const std::string& entries_joined);

// A top-level scalar member of a summary entry as its JSON text (a string keeps its quotes), or ""
// when the entry has none.
std::string summary_field(const std::string& entry, const std::string& key);

// One JSON string literal.
std::string json_string(const std::string& text);

}  // namespace vormel
