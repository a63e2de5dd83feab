#include "primes/prime_passes.h"

#include "model/problem.h"
#include "model/show_polarity.h"
#include "report/run_context.h"

namespace vormel {

int prepare_polarity_passes(RunContext& ctx, Problem& problem) {
    const int mode = ctx.options.polarity_mode;
    if (mode == polarity_zero_set || mode == polarity_one_set) {
        problem.polarity.assign(static_cast<std::size_t>(problem.outputs()), mode);
        show_polarity(ctx, problem, true);
        return 1;
    }
    show_polarity(ctx, problem, false);
    return 2;
}

int pass_value(const Problem& problem, int passes, int pass, int output) {
    return passes == 1 ? problem.polarity[static_cast<std::size_t>(output)] : pass;
}

std::vector<Cube> output_set(const Problem& problem, int output, int value) {
    const ExpandedTable& extab = problem.extab;
    const int inputs = problem.inputs();
    std::vector<Cube> set;
    const std::uint8_t* y = extab.ys.data() + output;
    for (int r = 0; r <= extab.last; ++r, y += extab.ny) {
        if (*y == value || *y == kDash) set.push_back(minterm_cube(inputs, static_cast<std::uint32_t>(r)));
    }
    return set;
}

}  // namespace vormel
