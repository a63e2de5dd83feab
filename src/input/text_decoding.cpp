#include "input/text_decoding.h"

#include <array>
#include <cstdint>

namespace vormel {

std::size_t utf8_char_length(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) return 1;
    int extra = 0;
    std::uint32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) extra = 1, cp = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) extra = 2, cp = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) extra = 3, cp = lead & 0x07;
    else return 0;
    if (at + static_cast<std::size_t>(extra) >= bytes.size()) return 0;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(bytes[at + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return static_cast<std::size_t>(extra) + 1;
}

bool is_valid_utf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8_char_length(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

namespace {
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
}  // namespace

std::string decode_input_text(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    if (is_valid_utf8(bytes)) return bytes;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else if (b < 0xA0) append_utf8(out, kCp1252High[b - 0x80]);
        else append_utf8(out, b);
    }
    return out;
}

}  // namespace vormel
