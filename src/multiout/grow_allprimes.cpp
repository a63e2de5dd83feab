#include <cmath>

#include "model/problem.h"
#include "multiout/polarity_work.h"
#include "primes/prime_store.h"
#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

void grow_allprimes(RunContext& ctx, const Problem& problem, PrimeStore& store) {
    ctx.current_sub = "grow_allprimes";
    const int old_capacity = store.capacity();
    const int new_capacity = (old_capacity + 1) * 2 - 1;
    const double size = static_cast<double>(new_capacity + 1) * problem.inputs() * 2 * problem.outputs();
    if (std::log2(size) > 30) {
        ctx.report.display_blank();
        ctx.report.flush_display(0);
        ctx.report.text_red(1);
        ctx.report.display_text(" *** System Warning 1: DIM for allprimes =" + STR(size) + "/" + STR(1073741824.0) +
                                    " which may cause swapping to disk. Continue?",
                                1);
        ctx.report.ask_reset();
        if (ctx.failed()) return;
    }
    store.set_capacity(new_capacity);
    ctx.diag.check_memory(0);
    if (ctx.level() > 3) {
        ctx.report.display_blank();
        ctx.report.flush_display(0);
        ctx.report.text_red(1);
        ctx.report.print_direct(" *** System Warning 8: DIM of allprimes(2) increased from " + TRIM(old_capacity) + " to " +
                                    TRIM(new_capacity) + " ...",
                                1);
    }
}

}  // namespace vormel
