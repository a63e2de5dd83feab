#include "cover/cover_matrix.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "model/cube_text.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

int CoverMatrix::cell(int p, int k) const {
    const auto minterms = row(p);
    if (!std::binary_search(minterms.begin(), minterms.end(), k)) return 0;
    return active(p) && open(k) ? 1 : 255;
}

void CoverMatrix::flag_prime(int p) {
    if (prime_changed[p] == 0) {
        prime_changed[p] = -1;
        changed_primes.push_back(p);
    }
}

void CoverMatrix::flag_class(int c) {
    if (class_changed[c] == 0) {
        class_changed[c] = -1;
        changed_classes.push_back(c);
    }
}

void CoverMatrix::clear_prime_flags() {
    for (int p : changed_primes) prime_changed[p] = 0;
    changed_primes.clear();
}

void CoverMatrix::clear_minterm_flags() {
    for (int c : changed_classes) class_changed[c] = 0;
    changed_classes.clear();
}

void CoverMatrix::drop_cover(int k) {
    const int c = count[k];
    if (c < 0) return;
    --count_histogram[c];
    if (c == 0) {
        --open_minterms;
        --class_open[class_of[k]];
    } else {
        ++count_histogram[c - 1];
        if (c == 1) single_cover.push(k);
    }
    count[k] = c - 1;
}

void CoverMatrix::close(int k) {
    const int c = count[k];
    if (c < 0) return;
    --count_histogram[c];
    --open_minterms;
    --class_open[class_of[k]];
    count[k] = -1;
}

void CoverMatrix::reset_count_tracking() {
    count_histogram.assign(static_cast<std::size_t>(P + 2), 0);
    std::vector<int> singles;
    open_minterms = 0;
    class_open.assign(class_first.size(), 0);
    for (int k = 0; k <= K; ++k) {
        if (count[k] < 0) continue;
        ++count_histogram[count[k]];
        ++open_minterms;
        ++class_open[class_of[k]];
        if (count[k] == 0) singles.push_back(k);
    }
    single_cover = decltype(single_cover)(std::greater<int>(), std::move(singles));
}

int CoverMatrix::first_single_cover() {
    while (!single_cover.empty() && count[single_cover.top()] != 0) single_cover.pop();
    return single_cover.empty() ? -1 : single_cover.top();
}

int CoverMatrix::smallest_count() const {
    if (open_minterms == 0) return kNoOpenMinterm;
    for (std::size_t c = 0; c < count_histogram.size(); ++c) {
        if (count_histogram[c] > 0) return static_cast<int>(c);
    }
    return kNoOpenMinterm;
}

std::string CoverMatrix::prime_text(int p) const { return cube_text(primes->x(p), inputs); }

std::string CoverMatrix::minterm_text(int k) const {
    std::string text(static_cast<std::size_t>(inputs), '0');
    const int line = minterm_line[k];
    for (int i = 0; i < inputs; ++i) {
        if ((line >> (inputs - 1 - i)) & 1) text[i] = '1';
    }
    return text;
}

