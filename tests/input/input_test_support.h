#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "input/expand_inputs.h"
#include "input/read_input.h"
#include "report/text_work_area.h"
#include "run/session.h"

namespace vormel::testing {

// Records the status lines and gives one answer to every query.
class StatusRecordingWindow : public SilentRunWindow {
public:
    void set_status_line(std::string_view text) override { status_lines.emplace_back(text); }
    QueryAnswer ask_query(QueryKind kind) override {
        queries.push_back(kind);
        return answer;
    }
    std::vector<std::string> status_lines;
    std::vector<QueryKind> queries;
    QueryAnswer answer = QueryAnswer::proceed;
};

// One Read Input File + Expand Inputs run on a text written to a temporary file.
struct InputRun {
    TextWorkArea area;
    StatusRecordingWindow window;
    Session session{area, window};

    Problem& problem() { return session.problem; }
    RunContext& ctx() { return session.ctx; }
    std::string text() const { return area.text(); }
    bool failed() const { return session.ctx.error_flag != 0; }
    // Y values of the expanded table as "0", "1", "-", row after row, separated by blanks.
    std::string expanded() const {
        const ExpandedTable& ex = session.problem.extab;
        std::string out;
        for (int m = 0; m <= ex.last; ++m) {
            if (m > 0) out += ' ';
            for (int j = 0; j < ex.ny; ++j) out += "01-?"[ex.y(m)[j] & 3];
        }
        return out;
    }
};

// A directory of this test process, removed when the process ends.
inline const std::filesystem::path& test_directory() {
    struct Directory {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("vormel_input_" + std::to_string(::getpid()));
        Directory() { std::filesystem::create_directories(path); }
        ~Directory() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Directory directory;
    return directory.path;
}

inline std::string write_input(std::string_view content, std::string_view ext, std::string_view stem = "case") {
    const auto path = test_directory() / (std::string(stem) + "." + std::string(ext));
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

// With `answer` set, the run pauses at its queries (page_by_page on) and gets that answer.
inline std::unique_ptr<InputRun> run_file(const std::string& path, int level = 0,
                                          QueryAnswer answer = QueryAnswer::none, int method = method_cns) {
    auto run = std::make_unique<InputRun>();
    RunContext& ctx = run->ctx();
    ctx.options.prime_method = method;
    ctx.options.display_level = level;
    ctx.options.page_by_page = answer == QueryAnswer::none ? 0 : 1;
    run->window.answer = answer;
    ctx.input_file = path;
    ctx.run_state = 5;
    read_input_file(ctx, run->problem());
    if (ctx.error_flag == 0) {
        run->problem().rest_default = 0;
        expand_inputs(ctx, run->problem());
    }
    return run;
}

inline std::unique_ptr<InputRun> run_input(std::string_view content, std::string_view ext, int level = 0,
                                           QueryAnswer answer = QueryAnswer::none, int method = method_cns) {
    return run_file(write_input(content, ext), level, answer, method);
}

}  // namespace vormel::testing
