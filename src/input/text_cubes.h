#pragma once
#include <string>
#include <vector>

namespace vormel {

// Input cubes as text, one character per input ("0", "1", "-"), of any width: what the importer
// needs of cube algebra, where a file may be wider than the cube engine's words.
using TextCube = std::string;
using TextCover = std::vector<TextCube>;

// The points of the `width`-input space that no cube of `cover` holds, as few cubes as the
// recursive split on the busiest input gives (not disjoint). Cost grows with the result, not with
// 2^width; throws std::bad_alloc when memory runs out.
TextCover complement(const TextCover& cover, std::size_t width);

// The points of `cube` that no cube of `cover` holds.
TextCover sharp(const TextCube& cube, const TextCover& cover);

// The two cubes share a point.
bool meet(const TextCube& a, const TextCube& b);

}  // namespace vormel
