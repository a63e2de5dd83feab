// vormel: the desktop program.
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "report/run_context.h"
#include "ui/emergency_window.h"
#include "ui/main_window.h"
#include "ui/qt_work_area.h"
#include "ui/query_box.h"
#include "ui/ui_dialogs.h"

namespace {

constexpr const char* kUsage =
    "Usage: vormel [FILE]\n"
    "The desktop program of Vormel, which minimizes multi-output two-level (AND/OR) logic.\n"
    "Without FILE it opens ready for Open or New; with FILE it loads the file, runs the whole job\n"
    "and saves FILE.rpt and FILE.rpt.rtf beside it. The console program is vormelc.\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "  --version      print the version and exit\n";

// --help and --version answer on the terminal before any window exists, so they need no display.
bool answered_on_terminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            std::printf("vormel %s\n", vormel::version_text().c_str());
            return true;
        }
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answered_on_terminal(argc, argv)) return std::fflush(stdout) == 0 ? 0 : 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vormel Logic Optimization");

    vormel::QtDialogs dialogs;
    vormel::MainWindow window(dialogs);
    const QStringList arguments = QApplication::arguments().mid(1);
    // Without a window manager "maximized" means nothing: take the work area explicitly.
    if (QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->availableGeometry());
    window.showMaximized();

    // The way out of a step that runs too long: ends the process at once, nothing saved. It is
    // transient for the main window, so a window manager keeps it above; without one, raising it last does.
    auto emergency = std::make_unique<vormel::EmergencyWindow>(
        &window, [&window] { return window.progress_position(); }, [] { std::_Exit(1); });
    emergency->show();
    emergency->raise();
    window.activateWindow();

    // VORMEL_SCREENSHOT=file.png: the run goes through without questions; once it has ended
    // and the report is in view, the screen is saved to that file and the program ends (used by
    // scripts/screenshot.sh); with VORMEL_SCREENSHOT_PICTURES set the result pictures are opened first.
    const QString screenshot = qEnvironmentVariable("VORMEL_SCREENSHOT");

    // A file named here runs through without page-end pauses. For a screenshot of the window as a
    // file has just been opened (VORMEL_SCREENSHOT_OPEN) it is only opened; VORMEL_SCREENSHOT_EDITOR
    // shows it in the table editor as well.
    const bool open_only = !screenshot.isEmpty() && (qEnvironmentVariableIsSet("VORMEL_SCREENSHOT_OPEN") ||
                                                     qEnvironmentVariableIsSet("VORMEL_SCREENSHOT_EDITOR"));
    if (open_only) {
        window.start_up("");
        if (!arguments.isEmpty()) window.open_input(arguments.join(' ').toStdString());
        if (qEnvironmentVariableIsSet("VORMEL_SCREENSHOT_EDITOR")) window.show_table_editor();
    } else {
        window.start_up(arguments.join(' ').toStdString());
    }

    QTimer watch, answer;
    if (!screenshot.isEmpty()) {
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (window.busy() || window.work_area().has_backlog()) return;
            watch.stop();
            if (qEnvironmentVariableIsSet("VORMEL_SCREENSHOT_PICTURES")) window.show_result_view();
            QTimer::singleShot(1500, [&] {
                QGuiApplication::primaryScreen()->grabWindow(0).save(screenshot, "PNG");
                QApplication::exit(0);
            });
        });
        watch.start(200);
        // A long display asks again and again: the picture is of the whole run.
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (window.query_box().is_open()) window.query_box().answer(vormel::QueryAnswer::proceed);
        });
        answer.start(5);
    }
    const int code = QApplication::exec();
    emergency.reset();
    return code;
}
