#include <stdexcept>
#include <string>

#include "cubes/term_complement.h"
#include "cubes/width_classes.h"

// The per-class copies (cubes/function_covers.h), declared here without their cube types.
#define VORMEL_DECLARE_COMPLEMENT(index, name, in_words, out_words) \
    namespace vormel::cubes::name {            \
    TermTable complement_table(const TermTable& f); \
    }
VORMEL_CUBE_CLASSES(VORMEL_DECLARE_COMPLEMENT)
#undef VORMEL_DECLARE_COMPLEMENT

namespace vormel::cubes {

TermTable complement_terms(const TermTable& f) {
    using Complement = TermTable (*)(const TermTable&);
#define VORMEL_COMPLEMENT_OF(index, name, in_words, out_words) name::complement_table,
    static constexpr Complement kByClass[] = {VORMEL_CUBE_CLASSES(VORMEL_COMPLEMENT_OF)};
#undef VORMEL_COMPLEMENT_OF
    const int k = width_class_for(f.nx, f.ny);
    if (k < 0) {
        throw std::length_error("a complement of " + std::to_string(f.nx) + " inputs and " + std::to_string(f.ny) +
                                " outputs is wider than the cube code takes");
    }
    return kByClass[k](f);
}

}  // namespace vormel::cubes
