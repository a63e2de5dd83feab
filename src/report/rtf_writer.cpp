#include "report/rtf_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include <fmt/format.h>

namespace vormel {

const char* const kEmptyRtfDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs18\r\n"
    "\\par }";

namespace {

// Windows-1252 bytes 0x80..0x9F and the code points they stand for.
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int cp1252_byte(std::uint32_t code_point) {
    if (code_point >= 0xA0 && code_point <= 0xFF) return static_cast<int>(code_point);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == code_point) return static_cast<int>(0x80 + i);
    }
    return -1;
}

// Decodes one UTF-8 sequence at text[i]; an invalid byte stands for itself (Windows-1252).
std::uint32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return lead;
    }
    std::uint32_t cp = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// Besides the markup characters, every control character is escaped: a NUL, an escape or a form feed
// from a comment or a name would otherwise end up raw in the document.
bool needs_escape(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || u < 0x20 || u == 0x7f || c == '\\' || c == '{' || c == '}';
}

void write_escaped(std::ostream& out, std::string_view text) {
    std::string buffer;
    buffer.reserve(text.size() + text.size() / 8 + 64);
    std::size_t i = 0;
    while (i < text.size()) {
        // Plain ASCII runs go out in one piece.
        std::size_t run = i;
        while (run < text.size() && !needs_escape(text[run])) ++run;
        buffer.append(text.data() + i, run - i);
        i = run;
        if (i == text.size()) break;
        const char c = text[i];
        if (c == '\n') {
            buffer += "\\par\r\n";
            ++i;
        } else if (c == '\\' || c == '{' || c == '}') {
            buffer += '\\';
            buffer += c;
            ++i;
        } else if (c == '\t') {
            buffer += "\\tab ";
            ++i;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            buffer += fmt::format("\\'{:02x}", static_cast<unsigned char>(c));
            ++i;
        } else {
            const std::uint32_t cp = next_code_point(text, i);
            const int b = cp >= 0x80 && cp < 0xA0 ? static_cast<int>(cp) : cp1252_byte(cp);
            if (b >= 0) {
                buffer += fmt::format("\\'{:02x}", b);
            } else {
                buffer += fmt::format("\\u{}?", static_cast<std::int16_t>(cp > 0xFFFF ? 0xFFFD : cp));
            }
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

}  // namespace

void write_rtf(std::ostream& out, const std::vector<RtfSpan>& spans) {
    std::vector<Rgb> table{Rgb{0, 0, 0}};
    for (const RtfSpan& span : spans) {
        if (std::find(table.begin(), table.end(), span.colour) == table.end()) table.push_back(span.colour);
    }
    out << "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}}\r\n";
    out << "{\\colortbl ;";
    for (const Rgb& c : table) out << fmt::format("\\red{}\\green{}\\blue{};", c.r, c.g, c.b);
    out << "}\r\n";
    out << "\\viewkind4\\uc1\\pard\\f0\\fs18\r\n";
    for (const RtfSpan& span : spans) {
        const auto index = std::find(table.begin(), table.end(), span.colour) - table.begin() + 1;
        out << fmt::format("\\cf{}{} ", index, span.bold ? "\\b" : "\\b0");
        write_escaped(out, span.text);
    }
    out << "\\cf1\\b0 \r\n\\par }";
}

}  // namespace vormel
