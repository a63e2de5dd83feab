#include "input/output_analysis.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include <tbb/blocked_range.h>

#include "input/table_access.h"
#include "model/problem.h"
#include "report/run_context.h"
#include "report/run_threads.h"

namespace vormel {

void ensure_out_relation(Problem& problem) {
    const auto outputs = static_cast<std::size_t>(problem.outputs());
    if (problem.out_related.size() < outputs) problem.out_related.resize(outputs, -1);
    if (problem.out_code.size() < outputs) problem.out_code.resize(outputs, relation_ordinary);
}

namespace {

int polarity_of(const Problem& problem, int output) {
    return output < static_cast<int>(problem.polarity.size()) ? problem.polarity[output] : 1;
}

template <typename Table>
void mark_constants(RunContext& ctx, Problem& problem, const Table& table) {
    ctx.current_sub = "find_constant_functions";
    ensure_out_relation(problem);
    const int nx = problem.inputs();
    const int ny = problem.outputs();
    std::vector<char> specified(static_cast<std::size_t>(ny), 0);
    for (int r = 0; r <= table.last; ++r) {
        ctx.diag.poll_progress(0);
        const std::uint8_t* y = table.y(r);
        bool no_literal = true;
        for (int i = 0; i < nx && no_literal; ++i) no_literal = x_value(table, r, i) == kDash;
        for (int j = 0; j < ny; ++j) {
            if (y[j] == kDash) continue;
            specified[j] = 1;
            if (no_literal) {
                problem.out_related[j] = j;
                problem.out_code[j] = y[j];
            }
        }
    }
    for (int j = 0; j < ny; ++j) {
        if (specified[j]) continue;
        problem.out_related[j] = j;
        problem.out_code[j] = polarity_of(problem, j) + 2;
    }
}

struct Likeness {
    bool identical = true;
    bool inverse = true;
};

// Compares the columns of outputs i and k row by row up to row last, stopping once neither
// relation can hold.
template <typename Table>
Likeness compare_columns(const Table& table, int i, int k, int last) {
    Likeness like;
    for (int r = 0; r <= last; ++r) {
        const std::uint8_t* y = table.y(r);
        const std::uint8_t a = y[i];
        const std::uint8_t b = y[k];
        if (a == kDash && b == kDash) continue;
        if (a == b) {
            like.inverse = false;
            if (!like.identical) break;
        } else if (a == kDash || b == kDash) {
            like = {false, false};
            break;
        } else {
            like.identical = false;
            if (!like.inverse) break;
        }
    }
    return like;
}

// Every output's column as bits: where it is specified and its value there. Outputs that are
// "-" together and equal elsewhere are identical; "-" together and unequal elsewhere, inverse. A
// wide table's columns are mostly compared to their end, so they are compared a word at a time.
struct ColumnBits {
    std::size_t words = 0;
    std::vector<std::uint64_t> care;   // output j: words [j * words, (j + 1) * words)
    std::vector<std::uint64_t> value;
    bool binary = true;  // only 0, 1 and "-" met

    const std::uint64_t* care_of(int j) const { return care.data() + static_cast<std::size_t>(j) * words; }
    const std::uint64_t* value_of(int j) const { return value.data() + static_cast<std::size_t>(j) * words; }

