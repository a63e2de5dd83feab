#include "cover/column_classes.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "cover/cover_matrix.h"

namespace vormel {

int ColumnClasses::Members::find(int i) {
    while (next[i] != i) {
        next[i] = next[next[i]];
        i = next[i];
    }
    return i;
}

int ColumnClasses::Members::after(int c, int k) {
    const auto first = items.begin() + start[c];
    const auto last = items.begin() + start[c + 1] - 1;  // the sentinel
    const int i = static_cast<int>(std::lower_bound(first, last, k + 1) - items.begin());
    return items[find(i)];
}

void ColumnClasses::Members::take_out(int k) {
    const int i = position[k];
    if (i >= 0) next[i] = i + 1;
}

int ColumnClasses::next_after(int c, int k, bool changed_only) {
    return changed_only ? changed_.after(c, k) : all_.after(c, k);
}

void ColumnClasses::remove(int k) {
    all_.take_out(k);
    changed_.take_out(k);
}

namespace {

std::uint64_t hash_of(const std::vector<int>& column) {
    std::uint64_t h = 1469598103934665603ull;
    for (int q : column) h = (h ^ static_cast<std::uint64_t>(q)) * 1099511628211ull;
    return h;
}

}  // namespace

ColumnClasses::ColumnClasses(const CoverMatrix& m) {
    class_of_.assign(static_cast<std::size_t>(m.K + 1), -1);
    std::vector<int> sig_start{0};
    std::vector<int> sig;
    std::unordered_map<std::uint64_t, int> head;
    std::vector<int> chain;
    std::vector<int> size_all;
    std::vector<int> size_changed;
    std::vector<int> column;
    for (int k = 0; k <= m.K; ++k) {
        if (!m.open(k)) continue;
        column.clear();
        for (int q : m.col(k)) {
            if (m.active(q)) column.push_back(q);
        }
        const std::uint64_t h = hash_of(column);
        const auto found = head.find(h);
        int c = -1;
        for (int d = found == head.end() ? -1 : found->second; d >= 0; d = chain[d]) {
            if (std::equal(column.begin(), column.end(), sig.begin() + sig_start[d], sig.begin() + sig_start[d + 1])) {
                c = d;
                break;
            }
        }
        if (c < 0) {
            c = static_cast<int>(size_all.size());
            sig.insert(sig.end(), column.begin(), column.end());
            sig_start.push_back(static_cast<int>(sig.size()));
            chain.push_back(found == head.end() ? -1 : found->second);
            head[h] = c;
            size_all.push_back(0);
            size_changed.push_back(0);
        }
        class_of_[k] = c;
        ++size_all[c];
        if (m.minterm_changed(k)) ++size_changed[c];
    }
    const int classes = static_cast<int>(size_all.size());

    auto list = [&](Members& members, const std::vector<int>& sizes, bool changed_only) {
        members.start.assign(static_cast<std::size_t>(classes + 1), 0);
        for (int c = 0; c < classes; ++c) members.start[c + 1] = members.start[c] + sizes[c] + 1;
        members.items.assign(static_cast<std::size_t>(members.start[classes]), INT_MAX);
        members.position.assign(static_cast<std::size_t>(m.K + 1), -1);
        std::vector<int> fill(members.start.begin(), members.start.end() - 1);
        for (int k = 0; k <= m.K; ++k) {
            const int c = class_of_[k];
            if (c < 0 || (changed_only && !m.minterm_changed(k))) continue;
            members.position[k] = fill[c];
            members.items[fill[c]++] = k;
        }
        members.next.resize(members.items.size());
        for (std::size_t i = 0; i < members.next.size(); ++i) members.next[i] = static_cast<int>(i);
    };
    list(all_, size_all, false);
    list(changed_, size_changed, true);

    // Classes by prime, then the nested pairs by the number of primes they share.
    std::vector<int> by_prime_start(static_cast<std::size_t>(m.P + 2), 0);
    for (int q : sig) ++by_prime_start[q + 1];
    for (int p = 0; p <= m.P; ++p) by_prime_start[p + 1] += by_prime_start[p];
    std::vector<int> by_prime(sig.size());
    std::vector<int> fill(by_prime_start.begin(), by_prime_start.end() - 1);
    for (int c = 0; c < classes; ++c) {
        for (int i = sig_start[c]; i < sig_start[c + 1]; ++i) by_prime[fill[sig[i]]++] = c;
    }
    sub_.assign(static_cast<std::size_t>(classes), {});
    super_.assign(static_cast<std::size_t>(classes), {});
    meets_changed_.assign(static_cast<std::size_t>(classes), 0);
    std::vector<int> shared(static_cast<std::size_t>(classes), 0);
    std::vector<int> touched;
    for (int c = 0; c < classes; ++c) {
        const int size_c = sig_start[c + 1] - sig_start[c];
        touched.clear();
        for (int i = sig_start[c]; i < sig_start[c + 1]; ++i) {
            for (int j = by_prime_start[sig[i]]; j < by_prime_start[sig[i] + 1]; ++j) {
                if (shared[by_prime[j]]++ == 0) touched.push_back(by_prime[j]);
            }
        }
        bool meets = size_changed[c] > 0;
        for (int d : touched) {
            if (d == c) continue;
            const bool holds = shared[d] == size_c;
            const bool held = shared[d] == sig_start[d + 1] - sig_start[d];
            if (holds) super_[c].push_back(d);
            else if (held) sub_[c].push_back(d);
            if ((holds || held) && size_changed[d] > 0) meets = true;
        }
        for (int d : touched) shared[d] = 0;
        meets_changed_[c] = meets ? 1 : 0;
    }
}

}  // namespace vormel
