#include "minimize/function_oracle.h"

#include "cubes/cover_algebra.h"
#include "cubes/cube_oracle.h"

namespace vormel::minimize::testing {

using cubes::Cover;
using cubes::Cube;

PointFunction random_function(std::mt19937& rng, int nx, int ny) {
    PointFunction fn;
    fn.space = cubes::Space::of(nx, ny);
    fn.values.assign(static_cast<std::size_t>(ny) << nx, point_off);
    if (nx <= 8 && rng() % 3 == 0) {
        // No structure at all: every point of every output drawn on its own.
        const int on_percent = 20 + static_cast<int>(rng() % 40), dc_percent = static_cast<int>(rng() % 30);
        for (std::uint8_t& v : fn.values) {
            const int r = static_cast<int>(rng() % 100);
            v = r < on_percent ? point_on : r < on_percent + dc_percent ? point_dc : point_off;
        }
        fn.on_cubes = point_cover(fn, point_on);
        return fn;
    }
    const int on_cubes = 1 + static_cast<int>(rng() % (3 * nx));
    const int dc_cubes = static_cast<int>(rng() % 6);
    const int free_percent = 30 + static_cast<int>(rng() % 40);
    for (int k = 0; k < on_cubes + dc_cubes; ++k) {
        const Cube c = cubes::testing::random_cube(rng, fn.space, k < on_cubes ? free_percent : free_percent / 2);
        if (k < on_cubes) fn.on_cubes.push_back(c);
        for_each_point(c, nx, [&](std::uint32_t p) {
            for (int j = 0; j < ny; ++j) {
                if (!cubes::has_output(c, j)) continue;
                std::uint8_t& v = fn.values[(static_cast<std::size_t>(j) << nx) + p];
                if (k < on_cubes) v = point_on;
                else if (v == point_off) v = point_dc;
            }
        });
    }
    return fn;
}

Cover point_cover(const PointFunction& fn, PointValue value) {
    Cover f;
    const int nx = fn.space.nx;
    for (std::uint32_t p = 0; p < fn.points(); ++p) {
        Cube c;
        for (int i = 0; i < nx; ++i) c.in |= cubes::input_bits(i, (p >> i) & 1);
        for (int j = 0; j < fn.space.ny; ++j)
            if (fn.at(j, p) == value) cubes::set_output(c, j);
        if (!cubes::outputs_empty(c)) f.push_back(c);
    }
    return f;
}

FunctionCovers covers_of(const PointFunction& fn, bool points) {
    FunctionCovers f;
    f.dc = point_cover(fn, point_dc);
    if (points) {
        f.on = point_cover(fn, point_on);
    } else {
        f.on = fn.on_cubes;
        cubes::remove_contained(f.dc);
    }
    Cover on_or_dc = f.on;
    on_or_dc.insert(on_or_dc.end(), f.dc.begin(), f.dc.end());
    f.off = cubes::complement(on_or_dc, fn.space);
    return f;
}

bool touches_off(const Cube& c, const PointFunction& fn) {
    bool off = false;
    for_each_point(c, fn.space.nx, [&](std::uint32_t p) {
        for (int j = 0; j < fn.space.ny && !off; ++j) off = cubes::has_output(c, j) && fn.at(j, p) == point_off;
    });
    return off;
}

namespace {

// How many cubes of f cover each point of each output (index as in PointFunction::values).
std::vector<int> coverage(const Cover& f, const PointFunction& fn) {
    std::vector<int> count(fn.values.size(), 0);
    for (const Cube& c : f)
        for_each_point(c, fn.space.nx, [&](std::uint32_t p) {
            for (int j = 0; j < fn.space.ny; ++j)
                if (cubes::has_output(c, j)) ++count[(static_cast<std::size_t>(j) << fn.space.nx) + p];
        });
    return count;
}

}  // namespace

std::string check_valid(const Cover& f, const PointFunction& fn) {
    for (std::size_t k = 0; k < f.size(); ++k)
        if (touches_off(f[k], fn)) return "cube " + std::to_string(k) + " touches the OFF-set";
    const std::vector<int> count = coverage(f, fn);
    for (std::size_t i = 0; i < count.size(); ++i)
        if (fn.values[i] == point_on && count[i] == 0)
            return "ON point " + std::to_string(i & (fn.points() - 1)) + " of output " +
                   std::to_string(i >> fn.space.nx) + " uncovered";
    return "";
}

std::string check_prime(const Cover& f, const PointFunction& fn, bool outputs_too) {
    for (std::size_t k = 0; k < f.size(); ++k) {
        for (int i = 0; i < fn.space.nx; ++i) {
            Cube raised = f[k];
            raised.in |= cubes::input_pair(i);
            if (raised.in != f[k].in && !touches_off(raised, fn))
                return "cube " + std::to_string(k) + " can drop the literal of input " + std::to_string(i);
        }
        if (!outputs_too) continue;
        for (int j = 0; j < fn.space.ny; ++j) {
            if (cubes::has_output(f[k], j)) continue;
            Cube raised = f[k];
            cubes::set_output(raised, j);
            if (!touches_off(raised, fn)) return "cube " + std::to_string(k) + " can take output " + std::to_string(j);
        }
    }
    return "";
}

std::string check_irredundant(const Cover& f, const PointFunction& fn) {
    const std::vector<int> count = coverage(f, fn);
    for (std::size_t k = 0; k < f.size(); ++k) {
        bool own = false;
        for_each_point(f[k], fn.space.nx, [&](std::uint32_t p) {
            for (int j = 0; j < fn.space.ny && !own; ++j) {
                const std::size_t i = (static_cast<std::size_t>(j) << fn.space.nx) + p;
                own = cubes::has_output(f[k], j) && fn.values[i] == point_on && count[i] == 1;
            }
        });
        if (!own) return "cube " + std::to_string(k) + " is redundant";
    }
    return "";
}

Cover all_primes(const PointFunction& fn) {
    const int nx = fn.space.nx;
    // Every input part with the largest output part that keeps it off the OFF-set.
    Cover implicants;
    std::uint32_t count = 1;
    for (int i = 0; i < nx; ++i) count *= 3;
    for (std::uint32_t code = 0; code < count; ++code) {
        Cube c;
        std::uint32_t rest = code;
        for (int i = 0; i < nx; ++i, rest /= 3) c.in.w[0] |= std::uint64_t{rest % 3 + 1} << (2 * i);
        for (int j = 0; j < fn.space.ny; ++j) {
            Cube single{c.in, {0, 0}};
            cubes::set_output(single, j);
            if (!touches_off(single, fn)) cubes::set_output(c, j);
        }
        if (!cubes::outputs_empty(c)) implicants.push_back(c);
    }
    Cover primes;
    for (const Cube& c : implicants) {
        bool inside = false;
        for (const Cube& d : implicants) inside = inside || (!(d == c) && cubes::contains(d, c));
        if (!inside) primes.push_back(c);
    }
    return primes;
}

bool essential_by_points(const Cube& p, const Cover& primes, const PointFunction& fn) {
    Cover others;
    for (const Cube& q : primes)
        if (!(q == p)) others.push_back(q);
    bool own = false;
    for_each_point(p, fn.space.nx, [&](std::uint32_t x) {
        for (int j = 0; j < fn.space.ny && !own; ++j)
            own = cubes::has_output(p, j) && fn.at(j, x) == point_on &&
                  !cubes::testing::cover_has(others, x, j, fn.space.nx);
    });
    return own;
}

}  // namespace vormel::minimize::testing
