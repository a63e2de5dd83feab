#include "input/input_text.h"

#include <algorithm>
#include <cstdint>

#include "model/problem.h"

namespace vormel {

std::string upper_case(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'a' && c <= 'z') {
            out[i] = static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // ä ö ü (C3 A4, C3 B6, C3 BC) to Ä Ö Ü (C3 84, C3 96, C3 9C).
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next == 0xA4 || next == 0xB6 || next == 0xBC) out[i + 1] = static_cast<char>(next - 0x20);
            ++i;
        }
    }
    return out;
}

bool starts_with(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

void cut_at(std::string& text, std::string_view marker) {
    const auto at = text.find(marker);
    if (at != std::string::npos) text.erase(at);
}

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty() || text.find(from) == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out.append(to);
        start = at + from.size();
    }
    out.append(text, start);
    text.swap(out);
}

void remove_all(std::string& text, std::string_view part) { replace_all(text, part, ""); }

std::string remove_blanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != ' ') out += c;
    }
    return out;
}

std::string trim_trailing_blanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return trim_trailing_blanks(text.substr(first));
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
}

namespace {
// Decodes one UTF-8 character at text[i], advancing i; malformed bytes give U+FFFD.
std::uint32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    std::uint32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) extra = 1, cp = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0) extra = 2, cp = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0) extra = 3, cp = lead & 0x07;
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return cp;
}
}  // namespace

bool allowed_characters(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::uint32_t cp = next_code_point(text, i);
        if (cp >= 32 && cp <= 122) continue;
        switch (cp) {
            case 0xC4: case 0xD6: case 0xDC: case 0xDF: case 0xE4: case 0xF6: case 0xFC: continue;
            default: return false;
        }
    }
    return true;
}

std::string long_name_text(std::string_view name) {
    // Cut at a character boundary, so that the text stays valid UTF-8.
    std::size_t end = 0;
    for (int taken = 0; end < name.size() && taken < 20; ++taken) {
        ++end;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(name.substr(0, end)) + "... (a name may have at most " + std::to_string(kMaxNameLength) +
           " characters)";
}

std::string extension_of(std::string_view file_name) {
    std::string ext(file_name.size() > 3 ? file_name.substr(file_name.size() - 3) : file_name);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return ext;
}

}  // namespace vormel
