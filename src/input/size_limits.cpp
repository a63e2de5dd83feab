#include "input/size_limits.h"

#include <string>

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

SizeLimits size_limits(int prime_method) {
    if (cube_engine(prime_method)) return {kMaxCubeInputs, kMaxCubeOutputs};
    return {kMaxInputs, kMaxOutputs};
}

bool refuse_count(RunContext& ctx, Problem& problem, bool inputs, std::string_view count_text) {
    if (cube_engine(ctx.options.prime_method)) {
        // The numbered texts name the classic limits; the cube methods' own go in a text of their own.
        ctx.diag.show_error("Number of " + std::string(count_text) + " is larger than the allowed maximum of " +
                                std::to_string(inputs ? kMaxCubeInputs : kMaxCubeOutputs),
                            9);
        return false;
    }
    ctx.diag.show_error(count_text, inputs ? 2 : 3);
    point_to_cube_methods(ctx, problem);
    return false;
}

void point_to_cube_methods(RunContext& ctx, Problem& problem) {
    problem.past_classic_limits = true;
    ctx.report.text_red(1);
    ctx.report.display_text(" *** QMC and Consensus expand every minterm (at most 22 inputs and 100 outputs): "
                            "choose the method Shared (--method shared) or Exact, which work on cubes at any width.",
                            1);
    ctx.report.flush_display(0);
}

bool expands_minterms(int prime_method, int inputs) {
    return !cube_engine(prime_method) || inputs <= kMaxShownExpansionInputs;
}

}  // namespace vormel
