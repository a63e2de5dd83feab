#pragma once
#include <QObject>
#include <QTimer>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "report/text_work_area.h"
#include "report/work_area.h"

class QFont;
class QPlainTextEdit;

namespace vormel {

// The work area over a QPlainTextEdit. The run appends from its worker thread: appends are
// collected under a lock and inserted on the GUI thread in pieces, a few milliseconds at a time,
// one character format per colour run, so the window keeps repainting while a long report grows.
// A text copy (text plus colour runs) follows every append, so the report files are written from
// it without waiting for the view; the user's edits mark the copy stale and it is taken again from
// the view when needed. Loading and clearing from the worker run on the GUI thread and wait.
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
};

}  // namespace vormel
