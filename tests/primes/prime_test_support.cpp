#include "prime_test_support.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>

#include "model/cube_text.h"

namespace vormel::testing {

namespace {

using Row = std::vector<std::uint8_t>;

std::string text_of(const Row& row) { return cube_text(row.data(), static_cast<int>(row.size())); }

Row minterm_row(int inputs, int minterm) {
    Row row(static_cast<std::size_t>(inputs));
    for (int i = 0; i < inputs; ++i) row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((minterm >> (inputs - 1 - i)) & 1);
    return row;
}

std::vector<Row> set_rows(const Problem& problem, int output, int value) {
    std::vector<Row> rows;
    for (int r = 0; r <= problem.extab.last; ++r) {
        const std::uint8_t y = problem.extab.y(r)[output];
        if (y == value || y == kDash) rows.push_back(minterm_row(problem.inputs(), r));
    }
    return rows;
}

}  // namespace

std::vector<std::string> PrimeBench::lines() const {
    std::vector<std::string> out;
    std::istringstream in(area.text());
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> PrimeBench::stored(int output, int value) const {
    std::vector<std::string> out;
    for (int p = 0; p <= store.last(output, value); ++p) out.push_back(cube_text(store.prime(output, value, p), store.inputs()));
    return out;
}

void make_problem(Problem& problem, int inputs, int outputs) {
    problem = Problem{};
    problem.xmax = inputs - 1;
    problem.ymax = outputs - 1;
    for (int i = 0; i < inputs; ++i) problem.xnames.push_back("x" + std::to_string(i));
    const char* letters[] = {"f", "g", "h"};
    for (int j = 0; j < outputs; ++j) problem.ynames.push_back(j < 3 ? letters[j] : "y" + std::to_string(j));
    problem.ynames_maxlen = 0;
    for (const auto& name : problem.ynames) problem.ynames_maxlen = std::max(problem.ynames_maxlen, static_cast<int>(name.size()));
    problem.extab.create(inputs, outputs, 0);
    problem.polarity.assign(static_cast<std::size_t>(outputs), 1);
}

void randomize(Problem& problem, std::mt19937& rng, double ones, double dcs) {
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    for (int r = 0; r <= problem.extab.last; ++r) {
        for (int j = 0; j < problem.outputs(); ++j) {
            const double u = draw(rng);
            set_y(problem, r, j, u < ones ? kOne : (u < ones + dcs ? kDash : kZero));
        }
    }
}

std::set<std::string> brute_force_primes(const Problem& problem, int output, int value) {
    const int n = problem.inputs();
    const std::uint32_t full = (1u << n) - 1;
    // implicant[care << n | value]: every minterm of the cube is in the set.
    std::vector<std::uint8_t> implicant(std::size_t{1} << (2 * n), 0);
    for (std::uint32_t care = full + 1; care-- > 0;) {
        for (std::uint32_t v = 0; v <= full; ++v) {
            if ((v & ~care) != 0) continue;
            bool is;
            if (care == full) {
                const std::uint8_t y = problem.extab.y(static_cast<int>(v))[output];
                is = y == value || y == kDash;
            } else {
                const std::uint32_t d = ~care & full & (~(~care & full) + 1);
                is = implicant[(std::size_t{care | d} << n) | v] && implicant[(std::size_t{care | d} << n) | (v | d)];
            }
            implicant[(std::size_t{care} << n) | v] = is;
        }
    }
    std::set<std::string> primes;
    for (std::uint32_t care = 0; care <= full; ++care) {
        for (std::uint32_t v = 0; v <= full; ++v) {
            if ((v & ~care) != 0 || !implicant[(std::size_t{care} << n) | v]) continue;
            bool prime = true;
            for (std::uint32_t bits = care; bits != 0 && prime; bits &= bits - 1) {
                const std::uint32_t b = bits & (~bits + 1);
                if (implicant[(std::size_t{care & ~b} << n) | (v & ~b)]) prime = false;
            }
            if (!prime) continue;
            std::string text(static_cast<std::size_t>(n), '-');
            for (int i = 0; i < n; ++i) {
                const std::uint32_t bit = 1u << (n - 1 - i);
                if (care & bit) text[static_cast<std::size_t>(i)] = (v & bit) ? '1' : '0';
            }
            primes.insert(text);
        }
    }
    return primes;
}

std::vector<std::string> reference_qmc(const Problem& problem, int output, int value) {
    const int n = problem.inputs();
    std::vector<Row> in = set_rows(problem, output, value);
    for (;;) {
        std::vector<std::vector<int>> groups(static_cast<std::size_t>(n) + 1);
        for (std::size_t i = 0; i < in.size(); ++i) {
            groups[static_cast<std::size_t>(std::count(in[i].begin(), in[i].end(), kOne))].push_back(static_cast<int>(i));
        }
        std::vector<int> used(in.size(), 0);
        std::vector<Row> out;
        std::set<Row> produced;
        for (int c = 0; c < n; ++c) {
            for (int a : groups[static_cast<std::size_t>(c)]) {
                for (int b : groups[static_cast<std::size_t>(c) + 1]) {
                    const Row& ra = in[static_cast<std::size_t>(a)];
                    const Row& rb = in[static_cast<std::size_t>(b)];
                    int differ = 0;
                    int p = -1;
                    for (int i = 0; i < n && differ <= 1; ++i) {
                        if (ra[static_cast<std::size_t>(i)] != rb[static_cast<std::size_t>(i)]) ++differ, p = i;
                    }
                    if (differ != 1 || ra[static_cast<std::size_t>(p)] == kDash || rb[static_cast<std::size_t>(p)] == kDash) continue;
                    used[static_cast<std::size_t>(a)] = used[static_cast<std::size_t>(b)] = 1;
                    Row merged = ra;
                    merged[static_cast<std::size_t>(p)] = kDash;
                    if (produced.insert(merged).second) out.push_back(merged);
                }
            }
        }
        if (out.empty()) break;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (!used[i]) out.push_back(in[i]);
        }
        in.swap(out);
    }
    std::vector<std::string> result;
    for (const Row& row : in) result.push_back(text_of(row));
    return result;
}

namespace {

// The in-place method on byte rows, step by step as written.
struct ReferenceCns {
    int n;
    std::vector<Row> tempa;
    int tlast = -1;
    std::vector<int> free_rows;
    std::vector<int> split;
    int split_count = -1;

