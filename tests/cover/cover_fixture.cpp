#include "cover/cover_fixture.h"

#include "model/cube_text.h"

namespace cover_test {

std::vector<std::string> CoverBench::stored(int j, int v) const {
    std::vector<std::string> cubes;
    for (int p = 0; p <= store.last(j, v); ++p) cubes.push_back(vormel::cube_text(store.prime(j, v, p), store.inputs()));
    return cubes;
}

namespace {

// Cube number c in base 3, input 0 the most significant digit: 0, 1, or 2 = "-".
std::string cube_of(int c, int n) {
    std::string cube(static_cast<std::size_t>(n), '-');
    for (int i = n - 1; i >= 0; --i) {
        cube[i] = "01-"[c % 3];
        c /= 3;
    }
    return cube;
}

bool inside(const std::string& cube, int line, int n) {
    for (int i = 0; i < n; ++i) {
        const int bit = (line >> (n - 1 - i)) & 1;
        if (cube[i] != '-' && cube[i] - '0' != bit) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> brute_force_primes(const vormel::Problem& problem, int j, int v) {
    const int n = problem.inputs();
    auto implicant = [&](const std::string& cube) {
        for (int line = 0; line <= problem.extab.last; ++line) {
            const int y = problem.extab.y(line)[j];
            if (inside(cube, line, n) && y != v && y != 2) return false;
        }
        return true;
    };
    int cubes = 1;
    for (int i = 0; i < n; ++i) cubes *= 3;
    std::vector<std::string> primes;
    for (int c = 0; c < cubes; ++c) {
        const std::string cube = cube_of(c, n);
        if (!implicant(cube)) continue;
        bool prime = true;
        for (int i = 0; i < n && prime; ++i) {
            if (cube[i] == '-') continue;
            std::string wider = cube;
            wider[i] = '-';
            prime = !implicant(wider);
        }
        if (prime) primes.push_back(cube);
    }
    return primes;
}

std::vector<int> function_values(int inputs, const std::vector<int>& ones, const std::vector<int>& dont_cares) {
    std::vector<int> values(static_cast<std::size_t>(1) << inputs, 0);
    for (int line : ones) values[line] = 1;
    for (int line : dont_cares) values[line] = 2;
    return values;
}

}  // namespace cover_test
