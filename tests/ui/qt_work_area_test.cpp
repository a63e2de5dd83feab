// The Qt work area against the text work area: same text, same colours, from the worker thread.
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <sstream>
#include <thread>

#include "report/text_work_area.h"
#include "ui/qt_work_area.h"
#include "ui/report_view.h"

using namespace vormel;

namespace {

struct Append {
    std::string text;
    Rgb colour;
    bool bold;
};

// Plain pages, a coloured span far larger than one inserted piece, CR and LF in separate calls.
std::vector<Append> sample_report() {
    std::vector<Append> appends;
    appends.push_back({"input line 1\r\ninput line 2\r\n", colours::black, false});
    for (int page = 0; page < 40; ++page) {
        std::string text;
        for (int line = 0; line < 35; ++line) text += "row " + std::to_string(page * 35 + line) + " 01-1 10\r\n";
        appends.push_back({text, colours::black, false});
        appends.push_back({" *** heading " + std::to_string(page) + "\r", colours::navy, true});
        appends.push_back({"\n", colours::navy, true});
    }
    std::string wide;
    for (int line = 0; line < 3000; ++line) wide += "red line " + std::to_string(line) + " \xc3\xa4\r\n";
    appends.push_back({wide, colours::red, true});
    appends.push_back({"last", colours::green, false});
    return appends;
}

Rgb colour_at(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    const QColor c = cursor.charFormat().foreground().color();
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()), static_cast<std::uint8_t>(c.blue())};
}

// The sample report appended on a worker thread, as a run does, and into reference at once.
void append_sample_from_a_worker(QtWorkArea& area, TextWorkArea& reference) {
    const std::vector<Append> appends = sample_report();
    for (const Append& a : appends) reference.append(a.text, a.colour, a.bold);
    std::thread worker([&] {
        for (const Append& a : appends) {
            area.append(a.text, a.colour, a.bold);
            area.caret_to_end();
        }
    });
    worker.join();
}

}  // namespace

class QtWorkAreaTest : public QObject {
    Q_OBJECT
private slots:
    void appends_from_a_worker_match_the_text_work_area() {
        QPlainTextEdit edit;
        QtWorkArea area(edit);
        TextWorkArea reference;
        append_sample_from_a_worker(area, reference);
        QTRY_VERIFY_WITH_TIMEOUT(!area.has_backlog(), 30000);

        QCOMPARE(edit.toPlainText().toStdString(), reference.text());
        std::ostringstream plain, rich, expected_plain, expected_rich;
        area.write_plain(plain);
        area.write_rich(rich);
        reference.write_plain(expected_plain);
        reference.write_rich(expected_rich);
        QCOMPARE(plain.str(), expected_plain.str());
        QCOMPARE(rich.str(), expected_rich.str());

        // The view shows the same colours at the run boundaries.
        const QString shown = edit.toPlainText();
        for (const TextWorkArea::Run& run : reference.runs()) {
            const int start = static_cast<int>(QString::fromStdString(reference.text().substr(0, run.start)).size());
            QCOMPARE(colour_at(*edit.document(), start), run.colour);
        }
        QCOMPARE(colour_at(*edit.document(), 0), colours::black);
        // The caret follows the report.
        QCOMPARE(edit.textCursor().position(), static_cast<int>(shown.size()));
    }

