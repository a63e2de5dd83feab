#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vormel {

// Report columns are counted in characters, not bytes: names may hold Ä Ö Ü ß, two bytes each in UTF-8.

// Number of characters (code points) of UTF-8 text.
std::size_t text_width(std::string_view text);
// The text followed by blanks up to `width` characters; unchanged when it is that wide already.
std::string pad_right(std::string_view text, std::size_t width);

}  // namespace vormel
