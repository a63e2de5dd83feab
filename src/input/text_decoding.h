#pragma once
#include <string>
#include <string_view>

namespace vormel {

bool is_valid_utf8(std::string_view bytes);
// Length of the valid UTF-8 character that starts at bytes[at] (1 for ASCII), 0 when none starts there.
std::size_t utf8_char_length(std::string_view bytes, std::size_t at);
// Input files are UTF-8 when valid, else Windows-1252; the result is UTF-8. A UTF-8 byte-order mark
// at the start only names the encoding and is dropped.
std::string decode_input_text(std::string bytes);

}  // namespace vormel
