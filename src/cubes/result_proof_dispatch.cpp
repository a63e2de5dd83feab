#include <iterator>
#include <stdexcept>
#include <string>

#include "cubes/result_proof.h"
#include "cubes/result_proof_classes.h"
#include "model/problem.h"

namespace vormel::cubes {

namespace {

struct ClassProof {
    std::vector<ProofFault> (*prove)(const Problem&, const TermTable&);
    void (*mark_equal)(Problem&, const TermTable&);
};

#define VORMEL_CLASS_PROOF(index, name, in_words, out_words) {name::prove_result_in_class, name::mark_equal_outputs_in_class},
constexpr ClassProof kByClass[] = {VORMEL_CUBE_CLASSES(VORMEL_CLASS_PROOF)};
#undef VORMEL_CLASS_PROOF
static_assert(std::size(kByClass) == kWidthClassCount);
// The readers take what the widest class holds.
static_assert(kMaxCubeInputs == vormel::kMaxCubeInputs && kMaxCubeOutputs == vormel::kMaxCubeOutputs);

const ClassProof& for_problem(const Problem& problem) {
    const int k = width_class_for(problem.inputs(), problem.outputs());
    if (k < 0) {
        throw std::length_error("a proof of " + std::to_string(problem.inputs()) + " inputs and " +
                                std::to_string(problem.outputs()) + " outputs is wider than the cube code takes");
    }
    return kByClass[k];
}

}  // namespace

std::vector<ProofFault> prove_result(const Problem& problem, const TermTable& terms) {
    return for_problem(problem).prove(problem, terms);
}

void mark_equal_realised_outputs(Problem& problem, const TermTable& terms) { for_problem(problem).mark_equal(problem, terms); }

}  // namespace vormel::cubes
