#pragma once
#include <cstdint>
#include <string>

namespace vormel {

// "0", "1", "-" per entry, no separators (the cube printer shared by the report steps).
std::string cube_text(const std::uint8_t* cube, int count);
// As cube_text, with "." for a don't care (the dot style of Y parts).
std::string cube_text_dotted(const std::uint8_t* cube, int count);

}  // namespace vormel