namespace {

// Minterm number of every expanded line, -1 for lines outside the set: a bit per line and a count
// per 64 lines, small enough to stay in cache while cubes are enumerated over a large table.
class LineRanks {
public:
    explicit LineRanks(int lines) : bits_((static_cast<std::size_t>(lines) + 63) / 64, 0) {}
    void add(int line) { bits_[static_cast<std::size_t>(line) >> 6] |= std::uint64_t{1} << (line & 63); }
    void count_up() {
        before_.resize(bits_.size());
        int total = 0;
        for (std::size_t w = 0; w < bits_.size(); ++w) {
            before_[w] = total;
            total += std::popcount(bits_[w]);
        }
    }
    int operator[](std::uint32_t line) const {
        const std::uint64_t word = bits_[line >> 6];
        const std::uint64_t bit = std::uint64_t{1} << (line & 63);
        if ((word & bit) == 0) return -1;
        return before_[line >> 6] + std::popcount(word & (bit - 1));
    }

private:
    std::vector<std::uint64_t> bits_;
    std::vector<int> before_;
};

std::uint64_t column_hash(std::span<const int> column) {
    std::uint64_t h = 1469598103934665603ull;
    for (int q : column) h = (h ^ static_cast<std::uint64_t>(q)) * 1099511628211ull;
    return h;
}

// The columns from the rows, one block of minterms at a time over all rows, so the scattered
// writes of a block stay in cache.
void transpose_rows(CoverMatrix& m) {
    constexpr int kBlock = 1 << 14;
    const std::size_t primes = static_cast<std::size_t>(m.P + 1);
    std::vector<std::int64_t> cursor(primes);
    const auto blocks = [&](auto visit) {
        std::copy_n(m.row_start.begin(), primes, cursor.begin());
        for (int k0 = 0; k0 <= m.K; k0 += kBlock) {
            const int k1 = std::min(m.K + 1, k0 + kBlock);
            for (int p = 0; p <= m.P; ++p) {
                std::int64_t i = cursor[p];
                const std::int64_t end = m.row_start[p + 1];
                for (; i < end && m.row_items[i] < k1; ++i) visit(p, m.row_items[i]);
                cursor[p] = i;
            }
        }
    };
    m.col_start.assign(static_cast<std::size_t>(m.K + 2), 0);
    blocks([&](int, int k) { ++m.col_start[k + 1]; });
    for (int k = 0; k <= m.K; ++k) m.col_start[k + 1] += m.col_start[k];
    m.col_items.resize(m.row_items.size());
    std::vector<std::int64_t> fill(m.col_start.begin(), m.col_start.end() - 1);
    blocks([&](int p, int k) { m.col_items[fill[k]++] = p; });
}

// Groups the minterms by equal columns; consecutive minterms often share one, so the previous
// minterm's class is tried before the hash.
void group_minterm_classes(CoverMatrix& m) {
    m.class_of.assign(static_cast<std::size_t>(m.K + 1), -1);
    m.class_first.clear();
    std::unordered_map<std::uint64_t, int> head;
    std::vector<int> chain;
    const auto same = [&](int c, std::span<const int> column) {
        const auto other = m.class_col(c);
        return std::equal(column.begin(), column.end(), other.begin(), other.end());
    };
    for (int k = 0; k <= m.K; ++k) {
        const auto column = m.col(k);
        if (k > 0 && same(m.class_of[k - 1], column)) {
            m.class_of[k] = m.class_of[k - 1];
            continue;
        }
        const std::uint64_t h = column_hash(column);
        const auto found = head.find(h);
        int c = -1;
        for (int d = found == head.end() ? -1 : found->second; d >= 0; d = chain[d]) {
            if (same(d, column)) {
                c = d;
                break;
            }
        }
        if (c < 0) {
            c = m.classes();
            m.class_first.push_back(k);
            chain.push_back(found == head.end() ? -1 : found->second);
            head[h] = c;
        }
        m.class_of[k] = c;
    }
    const int classes = m.classes();
    m.member_start.assign(static_cast<std::size_t>(classes + 1), 0);
    for (int k = 0; k <= m.K; ++k) ++m.member_start[m.class_of[k] + 1];
    for (int c = 0; c < classes; ++c) m.member_start[c + 1] += m.member_start[c];
    m.member_size.resize(static_cast<std::size_t>(classes));
    for (int c = 0; c < classes; ++c) m.member_size[c] = m.member_start[c + 1] - m.member_start[c];
    m.members.resize(static_cast<std::size_t>(m.K + 1));
    std::vector<int> fill(m.member_start.begin(), m.member_start.end() - 1);
    for (int k = 0; k <= m.K; ++k) m.members[fill[m.class_of[k]]++] = k;

    m.prime_class_start.assign(static_cast<std::size_t>(m.P + 2), 0);
    for (int c = 0; c < classes; ++c) {
        for (int p : m.class_col(c)) ++m.prime_class_start[p + 1];
    }
    for (int p = 0; p <= m.P; ++p) m.prime_class_start[p + 1] += m.prime_class_start[p];
    m.prime_classes.resize(static_cast<std::size_t>(m.prime_class_start[m.P + 1]));
    fill.assign(m.prime_class_start.begin(), m.prime_class_start.end() - 1);
    for (int c = 0; c < classes; ++c) {
        for (int p : m.class_col(c)) m.prime_classes[fill[p]++] = c;
    }
    m.class_open.assign(static_cast<std::size_t>(classes), 0);
    m.class_changed.assign(static_cast<std::size_t>(classes), 0);
}

}  // namespace

