// New, Open, Save and Save As of the main window.
#include <QPlainTextEdit>
#include <QPushButton>
#include <cerrno>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <new>

#include "input/file_probe.h"
#include "input/input_file.h"
#include "run/check_file.h"
#include "run/command_fsm.h"
#include "run/report_files.h"
#include "ui/background_task.h"
#include "ui/main_window.h"
#include "ui/qt_work_area.h"
#include "ui/ui_dialogs.h"

namespace vormel {

namespace {

// The start of a file, enough for its header and first rows.
std::string file_head(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(256 * 1024, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    const auto read = static_cast<std::size_t>(file.gcount());
    // A full buffer may end inside a row: only whole lines are looked at.
    const std::size_t end = read == head.size() ? head.find_last_of("\r\n") : read;
    head.resize(end == std::string::npos ? 0 : end);
    return head;
}

// Size and modification time: enough to notice a file replaced or rewritten since it was loaded.
std::string file_stamp(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return "gone";
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return "gone";
    return std::to_string(size) + "@" + std::to_string(modified.time_since_epoch().count());
}

bool has_pla_extension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".pla";
}

const char* const kSaveFilter =
    "Input File (*.tab, *.bol, *.tdf, *.dcb, *.pla)|*.tab;*.bol;*.tdf;*.dcb;*.pla|Report File (*.rpt)|*.rpt|All Files (*.*)|*.*";
const char* const kOpenFilter = "Input  Files (*.tab, *.bol, *.tdf, *.dcb, *.pla)|*.tab;*.bol;*.tdf;*.dcb;*.pla|All Files (*.*)|*.*";

const char* const kSaveTitle = "Save Vormel File As";

// The line end of a text: the first one in it, CR LF when it has none.
std::string first_line_end(const std::string& text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string::npos) return "\r\n";
    if (text[at] == '\n') return "\n";
    return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

// The work area's plain text ends its lines with CR LF; a file is written back with its own.
void use_line_ends(std::string& text, const std::string& line_end) {
    if (line_end == "\r\n") return;
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            out.append(text, at, std::string::npos);
            break;
        }
        out.append(text, at, end - at).append(line_end);
        at = end + 2;
    }
    text = std::move(out);
}

}  // namespace

bool MainWindow::load_input_text(const std::string& path) {
    RunContext& ctx = session_->ctx;
    std::string text;
    InputLoad load = InputLoad::not_accessible;
    // A file of hundreds of megabytes takes seconds to read and index: off the GUI thread.
    run_in_background(this, "Opening the Input File ...", false, [&](TaskControl&) {
        try {
            load = load_input_file(path, text);
            if (load == InputLoad::loaded) work_area_->set_plain_text(text);
        } catch (const std::bad_alloc&) {
            load = InputLoad::out_of_memory;
        }
    });
    if (load == InputLoad::loaded) {
        line_end_ = first_line_end(text);
        ctx.input_text = std::move(text);
        work_area_edit_->moveCursor(QTextCursor::Start);
        return true;
    }
    if (load == InputLoad::not_accessible) {
        set_step_status(ctx, 0, "Error", 3);
        message_box(" Open Error", "Requested File is not accessible:  \r\n\r\n" + path, MessageIcon::error,
                    MessageButtons::ok);
        return false;
    }
    // No file stays loaded: the work area shows the fault report and Start waits for another file.
    ctx.input_text.reset();
    work_area_->clear();
    ctx.diag.out_of_memory("load_input_text");
    ctx.error_flag = 0;
    set_step_status(ctx, 0, "Error", 3);
    start_button_->setEnabled(false);
    set_status_line(" Open File or start New File");
    ctx.run_state = 1;
    update_menu_enabling();
    return false;
}

bool MainWindow::may_open() {
    if (busy_ || shown_state() >= 5) return false;
    if (session_->ctx.run_state != 3) return true;
    const MessageAnswer answer = message_box(" Open File", " Yes:  Save changes before Open\r\n  No:  Open without saving",
                                             MessageIcon::question, MessageButtons::yes_no_cancel);
    if (answer == MessageAnswer::cancel) return false;
    return answer == MessageAnswer::no || save_input(false) != 2;
}

void MainWindow::command_open() {
    if (!may_open()) return;
    const std::optional<std::string> chosen = dialogs_.open_file_name(this, "Open Vormel Files", kOpenFilter, open_preset_);
    if (chosen) open_input(*chosen);
}

