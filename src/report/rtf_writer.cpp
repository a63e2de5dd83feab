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
constexpr std::array<bool, 256> kNeedsEscape = [] {
    std::array<bool, 256> table{};
    for (int u = 0; u < 256; ++u) table[static_cast<std::size_t>(u)] = u >= 0x80 || u < 0x20 || u == 0x7f || u == '\\' || u == '{' || u == '}';
    return table;
}();

bool needs_escape(char c) { return kNeedsEscape[static_cast<unsigned char>(c)]; }

// The document is collected in a buffer and goes out in large writes.
class RtfBuffer {
public:
    explicit RtfBuffer(std::ostream& out) : out_(out) { buffer_.reserve(kFlushSize + 4096); }
    ~RtfBuffer() { flush(); }
    RtfBuffer(const RtfBuffer&) = delete;
    RtfBuffer& operator=(const RtfBuffer&) = delete;

    std::string& text() { return buffer_; }
    void maybe_flush() {
        if (buffer_.size() >= kFlushSize) flush();
    }
    void flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushSize = 1 << 20;
    std::ostream& out_;
    std::string buffer_;
};

void write_escaped(RtfBuffer& out, std::string_view text) {
    std::string& buffer = out.text();
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
            out.maybe_flush();
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
    out.maybe_flush();
}

void append_number(std::string& buffer, long number) {
    char digits[24];
    const auto end = fmt::format_to(digits, "{}", number);
    buffer.append(digits, end);
}

}  // namespace

void write_rtf(std::ostream& out, const std::vector<RtfSpan>& spans) {
    std::vector<Rgb> table{Rgb{0, 0, 0}};
    for (const RtfSpan& span : spans) {
        if (std::find(table.begin(), table.end(), span.colour) == table.end()) table.push_back(span.colour);
    }
    RtfBuffer buffer(out);
    std::string& text = buffer.text();
    text += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}}\r\n";
    text += "{\\colortbl ;";
    for (const Rgb& c : table) text += fmt::format("\\red{}\\green{}\\blue{};", c.r, c.g, c.b);
    text += "}\r\n";
    text += "\\viewkind4\\uc1\\pard\\f0\\fs18\r\n";
    for (const RtfSpan& span : spans) {
        const auto index = std::find(table.begin(), table.end(), span.colour) - table.begin() + 1;
        text += "\\cf";
        append_number(text, static_cast<long>(index));
        text += span.bold ? "\\b " : "\\b0 ";
        write_escaped(buffer, span.text);
    }
    text += "\\cf1\\b0 \r\n\\par }";
}

}  // namespace vormel
