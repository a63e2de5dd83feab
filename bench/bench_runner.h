#pragma once
#include <string>
#include <vector>

namespace vormel::bench {

struct RunSettings {
    int until_step = 5;  // 1 Expand .. 5 Final Results (and the save)
    int level = 0;
    int polarity_mode = 1;
    int prime_method = 1;
    int rolexa = 1;
    double exact_limit_seconds = 60;
    int threads = 0;  // 0: one per core
    bool import_pla = false;  // read the files in the common PLA dialect of other tools
};

// Figures of one run of one file, measured in a child process.
struct RunFigures {
    double step_seconds[6] = {0, 0, 0, 0, 0, 0};  // index 1..5
    double total_seconds = 0;
    long peak_kib = 0;
    int primes = -1;
    int product_terms = -1;
    int x_literals = -1;
    int y_literals = -1;
    bool ok = false;     // every step asked for ended without error
    std::string failure;
};

RunFigures run_file_in_child(const std::string& input, const RunSettings& settings);
// Median of each figure over the runs (ok only when every run was ok).
RunFigures median_of(const std::vector<RunFigures>& runs);

struct ThroughputFigures {
    double report_seconds = 0;
    double fwrite_seconds = 0;
    long report_peak_kib = 0;
    double report_bytes = 0;
};
// Pushes `lines` report lines of `width` characters through display_text and saves the .rpt, in a
// child; compares with writing the same bytes with one fwrite.
ThroughputFigures measure_report_throughput(const std::string& folder, int lines, int width);

}  // namespace vormel::bench
