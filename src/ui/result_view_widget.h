#pragma once
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace vormel {

class PictureCanvas;
struct Problem;

// The pictures of a final result: the Karnaugh maps (up to six inputs) and the gate diagram, each
// on its tab, scrollable and zoomable (Ctrl+wheel, the - and + buttons), saved as SVG or PNG. A
// picture opens fitted to its tab and follows the window's size until it is zoomed; Fit brings
// that back.
class ResultViewWidget : public QWidget {
    Q_OBJECT
public:
    enum Tab { kmap_tab = 0, diagram_tab = 1 };

    explicit ResultViewWidget(QWidget* parent = nullptr);

    // Draws the problem's final result; the pictures keep no reference to the problem.
    void set_result(const Problem& problem);
    void clear();
    bool has_result() const { return has_result_; }

    PictureCanvas& canvas(Tab tab);
    QTabWidget& tabs() { return *tabs_; }
    // What the Karnaugh-map tab says instead of maps (too many inputs, no result); "" with maps.
    QString kmap_note() const;
    // Whether the tab's picture is fitted to its view (and kept so as the view changes size).
    bool fitted(Tab tab) const { return fit_[tab]; }
    void fit(Tab tab);

    // The picture of the tab as an image, at `scale` times its size (fewer pixels for a huge one).
    QImage image(Tab tab, double scale = 2.0) const;
    // false when the tab has nothing to save or the file cannot be written.
    bool save_svg(Tab tab, const QString& path) const;
    bool save_png(Tab tab, const QString& path) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ask_and_save(bool svg);
    void update_buttons();
    Tab current_tab() const;

    QTabWidget* tabs_;
    PictureCanvas* canvases_[2];
    QScrollArea* areas_[2];
    QLabel* kmap_note_;
    QLabel* zoom_label_;
    QPushButton *zoom_out_, *zoom_in_, *fit_button_, *save_svg_, *save_png_;
    bool fit_[2] = {true, true};
    bool fitting_ = false;
    bool has_result_ = false;
    bool has_kmaps_ = false;
};

}  // namespace vormel
