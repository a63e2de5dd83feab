#include "primes/temp_dim.h"

#include <algorithm>

#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

int temp_DIM_last(RunContext& ctx, const Problem& problem, int current_last, int needed, std::string_view name,
                  int warning) {
    ctx.current_sub = "check_temp_DIM";
    if (current_last >= needed) {
        ctx.diag.check_memory(0);
        return current_last;
    }
    const int last = 2 * std::max(needed, problem.extab.last + 1) - 1;
    if (ctx.options.display_level == 4) {
        ctx.report.display_blank();
        ctx.report.flush_display(0);
        ctx.report.text_red(1);
        ctx.report.print_direct(" *** System Warning " + std::to_string(warning) + ": DIM of " + std::string(name) +
                                    " increased from " + TRIM(current_last) + " to " + TRIM(last) + " ...",
                                1);
    }
    ctx.diag.check_memory(0);
    ctx.diag.check_memory(0);
    return last;
}

void check_temp_DIM(RunContext& ctx, const Problem& problem, TermTable& table, int needed, std::string_view name) {
    const int last = temp_DIM_last(ctx, problem, table.capacity() - 1, needed, name, 6);
    table.reserve_rows(last + 1);
}

void check_temp_DIM(RunContext& ctx, const Problem& problem, std::vector<int>& list, int needed, std::string_view name) {
    const int last = temp_DIM_last(ctx, problem, static_cast<int>(list.size()) - 1, needed, name, 7);
    if (last + 1 > static_cast<int>(list.size())) list.resize(static_cast<std::size_t>(last) + 1, 0);
}

}  // namespace vormel
