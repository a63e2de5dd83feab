#include "report/rtf_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include <fmt/format.h>

#include "report/run_threads.h"

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

void write_escaped(std::string& buffer, std::string_view text) {
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
}

void append_number(std::string& buffer, long number) {
    char digits[24];
    const auto end = fmt::format_to(digits, "{}", number);
    buffer.append(digits, end);
}

}  // namespace

void add_colour(std::vector<Rgb>& table, Rgb colour) {
    if (std::find(table.begin(), table.end(), colour) == table.end()) table.push_back(colour);
}

RtfStream::RtfStream(std::ostream& out, std::vector<Rgb> colours) : out_(out), colours_(std::move(colours)) {
    std::string text;
    text += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Liberation Mono;}}\r\n";
    text += "{\\colortbl ;";
    for (const Rgb& c : colours_) text += fmt::format("\\red{}\\green{}\\blue{};", c.r, c.g, c.b);
    text += "}\r\n";
    text += "\\viewkind4\\uc1\\pard\\f0\\fs18\r\n";
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void RtfStream::write(const std::vector<RtfSpan>& spans) {
    // Every span carries its whole format, so groups of spans are formatted side by side and joined
    // in order; a few groups at a time keep the text that waits small.
    constexpr std::size_t kGroupBytes = std::size_t{1} << 21;
    std::vector<std::size_t> group_start{0};
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        bytes += spans[i].text.size();
        if (bytes >= kGroupBytes) {
            group_start.push_back(i + 1);
            bytes = 0;
        }
    }
    if (group_start.back() != spans.size()) group_start.push_back(spans.size());
    const std::size_t groups = group_start.size() - 1;
    const std::size_t batch = 4 * static_cast<std::size_t>(std::max(1, threads::available()));
    if (texts_.size() < std::min(batch, groups)) texts_.resize(std::min(batch, groups));
    for (std::size_t g0 = 0; g0 < groups; g0 += batch) {
        const std::size_t g1 = std::min(groups, g0 + batch);
        threads::for_each_index(g0, g1, [&](std::size_t g) {
            std::string& into = texts_[g - g0];
            into.clear();
            for (std::size_t i = group_start[g]; i < group_start[g + 1]; ++i) {
                const RtfSpan& span = spans[i];
                const auto index = std::find(colours_.begin(), colours_.end(), span.colour) - colours_.begin() + 1;
                into += "\\cf";
                append_number(into, static_cast<long>(index));
                into += span.bold ? "\\b " : "\\b0 ";
                write_escaped(into, span.text);
            }
        });
        for (std::size_t g = g0; g < g1; ++g) {
            out_.write(texts_[g - g0].data(), static_cast<std::streamsize>(texts_[g - g0].size()));
        }
    }
}

void RtfStream::finish() {
    static constexpr std::string_view kEnd = "\\cf1\\b0 \r\n\\par }";
    out_.write(kEnd.data(), static_cast<std::streamsize>(kEnd.size()));
}

void write_rtf(std::ostream& out, const std::vector<RtfSpan>& spans) {
    std::vector<Rgb> colours{Rgb{0, 0, 0}};
    for (const RtfSpan& span : spans) add_colour(colours, span.colour);
    RtfStream rtf(out, std::move(colours));
    rtf.write(spans);
    rtf.finish();
}

}  // namespace vormel
