#pragma once
#include <memory>

#include "model/problem.h"
#include "primes/prime_store.h"
#include "report/run_context.h"
#include "run/cube_engine.h"

namespace vormel {

// Everything the program keeps for runs on one input: the run context (options, state, report,
// diagnostics), the problem and the prime store. No globals: sessions can live side by side.
struct Session {
    Session(WorkArea& area, RunWindow& window, Clock clock = monotonic_seconds, MemoryProbe probe = read_memory_status)
        : ctx(area, window, std::move(clock), std::move(probe)) {}

    RunContext ctx;
    Problem problem;
    PrimeStore primes;
    CubeEngineState engine;  // methods shared and exact
    // The narrowest cube width class the cube engines may use (tests run narrow functions wider).
    int min_cube_class = 0;
    // The query box was closed through its own close button during this run.
    bool query_closed = false;
    // The report files are written at the end of a run; a library caller keeps the report in memory.
    bool save_report_files = true;
    // The last run ended with its report complete: its files written, or kept when not saved to files.
    bool report_saved = false;
};

}  // namespace vormel
