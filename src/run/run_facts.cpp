#include "run/run_facts.h"

#include "run/headless_window.h"
#include "run/session.h"

namespace vormel {

const char* method_word(int method) {
    switch (method) {
        case method_qmc: return "qmc";
        case method_shared: return "shared";
        case method_exact: return "exact";
        default: return "cns";
    }
}

const char* polarity_word(int mode) {
    switch (mode) {
        case polarity_zero_set: return "0";
        case polarity_automatic: return "auto";
        case polarity_combination: return "comb";
        default: return "1";
    }
}

RunFacts option_facts(const RunOptions& run, bool imported) {
    RunFacts facts;
    facts.method = method_word(run.prime_method);
    facts.polarity_mode = polarity_word(run.polarity_mode);
    facts.display_level = run.display_level;
    facts.rolexa_iterations = run.rolexa_iterations;
    facts.threads = run.threads;
    facts.imported = imported;
    facts.exact_limit_seconds = run.exact_limit_seconds;
    facts.exact = run.prime_method == method_exact;
    return facts;
}

RunFacts run_facts(const Session& session, const HeadlessWindow& window, bool imported, const std::string& failure) {
    const RunContext& ctx = session.ctx;
    RunFacts facts = option_facts(ctx.options, imported);
    facts.file = ctx.input_file;
    facts.saved = session.report_saved;
    facts.failure = failure;
    facts.exact_proven = session.engine.proven;
    facts.exact_lower_bound = session.engine.lower_bound;
    facts.step_seconds = window.step_seconds();
    for (double seconds : facts.step_seconds) facts.total_seconds += seconds;
    return facts;
}

}  // namespace vormel
