#include "model/problem.h"

#include <tbb/blocked_range.h>

#include "report/run_threads.h"

namespace vormel {

namespace {
template <typename XAt, typename YRow>
void count_row(int nx, int ny, XAt x_at, YRow y, LiteralCounts& counts) {
    bool any_literal = false;
    for (int i = 0; i < nx && !any_literal; ++i) any_literal = x_at(i) != kDash;
    if (!any_literal) return;
    int y_literals = 0;
    for (int j = 0; j < ny; ++j) y_literals += y[j] != kDash;
    if (y_literals == 0) return;
    counts.y_literals += y_literals;
    for (int i = 0; i < nx; ++i) counts.x_literals += x_at(i) != kDash;
    ++counts.product_terms;
}
}  // namespace

LiteralCounts count_literals(const TermTable& table) {
    LiteralCounts counts;
    for (int r = 0; r <= table.last; ++r) {
        const std::uint8_t* x = table.x(r);
        count_row(table.nx, table.ny, [x](int i) { return x[i]; }, table.y(r), counts);
    }
    return counts;
}

LiteralCounts count_literals(const ExpandedTable& table) {
    // Millions of minterms at 20 inputs and more: counted in blocks on all threads.
    return threads::reduce(
        tbb::blocked_range<int>(0, table.last + 1, 1 << 14), LiteralCounts{},
        [&](const tbb::blocked_range<int>& rows, LiteralCounts counts) {
            for (int r = rows.begin(); r < rows.end(); ++r) {
                // Every X entry of a minterm is a literal.
                int y_literals = 0;
                const std::uint8_t* y = table.y(r);
                for (int j = 0; j < table.ny; ++j) y_literals += y[j] != kDash;
                if (y_literals == 0) continue;
                counts.y_literals += y_literals;
                counts.x_literals += table.nx;
                ++counts.product_terms;
            }
            return counts;
        },
        [](LiteralCounts a, const LiteralCounts& b) {
            a.x_literals += b.x_literals;
            a.y_literals += b.y_literals;
            a.product_terms += b.product_terms;
            return a;
        });
}

}  // namespace vormel
