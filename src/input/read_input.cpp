#include "input/read_input.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "input/text_decoding.h"
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

// The input file's text decoded, or the converted text a front end put in its place.
bool input_text(RunContext& ctx, std::string& text) {
    if (ctx.input_text) {
        text = *ctx.input_text;
        return true;
    }
    std::ifstream file(ctx.input_file, std::ios::binary);
    if (!file) return false;
    std::ostringstream raw;
    raw << file.rdbuf();
    if (file.bad()) return false;
    text = decode_input_text(raw.str());
    return true;
}

}  // namespace

void read_input_file(RunContext& ctx, Problem& problem) {
    std::string text;
    if (!input_text(ctx, text)) {
        report_open_error(ctx);
        return;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string expanded;
        expanded.reserve(line.size());
        for (char c : line) {
            if (c == '\t') expanded += "    ";
            else expanded += c;
        }
        const auto first = expanded.find_first_not_of(' ');
        lines.push_back(first == std::string::npos ? std::string() : expanded.substr(first));
        if (lines.size() % 5 == 0) ctx.diag.poll_progress(0);
        start = end + 1;
    }
    problem.input_lines = std::move(lines);
}

}  // namespace vormel
