#include "ui/table_editor.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <fstream>
#include <sstream>

#include "run/report_files.h"

namespace vormel {

namespace {

bool is_pla(const QString& path) { return QFileInfo(path).suffix().compare("pla", Qt::CaseInsensitive) == 0; }

QTableWidgetItem* centred(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

TableEditor::TableEditor(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("tableEditor");
    setWindowTitle("Vormel Table Editor");
    grid_ = new QTableWidget(this);
    grid_->setObjectName("tableGrid");
    grid_->installEventFilter(this);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->setTabKeyNavigation(true);
    message_ = new QLabel(this);
    message_->setObjectName("tableMessage");
    message_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& text, const QKeySequence& keys, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(text + "  (" + keys.toString(QKeySequence::NativeText) + ")");
        b->setFocusPolicy(Qt::NoFocus);  // the grid keeps the keyboard; the shortcut does the same
        connect(b, &QPushButton::clicked, this, action);
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, action);
        buttons->addWidget(b);
    };
    button("addInput", "+ Input", QKeySequence("Ctrl+I"), [this] { add_input(); });
    button("removeInput", "- Input", QKeySequence("Ctrl+Shift+I"), [this] { remove_input(); });
    button("addOutput", "+ Output", QKeySequence("Ctrl+U"), [this] { add_output(); });
    button("removeOutput", "- Output", QKeySequence("Ctrl+Shift+U"), [this] { remove_output(); });
    button("addRow", "+ Row", QKeySequence("Ctrl+R"), [this] { add_row(); });
    button("removeRow", "- Row", QKeySequence("Ctrl+Shift+R"), [this] { remove_row(); });
    buttons->addStretch(1);
    button("saveTable", "Save and Open", QKeySequence::Save, [this] { save(file_.isEmpty()); });
    button("saveTableAs", "Save As", QKeySequence("Ctrl+Shift+S"), [this] { save(true); });

