#include "minimize/all_primes.h"

#include <algorithm>
#include <bit>

#include "cubes/input_words.h"
#include "cubes/maximal_cubes.h"

namespace vormel::minimize {
inline namespace VORMEL_CUBE_CLASS {

using cubes::Cover;
using cubes::Cube;

namespace {

using OutSet = cubes::OutBits;

bool out_meets(const Cube& c, const OutSet& m) { return (c.out & m).any(); }

// The first half (by count, rounded up) of the bits of m.
OutSet lower_half(const OutSet& m) {
    int want = (m.count() + 1) / 2;
    OutSet half;
    for (OutSet bits = m; bits && want > 0; bits.clear_lowest(), --want) half |= bits.lowest_bit();
    return half;
}

// The largest cube p shares with the primes `other` that hold p's inputs: p's inputs and the
// outputs of p the widest of them has (empty inputs when none holds them). Such primes meet p in
// all of p's inputs, and one of them holds the outputs of all (the union is an implicant, and
// `other` holds every prime), so its cube with p holds every cube of p's row whose outputs it has.
Cube widest_meet(const Cube& p, const Cover& other) {
    OutSet held;
    bool any = false;
    for (const Cube& q : other) {
        if ((p.in & ~q.in).none()) {
            any = true;
            held |= q.out;
        }
    }
    return any ? Cube{p.in, p.out & held} : Cube{};
}

class PrimeRecursion {
public:
    PrimeRecursion(const cubes::Space& s, WorkBudget& budget, PrimeStats& stats, std::size_t most)
        : s_(s), budget_(budget), stats_(stats), most_(most) {}

    bool stopped() const { return stopped_; }

private:
    // One containment pass over a large set can take longer than the whole limit: it asks the
    // budget as it goes. False once the budget ran out.
    bool keep_maximal(Cover& f) {
        if (!stopped_ && !cubes::keep_maximal_until(f, [this] { return budget_.exhausted(); })) stopped_ = true;
        return !stopped_;
    }
    // The intersections of one prime with all primes of the other cofactor overlap heavily; keeping
    // only their maximal ones first keeps the final containment pass small.
    bool append_maximal(Cover& row, Cover& merged) {
        if (!keep_maximal(row)) return false;
        merged.insert(merged.end(), row.begin(), row.end());
        return true;
    }

public:

    // The primes of f in the cofactor space: inputs already split on are free in every cube, and
    // only the outputs in `real` are still told apart (all others are set in every cube).
    Cover primes(Cover& f, const OutSet& real) {
        ++stats_.nodes;
        if (stopped_ || (stopped_ = budget_.exhausted_sometimes())) return {};
        if (f.size() <= 1) return capped(f);
        for (const Cube& c : f)
            if (c.in == s_.in_full && c.out == s_.out_full) return capped({c});

        cubes::InBits zeros, ones;
        OutSet active;
        for (const Cube& c : f) {
            zeros |= cubes::zero_literals(c.in);
            ones |= cubes::one_literals(c.in);
            active |= real & ~c.out;
        }
        const cubes::InBits binate = zeros & ones & s_.low_full();
        if (binate.none() && active.none()) {
            stats_.leaf_cubes += static_cast<long long>(f.size());
            if (!keep_maximal(f)) return {};
            return capped(std::move(f));
        }
        if (binate.none()) return split_outputs(f, real, active);
        const int v = most_binate(f, binate);
        if (active.none()) return split_input(f, real, v);
        return outputs_split_smaller(f, real, active, v) ? split_outputs(f, real, active) : split_input(f, real, v);
    }

private:
    // The binate input with the most literals in f.
    static int most_binate(const Cover& f, const cubes::InBits& binate) {
        cubes::InputCover inputs;
        inputs.reserve(f.size());
        for (const Cube& c : f) inputs.push_back(c.in);
        return cubes::busiest_input(inputs, binate).lowest() / 2;
    }

    // The merge costs the product of the two cofactors' prime counts; their cube counts stand in
    // for them. Outputs win ties up to a factor 1.5: measured on the bench files, splitting the
    // outputs apart early pays when they share little (output-rich files like the shifter).
    bool outputs_split_smaller(const Cover& f, const OutSet& real, const OutSet& active, int v) const {
        const OutSet a = lower_half(active);
        const OutSet b = real & ~a;
        const cubes::InBits zero = cubes::input_bits(v, 0);
        const cubes::InBits one = cubes::input_bits(v, 1);
        long long na = 0, nb = 0, n0 = 0, n1 = 0;
        for (const Cube& c : f) {
            na += out_meets(c, a);
            nb += out_meets(c, b);
            n0 += (c.in & zero).any();
            n1 += (c.in & one).any();
        }
        return 2 * na * nb < 3 * n0 * n1;
    }

    Cover split_input(const Cover& f, const OutSet& real, int v) {
        const cubes::InBits pair = cubes::input_pair(v);
        const cubes::InBits zero = cubes::input_bits(v, 0);
        const cubes::InBits one = cubes::input_bits(v, 1);
        Cover f0, f1;
        for (const Cube& c : f) {
            if (c.in & zero) f0.push_back(Cube{c.in | pair, c.out});
            if (c.in & one) f1.push_back(Cube{c.in | pair, c.out});
        }
        Cover p0 = primes(f0, real);
        Cover p1 = primes(f1, real);
        if (stopped_) return {};

        std::vector<char> absorbed0(p0.size(), 0), absorbed1(p1.size(), 0);
        Cover merged, row;
        for (std::size_t i = 0; i < p0.size(); ++i) {
            if ((stopped_ = budget_.exhausted_sometimes() || budget_.spend(p1.size() + merged.size()))) return {};
            const Cube& p = p0[i];
            const Cube top = widest_meet(p, p1);
            const bool top_counts = top.in.any() && out_meets(top, real);
            // A prime of the other cofactor holds p: every cube of the row lies inside p.
            if (top_counts && top == p) absorbed0[i] = 1;
            row.clear();
            for (std::size_t j = 0; j < p1.size(); ++j) {
                const Cube& q = p1[j];
                const Cube c = cubes::intersect(p, q);
                if (cubes::empty_pairs(c.in, s_).any() || !out_meets(c, real)) continue;
                if (c == q) absorbed1[j] = 1;
                if (absorbed0[i] || (top_counts && (c.out & ~top.out).none())) continue;
                row.push_back(c);
            }
            if (absorbed0[i]) {
                merged.push_back(p);
            } else {
                if (top_counts) row.push_back(top);
                if (!append_maximal(row, merged)) return {};
            }
        }
        stats_.pairs += static_cast<long long>(p0.size() * p1.size());
        if (!keep_maximal(merged)) return {};
        // x'p is prime unless p lies inside a prime of the other cofactor (then p itself is).
        for (std::size_t i = 0; i < p0.size(); ++i)
            if (!absorbed0[i]) merged.push_back(Cube{p0[i].in & ~one, p0[i].out});
        for (std::size_t j = 0; j < p1.size(); ++j)
            if (!absorbed1[j]) merged.push_back(Cube{p1[j].in & ~zero, p1[j].out});
        return capped(std::move(merged));
    }

    Cover split_outputs(const Cover& f, const OutSet& real, const OutSet& active) {
        const OutSet a = lower_half(active);
        const OutSet b = real & ~a;
        Cover fa, fb;
        for (const Cube& c : f) {
            if (out_meets(c, a)) fa.push_back(Cube{c.in, c.out | b});
            if (out_meets(c, b)) fb.push_back(Cube{c.in, c.out | a});
        }
        Cover pa = primes(fa, a);
        Cover pb = primes(fb, b);
        if (stopped_) return {};

        std::vector<char> absorbed_a(pa.size(), 0), absorbed_b(pb.size(), 0);
        Cover merged, row;
        for (std::size_t i = 0; i < pa.size(); ++i) {
            if ((stopped_ = budget_.exhausted_sometimes() || budget_.spend(pb.size() + merged.size()))) return {};
            const Cube& p = pa[i];
            const Cube top = widest_meet(p, pb);
            if (top.in.any()) absorbed_a[i] = 1;
            row.clear();
            if (absorbed_a[i]) row.push_back(top);
            for (std::size_t j = 0; j < pb.size(); ++j) {
                const Cube& q = pb[j];
                const cubes::InBits in = p.in & q.in;
                if (cubes::empty_pairs(in, s_).any()) continue;
                if (in == q.in) absorbed_b[j] = 1;
                const OutSet out = p.out & q.out;
                if (absorbed_a[i] && (out & ~top.out).none()) continue;
                row.push_back(Cube{in, out});
            }
            if (!append_maximal(row, merged)) return {};
        }
        stats_.pairs += static_cast<long long>(pa.size() * pb.size());
        if (!keep_maximal(merged)) return {};
        // A prime of one output half stays prime unless another half's prime holds its inputs.
        for (std::size_t i = 0; i < pa.size(); ++i)
            if (!absorbed_a[i]) merged.push_back(Cube{pa[i].in, pa[i].out & ~b});
        for (std::size_t j = 0; j < pb.size(); ++j)
            if (!absorbed_b[j]) merged.push_back(Cube{pb[j].in, pb[j].out & ~a});
        return capped(std::move(merged));
    }

    // A cofactor's primes map one to one into the function's (each lies in a prime of the function
    // whose cofactor it is; an output half's primes likewise), so a cofactor with more primes than
    // `most_` settles that the function has too many.
    Cover capped(Cover primes) {
        if (primes.size() <= most_) return primes;
        stopped_ = true;
        return {};
    }

    const cubes::Space& s_;
    WorkBudget& budget_;
    PrimeStats& stats_;
    std::size_t most_;
    bool stopped_ = false;
};

}  // namespace

bool all_primes(const Cover& f, const cubes::Space& s, WorkBudget& budget, Cover& primes, PrimeStats& stats,
                std::size_t most) {
    Cover work;
    work.reserve(f.size());
    for (const Cube& c : f)
        if (!cubes::is_empty(c, s)) work.push_back(c);
    PrimeRecursion recursion(s, budget, stats, most);
    primes = recursion.primes(work, s.out_full);
    if (recursion.stopped()) return false;
    std::sort(primes.begin(), primes.end(), [](const Cube& a, const Cube& b) {
        if (a.in != b.in) return a.in < b.in;
        return cubes::OutBits::low_word_first_less(a.out, b.out);
    });
    return true;
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::minimize