    Row& row(int r) {
        if (r >= static_cast<int>(tempa.size())) tempa.resize(static_cast<std::size_t>(r) + 1, Row(static_cast<std::size_t>(n), kDash));
        return tempa[static_cast<std::size_t>(r)];
    }

    int choose(const std::vector<int>& s) {
        int best = -1, best_score = -1;
        for (int i = 0; i < n; ++i) {
            if (split[static_cast<std::size_t>(i)]) continue;
            int z = 0;
            for (int r : s) z += row(r)[static_cast<std::size_t>(i)] == kZero;
            const int o = static_cast<int>(s.size()) - z;
            if (z >= 1 && o >= 1 && std::max(z, o) - 1 > best_score) best_score = std::max(z, o) - 1, best = i;
        }
        return best;
    }

    void cofactor_side(std::vector<int>& list, int x, std::uint8_t v) {
        int constants = 0;
        std::vector<int> is_constant(static_cast<std::size_t>(n), 0);
        for (int i = 0; i < n; ++i) {
            if (split[static_cast<std::size_t>(i)]) continue;
            bool same = true;
            for (int r : list) same = same && row(r)[static_cast<std::size_t>(i)] == row(list[0])[static_cast<std::size_t>(i)];
            if (same) is_constant[static_cast<std::size_t>(i)] = 1, ++constants;
        }
        const int f = n - (split_count + 1) - constants;
        if (list.size() == 1) return;
        if (static_cast<double>(list.size()) == std::ldexp(1.0, f)) {
            for (int i = 0; i < n; ++i) {
                if (!split[static_cast<std::size_t>(i)] && !is_constant[static_cast<std::size_t>(i)]) row(list[0])[static_cast<std::size_t>(i)] = kDash;
            }
            for (std::size_t k = 1; k < list.size(); ++k) free_rows.push_back(list[k]);
            list.resize(1);
            return;
        }
        for (int r : list) row(r)[static_cast<std::size_t>(x)] = kDash;
        cofactor(list);
        for (int r : list) row(r)[static_cast<std::size_t>(x)] = v;
    }

