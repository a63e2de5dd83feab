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
    // Whether either picture is drawn.
    bool has_result() const { return drawn_[kmap_tab] || drawn_[diagram_tab]; }

    PictureCanvas& canvas(Tab tab);
    QTabWidget& tabs() { return *tabs_; }
    // What the tab says instead of its picture (too many inputs or terms, no result); "" when drawn.
    QString note(Tab tab) const;
    QString kmap_note() const { return note(kmap_tab); }
    // Whether the tab's picture is fitted to its view (and kept so as the view changes size).
    bool fitted(Tab tab) const { return fit_[tab]; }
    void fit(Tab tab);

    // The picture of the tab as an image, at `scale` times its size (fewer pixels for a huge one).
    QImage image(Tab tab, double scale = 2.0) const;
    // false when the tab has nothing to save or the file cannot be written.
    bool save_svg(Tab tab, const QString& path) const;
    bool save_png(Tab tab, const QString& path) const;
    // The name the save dialogs propose: the input file's, with the tab's kind ("adder_kmap.svg").
    void set_file_stem(const QString& stem) { file_stem_ = stem; }
    QString proposed_name(Tab tab, bool svg) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ask_and_save(bool svg);
    void update_buttons();
    Tab current_tab() const;
    // A note in place of the tab's picture; an empty note shows the picture.
    void show_note(Tab tab, const QString& note);

    QTabWidget* tabs_;
    PictureCanvas* canvases_[2];
    QScrollArea* areas_[2];
    QLabel* notes_[2];
    QLabel* zoom_label_;
    QPushButton *zoom_out_, *zoom_in_, *fit_button_, *save_svg_, *save_png_;
    bool fit_[2] = {true, true};
    bool fitting_ = false;
    bool drawn_[2] = {false, false};
    QString file_stem_;
};

}  // namespace vormel
