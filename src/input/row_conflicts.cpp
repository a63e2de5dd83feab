#include "input/row_conflicts.h"

#include <cstdint>
#include <string>
#include <vector>

#include "model/cube_text.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// A row as bit words: inputs with a literal and their values, outputs that say 1 and those that say 0.
struct RowBits {
    std::size_t in_words = 0;
    std::size_t out_words = 0;
    std::vector<std::uint64_t> bits;  // per row: care, value, ones, zeros

    RowBits(const TermTable& t) : in_words((static_cast<std::size_t>(t.nx) + 63) / 64), out_words((static_cast<std::size_t>(t.ny) + 63) / 64) {
        bits.assign(stride() * static_cast<std::size_t>(t.rows()), 0);
        for (int r = 0; r <= t.last; ++r) {
            std::uint64_t* row = bits.data() + stride() * static_cast<std::size_t>(r);
            for (int i = 0; i < t.nx; ++i) {
                const std::uint64_t bit = std::uint64_t{1} << (i & 63);
                if (t.x(r)[i] != kDash) row[i >> 6] |= bit;
                if (t.x(r)[i] == kOne) row[in_words + (i >> 6)] |= bit;
            }
            for (int j = 0; j < t.ny; ++j) {
                const std::uint64_t bit = std::uint64_t{1} << (j & 63);
                if (t.y(r)[j] == kOne) row[2 * in_words + (j >> 6)] |= bit;
                if (t.y(r)[j] == kZero) row[2 * in_words + out_words + (j >> 6)] |= bit;
            }
        }
    }
    std::size_t stride() const { return 2 * in_words + 2 * out_words; }
    const std::uint64_t* row(int r) const { return bits.data() + stride() * static_cast<std::size_t>(r); }

    bool conflict(int a, int b) const {
        const std::uint64_t* p = row(a);
        const std::uint64_t* q = row(b);
        bool opposite = false;
        for (std::size_t w = 0; w < out_words && !opposite; ++w) {
            const std::uint64_t* po = p + 2 * in_words;
            const std::uint64_t* qo = q + 2 * in_words;
            opposite = ((po[w] & qo[out_words + w]) | (po[out_words + w] & qo[w])) != 0;
        }
        if (!opposite) return false;
        for (std::size_t w = 0; w < in_words; ++w) {
            if ((p[w] & q[w] & (p[in_words + w] ^ q[in_words + w])) != 0) return false;  // no common point
        }
        return true;
    }
};

}  // namespace

bool rows_agree(RunContext& ctx, const Problem& problem) {
    const bool boolean_input = problem.input_type == "BOOLEAN";
    if (boolean_input || (problem.input_ext == "pla" && problem.pla_type == "FD")) return true;
    const TermTable& in = problem.intab;
    const RowBits rows(in);
    for (int b = 1; b <= in.last; ++b) {
        if (b % 64 == 0) ctx.diag.poll_progress(0);
        for (int a = 0; a < b; ++a) {
            if (!rows.conflict(a, b)) continue;
            ctx.diag.show_error("Entry line:             " + cube_text(in.x(b), in.nx) + " " + cube_text(in.y(b), in.ny), 9);
            ctx.diag.show_error("     in conflict with entry line:     " + cube_text(in.x(a), in.nx) + " " +
                                    cube_text(in.y(a), in.ny),
                                0);
            return false;
        }
    }
    return true;
}

}  // namespace vormel