void MainWindow::open_input(const std::string& path) {
    RunContext& ctx = session_->ctx;
    // The name becomes the input file only once it proved readable, so a failed Open leaves the
    // loaded file in charge.
    if (!check_file(ctx, 0, path, "r")) {
        ctx.error_flag = 0;
        set_step_status(ctx, 0, "...", 1);
        return;
    }
    const bool pla = has_pla_extension(path);
    const FileProbe probe = probe_input_text(file_head(path), pla);
    if (pla && probe.common_dialect) {
        // Our .pla reader would stop at the first row the dialect writes its own way (Error 4 or 5).
        const MessageAnswer answer =
            message_box(" Open PLA", " This file is in the common PLA dialect of other tools; Import PLA reads it.\r\n\r\n"
                                     " Yes:  Import it now (converted into a new text)\r\n  No:  Open it as it is",
                        MessageIcon::question, MessageButtons::yes_no_cancel);
        if (answer == MessageAnswer::cancel) return;
        if (answer == MessageAnswer::yes) {
            import_pla_file(path);
            return;
        }
    }
    if (!load_input_text(path)) return;
    ctx.input_file = path;
    remember_input_stamp();
    recent_files_.add(QString::fromStdString(path));
    preset_save_dialog(ctx.input_file, 1);
    open_preset_ = ctx.input_file;

    reset_step_status(ctx);
    show_input_file("Input File: ", ctx.input_file);
    show_report_file("Report Files: ", "");
    set_status_line(" Input File Opened =>  [Start]");
    work_area_edit_->document()->setModified(false);

    set_start_caption("Start");
    start_button_->setEnabled(true);
    set_work_area_read_only(false);
    focus_start();
    ctx.diag.poll_progress(0);

    set_step_field(0, StepPart::label, "", StepLook::current);
    set_step_status(ctx, 0, "done", 1);
    ctx.diag.poll_progress(1);
    set_known_inputs(0);
    enable_all_options();
    set_defaults();
    choose_methods_for_size(probe);
    save_button_->setEnabled(true);
    ctx.run_state = 4;
    update_menu_enabling();
}

void MainWindow::command_new() {
    if (busy_ || shown_state() >= 5) return;
    RunContext& ctx = session_->ctx;
    if (ctx.run_state == 3) {
        const MessageAnswer answer = message_box(" New Text", " Yes:  Save changes before New\r\n  No:  New Text without saving",
                                                 MessageIcon::question, MessageButtons::yes_no_cancel);
        if (answer == MessageAnswer::cancel) return;
        if (answer == MessageAnswer::yes && save_input(false) == 2) return;
    }
    work_area_->clear();
    ctx.input_text.reset();
    line_end_ = "\r\n";
    set_known_inputs(0);
    input_stamp_.clear();
    ctx.input_file = current_directory_file("NoName.tab");
    preset_save_dialog(ctx.input_file, 1);

    reset_step_status(ctx);
    show_input_file(" Input File: ", ctx.input_file);
    show_report_file("Report Files: ", "");
    set_status_line(" Edit New Text File");
    work_area_edit_->document()->setModified(false);

    set_start_caption("Start");
    start_button_->setEnabled(false);
    set_work_area_read_only(false);
    work_area_edit_->setFocus();

    ctx.run_state = 2;
    ctx.diag.poll_progress(0);
    set_step_field(0, StepPart::label, "", StepLook::current);
    set_step_status(ctx, 0, "...", 1);
    enable_all_options();
    update_menu_enabling();
}

void MainWindow::command_save(bool save_as) {
    if (busy_) return;
    RunContext& ctx = session_->ctx;
    if (ctx.run_state >= 5 && ctx.run_state <= 9) return;
    if (ctx.run_state == 1) return;
    if (save_input(save_as) == 2) {
        work_area_edit_->setFocus();
        set_step_status(ctx, 0, ctx.run_state == 3 ? "..." : "done", 1);
        focus_start();
        set_defaults();
    }
    update_menu_enabling();
}

