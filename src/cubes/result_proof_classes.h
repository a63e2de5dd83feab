#pragma once
#include <vector>

#include "cubes/result_proof.h"
#include "cubes/width_classes.h"

// The proof's copies of each width class (cubes/result_proof.cpp is compiled once per class);
// cubes/result_proof.h's entry points pick one.
#define VORMEL_DECLARE_RESULT_PROOF(index, name, in_words, out_words)                                \
    namespace vormel::cubes::name {                                                                  \
    std::vector<ProofFault> prove_result_in_class(const Problem& problem, const TermTable& terms);   \
    void mark_equal_outputs_in_class(Problem& problem, const TermTable& terms);                      \
    }
VORMEL_CUBE_CLASSES(VORMEL_DECLARE_RESULT_PROOF)
#undef VORMEL_DECLARE_RESULT_PROOF
