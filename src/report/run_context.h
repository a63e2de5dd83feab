#pragma once
#include <atomic>
#include <optional>
#include <string>

#include "report/clock.h"
#include "report/diagnostics.h"
#include "report/memory_status.h"
#include "report/report_channel.h"
#include "report/run_window.h"
#include "report/work_area.h"

namespace vormel {

enum PolarityMode : int { polarity_zero_set = 0, polarity_one_set = 1, polarity_automatic = 2, polarity_combination = 3 };
// QMC and CNS are the classic per-output pipeline; shared and exact minimize all outputs together on cubes.
enum PrimeMethod : int { method_qmc = 0, method_cns = 1, method_shared = 2, method_exact = 3 };

inline bool cube_engine(int prime_method) { return prime_method == method_shared || prime_method == method_exact; }

// The front ends accept an exact-method time limit above 0 and up to a day (NaN fails both tests).
inline constexpr double max_exact_limit_seconds = 86400;
inline bool valid_exact_limit(double seconds) { return seconds > 0 && seconds <= max_exact_limit_seconds; }

struct RunOptions {
    int display_level = 1;      // 0 minimum .. 4 details
    int polarity_mode = polarity_one_set;
    int prime_method = method_cns;
    int rolexa_iterations = 1;  // 0 .. 9999
    int page_by_page = 1;
    double exact_limit_seconds = 60;  // the exact method's time limit
    int threads = 0;  // worker threads of a run (at most, and for 0, one per core); results never depend on it
};

// What one run keeps besides the problem: options, state, the report channel and the diagnostics.
// Steps take it by reference and signal failure only through error_flag (and error_count).
struct RunContext {
    RunContext(WorkArea& area, RunWindow& win, Clock clk = monotonic_seconds,
               MemoryProbe probe = read_memory_status)
        : work_area(area), window(win), clock(std::move(clk)), memory_probe(std::move(probe)),
          report(*this), diag(*this) {}
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    WorkArea& work_area;
    RunWindow& window;
    Clock clock;
    MemoryProbe memory_probe;

    RunOptions options;
    int run_state = 1;
    int error_flag = 0;   // -1: the run ends after the current step
    int error_count = 0;  // numbered input errors of this run
    int auto_run = 0;
    std::string input_file;
    // The text is our .pla form whatever the file's name says (an import: the dialect is the content).
    bool read_as_pla = false;
    // The input file's text as the front end loaded it (Open, Re-Start, command line): the run parses
    // this text, not the file again, so a file replaced meanwhile cannot split echo and results.
    std::optional<std::string> input_text;
    std::string report_file;
    std::string current_sub;
    // Lets Bundle Optimization print its statistical-search heading once per run.
    int bundle_heading_pending = -1;
    // Set by a front end (any thread) to stop a running cube-engine phase; cleared when a run starts.
    std::atomic<bool> stop_requested{false};
    // A library caller's own stop flag, read like stop_requested (never cleared by the run).
    const std::atomic<bool>* caller_stop = nullptr;
    bool stop_asked() const {
        return stop_requested.load(std::memory_order_relaxed) ||
               (caller_stop && caller_stop->load(std::memory_order_relaxed));
    }

    ReportChannel report;
    Diagnostics diag;

    bool failed() const { return error_flag != 0; }
    int level() const { return options.display_level; }
};

// The version label, defined once: " " + version + " ".
std::string version_text();
std::string version_label();

}  // namespace vormel
