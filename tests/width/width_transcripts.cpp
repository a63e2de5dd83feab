// One width class's answers on a WidthCase (compiled once per class, like the cube code).
#include <algorithm>
#include <random>

#include "cubes/cover_algebra.h"
#include "minimize/cover_cost.h"
#include "minimize/exact.h"
#include "minimize/heuristic.h"
#include "width/width_case.h"

namespace vormel::width_test::VORMEL_CUBE_CLASS {

namespace {

using cubes::Cover;
using cubes::Cube;
using cubes::Space;

// Points over the used inputs only (bit k of a point: used input k); outputs by their index among
// the used ones. A cube whose unused inputs are not all free has no points here.
class Oracle {
public:
    Oracle(const WidthCase& c, const Space& s) : c_(c), s_(s) {
        for (int i : c.used_inputs) used_pairs_ |= cubes::input_pair(i);
    }

    unsigned points() const { return 1u << c_.used_inputs.size(); }
    int outputs() const { return static_cast<int>(c_.used_outputs.size()); }

    bool has(const Cube& cube, unsigned p, int j) const {
        if (!cube.out.test(c_.used_outputs[static_cast<std::size_t>(j)])) return false;
        if (((cube.in | used_pairs_) & s_.in_full) != s_.in_full) return false;
        for (std::size_t k = 0; k < c_.used_inputs.size(); ++k) {
            if (!cube.in.test(2 * c_.used_inputs[k] + static_cast<int>((p >> k) & 1))) return false;
        }
        return true;
    }
    bool has(const Cover& f, unsigned p, int j) const {
        return std::any_of(f.begin(), f.end(), [&](const Cube& cube) { return has(cube, p, j); });
    }

    // The used inputs (0, 1, - or ~ for an empty pair), a blank, the used outputs; '!' when an
    // unused input carries a literal.
    std::string text(const Cube& cube) const {
        std::string t;
        for (int i : c_.used_inputs) t += "~01-"[(cube.in.test(2 * i + 1) ? 2 : 0) + (cube.in.test(2 * i) ? 1 : 0)];
        t += ' ';
        for (int j : c_.used_outputs) t += cube.out.test(j) ? '1' : '0';
        const cubes::InBits rest = cube.in & ~used_pairs_;
        if ((rest ^ (rest >> 1)) & s_.low_full() & ~used_pairs_) t += '!';
        return t;
    }
    // Cubes of unused outputs only (a complement has them) are left out.
    std::string text(const Cover& f, bool sorted = false) const {
        std::vector<std::string> lines;
        for (const Cube& cube : f) {
            if (std::any_of(c_.used_outputs.begin(), c_.used_outputs.end(), [&](int j) { return cube.out.test(j); }))
                lines.push_back(text(cube));
        }
        if (sorted) std::sort(lines.begin(), lines.end());
        std::string t;
        for (const std::string& line : lines) t += line + "\n";
        return t;
    }

    Cube random_cube(std::mt19937& rng, int free_percent) const {
        Cube cube{s_.in_full, {}};
        for (int i : c_.used_inputs) {
            if (static_cast<int>(rng() % 100) >= free_percent) cube.in &= ~cubes::input_bits(i, static_cast<int>(rng() & 1));
        }
        for (int j : c_.used_outputs) {
            if (rng() % 2) cubes::set_output(cube, j);
        }
        if (cubes::outputs_empty(cube)) cubes::set_output(cube, c_.used_outputs[rng() % c_.used_outputs.size()]);
        return cube;
    }
    Cover random_cover(std::mt19937& rng, int count, int free_percent) const {
        Cover f;
        for (int k = 0; k < count; ++k) f.push_back(random_cube(rng, free_percent));
        return f;
    }

