// View > Result Pictures: the window of the result's pictures beside the main window.
#include <QFileInfo>

#include "ui/main_window.h"
#include "ui/result_view_widget.h"
#include "ui/window_layout.h"

namespace vormel {

void MainWindow::show_result_view() {
    if (!result_view_) {
        result_view_ = new ResultViewWidget(this);
        result_view_->setWindowFlag(Qt::Window);
        result_view_->setWindowTitle("Vormel - Result Pictures");
        fit_to_screen_share(*result_view_, *this, 0.75, 0.8);
    }
    result_view_->show();
    result_view_->raise();
    refresh_result_view();
}

void MainWindow::refresh_result_view() {
    if (!result_view_ || !result_view_->isVisible()) return;
    // A run that went through Final Results has a result to draw, whether or not its report could be saved.
    if (result_kept()) {
        result_view_->set_file_stem(QFileInfo(QString::fromStdString(session_->ctx.input_file)).completeBaseName());
        result_view_->set_result(session_->problem);
    }
    else result_view_->clear();
}

}  // namespace vormel
