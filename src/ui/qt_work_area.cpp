#include "ui/qt_work_area.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <ostream>


namespace vormel {

namespace {

// Text is inserted in pieces of about this size, for at most kDrainMilliseconds per GUI event, so
// that the window repaints and answers the user in between.
constexpr std::size_t kPieceBytes = 16u << 10;
constexpr qint64 kDrainMilliseconds = 20;

QTextCharFormat format_of(Rgb colour, bool bold) {
    QTextCharFormat format;
    format.setForeground(QColor(colour.r, colour.g, colour.b));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}


}  // namespace

QtWorkArea::QtWorkArea(QPlainTextEdit& edit) : edit_(edit) {
    drain_timer_.setSingleShot(true);
    connect(&drain_timer_, &QTimer::timeout, this, [this] { drain(); });
    connect(edit_.document(), &QTextDocument::contentsChange, this, [this] {
        if (programmatic_ != 0) return;
        std::lock_guard lock(mutex_);
        copy_stale_ = true;
    });
}

void QtWorkArea::set_font(const QFont& font) {
    ++programmatic_;
    edit_.setFont(font);
    --programmatic_;
}

bool QtWorkArea::has_backlog() const {
    std::lock_guard lock(mutex_);
    return !pending_.empty();
}

void QtWorkArea::refresh_copy() const {
    {
        std::lock_guard lock(mutex_);
        if (!copy_stale_) return;
    }
    run_on_gui([this] {
        std::lock_guard lock(mutex_);
        if (!copy_stale_) return;
        // Only the user's typing makes it stale, and typed text is plain.
        copy_.set_plain_text(edit_.toPlainText().toStdString());
        copy_stale_ = false;
    });
}

bool QtWorkArea::on_gui_thread() const { return QThread::currentThread() == edit_.thread(); }

template <typename Fn>
void QtWorkArea::run_on_gui(Fn fn) const {
    if (on_gui_thread()) {
        fn();
    } else {
        QMetaObject::invokeMethod(const_cast<QPlainTextEdit*>(&edit_), fn, Qt::BlockingQueuedConnection);
    }
}

void QtWorkArea::append(std::string_view text, Rgb colour, bool bold) {
    std::string converted;
    converted.reserve(text.size());
    {
        std::lock_guard lock(mutex_);
        // CR LF, LF and CR all become one line end, also when CR and LF come in separate calls.
        for (char c : text) {
            if (c == '\r') {
                converted.push_back('\n');
                last_was_cr_ = true;
            } else if (c == '\n') {
                if (!last_was_cr_) converted.push_back('\n');
                last_was_cr_ = false;
            } else {
                converted.push_back(c);
                last_was_cr_ = false;
            }
        }
        if (converted.empty()) return;
        copy_.append(converted, colour, bold);
        if (!pending_.empty() && pending_.back().colour == colour && pending_.back().bold == bold) {
            pending_.back().text.append(converted);
        } else {
            pending_.push_back({std::move(converted), colour, bold});
        }
    }
    schedule_drain();
    if (on_gui_thread() && !drain_timer_.isActive()) drain();
}

void QtWorkArea::schedule_drain() {
    {
        std::lock_guard lock(mutex_);
        if (drain_scheduled_) return;
        drain_scheduled_ = true;
    }
    QMetaObject::invokeMethod(this, [this] { drain_timer_.start(0); }, Qt::QueuedConnection);
}

void QtWorkArea::drain() {
    QElapsedTimer budget;
    budget.start();
    bool more = true;
    while (more && budget.elapsed() < kDrainMilliseconds) {
        std::vector<Span> spans;
        {
            std::lock_guard lock(mutex_);
            std::size_t bytes = 0;
            while (!pending_.empty() && bytes < kPieceBytes) {
                Span& first = pending_.front();
                if (bytes + first.text.size() <= kPieceBytes * 2) {
                    bytes += first.text.size();
                    spans.push_back(std::move(first));
                    pending_.erase(pending_.begin());
                    continue;
                }
                // A long span is cut after a line end near the piece size.
                std::size_t cut = first.text.rfind('\n', kPieceBytes);
                cut = cut == std::string::npos ? kPieceBytes : cut + 1;
                spans.push_back({first.text.substr(0, cut), first.colour, first.bold});
                first.text.erase(0, cut);
                bytes += cut;
            }
            more = !pending_.empty();
        }
        if (!spans.empty()) insert_spans(spans);
    }
    bool scroll = false;
    {
        std::lock_guard lock(mutex_);
        more = !pending_.empty();
        drain_scheduled_ = more;
        scroll = scroll_pending_ && !more;
        if (scroll) scroll_pending_ = false;
    }
    if (more) drain_timer_.start(0);
    if (scroll) {
        edit_.moveCursor(QTextCursor::End);
        edit_.ensureCursorVisible();
    }
}

void QtWorkArea::insert_spans(const std::vector<Span>& spans) {
    ++programmatic_;
    const bool was_modified = edit_.document()->isModified();
    QTextCursor cursor(edit_.document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (const Span& span : spans) cursor.insertText(QString::fromUtf8(span.text.data(), static_cast<qsizetype>(span.text.size())), format_of(span.colour, span.bold));
    cursor.endEditBlock();
    // Report text is no edit of the input.
    edit_.document()->setModified(was_modified);
    --programmatic_;
}

void QtWorkArea::drain_all() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) break;
        }
        drain();
    }
}

std::size_t QtWorkArea::length() const {
    refresh_copy();
    std::lock_guard lock(mutex_);
    return copy_.length();
}

void QtWorkArea::set_plain_text(std::string_view text) {
    const std::string copy(text);
    run_on_gui([this, &copy] {
        clear();
        ++programmatic_;
        {
            std::lock_guard lock(mutex_);
            copy_.set_plain_text(copy);
        }
        edit_.setPlainText(QString::fromUtf8(copy.data(), static_cast<qsizetype>(copy.size())));
        edit_.document()->setModified(false);
        --programmatic_;
    });
}

void QtWorkArea::clear() {
    run_on_gui([this] {
        {
            std::lock_guard lock(mutex_);
            pending_.clear();
            last_was_cr_ = false;
            scroll_pending_ = false;
            copy_.clear();
            copy_stale_ = false;
        }
        ++programmatic_;
        edit_.clear();
        edit_.setCurrentCharFormat(QTextCharFormat());
        edit_.document()->setModified(false);
        --programmatic_;
    });
}

void QtWorkArea::caret_to_end() {
    {
        std::lock_guard lock(mutex_);
        if (!pending_.empty() || !on_gui_thread()) {
            // Done once the appended text is in.
            scroll_pending_ = true;
            return;
        }
    }
    edit_.moveCursor(QTextCursor::End);
    edit_.ensureCursorVisible();
}

void QtWorkArea::write_plain(std::ostream& out) const {
    refresh_copy();
    std::lock_guard lock(mutex_);
    copy_.write_plain(out);
}

void QtWorkArea::write_rich(std::ostream& out) const {
    refresh_copy();
    std::lock_guard lock(mutex_);
    copy_.write_rich(out);
}

}  // namespace vormel
