// Import PLA and Export Result of the main window.
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "input/file_probe.h"
#include "input/pla_import.h"
#include "input/text_decoding.h"
#include "run/check_file.h"
#include "run/command_fsm.h"
#include "run/export_result.h"
#include "ui/main_window.h"
#include "ui/qt_work_area.h"
#include "ui/ui_dialogs.h"

namespace vormel {

namespace {

// Files of the dialect often have no extension or another one: all files are shown first.
const char* const kImportFilter = "All Files (*.*)|*.*|PLA Files (*.pla)|*.pla";
const char* const kExportFilter =
    "BLIF (*.blif)|*.blif|Verilog (*.v)|*.v|Equations (*.eqn)|*.eqn|PLA (*.pla)|*.pla|All Files (*.*)|*.*";

// Beside the imported file, a name that is not taken yet: the converted text must never replace it.
std::string converted_name(const std::string& path) {
    const std::filesystem::path source(path);
    const std::string stem = source.stem().string();
    for (int k = 1;; ++k) {
        const std::string suffix = k == 1 ? "_imported.pla" : "_imported" + std::to_string(k) + ".pla";
        const std::filesystem::path candidate = source.parent_path() / (stem + suffix);
        if (!std::filesystem::exists(candidate)) return candidate.string();
    }
}

}  // namespace

void MainWindow::command_import() {
    if (busy_ || shown_state() >= 5) return;
    RunContext& ctx = session_->ctx;
    if (ctx.run_state == 3) {
        const MessageAnswer answer = message_box(" Import PLA", " Yes:  Save changes before Import\r\n  No:  Import without saving",
                                                 MessageIcon::question, MessageButtons::yes_no_cancel);
        if (answer == MessageAnswer::cancel) return;
        if (answer == MessageAnswer::yes && save_input(false) == 2) return;
    }
    const std::optional<std::string> chosen =
        dialogs_.open_file_name(this, "Import PLA (common dialect of other tools)", kImportFilter, open_preset_);
    if (chosen) import_pla_file(*chosen);
}

void MainWindow::import_pla_file(const std::string& path) {
    RunContext& ctx = session_->ctx;
    if (!check_file(ctx, 0, path, "r")) {
        ctx.error_flag = 0;
        set_step_status(ctx, 0, "...", 1);
        return;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream raw;
    raw << file.rdbuf();
    const PlaImport imported = import_pla(decode_input_text(raw.str()));
    if (!imported.error.empty()) {
        message_box(" Import Error", "The file cannot be imported:  \r\n\r\n" + path + "\r\n" + imported.error,
                    MessageIcon::error, MessageButtons::ok);
        return;
    }

    // The converted text is new data: it runs once saved, under a name of its own.
    ctx.input_file = converted_name(path);
    ctx.run_state = 3;  // before the text changes, so the change check keeps the name
    state_before_change_ = 2;
    line_end_ = "\r\n";
    set_known_inputs(0);
    input_stamp_.clear();
    open_preset_ = path;
    work_area_->set_plain_text(imported.text);
    work_area_edit_->moveCursor(QTextCursor::Start);
    work_area_edit_->document()->setModified(true);
    preset_save_dialog(ctx.input_file, 1);
    reset_step_status(ctx);
    show_input_file("Input File: ", ctx.input_file);
    show_report_file("Report Files: ", "");
    set_start_caption("Start");
    set_work_area_read_only(false);
    enable_all_options();
    set_defaults();
    choose_methods_for_size(probe_input_text(imported.text, true));
    save_button_->setEnabled(true);
    set_step_field(0, StepPart::label, "", StepLook::current);
    set_step_status(ctx, 0, "...", 1);
    set_status_line(" PLA imported, data changed ... =>  Ctrl+Save(As) and [Start]");
    start_button_->setEnabled(false);
    update_menu_enabling();
}

void MainWindow::command_export() {
    if (!result_kept()) return;
    RunContext& ctx = session_->ctx;
    const std::optional<std::string> chosen =
        dialogs_.save_file_name(this, "Export Result", kExportFilter, 1, ctx.input_file + ".blif");
    if (!chosen) return;
    const std::optional<ExportFormat> format = export_format_of(*chosen);
    if (!format) {
        message_box(" Export Result", " The file name must end in .blif, .v, .eqn or .pla:  \r\n\r\n" + *chosen,
                    MessageIcon::error, MessageButtons::ok);
        return;
    }
    PlaPhase phase = PlaPhase::phase_line;
    bool inverted = false;
    for (int value : session_->problem.polarity) inverted = inverted || value == 0;
    if (*format == ExportFormat::pla && inverted) {
        const MessageAnswer answer =
            message_box(" Export Result",
                        " Outputs realised inverted:\r\n Yes:  complement them back (every output's ON set)\r\n  No:  keep "
                        "their terms, marked in a .phase line",
                        MessageIcon::question, MessageButtons::yes_no_cancel);
        if (answer == MessageAnswer::cancel) return;
        if (answer == MessageAnswer::yes) phase = PlaPhase::complemented_back;
    }
    const std::string error = export_result(session_->problem, ctx.input_file, *chosen, phase);
    if (!error.empty()) {
        message_box(" Export Result", " " + error, MessageIcon::error, MessageButtons::ok);
        return;
    }
    set_status_line(" *** Result exported to " + *chosen);
}

}  // namespace vormel
