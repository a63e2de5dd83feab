// Figures for the desktop work area: how often the window repaints while a run appends a long
// report from its worker thread, how long scrolling the finished report takes per page, and how
// long the report files take to produce. Prints figures; asserts nothing.
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "report/colour.h"
#include "ui/layout_scale.h"
#include "ui/qt_work_area.h"

namespace {

class PaintClock : public QObject {
public:
    explicit PaintClock(QElapsedTimer& clock) : clock_(clock) {}
    std::vector<qint64> paints;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) paints.push_back(clock_.nsecsElapsed());
        return false;
    }

private:
    QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 500000;
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setFont(vormel::monospaced_font(9));
    edit.setUndoRedoEnabled(false);
    edit.resize(1100, 800);
    edit.show();
    vormel::QtWorkArea area(edit);

    QElapsedTimer clock;
    clock.start();
    PaintClock paint_clock(clock);
    edit.viewport()->installEventFilter(&paint_clock);

    std::atomic<bool> done{false};
    qint64 worker_end = 0;
    std::thread worker([&] {
        // A page of plain lines per append, as the report channel flushes, and one red bold line.
        int written = 0;
        std::string page;
        while (written < lines) {
            page.clear();
            for (int i = 0; i < 35 && written < lines; ++i, ++written) {
                page += "  " + std::to_string(written) + "  0-1-01--1-0-1--10  1 0 1 1 0 -  term row with columns\r\n";
            }
            area.append(page, vormel::colours::black, false);
            area.append(" *** heading line\r\n", vormel::colours::navy, true);
            area.caret_to_end();
        }
        worker_end = clock.nsecsElapsed();
        done = true;
    });

    QTimer ask_repaint;
    QObject::connect(&ask_repaint, &QTimer::timeout, [&] { edit.viewport()->update(); });
    ask_repaint.start(10);
    // The event loop as the program runs it, until the view holds the whole report.
    while (!done || area.has_backlog()) app.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    worker.join();
    const qint64 all_in = clock.nsecsElapsed();
    ask_repaint.stop();

    std::vector<qint64> gaps;
    for (std::size_t i = 1; i < paint_clock.paints.size(); ++i) gaps.push_back(paint_clock.paints[i] - paint_clock.paints[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    const qint64 worst_gap = gaps.empty() ? 0 : gaps.back();
    const qint64 p99_gap = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
    const auto over_100 = std::count_if(gaps.begin(), gaps.end(), [](qint64 gap) { return gap > 100000000; });
    std::printf("lines appended            : %d (%d blocks in the document)\n", lines, edit.document()->blockCount());
    std::printf("worker done after         : %.0f ms\n", worker_end / 1e6);
    std::printf("all text in the view after: %.0f ms\n", all_in / 1e6);
    std::printf("repaints during the append: %zu, gap 99th percentile %.1f ms, longest %.1f ms, %ld gaps over 100 ms\n",
                paint_clock.paints.size(), p99_gap / 1e6, worst_gap / 1e6, static_cast<long>(over_100));

    QScrollBar* bar = edit.verticalScrollBar();
    bar->setValue(0);
    std::vector<double> page_times;
    for (int i = 0; i < 300; ++i) {
        QElapsedTimer page;
        page.start();
        bar->setValue(bar->value() + bar->pageStep() + (i % 7) * 1000);
        edit.viewport()->repaint();
        page_times.push_back(page.nsecsElapsed() / 1e6);
    }
    std::sort(page_times.begin(), page_times.end());
    double sum = 0;
    for (double t : page_times) sum += t;
    std::printf("scroll + repaint per page : mean %.2f ms, median %.2f ms, worst %.2f ms (300 pages)\n",
                sum / page_times.size(), page_times[page_times.size() / 2], page_times.back());

    QElapsedTimer resize_text;
    resize_text.start();
    area.set_font(vormel::monospaced_font(10));
    edit.viewport()->repaint();
    std::printf("text size 9 -> 10 on the whole report: %.0f ms\n", resize_text.nsecsElapsed() / 1e6);

    QElapsedTimer files;
    files.start();
    std::ostringstream plain, rich;
    area.write_plain(plain);
    const double plain_ms = files.nsecsElapsed() / 1e6;
    files.restart();
    area.write_rich(rich);
    std::printf("plain text %zu bytes in %.0f ms, rich text %zu bytes in %.0f ms\n", plain.str().size(), plain_ms,
                rich.str().size(), files.nsecsElapsed() / 1e6);
    return 0;
}
