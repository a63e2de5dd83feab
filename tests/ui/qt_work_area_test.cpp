// The Qt work area against the text work area: same text, same colours, from the worker thread.
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <sstream>
#include <thread>

#include "report/text_work_area.h"
#include "ui/qt_work_area.h"

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

}  // namespace

class QtWorkAreaTest : public QObject {
    Q_OBJECT
private slots:
    void appends_from_a_worker_match_the_text_work_area() {
        QPlainTextEdit edit;
        QtWorkArea area(edit);
        TextWorkArea reference;
        const std::vector<Append> appends = sample_report();
        for (const Append& a : appends) reference.append(a.text, a.colour, a.bold);

        std::thread worker([&] {
            for (const Append& a : appends) {
                area.append(a.text, a.colour, a.bold);
                area.caret_to_end();
            }
        });
        worker.join();
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
};

QTEST_MAIN(QtWorkAreaTest)
#include "qt_work_area_test.moc"
