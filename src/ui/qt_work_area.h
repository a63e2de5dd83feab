#pragma once
#include <QObject>
#include <mutex>
#include <string>
#include <vector>

#include "report/work_area.h"

class QPlainTextEdit;

namespace vormel {

// The work area over a QPlainTextEdit. The run appends from its worker thread: appends are
// collected under a lock and inserted on the GUI thread in large blocks, one character format per
// colour run, so the window keeps repainting while a long report grows. Every other operation from
// the worker runs on the GUI thread and waits for it, after the collected text went in.
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
    void schedule_drain();

    QPlainTextEdit& edit_;
    mutable std::mutex mutex_;
    std::vector<Span> pending_;
    bool last_was_cr_ = false;
    bool drain_scheduled_ = false;
    bool scroll_pending_ = false;
    int programmatic_ = 0;
};

}  // namespace vormel
