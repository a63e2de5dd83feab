#include "ui/result_view_widget.h"

#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "export/svg_writer.h"
#include "model/problem.h"
#include "run/picture_files.h"
#include "run/report_files.h"
#include "ui/picture_canvas.h"
#include "ui/picture_painter.h"

namespace vormel {

namespace {
// A PNG larger than this many pixels is scaled down rather than fail for memory.
constexpr double kMaxPngPixels = 40e6;
constexpr double kZoomStep = 1.25;
}  // namespace

ResultViewWidget::ResultViewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("resultView");
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("resultTabs");
    const char* const names[] = {"Karnaugh Maps", "Gate Diagram"};
    for (int t = 0; t < 2; ++t) {
        canvases_[t] = new PictureCanvas;
        areas_[t] = new QScrollArea;
        areas_[t]->setWidget(canvases_[t]);
        areas_[t]->setBackgroundRole(QPalette::Base);
        areas_[t]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        areas_[t]->viewport()->installEventFilter(this);
        connect(canvases_[t], &PictureCanvas::zoom_changed, this, [this, t] {
            // A zoom of the user's own ends the fitting until Fit is pressed.
            if (!fitting_) fit_[t] = false;
            update_buttons();
        });
    }
    // Each tab shows its own note in place of its picture when there is none.
    const char* const note_names[] = {"kmapNote", "diagramNote"};
    for (int t = 0; t < 2; ++t) {
        auto* page = new QWidget;
        auto* page_layout = new QVBoxLayout(page);
        page_layout->setContentsMargins(0, 0, 0, 0);
        notes_[t] = new QLabel;
        notes_[t]->setObjectName(note_names[t]);
        notes_[t]->setWordWrap(true);
        notes_[t]->setMargin(8);
        notes_[t]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        page_layout->addWidget(notes_[t]);
        page_layout->addWidget(areas_[t], 1);
        tabs_->addTab(page, names[t]);
    }

    auto button = [this](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        return b;
    };
    zoom_out_ = button("zoomOut", "-", "Zoom out (Ctrl+wheel)");
    zoom_in_ = button("zoomIn", "+", "Zoom in (Ctrl+wheel)");
    fit_button_ = button("zoomFit", "Fit", "Fit the picture to the window");
    save_svg_ = button("saveSvg", "Save SVG...", "Save the picture of this tab as SVG");
    save_png_ = button("savePng", "Save PNG...", "Save the picture of this tab as PNG");
    zoom_label_ = new QLabel(this);
    zoom_label_->setObjectName("zoomLabel");
    connect(zoom_out_, &QPushButton::clicked, this, [this] {
        canvases_[current_tab()]->set_zoom(canvases_[current_tab()]->zoom() / kZoomStep);
    });
    connect(zoom_in_, &QPushButton::clicked, this, [this] {
        canvases_[current_tab()]->set_zoom(canvases_[current_tab()]->zoom() * kZoomStep);
    });
    connect(fit_button_, &QPushButton::clicked, this, [this] { fit(current_tab()); });
    connect(save_svg_, &QPushButton::clicked, this, [this] { ask_and_save(true); });
    connect(save_png_, &QPushButton::clicked, this, [this] { ask_and_save(false); });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { update_buttons(); });

    auto* bar = new QHBoxLayout;
    bar->addWidget(zoom_out_);
    bar->addWidget(zoom_label_);
    bar->addWidget(zoom_in_);
    bar->addWidget(fit_button_);
    bar->addStretch(1);
    bar->addWidget(save_svg_);
    bar->addWidget(save_png_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(tabs_, 1);
    clear();
}

void ResultViewWidget::set_result(const Problem& problem) {
    // Each picture is made, or refused for its own reason, independently of the other.
    const PictureKind kinds[] = {PictureKind::kmaps, PictureKind::gate_diagram};
    for (Tab tab : {kmap_tab, diagram_tab}) {
        std::string why_not;
        std::optional<Picture> picture = result_picture(problem, kinds[tab], why_not);
        drawn_[tab] = picture.has_value();
        canvases_[tab]->set_picture(picture ? std::move(*picture) : Picture{});
        show_note(tab, drawn_[tab] ? QString() : QString::fromStdString(why_not));
    }
    // A new result opens fitted, whatever the last one was zoomed to.
    for (Tab tab : {kmap_tab, diagram_tab}) fit(tab);
    update_buttons();
}

