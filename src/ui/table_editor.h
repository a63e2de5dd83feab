#pragma once
#include <QString>
#include <QWidget>

#include "ui/edited_table.h"

class QLabel;
class QTableWidget;

namespace vormel {

// A grid for a truth table: the first row holds the names, every further row one entry line of
// 0, 1 and - (X and x count as -), inputs left of the thick line, outputs right of it. Everything
// works from the keyboard: 0, 1, - or Space set a cell and move on, the arrows and Tab move, F2 or
// Enter edits a name, and the buttons' shortcuts add and remove inputs, outputs and rows. Saved as
// a .tab or .pla text the program reads like any other file.
class TableEditor : public QWidget {
    Q_OBJECT
public:
    explicit TableEditor(QWidget* parent = nullptr);

    // A new table: two inputs, one output, the four rows of the inputs.
    void new_table();
    // The table of a .tab or .pla file; false (the reason shown) when it is no plain table.
    bool open_file(const QString& path);
    void set_table(const EditedTable& table);
    EditedTable table() const;
    const QString& file() const { return file_; }
    QString message() const;
    QTableWidget& grid() { return *grid_; }

    // Writes the table to path (.pla: the PLA form, else the .tab form); false with the reason shown.
    bool save_to(const QString& path);

    void add_input();
    void remove_input();
    void add_output();
    void remove_output();
    void add_row();
    void remove_row();

signals:
    // The table was saved to path: the main window opens it for a run.
    void saved(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void save(bool ask_name);
    int inputs() const { return inputs_; }
    int outputs() const;
    void insert_column(int column, const QString& name);
    void mark_sides();
    void show_message(const QString& text, bool fault);

    QTableWidget* grid_;
    QLabel* message_;
    QString file_;
    int inputs_ = 0;
};

}  // namespace vormel
