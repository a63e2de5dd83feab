#pragma once
#include <string>
#include <string_view>

#include "report/colour.h"

namespace vormel {

// The four looks of a step field: past, current, future, error.
enum class StepLook { past = 0, current = 1, future = 2, error = 3 };
enum class StepPart { label, status };
enum class QueryKind { page_end, reset };
enum class QueryAnswer { none = 0, proceed = 100, stop = 101 };
enum class MessageIcon { error, question, information };
enum class MessageButtons { ok, yes_no, yes_no_cancel };
enum class MessageAnswer { ok, yes, no, cancel };
// Colour phases of the work area, progress bar and time field.
enum class RunPhase { idle, running, saved };
// method_exact also locks the exact method's time-limit field.
enum class Option { polarity, method_qmc, method_cns, method_shared, method_exact, rolexa, display_level, page_by_page };
inline constexpr int option_count = 8;

// What a run needs of a window: the step fields, status lines, buttons, prompt and time fields,
// progress bar, swapping indicator and the modal query box. The console program implements it
// headless; the desktop program posts every call to its GUI thread.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    // An empty text leaves the field's text unchanged.
    virtual void set_step_field(int step, StepPart part, std::string_view text, StepLook look) = 0;
    virtual void set_status_line(std::string_view text) = 0;
    virtual void set_polarity_line(std::string_view text) = 0;
    virtual void set_time_text(std::string_view text) = 0;
    virtual void set_prompt(std::string_view text, Rgb colour) = 0;
    virtual void set_progress(int position) = 0;
    virtual void set_swapping_visible(bool visible) = 0;

    virtual void set_start_caption(std::string_view caption) = 0;
    virtual void set_quit_caption(std::string_view caption) = 0;
    virtual void set_start_quit_enabled(bool enabled) = 0;
    virtual void set_file_buttons_enabled(bool enabled) = 0;
    // Locks or unlocks one option group (the display level and page-by-page stay usable).
    virtual void set_option_enabled(Option option, bool enabled) = 0;
    // The run switched QMC to CNS for more than 10 inputs.
    virtual void show_prime_method(int method) = 0;
    virtual void set_run_phase(RunPhase phase) = 0;
    virtual void set_work_area_read_only(bool read_only) = 0;

    virtual void show_input_file(std::string_view label, std::string_view path) = 0;
    virtual void show_report_file(std::string_view label, std::string_view path) = 0;
    virtual void preset_save_dialog(std::string_view path, int filter_index) = 0;
    virtual void focus_start() = 0;

    // Blocks until the user answers (page end or "Reset ?").
    virtual QueryAnswer ask_query(QueryKind kind) = 0;
    virtual MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                                      MessageButtons buttons) = 0;
    // Work-area client height in pixels, for the page length.
    virtual int work_area_height() const = 0;
    virtual void repaint() = 0;
};

// A window that shows nothing and answers every query with Continue: for tests and batch runs.
class SilentRunWindow : public RunWindow {
public:
    void set_step_field(int, StepPart, std::string_view, StepLook) override {}
    void set_status_line(std::string_view) override {}
    void set_polarity_line(std::string_view) override {}
    void set_time_text(std::string_view) override {}
    void set_prompt(std::string_view, Rgb) override {}
    void set_progress(int) override {}
    void set_swapping_visible(bool) override {}
    void set_start_caption(std::string_view) override {}
    void set_quit_caption(std::string_view) override {}
    void set_start_quit_enabled(bool) override {}
    void set_file_buttons_enabled(bool) override {}
    void set_option_enabled(Option, bool) override {}
    void show_prime_method(int) override {}
    void set_run_phase(RunPhase) override {}
    void set_work_area_read_only(bool) override {}
    void show_input_file(std::string_view, std::string_view) override {}
    void show_report_file(std::string_view, std::string_view) override {}
    void preset_save_dialog(std::string_view, int) override {}
    void focus_start() override {}
    QueryAnswer ask_query(QueryKind) override { return QueryAnswer::proceed; }
    MessageAnswer message_box(std::string_view, std::string_view, MessageIcon, MessageButtons) override {
        return MessageAnswer::ok;
    }
    int work_area_height() const override { return 600; }
    void repaint() override {}
};

}  // namespace vormel