    // fn(p, j) over every point and used output; the first message fn returns is kept.
    template <typename Fn>
    void check(std::string& errors, const std::string& what, Fn&& fn) const {
        for (unsigned p = 0; p < points(); ++p) {
            for (int j = 0; j < outputs(); ++j) {
                if (!fn(p, j)) {
                    errors += what + " wrong at point " + std::to_string(p) + " output " + std::to_string(j) + "\n";
                    return;
                }
            }
        }
    }

private:
    const WidthCase& c_;
    const Space& s_;
    cubes::InBits used_pairs_;
};

std::string flag(bool b) { return b ? "1" : "0"; }

void cube_round(const Oracle& o, const Space& s, std::mt19937& rng, Transcript& t) {
    const Cube a = o.random_cube(rng, 40);
    const Cube b = o.random_cube(rng, 40);
    const Cube both = cubes::intersect(a, b);
    const Cube super = cubes::supercube(a, b);
    const Cube cons = cubes::consensus(a, b, s);
    const bool meet = cubes::intersects(a, b, s);
    t.text += o.text(a) + " | " + o.text(b) + " | " + flag(cubes::contains(a, b)) + flag(cubes::contains(b, a)) + flag(meet) +
              std::to_string(cubes::distance(a, b, s)) + " | " + o.text(both) + " | " + o.text(super) + " | " + o.text(cons);
    bool a_holds_b = true, any_common = false;
    o.check(t.errors, "pairs", [&](unsigned p, int j) {
        a_holds_b = a_holds_b && (!o.has(b, p, j) || o.has(a, p, j));
        any_common = any_common || (o.has(a, p, j) && o.has(b, p, j));
        return o.has(both, p, j) == (o.has(a, p, j) && o.has(b, p, j)) && (!o.has(a, p, j) || o.has(super, p, j)) &&
               (!o.has(b, p, j) || o.has(super, p, j)) && (!o.has(cons, p, j) || o.has(a, p, j) || o.has(b, p, j));
    });
    if (a_holds_b != cubes::contains(a, b)) t.errors += "contains wrong\n";
    if (any_common != meet) t.errors += "intersects wrong\n";
    if (meet) {
        const Cube cof = cubes::cofactor(a, b, s);
        t.text += " | " + o.text(cof);
        o.check(t.errors, "cofactor", [&](unsigned p, int j) { return !o.has(b, p, j) || o.has(cof, p, j) == o.has(a, p, j); });
    }
    t.text += "\n";
}

void cover_round(const Oracle& o, const Space& s, std::mt19937& rng, Transcript& t) {
    const Cover f = o.random_cover(rng, 1 + static_cast<int>(rng() % 8), 50 + static_cast<int>(rng() % 30));
    const Cube a = o.random_cube(rng, 50);
    const Cover comp = cubes::complement(f, s);
    Cover whole = f;
    whole.insert(whole.end(), comp.begin(), comp.end());
    const Cover rest = cubes::sharp(a, f, s);
    const bool covered = cubes::covers(f, a, s);
    // The complement's order depends on where unused outputs sit, so it is compared as a set.
    t.text += o.text(f) + "complement\n" + o.text(comp, true) + "sharp\n" + o.text(rest) + flag(covered) + "\n";
    bool all_covered = true, a_covered = true;
    o.check(t.errors, "complement and sharp", [&](unsigned p, int j) {
        all_covered = all_covered && o.has(f, p, j);
        a_covered = a_covered && (!o.has(a, p, j) || o.has(f, p, j));
        return o.has(comp, p, j) != o.has(f, p, j) && o.has(rest, p, j) == (o.has(a, p, j) && !o.has(f, p, j));
    });
    const bool every_output_used = static_cast<int>(o.outputs()) == s.ny;
    if (cubes::tautology(f, s) != (all_covered && every_output_used)) t.errors += "tautology wrong\n";
    if (!cubes::tautology(whole, s)) t.errors += "a cover with its complement is no tautology\n";
    if (covered != a_covered) t.errors += "covers wrong\n";
}

class Quiet : public minimize::Observer {};

}  // namespace

Transcript cube_operations(const WidthCase& c, int rounds) {
    const Space s = Space::of(c.inputs, c.outputs);
    const Oracle o(c, s);
    std::mt19937 rng(c.seed);
    Transcript t;
    for (int round = 0; round < rounds; ++round) {
        cube_round(o, s, rng, t);
        cover_round(o, s, rng, t);
    }
    return t;
}

Transcript minimized(const WidthCase& c, bool exact) {
    const Space s = Space::of(c.inputs, c.outputs);
    const Oracle o(c, s);
    std::mt19937 rng(c.seed);
    const Cover on = o.random_cover(rng, 4 + static_cast<int>(rng() % 10), 40 + static_cast<int>(rng() % 30));
    Cover dc;
    for (const Cube& d : o.random_cover(rng, static_cast<int>(rng() % 4), 30)) {
        const Cover pieces = cubes::sharp(d, on, s);
        dc.insert(dc.end(), pieces.begin(), pieces.end());
    }
    Cover care = on;
    care.insert(care.end(), dc.begin(), dc.end());
    const Cover off = cubes::complement(care, s);
    Quiet quiet;
    Cover result;
    if (exact) {
        minimize::ExactParams params;
        params.time_limit_seconds = 30;
        result = minimize::minimize_exact(on, dc, off, s, params, quiet).cover;
    } else {
        result = minimize::minimize_heuristic(on, dc, off, s, minimize::HeuristicParams{}, quiet).cover;
    }
    Transcript t;
    const minimize::CoverCost cost = minimize::cover_cost(result, s);
    t.text = o.text(result) + std::to_string(cost.terms) + " terms\n";
    o.check(t.errors, "result", [&](unsigned p, int j) {
        const bool is_on = o.has(on, p, j);
        const bool is_dc = o.has(dc, p, j);
        return o.has(result, p, j) ? is_on || is_dc : !is_on;
    });
    return t;
}

}  // namespace vormel::width_test::VORMEL_CUBE_CLASS
