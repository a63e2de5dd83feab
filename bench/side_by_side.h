#pragma once
#include <string>
#include <vector>

namespace vormel::bench {

// Whole-process figures of one program run: what the system accounted for the child.
struct ProcessFigures {
    double wall_seconds = 0;
    double cpu_seconds = 0;  // user + system
    long peak_kib = 0;
    int exit_status = -1;
};

// Runs argv[0] with argv (searched on PATH when it has no slash), output to /dev/null or to
// `stdout_path` when given; the input is /dev/null.
ProcessFigures run_process(const std::vector<std::string>& argv, const std::string& stdout_path = "");

struct SideBySideSettings {
    std::string vormelc;                 // path of the program under test
    std::vector<std::string> own_args;   // its options before the file
    std::string peer;                    // path of the peer program
    std::vector<std::string> peer_args;  // its options before the file
    int runs = 5;                        // counted runs of each, alternating, after one warm-up pair
};

struct SideBySideRow {
    std::string file;
    ProcessFigures own, peer;  // medians of each figure
    int own_terms = -1, peer_terms = -1;
    bool own_ok = false;
};

// Runs both programs in turn on `input` (A B A B ...), a copy in `work`, and reads each one's
// product terms from one more run (our JSON summary; the peer's ".p" line).
SideBySideRow compare_side_by_side(const std::string& input, const std::string& work,
                                   const SideBySideSettings& settings);

// Prints the per-file table and the sums; returns how many files failed for us.
int print_side_by_side(const std::vector<SideBySideRow>& rows);

// Splits a command-line fragment on blanks (no quoting: option lists only).
std::vector<std::string> split_words(const std::string& text);

}  // namespace vormel::bench
