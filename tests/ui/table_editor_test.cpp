// The table editor's grid: typed from the keyboard, saved, read back by the program's own reader.
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "support/picture_run.h"
#include "ui/edited_table.h"
#include "ui/table_editor.h"

using namespace vormel;

namespace {

std::string read_file(const QString& path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

class TableEditorTest : public QObject {
    Q_OBJECT

    // Three inputs and two outputs, typed: names set, the cells from the keyboard.
    static void type_table(TableEditor& editor) {
        editor.new_table();
        editor.add_input();
        editor.add_output();
        QTableWidget& grid = editor.grid();
        const char* names[] = {"a", "b", "c", "f", "g"};
        for (int i = 0; i < 5; ++i) grid.item(0, i)->setText(names[i]);
        // The new table's four rows, then one more; each key sets a cell and moves on.
        editor.grid().setCurrentCell(4, 0);
        editor.add_row();
        grid.setCurrentCell(1, 0);
        QTest::keyClicks(&grid, "00-10" "01111" "1x001" "11-0 " "----0");
    }

private slots:
    void a_typed_table_round_trips_through_the_programs_reader() {
        TableEditor editor;
        type_table(editor);
        const EditedTable typed = editor.table();
        QCOMPARE(typed.x_rows, (std::vector<std::string>{"00-", "011", "1-0", "11-", "---"}));
        QCOMPARE(typed.y_rows, (std::vector<std::string>{"10", "11", "01", "0-", "-0"}));
        QVERIFY(table_fault(typed).empty());
        QTemporaryDir dir;
        for (const char* name : {"typed.tab", "typed.pla"}) {
            const QString path = dir.filePath(name);
            QVERIFY(editor.save_to(path));
            // The program's reader sees the same names and rows.
            testing::PictureRun run(name, read_file(path));
            const std::vector<std::string>& lines = run.problem().input_lines;
            QVERIFY(lines.size() >= 6);
            QCOMPARE(lines[0], std::string("A,B,C:F,G"));
            for (std::size_t row = 0; row < typed.x_rows.size(); ++row) {
                QCOMPARE(lines[row + 1], typed.x_rows[row] + ":" + typed.y_rows[row]);
            }
            // And the grid reads its own file back unchanged.
            TableEditor reopened;
            QVERIFY(reopened.open_file(path));
            QCOMPARE(reopened.table(), typed);
        }
    }

    void columns_and_rows_come_and_go_but_one_input_and_output_stay() {
        TableEditor editor;
        type_table(editor);
        editor.grid().setCurrentCell(2, 1);
        editor.remove_input();  // b, the current column
        editor.remove_row();    // row 2
        EditedTable table = editor.table();
        QCOMPARE(table.inputs, (std::vector<std::string>{"a", "c"}));
        QCOMPARE(table.x_rows, (std::vector<std::string>{"0-", "10", "1-", "--"}));
        editor.grid().setCurrentCell(0, 0);
        editor.remove_output();  // not on an output: the last one
        editor.remove_input();
        editor.remove_input();
        editor.remove_output();
        table = editor.table();
        QCOMPARE(table.inputs.size(), std::size_t{1});
        QCOMPARE(table.outputs, std::vector<std::string>{"f"});
    }

    void a_faulty_table_is_not_saved_and_says_why() {
        TableEditor editor;
        editor.grid().item(0, 0)->setText("1a");
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.tab");
        QVERIFY(!editor.save_to(path));
        QVERIFY(editor.message().contains("digit"));
        QVERIFY(!QFile::exists(path));
        editor.grid().item(0, 0)->setText("a");
        editor.grid().item(2, 1)->setText("2");
        QVERIFY(!editor.save_to(path));
        QVERIFY(editor.message().contains("Row 2"));
        // A folder in the way: a write failure, and what to do.
        editor.grid().item(2, 1)->setText("1");
        QVERIFY(QDir(dir.path()).mkdir("taken.tab"));
        QVERIFY(!editor.save_to(dir.filePath("taken.tab")));
        QVERIFY(editor.message().contains("write failure"));
    }

    void equations_and_rest_lines_stay_in_the_text() {
        std::string why;
        QVERIFY(!read_edited_table("f = a * b\n", false, why));
        QVERIFY(why.find("equations") != std::string::npos);
        QVERIFY(!read_edited_table("a : f\n1 : 1\n$REST : 0\n", false, why));
        const auto table = read_edited_table("Title\n; comment\na, b : f ; header\n0 X : 1\n", false, why);
        QVERIFY(table);
        QCOMPARE(table->x_rows, std::vector<std::string>{"0-"});
        // Names a .pla file leaves out are the reader's own.
        const auto pla = read_edited_table(".i 2\n.o 1\n01 1\n.e\n", true, why);
        QVERIFY(pla);
        QCOMPARE(pla->inputs, (std::vector<std::string>{"x0", "x1"}));
    }
};

QTEST_MAIN(TableEditorTest)
#include "table_editor_test.moc"
