#pragma once
#include <string>

namespace vormel {

struct Picture;

// A standalone SVG document of the picture (UTF-8, names escaped for XML).
std::string write_svg(const Picture& picture);

// Text with &, <, >, " and ' as XML entities, and control characters other than tab and line ends left out.
std::string xml_escaped(const std::string& text);

}  // namespace vormel
