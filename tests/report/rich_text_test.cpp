// Text decoding on the way out: the rich-text copy of the work area and the measure of report columns.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>

#include "report/rtf_writer.h"
#include "report/text_width.h"
#include "report/text_work_area.h"

namespace vormel {
namespace {

std::string rich_text(const TextWorkArea& area) {
    std::ostringstream out;
    area.write_rich(out);
    return out.str();
}

// The document's body: everything between the header lines and the closing "\cf1\b0 " line.
std::string body_of(const std::string& rtf) {
    const std::string start = "\\viewkind4\\uc1\\pard\\f0\\fs18\r\n";
    const auto from = rtf.find(start) + start.size();
    return rtf.substr(from, rtf.rfind("\\cf1\\b0 \r\n\\par }") - from);
}

void append_utf8(std::string& out, unsigned code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

// The text a reader of the document sees, for documents of Latin-1 letters: the format words
// dropped, \'xx as the character xx, \par and \tab as line end and tab.
std::string text_of(const std::string& body) {
    std::string text;
    for (std::size_t i = 0; i < body.size();) {
        if (body[i] != '\\') {
            if (body[i] != '\r' && body[i] != '\n') text += body[i];
            ++i;
        } else if (body.compare(i, 2, "\\'") == 0) {
            append_utf8(text, static_cast<unsigned>(std::stoul(body.substr(i + 2, 2), nullptr, 16)));
            i += 4;
        } else if (std::string("\\{}").find(body[i + 1]) != std::string::npos) {
            text += body[i + 1];
            i += 2;
        } else {
            std::size_t end = i + 1;
            while (end < body.size() && std::isalnum(static_cast<unsigned char>(body[end]))) ++end;
            const std::string word = body.substr(i + 1, end - i - 1);
            if (word == "par") text += '\n';
            if (word == "tab") text += '\t';
            i = end < body.size() && body[end] == ' ' ? end + 1 : end;
        }
    }
    return text;
}

TEST(TextDecoding, RichTextNeverSplitsACharacterAtABlockEdge) {
    // The work area keeps 1 MiB blocks; a two-byte character across an edge came out as
    // \'c3\cf1\b0 \'a4, two wrong characters. Every offset of the character near the edge is tried.
    for (std::size_t before = (1 << 20) - 6; before <= (1 << 20) + 1; ++before) {
        TextWorkArea area;
        area.append(std::string(before, 'x'), colours::black, false);
        area.append("\xC3\xA4\xC3\xB6 end", colours::black, false);
        EXPECT_EQ(text_of(body_of(rich_text(area))), area.text()) << before;
    }
    // Long mixed text: as many umlauts come out as went in.
    std::mt19937 random(11);
    std::string text;
    while (text.size() < 3 * (1 << 20)) {
        if (random() % 5 == 0) {
            text += "\xC3\x9C";
        } else {
            text += static_cast<char>('a' + random() % 26);
        }
    }
    TextWorkArea area;
    area.append(text, colours::blue, true);
    EXPECT_EQ(text_of(body_of(rich_text(area))), text);
}

TEST(TextDecoding, RichTextEscapesEveryControlCharacter) {
    // NUL, ESC and form feed from comments and names were copied raw into the document.
    const std::string text("a\0b\x1b[2Jc\x0c" "d\x7f" "e\tf\ng\\{}", 19);
    const std::vector<RtfSpan> spans{{text, colours::red, true}};
    std::ostringstream out;
    write_rtf(out, spans);
    const std::string body = body_of(out.str());
    EXPECT_EQ(body, "\\cf2\\b a\\'00b\\'1b[2Jc\\'0cd\\'7fe\\tab f\\par\r\ng\\\\\\{\\}");
    EXPECT_EQ(text_of(body), text);
    for (char c : out.str()) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_TRUE((u >= 0x20 && u < 0x7f) || c == '\r' || c == '\n') << static_cast<int>(u);
    }
}

TEST(TextDecoding, ColumnsAreCountedInCharacters) {
    EXPECT_EQ(text_width("ABC"), 3u);
    EXPECT_EQ(text_width("\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F"), 4u);  // ÄÖÜß
    EXPECT_EQ(text_width("\xE2\x82\xAC"), 1u);                     // €
    EXPECT_EQ(pad_right("\xC3\x84" "B", 4), "\xC3\x84" "B  ");
    EXPECT_EQ(pad_right("ABCDE", 4), "ABCDE");
}

}  // namespace
}  // namespace vormel
