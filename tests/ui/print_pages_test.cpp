// Printed pages of the work area: long lines continued, pages counted, printing cancelled.
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "ui/background_task.h"
#include "ui/print_pages.h"

using namespace vormel;

class PrintPagesTest : public QObject {
    Q_OBJECT

private slots:
    void long_lines_continue_and_pages_are_counted_as_a_line_by_line_count_says() {
        // Lines wider than the page were cut at its edge.
        std::mt19937 random(7);
        for (int trial = 0; trial < 300; ++trial) {
            const int columns = 1 + static_cast<int>(random() % 12);
            const int rows = 1 + static_cast<int>(random() % 6);
            QString text;
            const int lines = static_cast<int>(random() % 15);
            int printed_rows = 0;
            for (int i = 0; i < lines; ++i) {
                QString line;
                const int length = static_cast<int>(random() % 40);
                for (int c = 0; c < length; ++c) line += QChar('a' + static_cast<int>(random() % 26));
                QString joined;
                for (QStringView piece : printed_pieces(line, columns)) {
                    QVERIFY(piece.size() <= columns);
                    joined += piece;
                    ++printed_rows;
                }
                QCOMPARE(joined, line);
                text += line + '\n';
            }
            if (lines == 0) printed_rows = 1;  // an empty text still prints one (empty) page
            QCOMPARE(printed_page_count(text, columns, rows), (printed_rows + rows - 1) / rows);
        }
        QCOMPARE(printed_page_count(u"abc", 2, 1), 2);  // a last line without its line end counts too
    }

    void a_cancelled_print_stops_at_the_first_page_end() {
        QTemporaryDir dir;
        const QString text = QString("line\n").repeated(5000);
        auto pages_of = [&](bool cancel) {
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(cancel ? "cancelled.pdf" : "whole.pdf"));
            TaskControl control;
            control.cancelled = cancel;
            const bool printed = print_text(printer, text, 9, control);
            return std::make_pair(printed, control.percent.load());
        };
        const auto whole = pages_of(false);
        QVERIFY(whole.first);
        QVERIFY(whole.second > 90);
        const auto cancelled = pages_of(true);
        QVERIFY(!cancelled.first);
        QCOMPARE(cancelled.second, -1);
    }
};

QTEST_MAIN(PrintPagesTest)
#include "print_pages_test.moc"
