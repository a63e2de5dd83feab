#pragma once
#include <cstdint>
#include <vector>

namespace vormel {

struct Problem;
class PrimeStore;

// Pairs of stored terms, of two different outputs, that count as shared: term a has at least one
// literal and the two terms differ in at most one input. In the order the cost estimate visits them:
// value v, output j, term a of (j, v), value w, later output j2, term b of (j2, w).
struct SharedTerms {
    struct Pair {
        std::uint8_t j, v, j2, w;
    };
    std::vector<Pair> pairs;
};
SharedTerms find_shared_terms(const Problem& problem, const PrimeStore& store);

// Sets every output's polarity from the cost estimate at weight t: stored terms plus t times the
// literal share, less a bonus for every shared pair; a tie keeps the normal polarity.
void estimate_polarity(Problem& problem, const PrimeStore& store, const SharedTerms& shared, double t);

}  // namespace vormel
