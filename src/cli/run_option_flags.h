#pragma once
namespace CLI {
class App;
}

namespace vormel {

// The run options that vormelc and vormel_bench share, with one help text and one check each.

// --polarity 1|0|auto|comb into a polarity mode.
void add_polarity_option(CLI::App& app, int& polarity_mode);
// --method qmc|cns|shared|exact into a prime method, and --exact-limit SECONDS for the exact method.
void add_method_options(CLI::App& app, int& prime_method, double& exact_limit_seconds);
// --threads N: worker threads of a run (0, the default, one per core).
void add_threads_option(CLI::App& app, int& threads);

}  // namespace vormel
