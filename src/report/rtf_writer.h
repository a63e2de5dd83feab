#pragma once
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "report/colour.h"

namespace vormel {

// The empty work-area document: 9-point monospaced font, nothing in it.
extern const char* const kEmptyRtfDocument;

struct RtfSpan {
    std::string_view text;  // '\n' line ends
    Rgb colour{};
    bool bold = false;
};

// Writes the spans as a rich-text document in the frame of the empty document, with a colour table
// and colour and bold runs; characters outside ASCII are escaped as \'xx (Windows-1252) or \uN, and
// control characters as \'xx. Each span must hold whole UTF-8 characters.
void write_rtf(std::ostream& out, const std::vector<RtfSpan>& spans);

// The same document written piece by piece, for texts with millions of spans: the colour table
// (black first, then in order of first use) comes first, then the spans in order, then finish().
class RtfStream {
public:
    RtfStream(std::ostream& out, std::vector<Rgb> colours);
    void write(const std::vector<RtfSpan>& spans);
    void finish();

private:
    std::ostream& out_;
    std::vector<Rgb> colours_;
    std::vector<std::string> texts_;  // formatted groups waiting to go out
};

// Adds the colour to the table unless it is there.
void add_colour(std::vector<Rgb>& table, Rgb colour);

}  // namespace vormel