    auto* hint = new QLabel(" 0, 1, - (or Space) set a cell and move on; arrows and Tab move; Enter or F2 edits a name. "
                            "Ctrl+I / Ctrl+U / Ctrl+R add an input / output / row, with Shift they remove one; "
                            "Ctrl+S saves and opens the table for Start; Esc closes.", this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(grid_, 1);
    layout->addWidget(message_);
    layout->addWidget(hint);
    new_table();
}

void TableEditor::new_table() {
    file_.clear();
    set_table({{"a", "b"}, {"f"}, {"00", "01", "10", "11"}, {"0", "0", "0", "1"}});
    show_message("New table: type the outputs, then Save and Open and Start.", false);
}

bool TableEditor::open_file(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string why_not;
    const std::optional<EditedTable> table = in ? read_edited_table(text.str(), is_pla(path), why_not) : std::nullopt;
    if (!table) {
        show_message("Cannot edit " + path + " in the grid: " + QString::fromStdString(in ? why_not : "not readable"), true);
        return false;
    }
    set_table(*table);
    file_ = path;
    setWindowTitle("Vormel Table Editor - " + QFileInfo(path).fileName());
    show_message("Opened " + path, false);
    return true;
}

void TableEditor::set_table(const EditedTable& table) {
    inputs_ = static_cast<int>(table.inputs.size());
    grid_->clear();
    grid_->setColumnCount(inputs_ + static_cast<int>(table.outputs.size()));
    grid_->setRowCount(1 + static_cast<int>(table.x_rows.size()));
    for (int i = 0; i < grid_->columnCount(); ++i) {
        const std::string& name = i < inputs_ ? table.inputs[i] : table.outputs[i - inputs_];
        grid_->setItem(0, i, centred(QString::fromStdString(name)));
    }
    for (std::size_t row = 0; row < table.x_rows.size(); ++row) {
        const std::string entry = table.x_rows[row] + table.y_rows[row];
        for (int i = 0; i < grid_->columnCount(); ++i) {
            grid_->setItem(static_cast<int>(row) + 1, i, centred(i < static_cast<int>(entry.size()) ? QString(entry[i]) : "-"));
        }
    }
    mark_sides();
    grid_->setCurrentCell(grid_->rowCount() > 1 ? 1 : 0, 0);
}

EditedTable TableEditor::table() const {
    EditedTable table;
    auto text = [this](int row, int column) {
        const QTableWidgetItem* item = grid_->item(row, column);
        return item ? item->text().trimmed().toStdString() : std::string();
    };
    for (int i = 0; i < grid_->columnCount(); ++i) (i < inputs_ ? table.inputs : table.outputs).push_back(text(0, i));
    for (int row = 1; row < grid_->rowCount(); ++row) {
        std::string x, y;
        for (int i = 0; i < grid_->columnCount(); ++i) {
            std::string cell = text(row, i);
            if (cell == "x" || cell == "X") cell = "-";
            (i < inputs_ ? x : y) += cell.size() == 1 ? cell : "?";
        }
        table.x_rows.push_back(x);
        table.y_rows.push_back(y);
    }
    return table;
}

int TableEditor::outputs() const { return grid_->columnCount() - inputs_; }

QString TableEditor::message() const { return message_->text(); }

void TableEditor::show_message(const QString& text, bool fault) {
    message_->setText(text);
    message_->setStyleSheet(fault ? "color: #b00000;" : "");
}

void TableEditor::mark_sides() {
    QStringList labels;
    for (int i = 0; i < grid_->columnCount(); ++i) labels << (i < inputs_ ? QString("In %1").arg(i + 1) : QString("Out %1").arg(i - inputs_ + 1));
    grid_->setHorizontalHeaderLabels(labels);
    QStringList rows{"Names"};
    for (int row = 1; row < grid_->rowCount(); ++row) rows << QString::number(row);
    grid_->setVerticalHeaderLabels(rows);
    // The outputs' cells are tinted, so the line between inputs and outputs is seen.
    for (int row = 0; row < grid_->rowCount(); ++row) {
        for (int i = 0; i < grid_->columnCount(); ++i) {
            if (QTableWidgetItem* item = grid_->item(row, i)) {
                item->setBackground(i < inputs_ ? QBrush() : QBrush(QColor(230, 240, 255)));
                if (row == 0) {
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
            }
        }
    }
}

void TableEditor::insert_column(int column, const QString& name) {
    grid_->insertColumn(column);
    grid_->setItem(0, column, centred(name));
    for (int row = 1; row < grid_->rowCount(); ++row) grid_->setItem(row, column, centred("-"));
}

void TableEditor::add_input() {
    insert_column(inputs_, QString("x%1").arg(inputs_));
    ++inputs_;
    mark_sides();
    grid_->setCurrentCell(0, inputs_ - 1);
}

void TableEditor::remove_input() {
    if (inputs_ <= 1) return;
    const int current = grid_->currentColumn();
    grid_->removeColumn(current >= 0 && current < inputs_ ? current : inputs_ - 1);
    --inputs_;
    mark_sides();
}

void TableEditor::add_output() {
    insert_column(grid_->columnCount(), QString("y%1").arg(outputs()));
    mark_sides();
    grid_->setCurrentCell(0, grid_->columnCount() - 1);
}

void TableEditor::remove_output() {
    if (outputs() <= 1) return;
    const int current = grid_->currentColumn();
    grid_->removeColumn(current >= inputs_ ? current : grid_->columnCount() - 1);
    mark_sides();
}

void TableEditor::add_row() {
    const int row = std::max(grid_->currentRow() + 1, 1);
    grid_->insertRow(row);
    for (int i = 0; i < grid_->columnCount(); ++i) grid_->setItem(row, i, centred("-"));
    mark_sides();
    grid_->setCurrentCell(row, 0);
}

void TableEditor::remove_row() {
    const int row = grid_->currentRow();
    if (row < 1) return;
    grid_->removeRow(row);
    mark_sides();
}

bool TableEditor::save_to(const QString& path) {
    const EditedTable edited = table();
    const std::string fault = table_fault(edited);
    if (!fault.empty()) {
        show_message("Not saved: " + QString::fromStdString(fault), true);
        return false;
    }
    const WriteFailure failure = write_text_file(path.toStdString(), table_text(edited, is_pla(path)));
    if (failure) {
        show_message("Not saved (write failure): " + QString::fromStdString(failure.file + ": " + failure.reason) +
                         ". Choose another folder with Save As.",
                     true);
        return false;
    }
    file_ = path;
    setWindowTitle("Vormel Table Editor - " + QFileInfo(path).fileName());
    show_message("Saved " + path + "; it is open in the main window: Start runs it.", false);
    emit saved(path);
    return true;
}

void TableEditor::save(bool ask_name) {
    QString path = file_;
    if (ask_name || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, "Save Table", file_.isEmpty() ? "table.tab" : file_,
                                            "Truth Table (*.tab);;PLA Table (*.pla)");
        if (path.isEmpty()) return;
    }
    save_to(path);
}

bool TableEditor::eventFilter(QObject* watched, QEvent* event) {
    // While a cell is being edited its editor, not the grid, gets the keys.
    if (watched != grid_ || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = grid_->currentRow(), column = grid_->currentColumn();
    QString value;
    switch (key->key()) {
        case Qt::Key_0: value = "0"; break;
        case Qt::Key_1: value = "1"; break;
        case Qt::Key_Minus:
        case Qt::Key_Space:
        case Qt::Key_X: value = "-"; break;
        default: return QWidget::eventFilter(watched, event);
    }
    if (row < 1 || column < 0) return QWidget::eventFilter(watched, event);  // names are typed as text
    grid_->item(row, column)->setText(value);
    // On to the next cell, and to the next row's first cell after the last output.
    if (column + 1 < grid_->columnCount()) grid_->setCurrentCell(row, column + 1);
    else if (row + 1 < grid_->rowCount()) grid_->setCurrentCell(row + 1, 0);
    return true;
}

void TableEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vormel