void fill_cover_matrix(RunContext& ctx, const Problem& problem, int j, int v, const TermTable& primes, int P,
                       CoverMatrix& matrix) {
    CoverMatrix& m = matrix;
    const int n = problem.inputs();
    const ExpandedTable& extab = problem.extab;
    m = CoverMatrix{};
    m.inputs = n;
    m.P = P;
    m.primes = &primes;

    LineRanks rank(extab.rows());
    for (int i = 0; i <= extab.last; ++i) {
        if (extab.y(i)[j] == v) {
            rank.add(i);
            m.minterm_line.push_back(i);
        }
    }
    rank.count_up();
    m.K = static_cast<int>(m.minterm_line.size()) - 1;
    ctx.diag.poll_progress(0);

    const std::uint32_t all = n >= 32 ? ~0u : (1u << n) - 1;
    m.literals.assign(static_cast<std::size_t>(P + 1), -1);
    m.row_start.assign(static_cast<std::size_t>(P + 2), 0);
    // Room for every row at once: growing the list would copy it again and again.
    std::int64_t bound = 0;
    for (int p = 0; p <= P; ++p) {
        const auto free_count = std::count(primes.x(p), primes.x(p) + n, kDash);
        bound += free_count < 31 ? std::min<std::int64_t>(std::int64_t{1} << free_count, m.K + 1) : m.K + 1;
    }
    m.row_items.reserve(static_cast<std::size_t>(bound));
    for (int p = 0; p <= P; ++p) {
        std::uint32_t care = 0;
        std::uint32_t value = 0;
        const std::uint8_t* cube = primes.x(p);
        for (int i = 0; i < n; ++i) {
            if (cube[i] == kDash) continue;
            const std::uint32_t bit = 1u << (n - 1 - i);
            care |= bit;
            if (cube[i] == kOne) value |= bit;
            ++m.literals[p];
        }
        const std::uint32_t free = all & ~care;
        const int free_count = std::popcount(free);
        if (free_count < 31 && (std::int64_t{1} << free_count) <= m.K + 1) {
            // The points of the cube in increasing order: the free bits count up.
            std::uint32_t s = 0;
            for (;;) {
                const int k = rank[value | s];
                if (k >= 0) m.row_items.push_back(k);
                if (s == free) break;
                s = ((s | ~free) + 1) & free;
            }
        } else {
            // A cube wider than the set (mostly don't cares): test the minterms instead.
            for (int k = 0; k <= m.K; ++k) {
                if ((static_cast<std::uint32_t>(m.minterm_line[k]) & care) == value) m.row_items.push_back(k);
            }
        }
        m.row_start[p + 1] = static_cast<std::int64_t>(m.row_items.size());
        ctx.diag.poll_progress(0);
    }

    transpose_rows(m);

    m.state.assign(static_cast<std::size_t>(P + 1), -2);
    m.essential.assign(static_cast<std::size_t>(P + 1), 0);
    m.row_open.assign(static_cast<std::size_t>(P + 1), 0);
    m.prime_changed.assign(static_cast<std::size_t>(P + 1), 0);
    m.count.assign(static_cast<std::size_t>(m.K + 1), -1);
    m.prime_shared.assign(static_cast<std::size_t>(P + 1), 0);
    m.prime_mark.assign(static_cast<std::size_t>(P + 1), 0);
    group_minterm_classes(m);
    ctx.diag.check_memory(0);
}

}  // namespace vormel
