#pragma once
// Builds runs for tests: a text work area, a scripted window and a clock the test drives.
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "report/run_window.h"
#include "report/text_work_area.h"
#include "run/session.h"

namespace vormel::testing {

// A run window that records what the run shows and answers queries from a script.
class RecordingWindow : public SilentRunWindow {
    static std::array<bool, option_count> all_enabled() {
        std::array<bool, option_count> enabled;
        enabled.fill(true);
        return enabled;
    }

public:
    struct Field {
        std::string text;
        StepLook look = StepLook::future;
    };
    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override {
        Field& field = part == StepPart::label ? labels[step] : statuses[step];
        if (!text.empty()) field.text = text;
        field.look = look;
    }
    void set_status_line(std::string_view text) override { status_line = text; }
    void set_polarity_line(std::string_view text) override { polarity_line = text; }
    void set_time_text(std::string_view text) override { time_text = text; }
    void set_prompt(std::string_view text, Rgb) override { prompt = text; }
    void set_start_caption(std::string_view caption) override { start_caption = caption; }
    void set_quit_caption(std::string_view caption) override { quit_caption = caption; }
    void set_swapping_visible(bool visible) override { swapping = visible; }
    void set_option_enabled(Option option, bool enabled) override { option_enabled[static_cast<int>(option)] = enabled; }
    QueryAnswer ask_query(QueryKind kind) override {
        queries.push_back(kind);
        if (on_query) on_query();
        if (answers.empty()) return QueryAnswer::proceed;
        const QueryAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon, MessageButtons) override {
        messages.push_back(std::string(caption) + "|" + std::string(text));
        return MessageAnswer::ok;
    }
    int work_area_height() const override { return height; }

    Field labels[6];
    Field statuses[6];
    std::string status_line, polarity_line, time_text, prompt, start_caption, quit_caption;
    bool swapping = false;
    std::array<bool, option_count> option_enabled = all_enabled();
    std::vector<QueryKind> queries;
    std::deque<QueryAnswer> answers;
    std::function<void()> on_query;
    std::vector<std::string> messages;
    int height = 600;
};

// A clock that only moves when the test says so.
struct ManualClock {
    double now = 1000.0;
    Clock function() {
        return [this] { return now; };
    }
};

struct TestRun {
    TextWorkArea area;
    RecordingWindow window;
    ManualClock clock;
    MemoryStatus memory{50, 8ull << 30, 16ull << 30, 12ull << 30};
    Session session{area, window, clock.function(), [this] { return memory; }};
    RunContext& ctx = session.ctx;

    // The report's lines (without line ends).
    std::vector<std::string> lines() const;
};

// A session that runs a file at a display level without page stops, with a text work area.
struct FileRun {
    TextWorkArea area;
    SilentRunWindow window;
    Session session{area, window};
    RunContext& ctx = session.ctx;
    FileRun(const std::string& input, int display_level) {
        ctx.input_file = input;
        ctx.options.display_level = display_level;
        ctx.options.page_by_page = 0;
    }
};

// A fresh temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string path_;
};

std::string read_file(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> folder_entries(const std::string& folder);

}  // namespace vormel::testing
