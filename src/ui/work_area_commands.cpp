// Text size, Find, Text --> Clip, Print, Help and About of the main window.
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QPrinter>
#include <filesystem>

#include "ui/background_task.h"
#include "ui/find_dialog.h"
#include "ui/find_text.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/print_pages.h"
#include "ui/qt_work_area.h"
#include "ui/report_view.h"
#include "ui/ui_dialogs.h"
#include "ui/window_layout.h"

namespace vormel {

namespace {

const char* const kHelpFile = "Vormel_Help.pdf";

}  // namespace

void MainWindow::apply_text_size(int size) {
    text_size_changing_ = true;
    text_size_ = size;
    work_area_->set_font(monospaced_font(size));
    work_area_edit_->document()->setModified(false);
    text_size_group_->setTitle(QString("TextSize:") + " " + QString::number(size) + " ");
    text_size_changing_ = false;
    set_page_length_source(size * 20);
}

void MainWindow::change_text_size(int delta) {
    if ((delta < 0 && text_size_ <= 2) || (delta > 0 && text_size_ >= 72)) return;
    apply_text_size(text_size_ + delta);
}

void MainWindow::show_find_dialog() {
    find_dialog_->show();
    find_dialog_->raise();
    find_dialog_->activateWindow();
    find_dialog_->text_field().setFocus();
}

bool MainWindow::find_next(const QString& needle, bool match_case) {
    std::optional<std::size_t> found;
    bool wrapped = false;
    if (work_area_->compact()) {
        // Hundreds of megabytes take a moment to search: off the GUI thread.
        ReportView& view = *work_area_->report_view();
        const std::size_t from = view.selection_length() > 0 ? view.selection_start() + 1 : 0;
        const std::string wanted = needle.toStdString();
        run_in_background(this, "Finding ...", false,
                          [&](TaskControl&) { found = work_area_->find_in_copy(wanted, from, match_case); });
        if (found) {
            work_area_->select_in_view(*found, wanted.size());
            wrapped = *found < from;
        }
    } else {
        const QTextCursor selection = work_area_edit_->textCursor();
        const QString text = work_area_edit_->toPlainText();
        const qsizetype at = find_next_position(text, needle, selection.selectionStart(),
                                                selection.selectionEnd() - selection.selectionStart(), match_case);
        if (at >= 0) {
            found = static_cast<std::size_t>(at);
            wrapped = at < selection.selectionStart() || (at == selection.selectionStart() && selection.hasSelection());
            QTextCursor cursor(work_area_edit_->document());
            cursor.setPosition(static_cast<int>(at));
            cursor.setPosition(static_cast<int>(at + needle.size()), QTextCursor::KeepAnchor);
            work_area_edit_->setTextCursor(cursor);
            work_area_edit_->ensureCursorVisible();
        }
    }
    find_dialog_->show_result(!found ? QString("\"%1\" not found").arg(needle) : wrapped ? QString("from the top") : QString());
    // The search's progress box handed the focus back to the main window: the find box keeps it.
    if (find_dialog_->isVisible()) {
        find_dialog_->raise();
        find_dialog_->activateWindow();
    }
    return found.has_value();
}

void MainWindow::text_to_clip() {
    work_area_->drain_all();
    if (work_area_->compact()) {
        copy_in_background(0, work_area_->length());
        return;
    }
    QGuiApplication::clipboard()->setText(work_area_edit_->toPlainText());
}

void MainWindow::copy_in_background(std::size_t start, std::size_t length) {
    QString text;
    run_in_background(this, "Copying ...", false,
                      [&](TaskControl&) { text = QString::fromStdString(work_area_->copy_text(start, length)); });
    QGuiApplication::clipboard()->setText(text);
}

void MainWindow::copy_selection() {
    if (!work_area_->compact()) {
        work_area_edit_->copy();
        return;
    }
    const ReportView& view = *work_area_->report_view();
    if (view.selection_length() > 0) copy_in_background(view.selection_start(), view.selection_length());
}

void MainWindow::select_all() {
    if (!work_area_->compact()) {
        work_area_edit_->selectAll();
        return;
    }
    work_area_->report_view()->select(0, work_area_->length(), work_area_->report_view()->first_visible_line());
}

void MainWindow::print_work_area() {
    if (shown_state() == 1) return;
    const MessageAnswer answer =
        message_box(" Print",
                    " Yes:  Print complete .rpt File with TextSize " + std::to_string(text_size_) +
                        "\r\n  No:  Do not print. (Adjust TextSize with << >>)",
                    MessageIcon::question, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    QPrinter printer;
    // The print dialog names a PDF after the document: the input's name, not the program's.
    const std::string& input = session_->ctx.input_file;
    printer.setDocName(input.empty() ? windowTitle() : QFileInfo(QString::fromStdString(input)).fileName());
    if (!dialogs_.print_setup(this, printer)) return;
    // A report of millions of lines prints for minutes: off the GUI thread, line by line from the
    // text copy, never copied whole.
    const int points = text_size_;
    bool printed = false;
    run_in_background(this, "Printing the Work Area ...", true, [&](TaskControl& control) {
        const std::size_t lines = work_area_->printed_line_count();
        printed = print_lines(printer, lines, [this](std::size_t i) { return work_area_->line_text(i); }, points, control);
    });
    if (printed && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        set_status_line(" *** Printed to PDF: " + printer.outputFileName().toStdString());
    }
}

void MainWindow::show_help() {
    // A Vormel_Help.pdf of the user's own in the current directory goes to the desktop's viewer;
    // without one, or without a viewer for it, the guide built into the program is shown.
    if (std::filesystem::exists(std::filesystem::current_path() / kHelpFile)) {
        const std::filesystem::path help = std::filesystem::path(start_directory_) / kHelpFile;
        if (dialogs_.open_in_viewer(help.string())) return;
        message_box(" Vormel Help",
                    std::string("No program to show '") + kHelpFile + "' was found:  \r\nthe guide built into Vormel is shown.",
                    MessageIcon::information, MessageButtons::ok);
    }
    if (!help_window_) {
        help_window_ = new HelpWindow(this);
        // Lines of a readable length, and as tall as the screen allows.
        fit_to_screen_share(*help_window_, *this, 0.45, 0.85);
    }
    help_window_->show();
    help_window_->raise();
    help_window_->activateWindow();
    help_window_->search_field().setFocus();
}

void MainWindow::show_about() {
    message_box(" About Vormel",
                "Vormel Logic Optimization\r\n" + version_text() +
                    "\r\n\r\nMinimizes multi-output two-level (AND/OR) logic:\r\n"
                    "prime implicants, covers, output polarities and shared product terms.",
                MessageIcon::information, MessageButtons::ok);
}

}  // namespace vormel
