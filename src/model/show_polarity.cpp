#include "model/show_polarity.h"

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

std::string polarity_digits(const Problem& problem) {
    std::string digits;
    for (int j = 0; j < problem.outputs() && j < static_cast<int>(problem.polarity.size()); ++j) {
        digits += problem.polarity[j] == 0 ? '0' : '1';
    }
    return digits;
}

void show_polarity(RunContext& ctx, const Problem& problem, bool with_digits) {
    if (with_digits) {
        ctx.window.set_polarity_line(" Polarity = " + polarity_digits(problem));
    } else if (ctx.options.polarity_mode == polarity_automatic) {
        ctx.window.set_polarity_line(" Both Polarities for Automatic choice ");
    } else if (ctx.options.polarity_mode == polarity_combination) {
        ctx.window.set_polarity_line(" Both Polarities for best choice from all Combinations ");
    } else {
        ctx.window.set_polarity_line("");
    }
}

}  // namespace vormel
