#include "primes/temp_dim.h"

#include <algorithm>

#include "model/problem.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {
int grown_last(const Problem& problem, int needed) { return 2 * std::max(needed, problem.extab.last + 1) - 1; }

void announce(RunContext& ctx, int warning, std::string_view name, int from, int to) {
    if (ctx.options.display_level != 4) return;
    ctx.report.display_blank();
    ctx.report.flush_display(0);
    ctx.report.text_red(1);
    ctx.report.print_direct(" *** System Warning " + std::to_string(warning) + ": DIM of " + std::string(name) +
                                " increased from " + TRIM(from) + " to " + TRIM(to) + " ...",
                            1);
}
}  // namespace

void check_temp_DIM(RunContext& ctx, const Problem& problem, TermTable& table, int needed, std::string_view name) {
    ctx.current_sub = "check_temp_DIM";
    const int current = table.capacity() - 1;
    if (current >= needed) {
        ctx.diag.check_memory(0);
        return;
    }
    const int last = grown_last(problem, needed);
    table.reserve_rows(last + 1);
    announce(ctx, 6, name, current, last);
    ctx.diag.check_memory(0);
    ctx.diag.check_memory(0);
}

void check_temp_DIM(RunContext& ctx, const Problem& problem, std::vector<int>& list, int needed, std::string_view name) {
    ctx.current_sub = "check_temp_DIM";
    const int current = static_cast<int>(list.size()) - 1;
    if (current >= needed) {
        ctx.diag.check_memory(0);
        return;
    }
    const int last = grown_last(problem, needed);
    list.resize(static_cast<std::size_t>(last) + 1, 0);
    announce(ctx, 7, name, current, last);
    ctx.diag.check_memory(0);
    ctx.diag.check_memory(0);
}

}  // namespace vormel
