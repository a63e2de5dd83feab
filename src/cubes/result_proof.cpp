#include "cubes/result_proof.h"

#include <cstdint>

#include "cubes/cover_algebra.h"
#include "cubes/function_covers.h"
#include "model/problem.h"
#include "report/run_threads.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

namespace {

std::string input_text(const Cube& c, int nx) {
    std::string text;
    for (int i = 0; i < nx; ++i) text += "01-?"[input_value(c, i)];
    return text;
}

// The input parts of the cubes of f that carry output j, as cubes of a one-output space.
Cover one_output(const Cover& f, int j, const Space& s1) {
    Cover part;
    for (const Cube& c : f) {
        if (!has_output(c, j)) continue;
        Cube d = s1.universe();
        d.in = c.in;
        part.push_back(d);
    }
    return part;
}

// The final terms as a cover: a term feeds output j where its entry is not "-".
Cover term_cover(const TermTable& terms, const Space& s) {
    Cover f;
    for (int r = 0; r <= terms.last; ++r) {
        Cube c = s.universe();
        c.in = input_word(terms.x(r), terms.nx);
        for (int j = 0; j < s.ny; ++j) {
            if (terms.y(r)[j] == kDash) clear_output(c, j);
        }
        if (!outputs_empty(c)) f.push_back(c);
    }
    return f;
}

std::vector<int> polarity_of(const Problem& problem) {
    std::vector<int> polarity(static_cast<std::size_t>(problem.outputs()), 1);
    for (int j = 0; j < problem.outputs() && j < static_cast<int>(problem.polarity.size()); ++j) polarity[j] = problem.polarity[j];
    return polarity;
}

bool inside(const Cover& a, const Cover& b, const Space& s1) {
    for (const Cube& c : a) {
        if (!covers(b, c, s1)) return false;
    }
    return true;
}

// a and b split the space: no common point, and together everything.
bool complementary(const Cover& a, const Cover& b, const Space& s1) {
    for (const Cube& c : a) {
        for (const Cube& d : b) {
            if (intersects(c, d, s1)) return false;
        }
    }
    Cover both = a;
    both.insert(both.end(), b.begin(), b.end());
    return tautology(both, s1);
}

// Values of a cover at 64 fixed pseudo-random points, one bit each: equal functions have equal
// signatures, complementary ones complementary signatures.
std::uint64_t signature(const Cover& f, const std::vector<Cube>& points) {
    std::uint64_t sig = 0;
    for (std::size_t t = 0; t < points.size(); ++t) {
        for (const Cube& c : f) {
            if (contains(c, points[t])) {
                sig |= std::uint64_t{1} << t;
                break;
            }
        }
    }
    return sig;
}

std::vector<Cube> sample_points(const Space& s1) {
    std::vector<Cube> points(64);
    std::uint64_t state = 0x243f6a8885a308d3ull;
    for (Cube& p : points) {
        p = s1.universe();
        for (int i = 0; i < s1.nx; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            p.in &= ~input_bits(i, static_cast<int>(state >> 63));
        }
    }
    return points;
}

}  // namespace

std::vector<ProofFault> prove_result_in_class(const Problem& problem, const TermTable& terms) {
    const FunctionCovers f = care_covers(problem, polarity_of(problem));
    const Space& s = f.space;
    const Space s1 = Space::of(s.nx, 1);
    const Cover result = term_cover(terms, s);
    std::vector<std::vector<ProofFault>> by_output(static_cast<std::size_t>(s.ny));
    threads::for_each_index(0, s.ny, [&](int j) {
        const Cover realised = one_output(result, j, s1);
        const Cover on = one_output(f.on, j, s1);
        Cover care = on;
        const Cover dc = one_output(f.dc, j, s1);
        care.insert(care.end(), dc.begin(), dc.end());
        for (const Cube& c : on) {
            if (covers(realised, c, s1)) continue;
            by_output[j].push_back({j, true, input_text(c, s.nx)});
            break;
        }
        for (const Cube& t : realised) {
            if (covers(care, t, s1)) continue;
            by_output[j].push_back({j, false, input_text(t, s.nx)});
            break;
        }
    });
    std::vector<ProofFault> faults;
    for (auto& list : by_output) faults.insert(faults.end(), list.begin(), list.end());
    return faults;
}

void mark_equal_outputs_in_class(Problem& problem, const TermTable& terms) {
    const int ny = problem.outputs();
    problem.out_related.resize(static_cast<std::size_t>(ny), -1);
    problem.out_code.resize(static_cast<std::size_t>(ny), relation_ordinary);
    const Space s = Space::of(problem.inputs(), ny);
    const Space s1 = Space::of(problem.inputs(), 1);
    const Cover result = term_cover(terms, s);
    const std::vector<int> polarity = polarity_of(problem);
    std::vector<Cover> parts(static_cast<std::size_t>(ny));
    std::vector<std::uint64_t> sig(static_cast<std::size_t>(ny));
    const std::vector<Cube> points = sample_points(s1);
    threads::for_each_index(0, ny, [&](int j) {
        parts[j] = one_output(result, j, s1);
        sig[j] = signature(parts[j], points);
        if (polarity[j] == 0) sig[j] = ~sig[j];  // the realised function's values
    });
    for (int i = 1; i < ny; ++i) {
        if (problem.out_code[i] != relation_ordinary) continue;
        for (int k = 0; k < i; ++k) {
            if (problem.out_code[k] > relation_const1) continue;
            const bool same_polarity = polarity[i] == polarity[k];
            // Realised equal: covers equal with equal polarities, complementary with opposite ones.
            if (sig[i] == sig[k]) {
                const bool equal = same_polarity ? inside(parts[i], parts[k], s1) && inside(parts[k], parts[i], s1)
                                                 : complementary(parts[i], parts[k], s1);
                if (equal) {
                    problem.out_related[i] = k;
                    problem.out_code[i] = relation_identical;
                }
            } else if (sig[i] == ~sig[k]) {
                const bool inverse = same_polarity ? complementary(parts[i], parts[k], s1)
                                                   : inside(parts[i], parts[k], s1) && inside(parts[k], parts[i], s1);
                if (inverse) {
                    problem.out_related[i] = k;
                    problem.out_code[i] = relation_inverse;
                }
            }
        }
    }
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
