#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "multiout/route_count.h"

namespace vormel {
namespace {

using Edge = std::pair<int, int>;

// Every route walked one by one, each parallel row its own edge: the oracle.
struct BruteRoutes {
    const std::vector<Edge>& edges;
    std::vector<bool> used;
    RouteCount total;

    void walk(int node, std::uint32_t length) {
        ++total.routes;
        total.longest = std::max(total.longest, length);
        for (std::size_t e = 0; e < edges.size(); ++e) {
            if (used[e] || (edges[e].first != node && edges[e].second != node)) continue;
            used[e] = true;
            walk(edges[e].first == node ? edges[e].second : edges[e].first, length + 1);
            used[e] = false;
        }
    }
};

RouteCount brute_count(const std::vector<Edge>& edges, int start) {
    BruteRoutes brute{edges, std::vector<bool>(edges.size(), false), {}};
    brute.walk(start, 0);
    return brute.total;
}

// Parallel edges become one link with their number of rows.
RouteGraph graph_of(int nodes, const std::vector<Edge>& edges) {
    std::vector<Edge> links;
    RouteGraph g;
    std::vector<std::vector<RouteGraph::Link>> around(static_cast<std::size_t>(nodes));
    for (auto [a, b] : edges) {
        const Edge key{std::min(a, b), std::max(a, b)};
        const auto found = std::find(links.begin(), links.end(), key);
        if (found != links.end()) {
            ++g.rows[static_cast<std::size_t>(found - links.begin())];
            continue;
        }
        const int link = static_cast<int>(links.size());
        links.push_back(key);
        g.rows.push_back(1);
        around[static_cast<std::size_t>(a)].push_back({b, link});
        around[static_cast<std::size_t>(b)].push_back({a, link});
    }
    for (const auto& list : around) {
        g.first.push_back(static_cast<int>(g.adjacency.size()));
        g.adjacency.insert(g.adjacency.end(), list.begin(), list.end());
    }
    g.first.push_back(static_cast<int>(g.adjacency.size()));
    return g;
}

void expect_counts_match(int nodes, const std::vector<Edge>& edges, int start, RouteCounter& counter) {
    const RouteCount expected = brute_count(edges, start);
    const RouteCount got = counter.count(graph_of(nodes, edges), start, {});
    EXPECT_EQ(got.routes, expected.routes);
    EXPECT_EQ(got.longest, expected.longest);
}

TEST(MultioutRouteCount, MatchesWalkingEveryRouteOnRandomMultigraphs) {
    RouteCounter counter;  // one counter for all: nothing may carry over between graphs
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const int nodes = 2 + static_cast<int>(random() % 7);
        // Up to 9 rows: the oracle's walk grows with the factorial of the rows between few nodes.
        const int edge_count = static_cast<int>(random() % 8);
        std::vector<Edge> edges;
        for (int e = 0; e < edge_count && edges.size() < 9; ++e) {
            const int a = static_cast<int>(random() % static_cast<unsigned>(nodes));
            int b = static_cast<int>(random() % static_cast<unsigned>(nodes - 1));
            if (b >= a) ++b;
            edges.emplace_back(a, b);
            if (random() % 5 == 0) edges.emplace_back(b, a);  // a parallel row
        }
        SCOPED_TRACE(seed);
        expect_counts_match(nodes, edges, static_cast<int>(random() % static_cast<unsigned>(nodes)), counter);
    }
}

TEST(MultioutRouteCount, LongTailIntoACycleClusterCountsEveryRoute) {
    // More links than one word of a key holds, a chain of forced steps that is never remembered,
    // and a dense cluster whose branching nodes are.
    RouteCounter counter;
    constexpr int tail = 150;
    std::vector<Edge> edges;
    for (int i = 0; i < tail; ++i) edges.emplace_back(i, i + 1);
    const int cluster = tail;
    for (int a = 0; a < 5; ++a) {
        for (int b = a + 1; b < 5; ++b) edges.emplace_back(cluster + a, cluster + b);
    }
    expect_counts_match(tail + 5, edges, 0, counter);
    expect_counts_match(tail + 5, edges, cluster + 2, counter);
}

TEST(MultioutRouteCount, ParallelRowsAreDistinctRoutes) {
    // Three rows between two cubes: 1 + 3 + 3 * 2 + 3 * 2 * 1 routes, the longest uses all three.
    RouteCounter counter;
    const RouteCount got = counter.count(graph_of(2, {{0, 1}, {1, 0}, {0, 1}}), 0, {});
    EXPECT_EQ(got.routes, 16u);
    EXPECT_EQ(got.longest, 3u);
}

}  // namespace
}  // namespace vormel
