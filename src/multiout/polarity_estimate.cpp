#include "multiout/polarity_estimate.h"

#include <bit>

#include "model/problem.h"
#include "multiout/cube_table.h"
#include "primes/prime_store.h"

namespace vormel {

SharedTerms find_shared_terms(const Problem& problem, const PrimeStore& store) {
    const int nx = problem.inputs();
    const int ny = problem.outputs();
    // Mask form of every stored term, by (output, value).
    std::vector<std::vector<CubeRow>> terms(static_cast<std::size_t>(ny) * 2);
    for (int j = 0; j < ny; ++j) {
        for (int v = 0; v < 2; ++v) {
            auto& list = terms[static_cast<std::size_t>(j * 2 + v)];
            for (int p = 0; p <= store.last(j, v); ++p) {
                CubeRow row;
                cube_from_bytes(store.prime(j, v, p), nx, row.care, row.value);
                list.push_back(row);
            }
        }
    }
    SharedTerms shared;
    for (int v = 0; v < 2; ++v) {
        for (int j = 0; j + 1 < ny; ++j) {
            for (const CubeRow& a : terms[static_cast<std::size_t>(j * 2 + v)]) {
                if (a.care == 0) continue;
                for (int w = 0; w < 2; ++w) {
                    for (int j2 = j + 1; j2 < ny; ++j2) {
                        for (const CubeRow& b : terms[static_cast<std::size_t>(j2 * 2 + w)]) {
                            const std::uint32_t differ = (a.care ^ b.care) | (a.care & b.care & (a.value ^ b.value));
                            if (std::popcount(differ) <= 1) {
                                shared.pairs.push_back({static_cast<std::uint8_t>(j), static_cast<std::uint8_t>(v),
                                                        static_cast<std::uint8_t>(j2), static_cast<std::uint8_t>(w)});
                            }
                        }
                    }
                }
            }
        }
    }
    return shared;
}

void estimate_polarity(Problem& problem, const PrimeStore& store, const SharedTerms& shared, double t) {
    const int nx = problem.inputs();
    const int ny = problem.outputs();
    const double scale = 100.0 * nx;
    std::vector<double> cost(static_cast<std::size_t>(ny) * 2);
    std::vector<double> literals(static_cast<std::size_t>(ny) * 2, 0.0);
    auto at = [](int j, int v) { return static_cast<std::size_t>(j * 2 + v); };
    for (int v = 0; v < 2; ++v) {
        for (int j = 0; j < ny; ++j) {
            const int last = store.last(j, v);
            if (last == -1) {
                cost[at(j, v)] = 99999999;
                continue;
            }
            int count = 0;
            for (int p = 0; p <= last; ++p) {
                const std::uint8_t* x = store.prime(j, v, p);
                for (int i = 0; i < nx; ++i) count += x[i] != kDash;
            }
            literals[at(j, v)] = count;
            cost[at(j, v)] = last + t * count / scale;
        }
    }
    for (const SharedTerms::Pair& p : shared.pairs) {
        cost[at(p.j, p.v)] = cost[at(p.j, p.v)] - t + t * store.last(p.j2, p.w) / 10 + t * literals[at(p.j2, p.w)] / scale;
        cost[at(p.j2, p.w)] = cost[at(p.j2, p.w)] - t + t * store.last(p.j, p.v) / 10 + t * literals[at(p.j, p.v)] / scale;
    }
    for (int j = 0; j < ny; ++j) {
        problem.polarity[static_cast<std::size_t>(j)] = cost[at(j, 1)] > cost[at(j, 0)] ? 0 : 1;
    }
}

}  // namespace vormel
