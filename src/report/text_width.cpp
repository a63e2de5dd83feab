#include "report/text_width.h"

namespace vormel {

std::size_t text_width(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string pad_right(std::string_view text, std::size_t width) {
    std::string padded(text);
    const std::size_t have = text_width(text);
    if (have < width) padded.append(width - have, ' ');
    return padded;
}

}  // namespace vormel
