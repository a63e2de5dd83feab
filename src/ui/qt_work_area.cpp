#include "ui/qt_work_area.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <cctype>
#include <functional>
#include <ostream>

#include "ui/report_view.h"


namespace vormel {

namespace {

// Text is inserted in pieces of about this size, for at most kDrainMilliseconds per GUI event, so
// that the window repaints and answers the user in between.
constexpr std::size_t kPieceBytes = 16u << 10;
constexpr qint64 kDrainMilliseconds = 20;
// The ReportView takes in new lines at most this often: the lines are in the copy already.
constexpr int kViewRefreshMilliseconds = 40;
// A line is shown up to this many bytes: painting never reads more than a few screens of text.
constexpr std::size_t kShownLineBytes = 16u << 10;
// Find reads the copy in slices of this size.
constexpr std::size_t kFindSliceBytes = 4u << 20;

unsigned char folded(char c, bool match_case) {
    const auto byte = static_cast<unsigned char>(c);
    return match_case || byte >= 0x80 ? byte : static_cast<unsigned char>(std::tolower(byte));
}

QTextCharFormat format_of(Rgb colour, bool bold) {
    QTextCharFormat format;
    format.setForeground(QColor(colour.r, colour.g, colour.b));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}


}  // namespace

QtWorkArea::QtWorkArea(QPlainTextEdit& edit) : edit_(edit) {
    view_ = new ReportView(&edit_, [this](std::size_t first, std::size_t count) { return shown_lines(first, count); });
    view_->hide();
    edit_.installEventFilter(this);
    drain_timer_.setSingleShot(true);
    connect(&drain_timer_, &QTimer::timeout, this, [this] { drain(); });
    connect(edit_.document(), &QTextDocument::contentsChange, this, [this] {
        if (programmatic_ != 0) return;
        std::lock_guard lock(mutex_);
        copy_stale_ = true;
    });
}

bool QtWorkArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &edit_ && event->type() == QEvent::Resize) view_->setGeometry(edit_.rect());
    return false;
}

void QtWorkArea::set_font(const QFont& font) {
    ++programmatic_;
    edit_.setFont(font);
    --programmatic_;
    view_->set_font(font);
}

bool QtWorkArea::has_backlog() const {
    std::lock_guard lock(mutex_);
    return !pending_.empty() || (compact_wanted_ && drain_scheduled_);
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
        const std::string text = edit_.toPlainText().toStdString();
        copy_.set_plain_text(text);
        reset_index();
        index_lines(text, 0);
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
        const std::size_t base = copy_.length();
        copy_.append(converted, colour, bold);
        index_lines(converted, base);
        if (!compact_wanted_ && copy_.length() > compact_threshold_) {
            compact_wanted_ = true;
            pending_.clear();
        }
        if (compact_wanted_) {
            // The view reads the copy.
        } else if (!pending_.empty() && pending_.back().colour == colour && pending_.back().bold == bold) {
            pending_.back().text.append(converted);
        } else {
            pending_.push_back({std::move(converted), colour, bold});
        }
    }
    schedule_drain();
    if (on_gui_thread() && !drain_timer_.isActive()) drain();
}

void QtWorkArea::index_lines(std::string_view text, std::size_t base) const {
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        longest_line_ = std::max<std::size_t>(longest_line_, base + at - line_starts_.back());
        line_starts_.push_back(base + at + 1);
    }
}

void QtWorkArea::reset_index() const {
    line_starts_.assign(1, 0);
    longest_line_ = 0;
}

void QtWorkArea::schedule_drain() {
    int delay = 0;
    {
        std::lock_guard lock(mutex_);
        if (drain_scheduled_) return;
        drain_scheduled_ = true;
        if (compact_wanted_) delay = kViewRefreshMilliseconds;
    }
    QMetaObject::invokeMethod(this, [this, delay] { drain_timer_.start(delay); }, Qt::QueuedConnection);
}

void QtWorkArea::enter_compact() {
    ++programmatic_;
    const bool was_modified = edit_.document()->isModified();
    edit_.clear();
    edit_.document()->setModified(was_modified);
    --programmatic_;
    compact_ = true;
    view_->set_font(edit_.font());
    view_->setGeometry(edit_.rect());
    view_->select(0, 0, 0);
    view_->show();
    view_->raise();
    if (edit_.hasFocus()) view_->setFocus();
}

void QtWorkArea::leave_compact() {
    if (!compact_) return;
    compact_ = false;
    const bool had_focus = view_->hasFocus();
    view_->hide();
    view_->set_extent(0, 0);
    if (had_focus) edit_.setFocus();
}

void QtWorkArea::drain() {
    bool follow_end = false;
    std::size_t lines = 0;
    std::size_t longest = 0;
    {
        std::lock_guard lock(mutex_);
        if (compact_wanted_) {
            drain_scheduled_ = false;
            follow_end = scroll_pending_;
            scroll_pending_ = false;
            lines = line_starts_.size();
            longest = std::min(longest_line_, kShownLineBytes);
        }
    }
    if (lines > 0) {
        if (!compact_) enter_compact();
        view_->set_extent(lines, longest);
        if (follow_end) view_->scroll_to_end();
        return;
    }
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
    // The copy and its line index are built on the calling thread (a worker for a long file); the
    // GUI thread only swaps them in, and fills the edit when the text is short.
    TextWorkArea fresh;
    fresh.set_plain_text(text);
    // The index of the text as held: CR LF, CR and LF are each one line end.
    std::vector<std::uint64_t> starts{0};
    std::size_t longest = 0;
    std::size_t held = 0;
    for (std::size_t at = 0; at < text.size(); ++at, ++held) {
        if (text[at] != '\r' && text[at] != '\n') continue;
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        longest = std::max<std::size_t>(longest, held - starts.back());
        starts.push_back(held + 1);
    }
    const bool compact = fresh.length() > compact_threshold_;
    const std::string converted = compact ? std::string() : fresh.text();
    run_on_gui([&] {
        clear();
        {
            std::lock_guard lock(mutex_);
            copy_ = std::move(fresh);
            line_starts_ = std::move(starts);
            longest_line_ = longest;
            compact_wanted_ = compact;
        }
        ++programmatic_;
        if (compact) {
            drain();
        } else {
            edit_.setPlainText(QString::fromUtf8(converted.data(), static_cast<qsizetype>(converted.size())));
        }
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
            reset_index();
            compact_wanted_ = false;
        }
        leave_compact();
        ++programmatic_;
        edit_.clear();
        edit_.setCurrentCharFormat(QTextCharFormat());
        edit_.document()->setModified(false);
        --programmatic_;
    });
}

