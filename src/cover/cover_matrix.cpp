#include "cover/cover_matrix.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <unordered_map>

#include "model/cube_text.h"
#include "model/expanded_bits.h"
#include "primes/cube_mask.h"
#include "report/run_context.h"

namespace vormel {

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
    explicit LineRanks(std::span<const std::uint64_t> bits) : bits_(bits), before_(bits.size()) {
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
    std::span<const std::uint64_t> bits_;
    std::vector<int> before_;
};

std::uint64_t column_hash(std::span<const int> column) {
    std::uint64_t h = 1469598103934665603ull;
    for (int q : column) h = (h ^ static_cast<std::uint64_t>(q)) * 1099511628211ull;
    return h;
}

// The points of one prime in the set, in increasing order, taken a block of minterms at a time.
class PrimePoints {
public:
    PrimePoints(const std::uint8_t* cube, int inputs, int minterms) {
        const Cube masks = cube_from_bytes(cube, inputs);
        care_ = masks.care;
        value_ = masks.value;
        free_ = all_inputs(inputs) & ~care_;
        const int free_count = std::popcount(free_);
        // A cube wider than the set (mostly don't cares) tests the minterms instead.
        by_minterm_ = !(free_count < 31 && (std::int64_t{1} << free_count) <= minterms);
    }
    // An upper bound of the points in the set.
    std::int64_t most_points(int minterms) const {
        return by_minterm_ ? minterms : std::min<std::int64_t>(std::int64_t{1} << std::popcount(free_), minterms);
    }
    // Visits the points below minterm `end` (whose line is `end_line`) not visited yet.
    template <typename Visit>
    void visit_until(const CoverMatrix& m, const LineRanks& rank, int end, std::int64_t end_line, Visit visit) {
        if (by_minterm_) {
            for (; next_minterm_ < end; ++next_minterm_) {
                if ((static_cast<std::uint32_t>(m.minterm_line[next_minterm_]) & care_) == value_) visit(next_minterm_);
            }
            return;
        }
        while (!done_ && static_cast<std::int64_t>(value_ | subset_) < end_line) {
            const int k = rank[value_ | subset_];
            if (k >= 0) visit(k);
            if (subset_ == free_) done_ = true;
            else subset_ = ((subset_ | ~free_) + 1) & free_;
        }
    }

private:
    std::uint32_t care_ = 0;
    std::uint32_t value_ = 0;
    std::uint32_t free_ = 0;
    bool by_minterm_ = false;
    std::uint32_t subset_ = 0;
    int next_minterm_ = 0;
    bool done_ = false;
};

// Every minterm's column (the primes covering it, ascending), built one block of minterms at a
// time: the points of all primes in the block, then sorted by minterm within the block, so the
// scattered writes stay in cache and no list per prime is needed.
struct MintermColumns {
    std::vector<std::int64_t> start;
    std::vector<int> items;
    std::span<const int> col(int k) const {
        return {items.data() + start[k], static_cast<std::size_t>(start[k + 1] - start[k])};
    }
};

MintermColumns minterm_columns(RunContext& ctx, const CoverMatrix& m, const LineRanks& rank,
                               std::vector<PrimePoints>& points, std::int64_t bound) {
    constexpr int kBlock = 1 << 14;
    MintermColumns columns;
    columns.start.assign(static_cast<std::size_t>(m.K + 2), 0);
    // Address space for every point at once, up to 1 GB: pages are only taken as they are written.
    columns.items.reserve(static_cast<std::size_t>(std::min<std::int64_t>(bound, std::int64_t{1} << 28)));
    std::vector<int> block_primes;
    std::vector<int> block_minterms;
    std::vector<std::int64_t> cursor(kBlock);
    for (int k0 = 0; k0 <= m.K; k0 += kBlock) {
        const int k1 = std::min(m.K + 1, k0 + kBlock);
        const std::int64_t end_line = k1 <= m.K ? m.minterm_line[k1] : std::numeric_limits<std::int64_t>::max();
        block_primes.clear();
        block_minterms.clear();
        for (int p = 0; p <= m.P; ++p) {
            points[p].visit_until(m, rank, k1, end_line, [&](int k) {
                block_primes.push_back(p);
                block_minterms.push_back(k);
                ++columns.start[k + 1];
            });
            if ((p & 1023) == 1023) ctx.diag.poll_progress(0);
        }
        for (int k = k0; k < k1; ++k) {
            columns.start[k + 1] += columns.start[k];
            cursor[k - k0] = columns.start[k];
        }
        columns.items.resize(static_cast<std::size_t>(columns.start[k1]));
        for (std::size_t i = 0; i < block_primes.size(); ++i) {
            columns.items[cursor[block_minterms[i] - k0]++] = block_primes[i];
        }
        ctx.diag.poll_progress(0);
    }
    return columns;
}

// Groups the minterms by equal columns; consecutive minterms often share one, so the previous
// minterm's class is tried before the hash. The columns become the classes' columns.
void group_minterm_classes(CoverMatrix& m, MintermColumns columns) {
    m.class_of.assign(static_cast<std::size_t>(m.K + 1), -1);
    m.class_first.clear();
    std::unordered_map<std::uint64_t, int> head;
    std::vector<int> chain;
    const auto same = [&](int c, std::span<const int> column) {
        const auto other = columns.col(m.class_first[c]);
        return std::equal(column.begin(), column.end(), other.begin(), other.end());
    };
    for (int k = 0; k <= m.K; ++k) {
        const auto column = columns.col(k);
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
    head = std::unordered_map<std::uint64_t, int>();
    chain = std::vector<int>();
    const int classes = m.classes();

    // Each class's column moves forward over the columns of the minterms before its first one,
    // which never overlap what is still to be read.
    m.class_col_start.resize(static_cast<std::size_t>(classes + 1));
    std::int64_t kept = 0;
    for (int c = 0; c < classes; ++c) {
        const int first = m.class_first[c];
        const auto column = columns.col(first);
        m.class_col_start[c] = kept;
        if (kept != columns.start[first]) std::copy(column.begin(), column.end(), columns.items.begin() + kept);
        kept += static_cast<std::int64_t>(column.size());
    }
    m.class_col_start[classes] = kept;
    columns.items.resize(static_cast<std::size_t>(kept));
    columns.items.shrink_to_fit();
    m.class_col_items = std::move(columns.items);
    columns = MintermColumns();

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

void fill_cover_matrix(RunContext& ctx, const ExpandedBits& extab, int n, int j, int v, const TermTable& primes, int P,
                       CoverMatrix& matrix) {
    CoverMatrix& m = matrix;
    m = CoverMatrix{};
    m.inputs = n;
    m.P = P;
    m.primes = &primes;

    const auto lines = extab.lines_of(j, v);
    const LineRanks rank(lines);
    m.minterm_line.reserve(static_cast<std::size_t>(extab.count(j, v)));
    for (std::size_t w = 0; w < lines.size(); ++w) {
        for (std::uint64_t word = lines[w]; word != 0; word &= word - 1) {
            m.minterm_line.push_back(static_cast<int>(w * 64) + std::countr_zero(word));
        }
    }
    m.K = static_cast<int>(m.minterm_line.size()) - 1;
    ctx.diag.poll_progress(0);

    m.literals.assign(static_cast<std::size_t>(P + 1), -1);
    std::vector<PrimePoints> points;
    points.reserve(static_cast<std::size_t>(P + 1));
    std::int64_t bound = 0;
    for (int p = 0; p <= P; ++p) {
        const std::uint8_t* cube = primes.x(p);
        m.literals[p] = static_cast<int>(n - std::count(cube, cube + n, kDash)) - 1;
        points.emplace_back(cube, n, m.K + 1);
        bound += points.back().most_points(m.K + 1);
    }
    group_minterm_classes(m, minterm_columns(ctx, m, rank, points, bound));

    m.state.assign(static_cast<std::size_t>(P + 1), -2);
    m.essential.assign(static_cast<std::size_t>(P + 1), 0);
    m.row_open.assign(static_cast<std::size_t>(P + 1), 0);
    m.prime_changed.assign(static_cast<std::size_t>(P + 1), 0);
    m.count.assign(static_cast<std::size_t>(m.K + 1), -1);
    m.prime_shared.assign(static_cast<std::size_t>(P + 1), 0);
    m.prime_mark.assign(static_cast<std::size_t>(P + 1), 0);
    ctx.diag.check_memory(0);
}

}  // namespace vormel
