#include "input/read_input.h"

#include "input/input_file.h"
#include "model/problem.h"
#include "report/run_context.h"

namespace vormel {

namespace {

void report_open_error(RunContext& ctx) {
    ctx.window.set_step_field(ctx.run_state >= 5 && ctx.run_state <= 9 ? ctx.run_state - 4 : 0, StepPart::status,
                              "Error", StepLook::error);
    ctx.window.message_box(" Open Error", "Requested file is not accessible:  \r\n\r\n" + ctx.input_file + " (input)",
                           MessageIcon::error, MessageButtons::ok);
    ctx.error_flag = -1;
}

// One input line as the readers take it: tabs as four blanks, leading blanks removed.
std::string reader_line(std::string_view raw) {
    std::string line;
    line.reserve(raw.size());
    for (char c : raw) {
        if (c == '\t') line += "    ";
        else line += c;
    }
    const auto first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first);
}

}  // namespace

void read_input_file(RunContext& ctx, Problem& problem) {
    ctx.current_sub = "read_input_file";
    std::string loaded;
    if (!ctx.input_text) {
        switch (load_input_file(ctx.input_file, loaded)) {
            case InputLoad::loaded: break;
            case InputLoad::not_accessible: report_open_error(ctx); return;
            case InputLoad::out_of_memory: ctx.diag.out_of_memory("read_input_file"); return;
        }
    }
    const std::string_view text = ctx.input_text ? *ctx.input_text : loaded;
    // CR LF, LF and a lone CR (old Macintosh files) each end a line.
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(reader_line(text.substr(start, end - start)));
        if (lines.size() % 5 == 0) ctx.diag.poll_progress(0);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    problem.input_lines = std::move(lines);
}

}  // namespace vormel
