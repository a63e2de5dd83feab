#pragma once
#include <string>
#include <string_view>

namespace vormel {

// A file in the common PLA dialect of other tools, converted into a .pla text our strict reader
// takes, or the reason it cannot be.
struct PlaImport {
    std::string text;   // empty when refused
    std::string error;  // empty when converted
};

// Reads the common dialect: cube synonyms (2 = "-", 3 = 0, 4 = 1, "~" = no part of that output),
// ".type f|fd|fr|fdr", ".phase" (a 0 complements that output), ".ilb"/".ob" with any printable
// names (renamed into valid names, one comment line per renamed name), cubes split over lines and
// title lines before ".i". Multiple-valued and state-machine files are refused.
PlaImport import_pla(std::string_view source);

}  // namespace vormel