int MainWindow::save_input(bool save_as) {
    RunContext& ctx = session_->ctx;
    ctx.current_sub = "save_input";
    if (ctx.run_state == 10) {
        SaveAs_ReportFiles(save_as);
        return 0;
    }
    bool ask = ctx.input_file.empty() || save_as || ctx.input_file.ends_with("NoName.tab");
    if (!ask && ctx.run_state == 3 && std::filesystem::exists(ctx.input_file)) {
        const MessageAnswer answer = message_box(" Save File", " Yes: Overwrite existing File\r\n  No: SaveAs",
                                                 MessageIcon::question, MessageButtons::yes_no_cancel);
        if (answer == MessageAnswer::cancel) return 2;
        ask = answer == MessageAnswer::no;
    }
    std::string name = ctx.input_file;
    if (ask) {
        const std::optional<std::string> chosen =
            dialogs_.save_file_name(this, kSaveTitle, kSaveFilter, 1, save_preset_);
        if (!chosen) return 2;
        name = *chosen;
        if (!confirm_overwrite({name})) return 2;
    }
    if (!check_file(ctx, 0, name, "w")) {
        ctx.error_flag = 0;
        return 2;
    }
    // Written beside the file and renamed over it: a failed write leaves the old file whole. A
    // symbolic link stays a link: its target is written.
    std::error_code error;
    std::string target = name;
    if (std::filesystem::is_symlink(name, error)) {
        const std::filesystem::path resolved = std::filesystem::canonical(name, error);
        if (!error) target = resolved.string();
    }
    // A long text takes a while to write: off the GUI thread, and Cancel keeps the old file.
    std::string text;
    WriteFailure failure;
    run_in_background(this, "Saving the Input File ...", true, [&](TaskControl& control) {
        text = work_area_->plain_text();
        use_line_ends(text, line_end_);
        control.expected_bytes = text.size();
        failure = write_text_file(target, text, {&control.cancelled, &control.bytes});
    });
    if (failure.error == ECANCELED) return 2;
    if (failure) {
        show_write_failure(ctx, 0, failure);
        ctx.error_flag = 0;
        return 2;
    }
    // The saved text is what the next run parses.
    ctx.input_text = std::move(text);
    ctx.input_file = name;
    remember_input_stamp();
    recent_files_.add(QString::fromStdString(name));
    preset_save_dialog(ctx.input_file, 1);
    open_preset_ = ctx.input_file;
    work_area_edit_->document()->setModified(false);
    set_step_status(ctx, 0, "- done -", 1);
    show_input_file("Input File: ", ctx.input_file);
    set_status_line(" Input File saved =>  [Start]");
    ctx.run_state = 4;
    start_button_->setEnabled(true);
    focus_start();
    return 1;
}

void MainWindow::remember_input_stamp() { input_stamp_ = file_stamp(session_->ctx.input_file); }

void MainWindow::warn_if_input_changed() {
    const std::string& path = session_->ctx.input_file;
    if (input_stamp_.empty()) return;
    const std::string now = file_stamp(path);
    if (now == input_stamp_) return;
    input_stamp_ = now;  // said once
    message_box(" Input File Changed",
                "The input file was changed on disk after it was loaded:  \r\n\r\n" + path +
                    "\r\n\r\nThe report describes the text as it was loaded (the one shown). Re-Start reads the file again.",
                MessageIcon::information, MessageButtons::ok);
}

bool MainWindow::confirm_overwrite(const std::vector<std::string>& files) {
    std::string existing;
    for (const std::string& file : files) {
        std::error_code error;
        // A folder is no file to replace: check_file refuses it with its own message.
        if (std::filesystem::exists(file, error) && !std::filesystem::is_directory(file, error)) existing += file + "\r\n";
    }
    if (existing.empty()) return true;
    return message_box("Replace File?", "File exists already:  \r\n\r\n" + existing + "\r\n Yes: Replace it\r\n  No: Do not save",
                       MessageIcon::question, MessageButtons::yes_no) == MessageAnswer::yes;
}

int MainWindow::SaveAs_ReportFiles(bool save_as) {
    RunContext& ctx = session_->ctx;
    ctx.current_sub = "SaveAs_ReportFiles";
    if (!save_as) return 2;
    const std::optional<std::string> chosen = dialogs_.save_file_name(this, "Save Report As", kSaveFilter, 2, save_preset_);
    if (!chosen) return 2;
    // The report is NAME.rpt beside NAME.rpt.rtf, whatever extension the name was given without.
    std::string name = *chosen;
    if (!QString::fromStdString(name).endsWith(".rpt", Qt::CaseInsensitive)) name += ".rpt";
    if (!confirm_overwrite({name, name + ".rtf"})) return 2;
    if (!check_file(ctx, 0, name, "w")) {
        ctx.error_flag = 0;
        return 2;
    }
    // A long report takes a while to write: off the GUI thread, so the window keeps answering.
    WriteFailure failure;
    run_in_background(this, "Saving the Report Files ...", true, [&](TaskControl& control) {
        // Both files, each about the text's size.
        control.expected_bytes = 2 * work_area_->length();
        failure = write_report_files(*work_area_, name, {}, {&control.cancelled, &control.bytes});
    });
    // Cancelled: the old files stay as they were.
    if (failure.error == ECANCELED) return 2;
    if (failure) {
        show_write_failure(ctx, 0, failure);
        ctx.error_flag = 0;
        return 2;
    }
    work_area_edit_->document()->setModified(false);
    show_report_file("Report Files: ", name + " /.rtf");
    set_status_line(" *** Report Files Saved As (ASCII: *.rpt and RTF: *.rpt.rtf)");
    ctx.run_state = 10;
    start_button_->setEnabled(true);
    focus_start();
    return 1;
}

}  // namespace vormel