void ResultViewWidget::show_note(Tab tab, const QString& note) {
    notes_[tab]->setText(note);
    notes_[tab]->setVisible(!note.isEmpty());
    areas_[tab]->setVisible(note.isEmpty());
}

void ResultViewWidget::fit(Tab tab) {
    fit_[tab] = true;
    const Picture& picture = canvases_[tab]->picture();
    const QSize room = areas_[tab]->viewport()->size();
    if (picture.width <= 0 || picture.height <= 0 || room.isEmpty()) return;
    fitting_ = true;
    canvases_[tab]->set_zoom(std::min((room.width() - 1) / picture.width, (room.height() - 1) / picture.height));
    fitting_ = false;
}

QString ResultViewWidget::proposed_name(Tab tab, bool svg) const {
    const QString kind = tab == kmap_tab ? "kmap" : "diagram";
    return (file_stem_.isEmpty() ? kind : file_stem_ + "_" + kind) + (svg ? ".svg" : ".png");
}

void ResultViewWidget::keyPressEvent(QKeyEvent* event) {
    // As a window of its own it closes like the program's other windows.
    if (isWindow() && (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close))) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ResultViewWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        for (Tab tab : {kmap_tab, diagram_tab}) {
            if (watched == areas_[tab]->viewport() && fit_[tab]) fit(tab);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ResultViewWidget::clear() {
    for (Tab tab : {kmap_tab, diagram_tab}) {
        drawn_[tab] = false;
        canvases_[tab]->set_picture(Picture{});
        show_note(tab, "No result yet: the pictures follow a run's Final Results.");
    }
    update_buttons();
}

PictureCanvas& ResultViewWidget::canvas(Tab tab) { return *canvases_[tab]; }

QString ResultViewWidget::note(Tab tab) const { return drawn_[tab] ? QString() : notes_[tab]->text(); }

ResultViewWidget::Tab ResultViewWidget::current_tab() const {
    return tabs_->currentIndex() == diagram_tab ? diagram_tab : kmap_tab;
}

void ResultViewWidget::update_buttons() {
    const Tab tab = current_tab();
    const bool drawn = drawn_[tab];
    const double zoom = canvases_[tab]->zoom();
    zoom_label_->setText(QString("%1 %").arg(std::lround(zoom * 100)));
    zoom_out_->setEnabled(drawn && zoom > PictureCanvas::kMinZoom);
    zoom_in_->setEnabled(drawn && zoom < PictureCanvas::kMaxZoom);
    fit_button_->setEnabled(drawn);
    save_svg_->setEnabled(drawn);
    save_png_->setEnabled(drawn);
}

QImage ResultViewWidget::image(Tab tab, double scale) const {
    const Picture& picture = canvases_[tab]->picture();
    const double area = picture.width * picture.height;
    if (area <= 0) return {};
    scale = std::min(scale, std::sqrt(kMaxPngPixels / area));
    QImage image(std::max(1, static_cast<int>(std::ceil(picture.width * scale))),
                 std::max(1, static_cast<int>(std::ceil(picture.height * scale))), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paint_picture(painter, picture);
    return image;
}

bool ResultViewWidget::save_svg(Tab tab, const QString& path) const {
    const Picture& picture = canvases_[tab]->picture();
    if (picture.shapes.empty()) return false;
    return !write_text_file(path.toStdString(), write_svg(picture));
}

bool ResultViewWidget::save_png(Tab tab, const QString& path) const {
    const QImage picture = image(tab);
    return !picture.isNull() && picture.save(path, "PNG");
}

void ResultViewWidget::ask_and_save(bool svg) {
    const Tab tab = current_tab();
    const QString filter = svg ? "SVG pictures (*.svg)" : "PNG images (*.png)";
    QString path = QFileDialog::getSaveFileName(this, svg ? "Save SVG" : "Save PNG", proposed_name(tab, svg), filter);
    if (path.isEmpty()) return;
    const bool saved = svg ? save_svg(tab, path) : save_png(tab, path);
    if (!saved) QMessageBox::warning(this, "Save Picture", "The picture cannot be written to\n" + path);
}

}  // namespace vormel
