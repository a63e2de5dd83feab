#include "model/show_polarity.h"

#include <algorithm>

#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

std::string polarity_digits(const std::vector<int>& polarity) {
    std::string digits;
    for (int p : polarity) digits += p == 0 ? '0' : '1';
    return digits;
}

std::string polarity_digits(const Problem& problem) {
    return polarity_digits(problem.polarity).substr(0, static_cast<std::size_t>(std::max(problem.outputs(), 0)));
}

void show_polarity(RunContext& ctx, const std::vector<int>& polarity) {
    ctx.window.set_polarity_line(" Polarity = " + polarity_digits(polarity));
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
