// vormel: the desktop program.
#include <QApplication>
#include <QStringList>
#include <cstdlib>
#include <memory>

#include "ui/emergency_window.h"
#include "ui/main_window.h"
#include "ui/ui_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vormel Logic Optimization");

    vormel::QtDialogs dialogs;
    vormel::MainWindow window(dialogs);
    const QStringList arguments = QApplication::arguments().mid(1);
    window.showMaximized();

    // The way out of a step that runs too long: ends the process at once, nothing saved.
    auto emergency = std::make_unique<vormel::EmergencyWindow>(
        &window, [&window] { return window.progress_position(); }, [] { std::_Exit(1); });
    emergency->show();
    window.raise();
    window.activateWindow();

    window.start_up(arguments.join(' ').toStdString());
    const int code = QApplication::exec();
    emergency.reset();
    return code;
}
