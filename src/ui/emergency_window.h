#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace vormel {

// A small top-level window of 6 x 44 character cells, white on blue: the seconds since program
// start, a star that moves while the run shows progress, and the way out: Ctrl+Q or its close
// button end the process at once with exit code 1 (a close by the program itself does not). It
// is transient for the main window, so it always stays above it; T keeps it above every other
// window too, B takes that back. Where no window manager gives it a frame it draws its own title
// bar with a close button.
class EmergencyWindow : public QWidget {
    Q_OBJECT
public:
    using ProgressSource = std::function<int()>;
    using ExitAction = std::function<void()>;
    EmergencyWindow(QWidget* main_window, ProgressSource progress, ExitAction exit_now);

    bool on_top() const { return on_top_; }
    const QString& row(int index) const { return rows_[index]; }
    // Moves the window inside available (a screen's work area): into the upper right corner of the
    // main window's work area, where it covers only report text, or as near to it as fits.
    void place(const QRect& available);
    // One clock pass: seconds every full second, the star every 0.2 s (exposed for tests).
    void tick();
    bool has_own_title_bar() const { return own_title_bar_; }
    // The close button of the window's own title bar (empty while a window manager frames it).
    QRect close_box() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void redraw_lines();
    void put(int row, int column, const QString& text);
    // The size of the window with the frame a window manager adds (estimated before it is shown).
    QSize frame_size() const;
    int title_strip_height() const;
    void fit_size();
    void set_own_title_bar(bool own);

    QPointer<QWidget> main_window_;
    ProgressSource progress_;
    ExitAction exit_now_;
    QElapsedTimer since_start_;
    QTimer clock_;
    QString rows_[6];
    QFont font_;
    bool on_top_ = false;
    bool placed_ = false;
    bool own_title_bar_ = false;
    long long seconds_ = 0;
    qint64 last_second_ms_ = 0;
    qint64 last_star_ms_ = 0;
    int star_position_ = 1;
    int star_direction_ = 1;
    int last_progress_ = -1;
};

}  // namespace vormel
