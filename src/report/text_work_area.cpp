#include "report/text_work_area.h"

#include <algorithm>
#include <sstream>

#include "report/rtf_writer.h"

namespace vormel {

std::string WorkArea::plain_text() const {
    std::ostringstream out;
    write_plain(out);
    return out.str();
}

void TextWorkArea::append(std::string_view text, Rgb colour, bool bold) {
    if (echo_) echo_(text, colour, bold);
    const std::size_t start = text_.size();
    // CR LF, LF and CR all become one '\n'.
    for (char c : text) {
        if (c == '\r') {
            text_.push_back('\n');
            last_was_cr_ = true;
        } else if (c == '\n') {
            if (!last_was_cr_) text_.push_back('\n');
            last_was_cr_ = false;
        } else {
            text_.push_back(c);
            last_was_cr_ = false;
        }
    }
    const std::size_t added = text_.size() - start;
    if (added == 0 || (colour == colours::black && !bold)) return;
    if (!runs_.empty()) {
        Run& previous = runs_.back();
        if (previous.start + previous.length == start && previous.colour == colour && previous.bold == bold) {
            previous.length += added;
            return;
        }
    }
    runs_.push_back({start, added, colour, bold});
}

void TextWorkArea::set_plain_text(std::string_view text) {
    clear();
    append(text, colours::black, false);
}

void TextWorkArea::clear() {
    text_.clear();
    runs_.clear();
    last_was_cr_ = false;
}

TextWorkArea::Run TextWorkArea::format_at(std::size_t position) const {
    auto it = std::upper_bound(runs_.begin(), runs_.end(), position,
                               [](std::size_t pos, const Run& run) { return pos < run.start; });
    if (it != runs_.begin()) {
        --it;
        if (position < it->start + it->length) return *it;
    }
    return {position, 1, colours::black, false};
}

void TextWorkArea::write_plain(std::ostream& out) const {
    std::size_t from = 0;
    std::string chunk;
    chunk.reserve(1 << 20);
    while (from < text_.size()) {
        const std::size_t to = std::min(text_.size(), from + (1u << 19));
        for (std::size_t i = from; i < to; ++i) {
            if (text_[i] == '\n') chunk.push_back('\r');
            chunk.push_back(text_[i]);
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        chunk.clear();
        from = to;
    }
}

void TextWorkArea::write_rich(std::ostream& out) const {
    std::vector<RtfSpan> spans;
    std::size_t at = 0;
    const std::string_view all(text_);
    for (const Run& run : runs_) {
        if (run.start > at) spans.push_back({all.substr(at, run.start - at), colours::black, false});
        spans.push_back({all.substr(run.start, run.length), run.colour, run.bold});
        at = run.start + run.length;
    }
    if (at < text_.size()) spans.push_back({all.substr(at), colours::black, false});
    write_rtf(out, spans);
}

}  // namespace vormel
