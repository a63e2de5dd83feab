#include "minimize/minterm_oracle.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "cubes/cube_oracle.h"

namespace vormel::minimize::testing {

using cubes::Cover;
using cubes::Cube;

std::uint64_t SmallFunction::mask(int j, bool on, bool dc, bool off) const {
    std::uint64_t m = 0;
    for (int p = 0; p < points(); ++p) {
        const Value v = value[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)];
        if ((v == Value::on && on) || (v == Value::dc && dc) || (v == Value::off && off)) m |= std::uint64_t{1} << p;
    }
    return m;
}

namespace {

std::uint64_t point_word(int p, int nx) {
    std::uint64_t in = 0;
    for (int i = 0; i < nx; ++i) in |= std::uint64_t{((p >> i) & 1) ? 2u : 1u} << (2 * i);
    return in;
}

Cover point_cover(const SmallFunction& f, Value wanted) {
    Cover c;
    for (int p = 0; p < f.points(); ++p) {
        Cube cube{point_word(p, f.space.nx), {0, 0}};
        for (int j = 0; j < f.space.ny; ++j)
            if (f.value[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)] == wanted) cubes::set_output(cube, j);
        if (!cubes::outputs_empty(cube)) c.push_back(cube);
    }
    return c;
}

}  // namespace

Cover SmallFunction::dc_cover() const { return point_cover(*this, Value::dc); }
Cover SmallFunction::off_cover() const { return point_cover(*this, Value::off); }

SmallFunction random_small_function(std::mt19937& rng, int nx, int ny) {
    SmallFunction f;
    f.space = cubes::Space::of(nx, ny);
    const int on_count = 1 + static_cast<int>(rng() % (2 + 2 * nx));
    const int dc_count = static_cast<int>(rng() % 4);
    const int free_percent = 20 + static_cast<int>(rng() % 50);
    f.on_cubes = cubes::testing::random_cover(rng, f.space, on_count, free_percent);
    const Cover dc_cubes = cubes::testing::random_cover(rng, f.space, dc_count, free_percent);
    f.value.assign(static_cast<std::size_t>(ny), std::vector<Value>(static_cast<std::size_t>(f.points()), Value::off));
    for (int j = 0; j < ny; ++j) {
        for (int p = 0; p < f.points(); ++p) {
            Value& v = f.value[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)];
            if (cubes::testing::cover_has(dc_cubes, static_cast<std::uint32_t>(p), j, nx)) v = Value::dc;
            if (cubes::testing::cover_has(f.on_cubes, static_cast<std::uint32_t>(p), j, nx)) v = Value::on;
        }
    }
    return f;
}

SmallFunction random_point_function(std::mt19937& rng, int nx, int ny, int on_percent, int dc_percent) {
    SmallFunction f;
    f.space = cubes::Space::of(nx, ny);
    f.value.assign(static_cast<std::size_t>(ny), std::vector<Value>(static_cast<std::size_t>(f.points()), Value::off));
    for (int j = 0; j < ny; ++j) {
        for (int p = 0; p < f.points(); ++p) {
            const int r = static_cast<int>(rng() % 100);
            f.value[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)] =
                r < on_percent ? Value::on : r < on_percent + dc_percent ? Value::dc : Value::off;
        }
    }
    f.on_cubes = point_cover(f, Value::on);
    return f;
}

std::uint64_t cube_points(std::uint64_t in, int nx) {
    std::uint64_t m = 0;
    for (int p = 0; p < (1 << nx); ++p)
        if (cubes::testing::cube_has_point(Cube{in, {1, 0}}, static_cast<std::uint32_t>(p), nx)) m |= std::uint64_t{1} << p;
    return m;
}

Cover brute_force_primes(const SmallFunction& f) {
    const int nx = f.space.nx, ny = f.space.ny;
    std::vector<std::uint64_t> allowed(static_cast<std::size_t>(ny));
    for (int j = 0; j < ny; ++j) allowed[static_cast<std::size_t>(j)] = f.mask(j, true, true, false);
    auto outputs_fitting = [&](std::uint64_t in) {
        const std::uint64_t pts = cube_points(in, nx);
        std::uint64_t outs = 0;
        for (int j = 0; j < ny; ++j)
            if ((pts & ~allowed[static_cast<std::size_t>(j)]) == 0) outs |= std::uint64_t{1} << j;
        return outs;
    };
    Cover primes;
    int cubes3 = 1;
    for (int i = 0; i < nx; ++i) cubes3 *= 3;
    for (int code = 0; code < cubes3; ++code) {
        std::uint64_t in = 0;
        for (int i = 0, rest = code; i < nx; ++i, rest /= 3) in |= std::uint64_t(rest % 3 + 1) << (2 * i);
        const std::uint64_t outs = outputs_fitting(in);
        if (outs == 0) continue;
        bool prime = true;
        for (int i = 0; i < nx && prime; ++i) {
            const std::uint64_t pair = std::uint64_t{3} << (2 * i);
            if ((in & pair) == pair) continue;
            prime = (outs & ~outputs_fitting(in | pair)) != 0;
        }
        if (prime) primes.push_back(Cube{in, {outs, 0}});
    }
    std::sort(primes.begin(), primes.end(), [](const Cube& a, const Cube& b) {
        return a.in != b.in ? a.in < b.in : a.out < b.out;
    });
    return primes;
}

