#include "minimize/all_primes.h"

#include <algorithm>
#include <bit>

#include "cubes/input_words.h"
#include "cubes/maximal_cubes.h"

namespace vormel::minimize {

using cubes::Cover;
using cubes::Cube;

namespace {

struct OutSet {
    std::uint64_t w[2] = {0, 0};
    bool empty() const { return (w[0] | w[1]) == 0; }
};

bool out_meets(const Cube& c, const OutSet& m) { return ((c.out[0] & m.w[0]) | (c.out[1] & m.w[1])) != 0; }

// The first half (by count, rounded up) of the bits of m.
OutSet lower_half(const OutSet& m) {
    int want = (std::popcount(m.w[0]) + std::popcount(m.w[1]) + 1) / 2;
    OutSet half;
    for (int k = 0; k < 2 && want > 0; ++k) {
        std::uint64_t bits = m.w[k];
        while (bits != 0 && want > 0) {
            const std::uint64_t low = bits & (~bits + 1);
            half.w[k] |= low;
            bits ^= low;
            --want;
        }
    }
    return half;
}

// The intersections of one prime with all primes of the other cofactor overlap heavily; keeping
// only their maximal ones first keeps the final containment pass small.
void append_maximal(Cover& row, Cover& merged) {
    cubes::keep_maximal(row);
    merged.insert(merged.end(), row.begin(), row.end());
}

class PrimeRecursion {
public:
    PrimeRecursion(const cubes::Space& s, WorkBudget& budget, PrimeStats& stats) : s_(s), budget_(budget), stats_(stats) {}

    bool stopped() const { return stopped_; }

    // The primes of f in the cofactor space: inputs already split on are free in every cube, and
    // only the outputs in `real` are still told apart (all others are set in every cube).
    Cover primes(Cover& f, const OutSet& real) {
        ++stats_.nodes;
        if (stopped_ || (stopped_ = budget_.exhausted_sometimes())) return {};
        if (f.size() <= 1) return f;
        for (const Cube& c : f)
            if (c.in == s_.in_full && c.out[0] == s_.out_full[0] && c.out[1] == s_.out_full[1]) return {c};

        std::uint64_t zeros = 0, ones = 0;
        OutSet active;
        for (const Cube& c : f) {
            zeros |= cubes::zero_literals(c.in);
            ones |= cubes::one_literals(c.in);
            active.w[0] |= real.w[0] & ~c.out[0];
            active.w[1] |= real.w[1] & ~c.out[1];
        }
        const std::uint64_t binate = zeros & ones & s_.low_full();
        if (binate == 0 && active.empty()) {
            stats_.leaf_cubes += static_cast<long long>(f.size());
            cubes::keep_maximal(f);
            return f;
        }
        if (binate == 0) return split_outputs(f, real, active);
        const int v = most_binate(f, binate);
        if (active.empty()) return split_input(f, real, v);
        return outputs_split_smaller(f, real, active, v) ? split_outputs(f, real, active) : split_input(f, real, v);
    }

private:
    // The binate input with the most literals in f.
    static int most_binate(const Cover& f, std::uint64_t binate) {
        cubes::InputCover inputs;
        inputs.reserve(f.size());
        for (const Cube& c : f) inputs.push_back(c.in);
        return std::countr_zero(cubes::busiest_input(inputs, binate)) / 2;
    }

    // The merge costs the product of the two cofactors' prime counts; their cube counts stand in
    // for them. Outputs win ties up to a factor 1.5: measured on the bench files, splitting the
    // outputs apart early pays when they share little (output-rich files like the shifter).
    bool outputs_split_smaller(const Cover& f, const OutSet& real, const OutSet& active, int v) const {
        const OutSet a = lower_half(active);
        const OutSet b{{real.w[0] & ~a.w[0], real.w[1] & ~a.w[1]}};
        const std::uint64_t zero = std::uint64_t{1} << (2 * v);
        const std::uint64_t one = zero << 1;
        long long na = 0, nb = 0, n0 = 0, n1 = 0;
        for (const Cube& c : f) {
            na += out_meets(c, a);
            nb += out_meets(c, b);
            n0 += (c.in & zero) != 0;
            n1 += (c.in & one) != 0;
        }
        return 2 * na * nb < 3 * n0 * n1;
    }