    void loading_clears_the_report_and_the_modified_flag() {
        QPlainTextEdit edit;
        QtWorkArea area(edit);
        area.append("old report\r\n", colours::red, true);
        std::thread worker([&] { area.set_plain_text("a\r\nb"); });
        while (area.has_backlog() || edit.toPlainText() != "a\nb") QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        worker.join();
        QVERIFY(!edit.document()->isModified());
        QCOMPARE(area.plain_text(), std::string("a\r\nb"));
        // An edit by the user is what the files then hold.
        QTextCursor cursor(edit.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText("c");
        QCOMPARE(area.plain_text(), std::string("a\r\nbc"));
    }

    // Past the threshold the edit is emptied and the view paints from the copy: every line and colour
    // must still be there, and the files are unchanged.
    void a_long_report_is_shown_by_the_report_view_line_for_line() {
        QPlainTextEdit edit;
        edit.resize(400, 300);
        edit.show();
        QtWorkArea area(edit);
        area.set_compact_threshold(4000);
        TextWorkArea reference;
        append_sample_from_a_worker(area, reference);
        QTRY_VERIFY_WITH_TIMEOUT(!area.has_backlog(), 30000);

        QVERIFY(area.compact());
        QVERIFY(edit.toPlainText().isEmpty());
        std::ostringstream rich, expected_rich;
        area.write_rich(rich);
        reference.write_rich(expected_rich);
        QCOMPARE(rich.str(), expected_rich.str());

        const QStringList lines = QString::fromStdString(reference.text()).split('\n');
        ReportView& view = *area.report_view();
        QCOMPARE(view.line_count(), static_cast<std::size_t>(lines.size()));
        // The page-end pauses show the report's end.
        QCOMPARE(view.first_visible_line() + view.visible_line_count(), view.line_count());
        const std::vector<ShownLine> shown = area.shown_lines(0, view.line_count() + 5);
        QCOMPARE(shown.size(), static_cast<std::size_t>(lines.size()));
        for (std::size_t i = 0; i < shown.size(); ++i) {
            QCOMPARE(shown[i].text, lines[static_cast<qsizetype>(i)]);
            // Each piece has the colour the copy holds at its first character; the rest is black.
            int covered = 0;
            for (const ShownLine::Piece& piece : shown[i].pieces) {
                const std::size_t byte = shown[i].start + shown[i].text.left(piece.from).toUtf8().size();
                QCOMPARE(piece.colour, reference.format_at(byte).colour);
                QCOMPARE(piece.bold, reference.format_at(byte).bold);
                covered += piece.length;
            }
            if (shown[i].pieces.empty() && !shown[i].text.isEmpty()) {
                QCOMPARE(reference.format_at(shown[i].start).colour, colours::black);
            }
            // A coloured line with a two-byte character is covered to its end in characters, not bytes.
            if (shown[i].text.startsWith("red line")) QCOMPARE(covered, static_cast<int>(shown[i].text.size()));
        }

        // Loading a short text goes back to the edit.
        area.set_plain_text("a\r\nb");
        QVERIFY(!area.compact());
        QVERIFY(view.isHidden());
        QCOMPARE(edit.toPlainText(), QString("a\nb"));
        QCOMPARE(area.shown_lines(0, 5).size(), std::size_t{2});
    }

    void a_long_loaded_text_opens_in_the_report_view() {
        QPlainTextEdit edit;
        QtWorkArea area(edit);
        area.set_compact_threshold(100);
        std::string text;
        for (int i = 0; i < 50; ++i) text += "1-0 1 line " + std::to_string(i) + "\r\n";
        area.set_plain_text(text);
        QVERIFY(area.compact());
        QVERIFY(!edit.document()->isModified());
        QCOMPARE(area.report_view()->line_count(), std::size_t{51});
        QCOMPARE(area.plain_text(), text);
        QCOMPARE(area.shown_lines(49, 3)[0].text, QString("1-0 1 line 49"));
        // Printing reads whole lines; a final line end starts no further line.
        QCOMPARE(area.printed_line_count(), std::size_t{50});
        QCOMPARE(area.line_text(0), QString("1-0 1 line 0"));
        area.set_plain_text("x\ry\r\n\nlast without end");
        QCOMPARE(area.printed_line_count(), std::size_t{4});
        QCOMPARE(area.line_text(3), QString("last without end"));
        QCOMPARE(area.line_text(2), QString());
        area.clear();
        QVERIFY(!area.compact());
        QCOMPARE(area.length(), std::size_t{0});
    }

    void find_in_the_copy_moves_on_wraps_and_sees_across_slices() {
        QPlainTextEdit edit;
        QtWorkArea area(edit);
        area.set_compact_threshold(1000);
        // More than one slice of the search, with one occurrence across the first slice edge.
        const std::size_t edge = 4u << 20;
        std::string text(edge - 3, 'x');
        text += "Needle";
        text += std::string(1u << 20, 'y');
        text += "needle\n";
        area.append(text, colours::black, false);
        QCOMPARE(area.find_in_copy("needle", 0, false), std::optional<std::size_t>(edge - 3));
        QCOMPARE(area.find_in_copy("needle", edge - 2, false), std::optional<std::size_t>(text.size() - 7));
        QCOMPARE(area.find_in_copy("needle", 0, true), std::optional<std::size_t>(text.size() - 7));
        // Past the last occurrence the search starts at the top again.
        QCOMPARE(area.find_in_copy("NEEDLE", text.size() - 6, false), std::optional<std::size_t>(edge - 3));
        QCOMPARE(area.find_in_copy("absent", 10, false), std::optional<std::size_t>());
        area.select_in_view(edge - 3, 6);
        QCOMPARE(area.report_view()->selection_start(), edge - 3);
        QCOMPARE(area.copy_text(edge - 3, 6), std::string("Needle"));
    }
};

QTEST_MAIN(QtWorkAreaTest)
#include "qt_work_area_test.moc"
