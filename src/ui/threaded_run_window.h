#pragma once
#include <QObject>
#include <functional>

#include "report/run_window.h"

namespace vormel {

// Puts a RunWindow that lives on the GUI thread within reach of the run's worker thread. From the
// worker every call is posted to the GUI thread in order; message boxes wait for their answer and
// queries wait until the user answers the query box. On the GUI thread calls go straight through.
// Before each call from the worker, worker_hook runs there (it hands over settings the user changed).
class ThreadedRunWindow : public RunWindow {
public:
    using OpenQuery = std::function<void(QueryKind, std::function<void(QueryAnswer)>)>;
    ThreadedRunWindow(RunWindow& gui, QObject& gui_object, OpenQuery open_query, std::function<void()> worker_hook);

    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override;
    void set_status_line(std::string_view text) override;
    void set_polarity_line(std::string_view text) override;
    void set_time_text(std::string_view text) override;
    void set_prompt(std::string_view text, Rgb colour) override;
    void set_progress(int position) override;
    void set_swapping_visible(bool visible) override;
    void set_start_caption(std::string_view caption) override;
    void set_quit_caption(std::string_view caption) override;
    void set_start_quit_enabled(bool enabled) override;
    void set_file_buttons_enabled(bool enabled) override;
    void set_option_enabled(Option option, bool enabled) override;
    void show_prime_method(int method) override;
    void set_run_phase(RunPhase phase) override;
    void set_work_area_read_only(bool read_only) override;
    void show_input_file(std::string_view label, std::string_view path) override;
    void show_report_file(std::string_view label, std::string_view path) override;
    void preset_save_dialog(std::string_view path, int filter_index) override;
    void focus_start() override;
    QueryAnswer ask_query(QueryKind kind) override;
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    int work_area_height() const override { return gui_.work_area_height(); }
    void repaint() override {}

private:
    bool on_gui_thread() const;
    // Runs fn on the GUI thread: now when already there, else queued behind earlier calls.
    void post(std::function<void()> fn);

    RunWindow& gui_;
    QObject& gui_object_;
    OpenQuery open_query_;
    std::function<void()> worker_hook_;
};

}  // namespace vormel
