#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace vormel {

// A multigraph of cubes: node c's links are adjacency[first[c] .. first[c + 1]), each link listed from
// both of its ends, with rows[link] parallel rows behind it (rows joining the same two cubes).
struct RouteGraph {
    struct Link {
        int node, link;  // the node at the other end, and the link's number
    };
    std::vector<Link> adjacency;
    std::vector<int> first;
    std::vector<std::uint32_t> rows;
};

struct RouteCount {
    std::uint64_t routes = 0;  // modulo 2^64, the empty route included
    std::uint32_t longest = 0;  // rows on the longest route
};

// Counts the routes from a node that use each row at most once. Routes from a node depend only on
// the rows still free in the part of the graph the node can reach, so the counts of such parts are
// remembered; parallel rows are counted once and weighted by their number. Trails of a graph with
// many cycles are exponentially many, but the distinct parts met on the way are few in practice.
// poll runs every 2^20 steps.
class RouteCounter {
public:
    RouteCount count(const RouteGraph& graph, int start, const std::function<void()>& poll);

private:
    struct Step {
        int node, next, link;
        std::uint64_t ways;  // rows of the link that lead here
        RouteCount value;
        std::size_t key_at, key_size;  // in keys_; key_size 0: not remembered
    };
    void make_key(int node);
    const RouteCount* find(std::size_t at, std::size_t size) const;
    void remember(std::size_t at, std::size_t size, const RouteCount& value);

    const RouteGraph* graph_ = nullptr;
    std::vector<std::uint32_t> left_;  // rows of each link not on the route
    std::vector<std::uint32_t> node_stamp_;
    std::vector<int> multi_row_links_;
    std::uint32_t stamp_ = 0;
    std::vector<int> queue_;
    std::vector<Step> path_;
    std::vector<std::uint32_t> keys_;  // the keys of the steps on the path, stacked

    // Remembered parts: open addressing over keys kept in one arena.
    struct Slot {
        std::uint64_t hash;
        std::size_t at, size;  // size 0: empty
        RouteCount value;
    };
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::vector<std::uint32_t> arena_;
};

}  // namespace vormel
