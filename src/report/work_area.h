#pragma once
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "report/colour.h"

namespace vormel {

// A stretch of text with its own format.
struct FormatRun {
    std::size_t start = 0;
    std::size_t length = 0;
    Rgb colour{};
    bool bold = false;
};

// The rich-text area that holds the input text and the report. Text is appended with one colour and
// one boldness per call; line ends may be CR LF, LF or CR and are all kept as one line end.
class WorkArea {
public:
    virtual ~WorkArea() = default;

    // Appends text in the given colour and boldness (the report's print_direct).
    virtual void append(std::string_view text, Rgb colour, bool bold) = 0;
    // The same as one append per character (the coloured cells of a table go out one by one).
    virtual void append_each(std::string_view text, Rgb colour, bool bold) {
        for (std::size_t k = 0; k < text.size(); ++k) append(text.substr(k, 1), colour, bold);
    }
    // Number of characters held (a line end counts as one).
    virtual std::size_t length() const = 0;
    // Replaces everything by plain black text (the input file at Open and Re-Start).
    virtual void set_plain_text(std::string_view text) = 0;
    // Replaces everything by the empty rich-text document.
    virtual void clear() = 0;
    virtual void caret_to_end() = 0;

    // Plain text with CR LF line ends; streamed, since a report can hold hundreds of megabytes.
    virtual void write_plain(std::ostream& out) const = 0;
    // Rich text: colours and boldness kept.
    virtual void write_rich(std::ostream& out) const = 0;
    std::string plain_text() const;
};

}  // namespace vormel
