#include "export/result_facts.h"

#include "model/problem.h"

namespace vormel {

std::string proof_of(const Problem& p) {
    const ExpandedTable& in = p.extab;
    const FinalOutput& out = p.expanded_final_output;
    if (in.last < 0) {
        // A cube-method run without an expanded table was proven on cubes.
        switch (p.cube_proof) {
            case ProofOutcome::passed: return "passed";
            case ProofOutcome::failed: return "failed";
            default: return "not run";
        }
    }
    if (out.last != in.last || out.ny != in.ny || out.nx != in.nx) return "not run";
    for (int r = 0; r <= in.last; ++r) {
        const std::uint8_t* want = in.y(r);
        const std::uint8_t* got = out.y(r);
        for (int j = 0; j < in.ny; ++j) {
            if (want[j] != kDash && want[j] != got[j]) return "failed";
        }
    }
    return "passed";
}

OutputRelation relation_of(const Problem& p, int j) {
    switch (p.out_code[j]) {
        case relation_const0:
        case relation_undefined_normal: return {"constant_0"};
        case relation_const1:
        case relation_undefined_inverted: return {"constant_1"};
        case relation_identical: return {"identical", p.out_related[j]};
        case relation_inverse: return {"inverse", p.out_related[j]};
        default: return {"ordinary", -1, j < static_cast<int>(p.polarity.size()) && p.polarity[j] == 0 ? "0" : "1"};
    }
}

OwnTerms own_terms(const Problem& p, const TermTable& terms, int j) {
    OwnTerms own;
    if (p.out_code[j] != relation_ordinary) return own;
    for (int r = 0; r <= terms.last; ++r) {
        if (terms.y(r)[j] == kDash) continue;
        ++own.terms;
        for (int i = 0; i < terms.nx; ++i) own.literals += terms.x(r)[i] != kDash;
    }
    return own;
}

}  // namespace vormel
