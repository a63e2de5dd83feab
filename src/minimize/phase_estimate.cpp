#include "minimize/phase_estimate.h"

#include <algorithm>

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

namespace {

using cubes::Cover;
using cubes::Cube;

constexpr int kBlockOutputs = 64;

// Cube usage of one assignment, updated flip by flip.
class Usage {
public:
    Usage(const Cover& doubled, const cubes::Space& s, int outputs)
        : cover_(doubled), outputs_(outputs), selected_(doubled.size(), 0), literals_(doubled.size()) {
        for (std::size_t c = 0; c < doubled.size(); ++c) literals_[c] = cubes::literal_count(doubled[c], s);
        by_bit_.resize(static_cast<std::size_t>(2 * outputs));
        for (std::size_t c = 0; c < doubled.size(); ++c)
            for (int b = 0; b < 2 * outputs; ++b)
                if (cubes::has_output(doubled[c], b)) by_bit_[b].push_back(static_cast<int>(c));
    }

    void assign(const std::vector<int>& phases) {
        phases_ = phases;
        std::fill(selected_.begin(), selected_.end(), 0);
        terms_ = literals_used_ = 0;
        for (int j = 0; j < outputs_; ++j)
            for (int c : by_bit_[bit(j, phases_[j])]) add(c, +1);
    }
    // Terms, then literals, of the assignment with output j flipped, relative to now.
    std::pair<int, long> flip_delta(int j) const {
        int terms = 0;
        long literals = 0;
        const int now = bit(j, phases_[j]), then = bit(j, 1 - phases_[j]);
        for (int c : by_bit_[now])
            if (selected_[c] == 1 && !cubes::has_output(cover_[c], then)) --terms, literals -= literals_[c];
        for (int c : by_bit_[then])
            if (selected_[c] == 0) ++terms, literals += literals_[c];
        return {terms, literals};
    }
    void flip(int j) {
        for (int c : by_bit_[bit(j, phases_[j])]) add(c, -1);
        phases_[j] = 1 - phases_[j];
        for (int c : by_bit_[bit(j, phases_[j])]) add(c, +1);
    }
    std::pair<int, long> cost() const { return {terms_, literals_used_}; }
    const std::vector<int>& phases() const { return phases_; }

private:
    static int bit(int j, int phase) { return 2 * j + (phase == 1 ? 0 : 1); }
    void add(int c, int by) {
        if (selected_[c] == 0 && by > 0) ++terms_, literals_used_ += literals_[c];
        selected_[c] += by;
        if (selected_[c] == 0 && by < 0) --terms_, literals_used_ -= literals_[c];
    }

    const Cover& cover_;
    int outputs_;
    std::vector<int> selected_;  // chosen phases each cube feeds
    std::vector<int> literals_;
    std::vector<std::vector<int>> by_bit_;
    std::vector<int> phases_;
    int terms_ = 0;
    long literals_used_ = 0;
};

// Phases for the fewest cubes of `doubled` that feed a chosen phase: single flips from a few
// starts while one lowers the count (then the literals of those cubes).
std::vector<int> phases_of_fewest_cubes(const Cover& doubled, const cubes::Space& doubled_space, int outputs) {
    Usage usage(doubled, doubled_space, outputs);
    std::vector<std::vector<int>> starts{std::vector<int>(static_cast<std::size_t>(outputs), 1),
                                         std::vector<int>(static_cast<std::size_t>(outputs), 0)};
    // Each output's phase with the fewer cubes of its own.
    std::vector<int> alone(static_cast<std::size_t>(outputs), 1);
    for (int j = 0; j < outputs; ++j) {
        int normal = 0, inverted = 0;
        for (const Cube& c : doubled) {
            normal += cubes::has_output(c, 2 * j) ? 1 : 0;
            inverted += cubes::has_output(c, 2 * j + 1) ? 1 : 0;
        }
        if (inverted < normal) alone[j] = 0;
    }
    starts.push_back(alone);

    std::vector<int> best;
    std::pair<int, long> best_cost{0, 0};
    for (const std::vector<int>& start : starts) {
        usage.assign(start);
        for (bool gained = true; gained;) {
            gained = false;
            for (int j = 0; j < outputs; ++j) {
                const auto [terms, literals] = usage.flip_delta(j);
                if (terms < 0 || (terms == 0 && literals < 0)) {
                    usage.flip(j);
                    gained = true;
                }
            }
        }
        if (best.empty() || usage.cost() < best_cost) best = usage.phases(), best_cost = usage.cost();
    }
    return best;
}

}  // namespace

PhasePool::PhasePool(const cubes::Space& s)
    : nx_(s.nx), ny_(s.ny), outputs_(std::min(s.ny, kBlockOutputs)) {}

void PhasePool::add(const Cover& cover, const std::vector<int>& polarity) {
    for (const Cube& c : cover) {
        Cube d{c.in, {}};
        for (int j = 0; j < outputs_; ++j)
            if (cubes::has_output(c, j)) cubes::set_output(d, 2 * j + (polarity[j] == 1 ? 0 : 1));
        if (!cubes::outputs_empty(d)) cubes_.push_back(d);
    }
}

void PhasePool::add_output(const Cover& cover, int output, int phase) {
    if (output >= outputs_) return;
    for (const Cube& c : cover) {
        Cube d{c.in, {}};
        cubes::set_output(d, 2 * output + (phase == 1 ? 0 : 1));
        cubes_.push_back(d);
    }
}

std::vector<int> PhasePool::fewest_cubes() const {
    // One term serves every output any of the covers gave it to.
    Cover merged = cubes_;
    std::sort(merged.begin(), merged.end(), [](const Cube& a, const Cube& b) { return a.in < b.in; });
    Cover doubled;
    for (const Cube& c : merged) {
        if (!doubled.empty() && doubled.back().in == c.in) {
            doubled.back().out |= c.out;
        } else {
            doubled.push_back(c);
        }
    }
    std::vector<int> phases = phases_of_fewest_cubes(doubled, cubes::Space::of(nx_, 2 * outputs_), outputs_);
    phases.resize(static_cast<std::size_t>(ny_), 1);
    return phases;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
