// File > Table Editor: the grid for a truth table beside the main window.
#include <QFileInfo>

#include "ui/main_window.h"
#include "ui/table_editor.h"
#include "ui/window_layout.h"

namespace vormel {

void MainWindow::show_table_editor() {
    if (!table_editor_) {
        table_editor_ = new TableEditor(this);
        fit_to_screen_share(*table_editor_, *this, 0.6, 0.6);
        // A saved table is opened like any file, so Start runs it and the pictures show its result.
        connect(table_editor_, &TableEditor::saved, this, [this](const QString& path) {
            if (!busy_ && shown_state() < 5 && may_open()) open_input(path.toStdString());
        });
        // The loaded file when it is a table the grid shows, else a new table.
        const QString loaded = QString::fromStdString(session_->ctx.input_file);
        const QString suffix = QFileInfo(loaded).suffix().toLower();
        if (session_->ctx.input_text && (suffix == "tab" || suffix == "pla")) table_editor_->open_file(loaded);
    }
    table_editor_->show();
    table_editor_->raise();
    table_editor_->activateWindow();
}

}  // namespace vormel
