#pragma once
#include <optional>
#include <string>

#include "export/picture.h"

namespace vormel {

struct Problem;

enum class PictureKind { kmaps, gate_diagram };

inline constexpr int kMaxDiagramInputs = 64;
inline constexpr int kMaxDiagramTerms = 1000;

// Whether the problem holds a final result that pictures can show.
bool has_final_result(const Problem& problem);

// The Karnaugh maps or the gate diagram of the final result; none, with the reason in `why_not`,
// when there is no result, the maps would need more than six inputs or the diagram is too large.
std::optional<Picture> result_picture(const Problem& problem, PictureKind kind, std::string& why_not);

// Writes the picture as SVG to path (temporary name first); "" when done, else the reason.
std::string write_result_picture(const Problem& problem, PictureKind kind, const std::string& path);

}  // namespace vormel
