#include "ui/threaded_run_window.h"

#include <QEventLoop>
#include <QThread>
#include <future>
#include <string>

namespace vormel {

ThreadedRunWindow::ThreadedRunWindow(RunWindow& gui, QObject& gui_object, OpenQuery open_query,
                                     std::function<void()> worker_hook)
    : gui_(gui), gui_object_(gui_object), open_query_(std::move(open_query)), worker_hook_(std::move(worker_hook)) {}

bool ThreadedRunWindow::on_gui_thread() const { return QThread::currentThread() == gui_object_.thread(); }

void ThreadedRunWindow::post(std::function<void()> fn) {
    if (on_gui_thread()) {
        fn();
        return;
    }
    if (worker_hook_) worker_hook_();
    QMetaObject::invokeMethod(&gui_object_, std::move(fn), Qt::QueuedConnection);
}

void ThreadedRunWindow::set_step_field(int step, StepPart part, std::string_view text, StepLook look) {
    post([this, step, part, t = std::string(text), look] { gui_.set_step_field(step, part, t, look); });
}
void ThreadedRunWindow::set_status_line(std::string_view text) {
    post([this, t = std::string(text)] { gui_.set_status_line(t); });
}
void ThreadedRunWindow::set_polarity_line(std::string_view text) {
    post([this, t = std::string(text)] { gui_.set_polarity_line(t); });
}
void ThreadedRunWindow::set_time_text(std::string_view text) {
    post([this, t = std::string(text)] { gui_.set_time_text(t); });
}
void ThreadedRunWindow::set_prompt(std::string_view text, Rgb colour) {
    post([this, t = std::string(text), colour] { gui_.set_prompt(t, colour); });
}
void ThreadedRunWindow::set_progress(int position) {
    post([this, position] { gui_.set_progress(position); });
}
void ThreadedRunWindow::set_swapping_visible(bool visible) {
    post([this, visible] { gui_.set_swapping_visible(visible); });
}
void ThreadedRunWindow::set_start_caption(std::string_view caption) {
    post([this, t = std::string(caption)] { gui_.set_start_caption(t); });
}
void ThreadedRunWindow::set_quit_caption(std::string_view caption) {
    post([this, t = std::string(caption)] { gui_.set_quit_caption(t); });
}
void ThreadedRunWindow::set_start_quit_enabled(bool enabled) {
    post([this, enabled] { gui_.set_start_quit_enabled(enabled); });
}
void ThreadedRunWindow::set_file_buttons_enabled(bool enabled) {
    post([this, enabled] { gui_.set_file_buttons_enabled(enabled); });
}
void ThreadedRunWindow::set_option_enabled(Option option, bool enabled) {
    post([this, option, enabled] { gui_.set_option_enabled(option, enabled); });
}
void ThreadedRunWindow::show_prime_method(int method) {
    post([this, method] { gui_.show_prime_method(method); });
}
void ThreadedRunWindow::set_run_phase(RunPhase phase) {
    post([this, phase] { gui_.set_run_phase(phase); });
}
void ThreadedRunWindow::set_work_area_read_only(bool read_only) {
    post([this, read_only] { gui_.set_work_area_read_only(read_only); });
}
void ThreadedRunWindow::show_input_file(std::string_view label, std::string_view path) {
    post([this, l = std::string(label), p = std::string(path)] { gui_.show_input_file(l, p); });
}
void ThreadedRunWindow::show_report_file(std::string_view label, std::string_view path) {
    post([this, l = std::string(label), p = std::string(path)] { gui_.show_report_file(l, p); });
}
void ThreadedRunWindow::preset_save_dialog(std::string_view path, int filter_index) {
    post([this, p = std::string(path), filter_index] { gui_.preset_save_dialog(p, filter_index); });
}
void ThreadedRunWindow::focus_start() {
    post([this] { gui_.focus_start(); });
}

QueryAnswer ThreadedRunWindow::ask_query(QueryKind kind) {
    if (on_gui_thread()) return gui_.ask_query(kind);
    if (worker_hook_) worker_hook_();
    auto answer = std::make_shared<std::promise<QueryAnswer>>();
    std::future<QueryAnswer> result = answer->get_future();
    QMetaObject::invokeMethod(
        &gui_object_, [this, kind, answer] { open_query_(kind, [answer](QueryAnswer a) { answer->set_value(a); }); },
        Qt::QueuedConnection);
    const QueryAnswer chosen = result.get();
    if (worker_hook_) worker_hook_();
    return chosen;
}

MessageAnswer ThreadedRunWindow::message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                                             MessageButtons buttons) {
    if (on_gui_thread()) return gui_.message_box(caption, text, icon, buttons);
    if (worker_hook_) worker_hook_();
    MessageAnswer answer = MessageAnswer::cancel;
    QMetaObject::invokeMethod(
        &gui_object_,
        [&] { answer = gui_.message_box(caption, text, icon, buttons); }, Qt::BlockingQueuedConnection);
    return answer;
}

}  // namespace vormel