    Cover split_input(const Cover& f, const OutSet& real, int v) {
        const std::uint64_t pair = std::uint64_t{3} << (2 * v);
        const std::uint64_t zero = std::uint64_t{1} << (2 * v);
        const std::uint64_t one = std::uint64_t{2} << (2 * v);
        Cover f0, f1;
        for (const Cube& c : f) {
            if (c.in & zero) f0.push_back(Cube{c.in | pair, {c.out[0], c.out[1]}});
            if (c.in & one) f1.push_back(Cube{c.in | pair, {c.out[0], c.out[1]}});
        }
        Cover p0 = primes(f0, real);
        Cover p1 = primes(f1, real);
        if (stopped_) return {};

        std::vector<char> absorbed0(p0.size(), 0), absorbed1(p1.size(), 0);
        Cover merged, row;
        for (std::size_t i = 0; i < p0.size(); ++i) {
            if ((stopped_ = budget_.exhausted_sometimes() || budget_.spend(p1.size() + merged.size()))) return {};
            const Cube& p = p0[i];
            row.clear();
            for (std::size_t j = 0; j < p1.size(); ++j) {
                const Cube& q = p1[j];
                const Cube c = cubes::intersect(p, q);
                if (cubes::empty_pairs(c.in, s_) != 0 || !out_meets(c, real)) continue;
                row.push_back(c);
                if (c == p) absorbed0[i] = 1;
                if (c == q) absorbed1[j] = 1;
            }
            append_maximal(row, merged);
        }
        stats_.pairs += static_cast<long long>(p0.size() * p1.size());
        cubes::keep_maximal(merged);
        // x'p is prime unless p lies inside a prime of the other cofactor (then p itself is).
        for (std::size_t i = 0; i < p0.size(); ++i)
            if (!absorbed0[i]) merged.push_back(Cube{p0[i].in & ~one, {p0[i].out[0], p0[i].out[1]}});
        for (std::size_t j = 0; j < p1.size(); ++j)
            if (!absorbed1[j]) merged.push_back(Cube{p1[j].in & ~zero, {p1[j].out[0], p1[j].out[1]}});
        return merged;
    }

    Cover split_outputs(const Cover& f, const OutSet& real, const OutSet& active) {
        const OutSet a = lower_half(active);
        const OutSet b{{real.w[0] & ~a.w[0], real.w[1] & ~a.w[1]}};
        Cover fa, fb;
        for (const Cube& c : f) {
            if (out_meets(c, a)) fa.push_back(Cube{c.in, {c.out[0] | b.w[0], c.out[1] | b.w[1]}});
            if (out_meets(c, b)) fb.push_back(Cube{c.in, {c.out[0] | a.w[0], c.out[1] | a.w[1]}});
        }
        Cover pa = primes(fa, a);
        Cover pb = primes(fb, b);
        if (stopped_) return {};

        std::vector<char> absorbed_a(pa.size(), 0), absorbed_b(pb.size(), 0);
        Cover merged, row;
        for (std::size_t i = 0; i < pa.size(); ++i) {
            if ((stopped_ = budget_.exhausted_sometimes() || budget_.spend(pb.size() + merged.size()))) return {};
            const Cube& p = pa[i];
            row.clear();
            for (std::size_t j = 0; j < pb.size(); ++j) {
                const Cube& q = pb[j];
                const std::uint64_t in = p.in & q.in;
                if (cubes::empty_pairs(in, s_) != 0) continue;
                row.push_back(Cube{in, {p.out[0] & q.out[0], p.out[1] & q.out[1]}});
                if (in == p.in) absorbed_a[i] = 1;
                if (in == q.in) absorbed_b[j] = 1;
            }
            append_maximal(row, merged);
        }
        stats_.pairs += static_cast<long long>(pa.size() * pb.size());
        cubes::keep_maximal(merged);
        // A prime of one output half stays prime unless another half's prime holds its inputs.
        for (std::size_t i = 0; i < pa.size(); ++i)
            if (!absorbed_a[i]) merged.push_back(Cube{pa[i].in, {pa[i].out[0] & ~b.w[0], pa[i].out[1] & ~b.w[1]}});
        for (std::size_t j = 0; j < pb.size(); ++j)
            if (!absorbed_b[j]) merged.push_back(Cube{pb[j].in, {pb[j].out[0] & ~a.w[0], pb[j].out[1] & ~a.w[1]}});
        return merged;
    }

    const cubes::Space& s_;
    WorkBudget& budget_;
    PrimeStats& stats_;
    bool stopped_ = false;
};

}  // namespace

bool all_primes(const Cover& f, const cubes::Space& s, WorkBudget& budget, Cover& primes, PrimeStats& stats) {
    Cover work;
    work.reserve(f.size());
    for (const Cube& c : f)
        if (!cubes::is_empty(c, s)) work.push_back(c);
    PrimeRecursion recursion(s, budget, stats);
    primes = recursion.primes(work, OutSet{{s.out_full[0], s.out_full[1]}});
    if (recursion.stopped()) return false;
    std::sort(primes.begin(), primes.end(), [](const Cube& a, const Cube& b) {
        if (a.in != b.in) return a.in < b.in;
        if (a.out[0] != b.out[0]) return a.out[0] < b.out[0];
        return a.out[1] < b.out[1];
    });
    return true;
}

}  // namespace vormel::minimize
