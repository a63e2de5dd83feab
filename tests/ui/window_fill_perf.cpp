// Figures for the desktop window: a whole run of one file at one display level, driven through the
// window's buttons, and how long the work area keeps filling after the run said "Report Files
// Saved"; with the peak resident memory. Prints figures; asserts nothing.
// Usage: vormel_window_fill_perf FILE LEVEL [edit]   (edit: the whole report in the text edit, as before the ReportView)
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "scripted_dialogs.h"
#include "ui/elided_label.h"
#include "ui/main_window.h"
#include "ui/qt_work_area.h"

namespace {

long peak_kilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE LEVEL\n", argv[0]);
        return 2;
    }
    vormel::ScriptedDialogs dialogs;
    vormel::MainWindow window(dialogs, 1.0);
    window.show();
    window.start_up("");
    if (argc > 3 && std::string(argv[3]) == "edit") window.work_area().set_compact_threshold(SIZE_MAX);
    dialogs.open_names.push_back(argv[1]);
    window.command_open();
    window.findChild<QRadioButton*>(QString("level%1").arg(argv[2]))->click();
    auto* page = window.findChild<QRadioButton*>("pageByPage");
    if (page->isChecked()) page->click();
    auto* start = window.findChild<QPushButton*>("startButton");
    auto* status = window.findChild<vormel::ElidedLabel*>("statusLine");

    QElapsedTimer clock;
    clock.start();
    qint64 saved_at = -1;
    start->click();
    for (;;) {
        app.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        if (saved_at < 0 && status->full_text().contains("Report Files Saved")) saved_at = clock.elapsed();
        if (window.busy()) continue;
        if (start->text() != "Re-Start") {
            start->click();
            continue;
        }
        if (!window.work_area().has_backlog()) break;
    }
    const qint64 filled_at = clock.elapsed();
    std::printf("level %s: report saved after %lld ms, work area filled after %lld ms (%lld ms later), peak RSS %ld MB\n",
                argv[2], static_cast<long long>(saved_at), static_cast<long long>(filled_at),
                static_cast<long long>(filled_at - saved_at), peak_kilobytes() / 1024);
    return 0;
}
