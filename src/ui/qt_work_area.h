#pragma once
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "report/text_work_area.h"
#include "report/work_area.h"

class QFont;
class QPlainTextEdit;

namespace vormel {

class ReportView;
struct ShownLine;

// The work area over a QPlainTextEdit. The run appends from its worker thread: appends are
// collected under a lock and inserted on the GUI thread in pieces, a few milliseconds at a time,
// one character format per colour run, so the window keeps repainting while a long report grows.
// A text copy (text plus colour runs) follows every append, so the report files are written from
// it without waiting for the view; the user's edits mark the copy stale and it is taken again from
// the view when needed. Loading and clearing from the worker run on the GUI thread and wait.
// A text past a few megabytes would make the text document slow and several times its size: from
// there on the edit is emptied and a ReportView over it paints the lines straight from the text
// copy (read-only), so the window's memory stays about the text's own size and it fills at once.
class QtWorkArea : public QObject, public WorkArea {
    Q_OBJECT
public:
    explicit QtWorkArea(QPlainTextEdit& edit);

    void append(std::string_view text, Rgb colour, bool bold) override;
    std::size_t length() const override;
    void set_plain_text(std::string_view text) override;
    void clear() override;
    void caret_to_end() override;
    void write_plain(std::ostream& out) const override;
    void write_rich(std::ostream& out) const override;

    // Inserts what the worker appended so far (GUI thread).
    void drain();
    void drain_all();
    bool has_backlog() const;
    // The one face and size of all text; colours and boldness stay.
    void set_font(const QFont& font);
    // True while the program itself changes the text, so that no edit is seen.
    bool programmatic_change() const { return programmatic_ != 0; }
    QPlainTextEdit& edit() { return edit_; }
    bool eventFilter(QObject* watched, QEvent* event) override;

    // True while the text is shown by the ReportView instead of the edit.
    bool compact() const { return compact_; }
    ReportView* report_view() { return view_; }
    // Texts longer than bytes go to the ReportView (tests set a small size).
    void set_compact_threshold(std::size_t bytes) { compact_threshold_ = bytes; }
    // Where needle occurs next after the ReportView's selection (from the top again after the last
    // one); selects it and returns true when found. Any thread; reads the text copy.
    std::optional<std::size_t> find_in_copy(const std::string& needle, std::size_t from, bool match_case) const;
    void select_in_view(std::size_t start, std::size_t length);
    // The text [start, start + length) with '\n' line ends, read from the copy (any thread).
    std::string copy_text(std::size_t start, std::size_t length) const;
    // The copy's lines for printing: their number (a final line end starts none) and one whole line.
    std::size_t printed_line_count() const;
    QString line_text(std::size_t index) const;
    // What the ReportView paints: lines first.. of the copy with their colours (any thread).
    std::vector<ShownLine> shown_lines(std::size_t first, std::size_t count) const;

private:
    struct Span {
        std::string text;  // '\n' line ends
        Rgb colour;
        bool bold;
    };
    bool on_gui_thread() const;
    template <typename Fn>
    void run_on_gui(Fn fn) const;
    void insert_spans(const std::vector<Span>& spans);
public:
    // Takes the text copy from the view again if the user edited it (before a run starts).
    void refresh_copy() const;

private:
    void schedule_drain();
    // Appends the line starts of text, which begins at base.
    void index_lines(std::string_view text, std::size_t base) const;
    void reset_index() const;
    void enter_compact();
    void leave_compact();
    std::size_t line_of(std::size_t position) const;

    QPlainTextEdit& edit_;
    mutable std::mutex mutex_;
    std::deque<Span> pending_;
    mutable TextWorkArea copy_;
    mutable bool copy_stale_ = false;
    bool last_was_cr_ = false;
    bool drain_scheduled_ = false;
    QTimer drain_timer_;
    bool scroll_pending_ = false;
    int programmatic_ = 0;
    // Under mutex_: where each line of the copy starts, and the longest line.
    mutable std::vector<std::uint64_t> line_starts_{0};
    mutable std::size_t longest_line_ = 0;
    bool compact_wanted_ = false;
    bool compact_ = false;
    std::size_t compact_threshold_ = 4u << 20;
    ReportView* view_ = nullptr;
};

}  // namespace vormel
