#include "multiout/route_count.h"

#include <algorithm>
#include <cstring>

#include "multiout/row_index.h"

namespace vormel {

namespace {

// Keys kept before the memory is cleared (a cache: forgetting costs time, never a count).
constexpr std::size_t kArenaWords = std::size_t{1} << 23;

std::uint64_t hash_words(const std::uint32_t* words, std::size_t size) {
    std::uint64_t h = 0x9E3779B97F4A7C15u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ words[i]) * 0xBF58476D1CE4E5B9u;
    return h ^ (h >> 31);
}

}  // namespace

// The key of a node's state: the node, the links with free rows it can reach as a bit set over all
// links, then the free rows of those reached links that have more than one row, in link order.
// Written on top of keys_.
void RouteCounter::make_key(int node) {
    const RouteGraph& g = *graph_;
    if (++stamp_ == 0) {
        std::fill(node_stamp_.begin(), node_stamp_.end(), 0);
        stamp_ = 1;
    }
    const std::size_t start = keys_.size();
    const std::size_t words = (g.rows.size() + 31) / 32;
    keys_.push_back(static_cast<std::uint32_t>(node));
    keys_.resize(start + 1 + words, 0);
    std::uint32_t* bits = keys_.data() + start + 1;
    node_stamp_[row_at(node)] = stamp_;
    queue_.assign(1, node);
    for (std::size_t q = 0; q < queue_.size(); ++q) {
        const int v = queue_[q];
        for (int i = g.first[row_at(v)]; i < g.first[row_at(v) + 1]; ++i) {
            const RouteGraph::Link l = g.adjacency[row_at(i)];
            if (left_[row_at(l.link)] == 0) continue;
            bits[row_at(l.link) / 32] |= 1u << (row_at(l.link) % 32);
            if (node_stamp_[row_at(l.node)] != stamp_) {
                node_stamp_[row_at(l.node)] = stamp_;
                queue_.push_back(l.node);
            }
        }
    }
    for (int link : multi_row_links_) {
        if ((keys_[start + 1 + row_at(link) / 32] >> (row_at(link) % 32)) & 1u) keys_.push_back(left_[row_at(link)]);
    }
}

const RouteCount* RouteCounter::find(std::size_t key_at, std::size_t size) const {
    if (used_ == 0) return nullptr;
    const std::uint32_t* key = keys_.data() + key_at;
    const std::uint64_t h = hash_words(key, size);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.size == 0) return nullptr;
        if (slot.hash == h && slot.size == size &&
            std::memcmp(arena_.data() + slot.at, key, size * sizeof(std::uint32_t)) == 0) {
            return &slot.value;
        }
    }
}

void RouteCounter::remember(std::size_t key_at, std::size_t size, const RouteCount& value) {
    if (arena_.size() + size > kArenaWords) {
        arena_.clear();
        std::fill(slots_.begin(), slots_.end(), Slot{0, 0, 0, {}});
        used_ = 0;
    }
    if (2 * (used_ + 1) > slots_.size()) {
        std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots_.size()), Slot{0, 0, 0, {}});
        old.swap(slots_);
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (slot.size == 0) continue;
            std::size_t i = slot.hash & mask;
            while (slots_[i].size != 0) i = (i + 1) & mask;
            slots_[i] = slot;
        }
    }
    const std::uint32_t* key = keys_.data() + key_at;
    const std::uint64_t h = hash_words(key, size);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    while (slots_[i].size != 0) i = (i + 1) & mask;
    slots_[i] = {h, arena_.size(), size, value};
    arena_.insert(arena_.end(), key, key + size);
    ++used_;
}

RouteCount RouteCounter::count(const RouteGraph& graph, int start, const std::function<void()>& poll) {
    graph_ = &graph;
    left_ = graph.rows;
    node_stamp_.assign(graph.first.size(), 0);
    stamp_ = 0;
    multi_row_links_.clear();
    for (std::size_t l = 0; l < graph.rows.size(); ++l) {
        if (graph.rows[l] > 1) multi_row_links_.push_back(static_cast<int>(l));
    }
    keys_.clear();
    path_.clear();
    arena_.clear();
    slots_.clear();
    used_ = 0;
    RouteCount result;
    std::uint64_t steps = 0;

    // Adds a finished node's routes to the step that led there; the link's row is free again.
    auto hand_down = [&](int link, std::uint64_t ways, const RouteCount& child) {
        if (link >= 0) ++left_[row_at(link)];
        if (path_.empty()) {
            result = child;
            return;
        }
        RouteCount& below = path_.back().value;
        below.routes += ways * child.routes;
        below.longest = std::max(below.longest, child.longest + 1);
    };
    // Enters a node: a remembered count goes straight back, else the node becomes a step.
    auto enter = [&](int node, int link, std::uint64_t ways) {
        if (poll && (++steps & 0xFFFFF) == 0) poll();
        const std::size_t key_at = keys_.size();
        // Where one link or none goes on, the routes are forced: only branching nodes are
        // remembered, so a long chain costs no key per node.
        int free_links = 0;
        for (int i = graph.first[row_at(node)]; i < graph.first[row_at(node) + 1] && free_links < 2; ++i) {
            free_links += left_[row_at(graph.adjacency[row_at(i)].link)] > 0;
        }
        if (free_links < 2) {
            path_.push_back({node, graph.first[row_at(node)], link, ways, {1, 0}, key_at, 0});
            return;
        }
        make_key(node);
        const std::size_t size = keys_.size() - key_at;
        if (const RouteCount* known = find(key_at, size)) {
            const RouteCount value = *known;
            keys_.resize(key_at);
            hand_down(link, ways, value);
            return;
        }
        path_.push_back({node, graph.first[row_at(node)], link, ways, {1, 0}, key_at, size});
    };

    enter(start, -1, 1);
    while (!path_.empty()) {
        Step& top = path_.back();
        const int end = graph.first[row_at(top.node) + 1];
        while (top.next < end && left_[row_at(graph.adjacency[row_at(top.next)].link)] == 0) ++top.next;
        if (top.next < end) {
            const RouteGraph::Link l = graph.adjacency[row_at(top.next++)];
            const std::uint64_t ways = left_[row_at(l.link)]--;
            enter(l.node, l.link, ways);
            continue;
        }
        const Step done = top;
        path_.pop_back();
        if (done.key_size != 0) remember(done.key_at, done.key_size, done.value);
        keys_.resize(done.key_at);
        hand_down(done.link, done.ways, done.value);
    }
    return result;
}

}  // namespace vormel
