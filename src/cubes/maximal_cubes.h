#pragma once
#include <functional>

#include "cubes/cube.h"

namespace vormel::cubes {
inline namespace VORMEL_CUBE_CLASS {

// Keeps only the maximal cubes of f: drops duplicates and every cube inside another one. The
// result is in a canonical order (larger cubes first, then by bit pattern), so equal sets give
// equal covers. Cost: a sort plus one containment test per pair of (candidate, kept cube) whose
// sizes allow containment; meant for the large sets of the exact method.
void keep_maximal(Cover& f);
// The same, asking `stop` every thousand cubes: false, with f unspecified, when it said stop.
bool keep_maximal_until(Cover& f, const std::function<bool()>& stop);

}  // namespace VORMEL_CUBE_CLASS
}  // namespace vormel::cubes
