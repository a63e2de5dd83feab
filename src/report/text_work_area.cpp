#include "report/text_work_area.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "report/rtf_writer.h"

namespace vormel {

std::string WorkArea::plain_text() const {
    std::ostringstream out;
    write_plain(out);
    return out.str();
}

void TextWorkArea::open_block() {
    blocks_.emplace_back();
    // Later blocks take their whole size at once: grown by doubling they would end up holding
    // nearly twice what they use. The first grows with the text, so short reports stay small.
    if (blocks_.size() > 1) blocks_.back().reserve(kBlockSize);
    block_starts_.push_back(length_);
}

void TextWorkArea::store(const char* data, std::size_t size) {
    while (size > 0) {
        if (blocks_.empty() || blocks_.back().size() + 4 > kBlockSize) open_block();
        std::string& block = blocks_.back();
        std::size_t take = std::min(size, kBlockSize - block.size());
        // A block ends between characters, never inside one: the rich text is written block by block.
        std::size_t boundary = take;
        while (boundary < size && boundary > 0 && (static_cast<unsigned char>(data[boundary]) & 0xC0) == 0x80) --boundary;
        if (boundary > 0) take = boundary;
        block.append(data, take);
        data += take;
        size -= take;
        length_ += take;
    }
}

void TextWorkArea::append(std::string_view text, Rgb colour, bool bold) {
    if (echo_) echo_(text, colour, bold);
    const std::size_t start = length_;
    // CR LF, LF and CR all become one '\n'.
    std::size_t at = 0;
    while (at < text.size()) {
        if (last_was_cr_ && text[at] == '\n') {
            last_was_cr_ = false;
            ++at;
            continue;
        }
        last_was_cr_ = false;
        const std::size_t cr = text.find('\r', at);
        const std::size_t end = cr == std::string_view::npos ? text.size() : cr;
        store(text.data() + at, end - at);
        if (cr == std::string_view::npos) break;
        store("\n", 1);
        last_was_cr_ = true;
        at = cr + 1;
    }
    add_run(start, colour, bold);
}

void TextWorkArea::append_each(std::string_view text, Rgb colour, bool bold) {
    if (echo_ || text.find_first_of("\r\n") != std::string_view::npos) {
        WorkArea::append_each(text, colour, bold);
        return;
    }
    if (text.empty()) return;
    last_was_cr_ = false;
    const std::size_t start = length_;
    // The blocks come out as with single characters: a block takes one while it holds at most
    // kBlockSize - 4 bytes, which keeps the rich text's block edges where they were.
    for (std::size_t at = 0; at < text.size();) {
        if (blocks_.empty() || blocks_.back().size() + 4 > kBlockSize) open_block();
        std::string& block = blocks_.back();
        const std::size_t take = std::min(kBlockSize - 3 - block.size(), text.size() - at);
        block.append(text.data() + at, take);
        at += take;
        length_ += take;
    }
    add_run(start, colour, bold);
}

void TextWorkArea::add_run(std::size_t start, Rgb colour, bool bold) {
    if (colour == colours::black && !bold) return;
    constexpr std::size_t kLongest = std::numeric_limits<std::uint32_t>::max();
    while (start < length_) {
        const std::size_t added = length_ - start;
        if (!runs_.empty()) {
            Run& previous = runs_.back();
            if (previous.start + previous.length == start && previous.colour == colour && previous.bold == bold &&
                previous.length + added <= kLongest) {
                previous.length += static_cast<std::uint32_t>(added);
                return;
            }
        }
        const auto length = static_cast<std::uint32_t>(std::min(added, kLongest));
        runs_.push_back({start, length, colour, bold});
        start += length;
    }
}

void TextWorkArea::set_plain_text(std::string_view text) {
    clear();
    append(text, colours::black, false);
}

void TextWorkArea::clear() {
    blocks_.clear();
    block_starts_.clear();
    runs_.clear();
    length_ = 0;
    last_was_cr_ = false;
}

std::string TextWorkArea::text() const {
    std::string all;
    all.reserve(length_);
    for (const std::string& block : blocks_) all += block;
    return all;
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

void TextWorkArea::copy_range(std::size_t from, std::size_t to, std::string& out) const {
    to = std::min(to, length_);
    if (from >= to) return;
    std::size_t block = static_cast<std::size_t>(std::upper_bound(block_starts_.begin(), block_starts_.end(), from) -
                                                 block_starts_.begin()) - 1;
    while (from < to && block < blocks_.size()) {
        const std::size_t offset = from - block_starts_[block];
        const std::size_t take = std::min(to - from, blocks_[block].size() - offset);
        out.append(blocks_[block], offset, take);
        from += take;
        ++block;
    }
}

void TextWorkArea::write_plain(std::ostream& out) const {
    std::string chunk;
    chunk.reserve(kBlockSize + kBlockSize / 8);
    for (const std::string& block : blocks_) {
        std::size_t at = 0;
        while (at < block.size()) {
            const std::size_t end = block.find('\n', at);
            if (end == std::string::npos) {
                chunk.append(block, at, std::string::npos);
                break;
            }
            chunk.append(block, at, end - at).append("\r\n");
            at = end + 1;
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        chunk.clear();
    }
}

void TextWorkArea::write_rich(std::ostream& out) const {
    // Spans cut at block edges are fine: each carries its own format. The stretches come in text
    // order, so one cursor walks the blocks once; they go out a million at a time.
    std::vector<Rgb> colours{colours::black};
    for (const Run& run : runs_) {
        if (run.length > 0) add_colour(colours, run.colour);
    }
    RtfStream rtf(out, std::move(colours));
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::vector<RtfSpan> spans;
    spans.reserve(std::min(kPiece, 2 * runs_.size() + blocks_.size() + 1));
    std::size_t block = 0;
    std::size_t block_start = 0;
    auto add = [&](std::size_t from, std::size_t to, Rgb colour, bool bold) {
        while (block < blocks_.size() && from < to) {
            const std::size_t block_end = block_start + blocks_[block].size();
            if (from >= block_end) {
                block_start = block_end;
                ++block;
                continue;
            }
            const std::size_t end = std::min(to, block_end);
            spans.push_back({std::string_view(blocks_[block]).substr(from - block_start, end - from), colour, bold});
            if (spans.size() == kPiece) {
                rtf.write(spans);
                spans.clear();
            }
            from = end;
        }
    };
    std::size_t at = 0;
    for (const Run& run : runs_) {
        if (run.start > at) add(at, run.start, colours::black, false);
        add(run.start, run.start + run.length, run.colour, run.bold);
        at = run.start + run.length;
    }
    if (at < length_) add(at, length_, colours::black, false);
    rtf.write(spans);
    rtf.finish();
}

}  // namespace vormel
