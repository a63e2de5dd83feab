#include "run/run_failure.h"

#include <fmt/format.h>

#include "run/headless_window.h"
#include "minimize/polarity_choice.h"
#include "run/session.h"

namespace vormel {

namespace {

// The cube engines refuse Combination above this many outputs; the run then ends without a
// numbered error, so the limit is named here.
std::string combination_limit(const Session& session) {
    const RunContext& ctx = session.ctx;
    const bool cubes = ctx.options.prime_method == method_shared || ctx.options.prime_method == method_exact;
    const int outputs = session.problem.outputs();
    if (!cubes || ctx.options.polarity_mode != polarity_combination || outputs <= minimize::kMaxCombinationOutputs) {
        return {};
    }
    return fmt::format("Combination of all polarities is limited to {} outputs with --method shared and exact; this "
                       "problem has {}: use --polarity auto",
                       minimize::kMaxCombinationOutputs, outputs);
}

std::string without_leading_blanks(const std::string& text) {
    const auto start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string run_failure(const Session& session, const HeadlessWindow& window) {
    if (const std::string& failure = session.ctx.diag.run_failure(); !failure.empty()) return failure;
    if (std::string limit = combination_limit(session); !limit.empty()) return limit;
    for (const std::string* text : {&window.last_message(), &window.step_failure(), &window.status_line()}) {
        if (std::string line = without_leading_blanks(*text); !line.empty()) return line;
    }
    return "the run ended without its report files";
}

}  // namespace vormel
