#pragma once
#include <ostream>
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

}  // namespace vormel