BruteForceCost brute_force_minimum(const SmallFunction& f, const Cover& primes) {
    // ON points (point, output) numbered j * 64 + p; masks of three words.
    using Mask = std::array<std::uint64_t, 3>;
    const int nx = f.space.nx, ny = f.space.ny;
    Mask need{};
    for (int j = 0; j < ny; ++j) need[static_cast<std::size_t>(j)] = f.mask(j, true, false, false);
    std::vector<Mask> covers(primes.size());
    std::vector<int> literals(primes.size());
    for (std::size_t k = 0; k < primes.size(); ++k) {
        const std::uint64_t pts = cube_points(primes[k].in.w[0], nx);
        for (int j = 0; j < ny; ++j)
            if (cubes::has_output(primes[k], j)) covers[k][static_cast<std::size_t>(j)] = pts & need[static_cast<std::size_t>(j)];
        literals[k] = cubes::literal_count(primes[k], f.space);
    }
    // Points sharing a prime with each point.
    std::vector<Mask> neighbours(3 * 64, Mask{});
    for (const Mask& m : covers)
        for (int w = 0; w < 3; ++w)
            for (std::uint64_t b = m[static_cast<std::size_t>(w)]; b; b &= b - 1) {
                Mask& n = neighbours[static_cast<std::size_t>(w * 64 + std::countr_zero(b))];
                for (int v = 0; v < 3; ++v) n[static_cast<std::size_t>(v)] |= m[static_cast<std::size_t>(v)];
            }
    auto disjoint_points = [&](const Mask& left) {
        Mask blocked{};
        int count = 0;
        for (int w = 0; w < 3; ++w)
            for (std::uint64_t b = left[static_cast<std::size_t>(w)]; b; b &= b - 1) {
                const int pt = w * 64 + std::countr_zero(b);
                if ((blocked[static_cast<std::size_t>(w)] >> (pt & 63)) & 1) continue;
                ++count;
                for (int v = 0; v < 3; ++v) blocked[static_cast<std::size_t>(v)] |= neighbours[static_cast<std::size_t>(pt)][static_cast<std::size_t>(v)];
            }
        return count;
    };
    const int cheapest = literals.empty() ? 0 : *std::min_element(literals.begin(), literals.end());
    BruteForceCost best{1 << 20, 1 << 20};
    std::function<void(const Mask&, int, int)> search = [&](const Mask& left, int terms, int lits) {
        int w = 0;
        while (w < 3 && left[static_cast<std::size_t>(w)] == 0) ++w;
        if (w == 3) {
            if (terms < best.terms || (terms == best.terms && lits < best.literals)) best = {terms, lits};
            return;
        }
        const int more = disjoint_points(left);
        if (terms + more > best.terms || (terms + more == best.terms && lits + more * cheapest >= best.literals)) return;
        const int pt = w * 64 + std::countr_zero(left[static_cast<std::size_t>(w)]);
        for (std::size_t k = 0; k < primes.size(); ++k) {
            if (!((covers[k][static_cast<std::size_t>(pt / 64)] >> (pt % 64)) & 1)) continue;
            Mask next = left;
            for (int v = 0; v < 3; ++v) next[static_cast<std::size_t>(v)] &= ~covers[k][static_cast<std::size_t>(v)];
            search(next, terms + 1, lits + literals[k]);
        }
    };
    search(need, 0, 0);
    return best;
}

bool covers_exactly(const SmallFunction& f, const Cover& cover) {
    for (int j = 0; j < f.space.ny; ++j) {
        for (int p = 0; p < f.points(); ++p) {
            const bool in = cubes::testing::cover_has(cover, static_cast<std::uint32_t>(p), j, f.space.nx);
            const Value v = f.value[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)];
            if ((v == Value::on && !in) || (v == Value::off && in)) return false;
        }
    }
    return true;
}

}  // namespace vormel::minimize::testing