    void absorb_consensus(std::vector<int>& lusedc) {
        const int c = lusedc.back();
        for (std::size_t k = 0; k + 1 < lusedc.size(); ++k) {
            const int r = lusedc[k];
            if (r < 0) continue;
            bool r_larger = false, c_larger = false, incomparable = false;
            for (int i = 0; i < n; ++i) {
                if (split[static_cast<std::size_t>(i)]) continue;
                const std::uint8_t a = row(r)[static_cast<std::size_t>(i)], b = row(c)[static_cast<std::size_t>(i)];
                if (a == b) continue;
                if (a != kDash && b != kDash) { incomparable = true; break; }
                if (a == kDash) r_larger = true;
                else c_larger = true;
            }
            if (incomparable || (r_larger && c_larger)) continue;
            if (r_larger) {
                free_rows.push_back(c);
                lusedc.pop_back();
                return;
            }
            free_rows.push_back(r);
            lusedc[k] = -1;
        }
    }

    bool contains(int c, int r) {
        for (int i = 0; i < n; ++i) {
            if (split[static_cast<std::size_t>(i)]) continue;
            const std::uint8_t cv = row(c)[static_cast<std::size_t>(i)];
            if (cv != kDash && cv != row(r)[static_cast<std::size_t>(i)]) return false;
        }
        return true;
    }

    void cofactor(std::vector<int>& lused) {
        if (lused.size() == 1) return;
        std::vector<int> zero, one;
        if (lused.size() == 2) {
            zero = {lused[0]};
            one = {lused[1]};
        } else {
            const int x = choose(lused);
            split[static_cast<std::size_t>(x)] = -1;
            ++split_count;
            for (int r : lused) (row(r)[static_cast<std::size_t>(x)] == kZero ? zero : one).push_back(r);
            cofactor_side(zero, x, kZero);
            cofactor_side(one, x, kOne);
            split[static_cast<std::size_t>(x)] = 0;
            --split_count;
        }
        std::vector<int> lusedc;
        for (int a : zero) {
            for (int b : one) {
                Row cand(static_cast<std::size_t>(n));
                int opposed = 0;
                for (int i = 0; i < n && opposed < 2; ++i) {
                    const std::uint8_t av = row(a)[static_cast<std::size_t>(i)], bv = row(b)[static_cast<std::size_t>(i)];
                    if (split[static_cast<std::size_t>(i)]) cand[static_cast<std::size_t>(i)] = kDash;
                    else if (av == bv) cand[static_cast<std::size_t>(i)] = av;
                    else if (av == kDash) cand[static_cast<std::size_t>(i)] = bv;
                    else if (bv == kDash) cand[static_cast<std::size_t>(i)] = av;
                    else if (++opposed == 1) cand[static_cast<std::size_t>(i)] = kDash;
                }
                if (opposed >= 2) continue;
                int r;
                if (free_rows.empty()) r = ++tlast;
                else r = free_rows.back(), free_rows.pop_back();
                row(r) = cand;
                lusedc.push_back(r);
                absorb_consensus(lusedc);
            }
        }
        lused.clear();
        for (int c : lusedc) {
            if (c < 0) continue;
            lused.push_back(c);
            for (auto* list : {&zero, &one}) {
                for (int& r : *list) {
                    if (r >= 0 && contains(c, r)) free_rows.push_back(r), r = -1;
                }
            }
        }
        for (int r : zero) if (r >= 0) lused.push_back(r);
        for (int r : one) if (r >= 0) lused.push_back(r);
    }
};

}  // namespace

std::vector<std::string> reference_cns(const Problem& problem, int output, int value) {
    const int n = problem.inputs();
    ReferenceCns ref{n, set_rows(problem, output, value), -1, {}, std::vector<int>(static_cast<std::size_t>(n), 0), -1};
    ref.tlast = static_cast<int>(ref.tempa.size()) - 1;
    std::vector<int> lused(ref.tempa.size());
    std::iota(lused.begin(), lused.end(), 0);
    if (lused.size() > 1) ref.cofactor(lused);
    std::sort(lused.begin(), lused.end());
    std::vector<float> weights(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) weights[static_cast<std::size_t>(i)] = static_cast<float>((n - 1 - i) / (std::ldexp(1.0, n - 1) + n - 1) + 1);
    std::vector<std::pair<float, std::string>> keyed;
    for (int r : lused) {
        float key = 0;
        for (int i = 0; i < n; ++i) {
            if (ref.row(r)[static_cast<std::size_t>(i)] == kDash) key += weights[static_cast<std::size_t>(i)];
        }
        keyed.emplace_back(key, text_of(ref.row(r)));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> result;
    for (const auto& entry : keyed) result.push_back(entry.second);
    return result;
}

}  // namespace vormel::testing
