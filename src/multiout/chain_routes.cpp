#include "multiout/chain_routes.h"

#include <algorithm>
#include <bit>

#include "report/number_format.h"
#include "report/run_context.h"

namespace vormel {

namespace {

// A row equal to the cube ends a chain unless it lies on the chain or has taken two cubes already.
bool may_take(const RolexState& s, int row) {
    return may_split(s, row) && !(s.memo_first[row_at(row)] >= 0 && s.memo_second[row_at(row)] >= 0);
}

bool has_end(const RolexState& s, std::uint32_t care, std::uint32_t value) {
    for (int r = s.index.first_row(care, value); r >= 0; r = s.index.next_row(r)) {
        if (may_take(s, r)) return true;
    }
    return false;
}

// Calls visit(next cube) for every cube joined to v through a row that may be split.
template <typename Visit>
void for_each_neighbour(const RolexState& s, std::uint32_t care, std::uint32_t v, Visit visit) {
    for (std::uint32_t bits = care; bits != 0; bits &= bits - 1) {
        const std::uint32_t b = bits & (~bits + 1);
        for (int r = s.index.first_row(care & ~b, v & ~b); r >= 0; r = s.index.next_row(r)) {
            if (may_split(s, r)) {
                visit(v ^ b);
                break;
            }
        }
    }
}

// The component of the cube as a graph of its own, the cube itself node 0.
void build_route_graph(RolexState& s, std::uint32_t care, std::uint32_t value) {
    RouteGraph& g = s.route_graph;
    g.adjacency.clear();
    g.first.clear();
    g.rows.clear();
    s.seen.clear();
    s.queue.clear();
    bool fresh = false;
    s.seen.number[s.seen.slot(value, fresh)] = 0;
    s.queue.push_back(value);
    for (std::size_t q = 0; q < s.queue.size(); ++q) {
        const std::uint32_t v = s.queue[q];
        g.first.push_back(static_cast<int>(g.adjacency.size()));
        for (std::uint32_t bits = care; bits != 0; bits &= bits - 1) {
            const std::uint32_t b = bits & (~bits + 1);
            // The rows doubling v across b all join v and v ^ b: one link, numbered from the cube
            // met first.
            int first_row = -1;
            std::uint32_t rows = 0;
            for (int r = s.index.first_row(care & ~b, v & ~b); r >= 0; r = s.index.next_row(r)) {
                if (!may_split(s, r)) continue;
                if (first_row < 0) first_row = r;
                ++rows;
            }
            if (rows == 0) continue;
            int& other = s.seen.number[s.seen.slot(v ^ b, fresh)];
            if (fresh) {
                other = static_cast<int>(s.queue.size());
                s.queue.push_back(v ^ b);
            }
            if (other > static_cast<int>(q)) {
                s.link_of_row[row_at(first_row)] = static_cast<int>(g.rows.size());
                g.rows.push_back(rows);
            }
            g.adjacency.push_back({other, s.link_of_row[row_at(first_row)]});
        }
    }
    g.first.push_back(static_cast<int>(g.adjacency.size()));
}

}  // namespace

bool may_split(const RolexState& s, int row) {
    const int mark = s.memo_first[row_at(row)];
    return mark != kMemoEliminated && mark != kMemoOnChain;
}

// Whether some chain from the cube can end: the cubes joined through rows that may be split are
// searched breadth first for one that a row may take. Every cube of a search has the same care
// mask, and a shortest route never uses a row twice, so this is exactly whether the search from
// the cube (which walks every route) finds an end.
bool chain_can_end(RolexState& s, std::uint32_t care, std::uint32_t value) {
    s.seen.clear();
    s.queue.clear();
    bool inserted = false;
    s.seen.slot(value, inserted);
    s.queue.push_back(value);
    for (std::size_t q = 0; q < s.queue.size(); ++q) {
        const std::uint32_t v = s.queue[q];
        if (has_end(s, care, v)) return true;
        for_each_neighbour(s, care, v, [&](std::uint32_t next) {
            bool fresh = false;
            s.seen.slot(next, fresh);
            if (fresh) s.queue.push_back(next);
        });
    }
    return false;
}

// Labels every cube joined to the given one with its distance to the nearest cube a row may take
// and returns the given cube's distance (-1: no chain from it can end).
int label_component(RolexState& s, std::uint32_t care, std::uint32_t value) {
    s.label.clear();
    s.queue.clear();
    bool inserted = false;
    s.label.slot(value, inserted);
    s.queue.push_back(value);
    std::vector<std::uint32_t>& ends = s.ends;
    ends.clear();
    for (std::size_t q = 0; q < s.queue.size(); ++q) {
        const std::uint32_t v = s.queue[q];
        if (has_end(s, care, v)) ends.push_back(v);
        for_each_neighbour(s, care, v, [&](std::uint32_t next) {
            bool fresh = false;
            s.label.slot(next, fresh);
            if (fresh) s.queue.push_back(next);
        });
    }
    if (ends.empty()) return -1;
    s.queue.clear();
    for (std::uint32_t v : ends) {
        s.label.number[s.label.slot(v, inserted)] = 0;
        s.queue.push_back(v);
    }
    for (std::size_t q = 0; q < s.queue.size(); ++q) {
        const std::uint32_t v = s.queue[q];
        const int d = s.label.find(v);
        for_each_neighbour(s, care, v, [&](std::uint32_t next) {
            int& n = s.label.number[s.label.slot(next, inserted)];
            if (n < 0) {
                n = d + 1;
                s.queue.push_back(next);
            }
        });
    }
    return s.label.find(value);
}

// The number of levels a search from the cube enters when it finds no end: it tries every route,
// one level per row it splits, in whatever order, so the count does not depend on the order.
std::uint64_t failing_levels(RunContext& ctx, RolexState& s, std::uint32_t care, std::uint32_t value) {
    build_route_graph(s, care, value);
    const RouteCount routes = s.route_counter.count(s.route_graph, 0, [&] { ctx.diag.poll_progress(0); });
    const auto base_depth = static_cast<long long>(s.rolex_stack.size());
    if (routes.longest > 0 && base_depth + static_cast<long long>(routes.longest) > s.lrolex + 1) {
        ctx.report.flush_display(0);
        ctx.report.display_blank();
        ctx.diag.show_error(" *** System Error 5: In rolex_rec: lrolex >" + STR(s.lrolex), 0);
        ctx.error_flag = -1;
    }
    return routes.routes;
}

void RolexState::CubeMarks::resize(std::size_t rows) {
    std::size_t size = 16;
    while (size < 2 * rows + 2) size <<= 1;
    if (value.size() == size) return;
    value.assign(size, 0);
    stamp.assign(size, 0);
    number.assign(size, -1);
    current = 0;
}

void RolexState::CubeMarks::clear() {
    if (++current == 0) {
        std::fill(stamp.begin(), stamp.end(), 0);
        current = 1;
    }
}

std::size_t RolexState::CubeMarks::slot(std::uint32_t v, bool& inserted) {
    const std::size_t mask = value.size() - 1;
    std::size_t h = static_cast<std::size_t>((v * 0x9E3779B1u) >> 7) & mask;
    while (stamp[h] == current) {
        if (value[h] == v) {
            inserted = false;
            return h;
        }
        h = (h + 1) & mask;
    }
    stamp[h] = current;
    value[h] = v;
    number[h] = -1;
    inserted = true;
    return h;
}

int RolexState::CubeMarks::find(std::uint32_t v) const {
    const std::size_t mask = value.size() - 1;
    std::size_t h = static_cast<std::size_t>((v * 0x9E3779B1u) >> 7) & mask;
    while (stamp[h] == current) {
        if (value[h] == v) return number[h];
        h = (h + 1) & mask;
    }
    return -1;
}

}  // namespace vormel