    Likeness compare(int i, int k) const {
        Likeness like;
        const std::uint64_t* ci = care_of(i);
        const std::uint64_t* ck = care_of(k);
        const std::uint64_t* vi = value_of(i);
        const std::uint64_t* vk = value_of(k);
        for (std::size_t w = 0; w < words && (like.identical || like.inverse); ++w) {
            if (ci[w] != ck[w]) return {false, false};
            const std::uint64_t differ = vi[w] ^ vk[w];
            like.identical = like.identical && differ == 0;
            like.inverse = like.inverse && differ == ci[w];
        }
        return like;
    }
};

template <typename Table>
ColumnBits column_bits(const Table& table, int ny) {
    ColumnBits bits;
    const std::size_t rows = static_cast<std::size_t>(table.last + 1);
    bits.words = (rows + 63) / 64;
    bits.care.assign(bits.words * static_cast<std::size_t>(ny), 0);
    bits.value.assign(bits.words * static_cast<std::size_t>(ny), 0);
    std::atomic<bool> binary{true};
    // Eight outputs at a time keep their bits in registers while the 64 rows of a word go by.
    threads::for_each_range(tbb::blocked_range<std::size_t>(0, bits.words, 256), [&](const tbb::blocked_range<std::size_t>& range) {
        unsigned odd = 0;  // values other than 0, 1 and "-"
        for (std::size_t w = range.begin(); w < range.end(); ++w) {
            const std::size_t end = std::min(rows, (w + 1) * 64);
            for (int j0 = 0; j0 < ny; j0 += 8) {
                const int width = std::min(8, ny - j0);
                std::uint64_t care[8] = {};
                std::uint64_t value[8] = {};
                for (std::size_t r = w * 64; r < end; ++r) {
                    const std::uint8_t* y = table.y(static_cast<int>(r)) + j0;
                    const unsigned shift = static_cast<unsigned>(r % 64);
                    const auto take = [&](int t) {
                        odd |= static_cast<unsigned>(y[t] > kDash);
                        care[t] |= static_cast<std::uint64_t>(y[t] != kDash) << shift;
                        value[t] |= static_cast<std::uint64_t>(y[t] == kOne) << shift;
                    };
                    if (width == 8) {
                        for (int t = 0; t < 8; ++t) take(t);
                    } else {
                        for (int t = 0; t < width; ++t) take(t);
                    }
                }
                for (int t = 0; t < width; ++t) {
                    bits.care[static_cast<std::size_t>(j0 + t) * bits.words + w] = care[t];
                    bits.value[static_cast<std::size_t>(j0 + t) * bits.words + w] = value[t];
                }
            }
        }
        if (odd != 0) binary = false;
    });
    bits.binary = binary;
    return bits;
}

template <typename Table>
void mark_equals(RunContext& ctx, Problem& problem, const Table& table) {
    ctx.current_sub = "find_equal_functions";
    ensure_out_relation(problem);
    // Most pairs differ within their first rows. The few that do not are compared row by row; when
    // there are many (outputs with the same don't cares), all columns are made into bits once.
    constexpr int kFirstRows = 4096;
    // The final output's rows are made as they are read: its columns become bits at once.
    constexpr int kLongComparesByRows = std::is_same_v<Table, FinalOutput> ? 0 : 8;
    int long_compares = 0;
    std::optional<ColumnBits> columns;
    for (int i = 1; i < problem.outputs(); ++i) {
        if (problem.out_code[i] != relation_ordinary) continue;
        for (int k = 0; k < i; ++k) {
            if (problem.out_code[k] > relation_const1) continue;
            ctx.diag.poll_progress(0);
            Likeness like = compare_columns(table, i, k, std::min(table.last, kFirstRows - 1));
            if ((like.identical || like.inverse) && table.last >= kFirstRows) {
                if (!columns && ++long_compares > kLongComparesByRows) columns = column_bits(table, problem.outputs());
                like = columns && columns->binary ? columns->compare(i, k) : compare_columns(table, i, k, table.last);
            }
            if (like.identical) {
                problem.out_related[i] = k;
                problem.out_code[i] = relation_identical;
            } else if (like.inverse) {
                problem.out_related[i] = k;
                problem.out_code[i] = relation_inverse;
            }
        }
    }
}

}  // namespace

void find_constant_functions(RunContext& ctx, Problem& problem, const TermTable& table) {
    mark_constants(ctx, problem, table);
}
void find_constant_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table) {
    mark_constants(ctx, problem, table);
}
void find_constant_functions(RunContext& ctx, Problem& problem, const FinalOutput& table) {
    mark_constants(ctx, problem, table);
}
void find_equal_functions(RunContext& ctx, Problem& problem, const TermTable& table) {
    mark_equals(ctx, problem, table);
}
void find_equal_functions(RunContext& ctx, Problem& problem, const ExpandedTable& table) {
    mark_equals(ctx, problem, table);
}
void find_equal_functions(RunContext& ctx, Problem& problem, const FinalOutput& table) {
    mark_equals(ctx, problem, table);
}

}  // namespace vormel