void QtWorkArea::caret_to_end() {
    bool compact = false;
    {
        std::lock_guard lock(mutex_);
        compact = compact_wanted_;
        if (!compact && (!pending_.empty() || !on_gui_thread())) {
            // Done once the appended text is in.
            scroll_pending_ = true;
            return;
        }
        if (compact) scroll_pending_ = true;
    }
    if (compact) {
        if (on_gui_thread()) {
            drain();
        } else {
            schedule_drain();
        }
        return;
    }
    edit_.moveCursor(QTextCursor::End);
    edit_.ensureCursorVisible();
}

std::size_t QtWorkArea::line_of(std::size_t position) const {
    return static_cast<std::size_t>(std::upper_bound(line_starts_.begin(), line_starts_.end(), position) - line_starts_.begin()) - 1;
}

std::vector<ShownLine> QtWorkArea::shown_lines(std::size_t first, std::size_t count) const {
    std::vector<ShownLine> shown;
    std::lock_guard lock(mutex_);
    const std::vector<TextWorkArea::Run>& runs = copy_.runs();
    std::string bytes;
    for (std::size_t index = first; index < line_starts_.size() && index < first + count; ++index) {
        const std::size_t start = line_starts_[index];
        std::size_t end = index + 1 < line_starts_.size() ? line_starts_[index + 1] - 1 : copy_.length();
        end = std::min(end, start + kShownLineBytes);
        bytes.clear();
        copy_.copy_range(start, end, bytes);
        ShownLine line;
        line.start = start;
        line.text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const auto column = [&](std::size_t position) {
            const std::size_t offset = position - start;
            return ascii ? static_cast<int>(offset) : static_cast<int>(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(offset)).size());
        };
        auto run = std::upper_bound(runs.begin(), runs.end(), start,
                                    [](std::size_t at, const TextWorkArea::Run& r) { return at < r.start; });
        if (run != runs.begin()) --run;
        for (; run != runs.end() && run->start < end; ++run) {
            const std::size_t from = std::max(run->start, start);
            const std::size_t to = std::min(run->start + run->length, end);
            if (from >= to) continue;
            line.pieces.push_back({column(from), column(to) - column(from), run->colour, run->bold});
        }
        shown.push_back(std::move(line));
    }
    return shown;
}

std::optional<std::size_t> QtWorkArea::find_in_copy(const std::string& needle, std::size_t from, bool match_case) const {
    if (needle.empty()) return std::nullopt;
    std::string wanted;
    for (char c : needle) wanted.push_back(static_cast<char>(folded(c, match_case)));
    const auto same = [match_case](char a, char b) { return folded(a, match_case) == static_cast<unsigned char>(b); };
    std::lock_guard lock(mutex_);
    const std::size_t length = copy_.length();
    // Slices overlap by the needle's length less one, so an occurrence across a slice edge is seen.
    const auto search = [&](std::size_t begin, std::size_t end) -> std::optional<std::size_t> {
        std::string slice;
        for (std::size_t at = begin; at < end && at + needle.size() <= length;) {
            slice.clear();
            const std::size_t slice_end = std::min(end + needle.size() - 1, at + kFindSliceBytes + needle.size() - 1);
            copy_.copy_range(at, slice_end, slice);
            const auto hit = std::search(slice.begin(), slice.end(), wanted.begin(), wanted.end(), same);
            if (hit != slice.end()) return at + static_cast<std::size_t>(hit - slice.begin());
            at += kFindSliceBytes;
        }
        return std::nullopt;
    };
    if (auto found = search(from, length)) return found;
    return search(0, std::min(from, length));
}

void QtWorkArea::select_in_view(std::size_t start, std::size_t length) {
    std::size_t line = 0;
    {
        std::lock_guard lock(mutex_);
        line = line_of(start);
    }
    view_->select(start, length, line);
}

std::size_t QtWorkArea::printed_line_count() const {
    refresh_copy();
    std::lock_guard lock(mutex_);
    const bool ends_with_line_end = line_starts_.size() > 1 && line_starts_.back() == copy_.length();
    return line_starts_.size() - (ends_with_line_end ? 1 : 0);
}

QString QtWorkArea::line_text(std::size_t index) const {
    std::string bytes;
    std::lock_guard lock(mutex_);
    if (index >= line_starts_.size()) return {};
    const std::size_t end = index + 1 < line_starts_.size() ? line_starts_[index + 1] - 1 : copy_.length();
    copy_.copy_range(line_starts_[index], end, bytes);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string QtWorkArea::copy_text(std::size_t start, std::size_t length) const {
    std::string text;
    std::lock_guard lock(mutex_);
    copy_.copy_range(start, start + length, text);
    return text;
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
