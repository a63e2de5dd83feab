#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "report/work_area.h"

namespace vormel {

// The work area without a window: text plus colour and bold runs. Used by the console program and
// the tests. An optional echo receives every append as it happens.
class TextWorkArea : public WorkArea {
public:
    using Echo = std::function<void(std::string_view text, Rgb colour, bool bold)>;

    void append(std::string_view text, Rgb colour, bool bold) override;
    void append_each(std::string_view text, Rgb colour, bool bold) override;
    std::size_t length() const override { return length_; }
    void set_plain_text(std::string_view text) override;
    void clear() override;
    void caret_to_end() override {}
    void write_plain(std::ostream& out) const override;
    void write_rich(std::ostream& out) const override;

    void set_echo(Echo echo) { echo_ = std::move(echo); }
    // The text with '\n' line ends (as held).
    std::string text() const;

    // Millions of runs in a long coloured report: 16 bytes each.
    struct Run {
        std::size_t start = 0;
        std::uint32_t length = 0;
        Rgb colour{};
        bool bold = false;
    };
    // Formatted stretches (anything not black or bold); the rest is plain black.
    const std::vector<Run>& runs() const { return runs_; }
    // The format at one character position.
    Run format_at(std::size_t position) const;
    // Appends the held text from position from up to to (exclusive) to out.
    void copy_range(std::size_t from, std::size_t to, std::string& out) const;

private:
    // Held in blocks of at most kBlockSize bytes so that a report of hundreds of megabytes never
    // needs a second copy of itself while it grows. A block ends between two UTF-8 characters.
    static constexpr std::size_t kBlockSize = 1 << 20;
    void open_block();
    void store(const char* data, std::size_t size);
    // Notes the format of the text appended since start, joined to the previous run where it goes on.
    void add_run(std::size_t start, Rgb colour, bool bold);

    std::vector<std::string> blocks_;
    std::vector<std::size_t> block_starts_;  // for reading a range without walking every block
    std::size_t length_ = 0;
    std::vector<Run> runs_;
    bool last_was_cr_ = false;
    Echo echo_;
};

}  // namespace vormel
