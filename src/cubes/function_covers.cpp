#include "cubes/function_covers.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <stdexcept>

#include "cubes/cover_algebra.h"
#include "cubes/input_words.h"
#include "model/problem.h"
#include "report/run_threads.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

InBits input_word(const std::uint8_t* x, int nx) {
    InBits in;
    for (int i = 0; i < nx; ++i) in.w[i >> 5] |= std::uint64_t{x[i] == kZero ? 1u : x[i] == kOne ? 2u : 3u} << (2 * (i & 31));
    return in;
}

void input_bytes(const InBits& in, int nx, std::uint8_t* x) {
    for (int i = 0; i < nx; ++i) {
        const auto pair = (in.w[i >> 5] >> (2 * (i & 31))) & 3;
        x[i] = pair == 1 ? kZero : pair == 2 ? kOne : kDash;
    }
}

namespace {

// How many cubes an output's OFF part may have when the caller can do without it.
std::size_t off_cubes_allowed(std::size_t on_and_dc_cubes) { return 20'000 + 64 * on_and_dc_cubes; }

// The covers with OFF parts only for the outputs marked in `off_wanted`: each OFF part is a
// complement, the dearest step, and the proof needs them only for inverted outputs.
FunctionCovers covers_of(const Problem& problem, const std::vector<char>& off_wanted, bool off_optional = false) {
    const TermTable& rows = problem.intab;
    FunctionCovers f;
    f.space = Space::of(problem.inputs(), problem.outputs());
    const Space& s = f.space;

    InputCover all_rows;
    for (int r = 0; r <= rows.last; ++r) all_rows.push_back(input_word(rows.x(r), rows.nx));
    bool rest_matters = false;
    for (int j = 0; j < s.ny; ++j) rest_matters |= problem.rest_values[j] != kZero;
    const InputCover uncovered = rest_matters ? input_complement(all_rows, s) : InputCover{};

    // Per output: the rows saying 1, 0 and "-" there, and the numbers of the "-" rows.
    std::vector<InputCover> ones(s.ny), zeros(s.ny), dashes(s.ny), dc(s.ny), off(s.ny);
    std::vector<std::vector<int>> dash_rows(s.ny);
    for (int r = 0; r <= rows.last; ++r) {
        const std::uint8_t* y = rows.y(r);
        for (int j = 0; j < s.ny; ++j) {
            (y[j] == kOne ? ones : y[j] == kZero ? zeros : dashes)[j].push_back(all_rows[r]);
            if (y[j] != kOne && y[j] != kZero) dash_rows[j].push_back(r);
        }
    }
    // The ON cover keeps the rows as they stand (their output parts are a good start for sharing).
    for (int r = 0; r <= rows.last; ++r) {
        Cube c{all_rows[r], {}};
        for (int j = 0; j < s.ny; ++j) {
            if (rows.y(r)[j] == kOne) set_output(c, j);
        }
        if (!outputs_empty(c)) f.on.push_back(c);
    }
    Cube rest_on;
    for (int j = 0; j < s.ny; ++j) {
        if (problem.rest_values[j] == kOne) set_output(rest_on, j);
    }
    if (!outputs_empty(rest_on)) {
        for (const InBits& in : uncovered) f.on.push_back(Cube{in, rest_on.out});
    }
    remove_contained(f.on);

    // Unspecified: rows with "-" where no row says 1 or 0, and the uncovered points when $REST is "-".
    // That depends only on which rows say "-" (the others specify), so outputs with the same dash
    // rows share it: files whose don't-care rows leave every output open compute it once.
    std::map<std::vector<int>, std::vector<int>> outputs_of_dash_rows;
    for (int j = 0; j < s.ny; ++j) {
        std::vector<int>& key = dash_rows[j];
        key.push_back(problem.rest_values[j] == kDash ? -1 : -2);
        outputs_of_dash_rows[std::move(key)].push_back(j);
    }
    std::vector<const std::vector<int>*> groups;
    for (const auto& entry : outputs_of_dash_rows) groups.push_back(&entry.second);
    threads::for_each_index(0, static_cast<int>(groups.size()), [&](int g) {
        const int j = groups[g]->front();
        InputCover& d = dc[j];
        if (!dashes[j].empty()) {
            // What the dash rows cover minus what any row specifies, as the complement of (not dashes) + specified.
            // A dash row inside another, or inside one specified row, adds nothing: imported files
            // carry many (the pieces of a row that a don't care of one output splits say "-" for the rest).
            InputCover& open = dashes[j];
            remove_contained_inputs(open);
            const auto inside_specified = [&](const InBits& in) {
                const auto holds = [&in](const InBits& c) { return (in & ~c).none(); };
                return std::any_of(ones[j].begin(), ones[j].end(), holds) ||
                       std::any_of(zeros[j].begin(), zeros[j].end(), holds);
            };
            open.erase(std::remove_if(open.begin(), open.end(), inside_specified), open.end());
            if (!open.empty()) {
                InputCover outside = input_complement(open, s);
                outside.insert(outside.end(), ones[j].begin(), ones[j].end());
                outside.insert(outside.end(), zeros[j].begin(), zeros[j].end());
                d = input_complement(outside, s);
            }
        }
        if (problem.rest_values[j] == kDash) d.insert(d.end(), uncovered.begin(), uncovered.end());
        remove_contained_inputs(d);
        for (int k : *groups[g]) dc[k] = d;
    });
    std::atomic<bool> off_too_large = false;
    threads::for_each_index(0, s.ny, [&](int j) {
        if (!off_wanted[j] || off_too_large) return;
        // Everything else that is not 1 is 0.
        InputCover on_or_dc = ones[j];
        if (problem.rest_values[j] == kOne) on_or_dc.insert(on_or_dc.end(), uncovered.begin(), uncovered.end());
        on_or_dc.insert(on_or_dc.end(), dc[j].begin(), dc[j].end());
        if (!off_optional) {
            off[j] = input_complement(on_or_dc, s);
            return;
        }
        std::optional<InputCover> part = input_complement_within(on_or_dc, s, off_cubes_allowed(on_or_dc.size()));
        if (part) off[j] = std::move(*part);
        else off_too_large = true;
    });
    f.dc = join_output_parts(dc, s);
    if (off_too_large) {
        f.off_built = false;
        return f;
    }
    f.off = join_output_parts(off, s);
    return f;
}

}  // namespace

FunctionCovers function_covers(const Problem& problem, bool off_optional) {
    return covers_of(problem, std::vector<char>(static_cast<std::size_t>(problem.outputs()), 1), off_optional);
}

FunctionCovers care_covers(const Problem& problem, const std::vector<int>& polarity) {
    std::vector<char> inverted(static_cast<std::size_t>(problem.outputs()), 0);
    for (std::size_t j = 0; j < inverted.size() && j < polarity.size(); ++j) inverted[j] = polarity[j] == 0;
    FunctionCovers f = with_polarity(covers_of(problem, inverted), polarity);
    f.off.clear();
    return f;
}

FunctionCovers with_polarity(const FunctionCovers& f, const std::vector<int>& polarity) {
    FunctionCovers g;
    g.space = f.space;
    g.dc = f.dc;
    g.off_built = f.off_built;
    Cube inverted;
    for (int j = 0; j < f.space.ny; ++j) {
        if (j < static_cast<int>(polarity.size()) && polarity[j] == 0) set_output(inverted, j);
    }
    // An inverted output's ON part is its OFF part.
    if (!f.off_built && !outputs_empty(inverted)) throw std::logic_error("inverting outputs without their OFF parts");
    auto split = [&](const Cover& from, Cover& same, Cover& swapped) {
        for (const Cube& c : from) {
            Cube keep{c.in, c.out & ~inverted.out};
            Cube move{c.in, c.out & inverted.out};
            if (!outputs_empty(keep)) same.push_back(keep);
            if (!outputs_empty(move)) swapped.push_back(move);
        }
    };
    split(f.on, g.on, g.off);
    split(f.off, g.off, g.on);
    return g;
}

TermTable to_term_table(const Cover& f, const Space& s, const std::vector<int>& polarity) {
    TermTable t(s.nx, s.ny, static_cast<int>(f.size()));
    for (const Cube& c : f) {
        const int r = t.append_row();
        input_bytes(c.in, s.nx, t.x(r));
        for (int j = 0; j < s.ny; ++j) {
            if (has_output(c, j)) t.y(r)[j] = static_cast<std::uint8_t>(j < static_cast<int>(polarity.size()) ? polarity[j] : 1);
        }
    }
    return t;
}

TermTable complement_table(const TermTable& f) {
    const Space s = Space::of(f.nx, f.ny);
    Cover cover;
    for (int r = 0; r <= f.last; ++r) {
        Cube c{input_word(f.x(r), f.nx), {}};
        for (int j = 0; j < f.ny; ++j) {
            if (f.y(r)[j] == kOne) set_output(c, j);
        }
        if (!outputs_empty(c)) cover.push_back(c);
    }
    return to_term_table(complement(cover, s), s, {});
}

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
