#include "ui/qt_work_area.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <ostream>

#include "report/rtf_writer.h"

namespace vormel {

namespace {

// Text inserted per GUI event; larger batches are split so that repaints come in between.
constexpr std::size_t kDrainBytes = 1u << 20;

QTextCharFormat format_of(Rgb colour, bool bold) {
    QTextCharFormat format;
    format.setForeground(QColor(colour.r, colour.g, colour.b));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

Rgb colour_of(const QTextCharFormat& format) {
    const QColor c = format.foreground().color();
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

QtWorkArea::QtWorkArea(QPlainTextEdit& edit) : edit_(edit) {}

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
        if (!pending_.empty() && pending_.back().colour == colour && pending_.back().bold == bold) {
            pending_.back().text.append(converted);
        } else {
            pending_.push_back({std::move(converted), colour, bold});
        }
    }
    if (on_gui_thread()) drain();
    else schedule_drain();
}

void QtWorkArea::schedule_drain() {
    {
        std::lock_guard lock(mutex_);
        if (drain_scheduled_) return;
        drain_scheduled_ = true;
    }
    QMetaObject::invokeMethod(this, [this] { drain(); }, Qt::QueuedConnection);
}

void QtWorkArea::drain() {
    std::vector<Span> spans;
    bool more = false;
    bool scroll = false;
    {
        std::lock_guard lock(mutex_);
        std::size_t bytes = 0;
        std::size_t taken = 0;
        while (taken < pending_.size() && bytes < kDrainBytes) bytes += pending_[taken++].text.size();
        spans.assign(std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.begin() + taken));
        pending_.erase(pending_.begin(), pending_.begin() + taken);
        more = !pending_.empty();
        drain_scheduled_ = more;
        scroll = scroll_pending_ && !more;
        if (scroll) scroll_pending_ = false;
    }
    if (!spans.empty()) insert_spans(spans);
    if (more) QMetaObject::invokeMethod(this, [this] { drain(); }, Qt::QueuedConnection);
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
    std::size_t held = 0;
    run_on_gui([&] { held = static_cast<std::size_t>(std::max(0, edit_.document()->characterCount() - 1)); });
    std::lock_guard lock(mutex_);
    for (const Span& span : pending_) {
        for (char c : span.text) held += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return held;
}

void QtWorkArea::set_plain_text(std::string_view text) {
    const std::string copy(text);
    run_on_gui([this, &copy] {
        clear();
        ++programmatic_;
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
        }
        ++programmatic_;
        edit_.clear();
        edit_.setCurrentCharFormat(QTextCharFormat());
        edit_.document()->setModified(false);
        --programmatic_;
    });
}

void QtWorkArea::caret_to_end() {
    if (on_gui_thread()) {
        drain();
        edit_.moveCursor(QTextCursor::End);
        edit_.ensureCursorVisible();
        return;
    }
    // From the run: done once the appended text is in, without waiting.
    std::lock_guard lock(mutex_);
    scroll_pending_ = true;
}

void QtWorkArea::write_plain(std::ostream& out) const {
    run_on_gui([this, &out] {
        const_cast<QtWorkArea*>(this)->drain_all();
        std::string chunk;
        for (QTextBlock block = edit_.document()->firstBlock(); block.isValid(); block = block.next()) {
            chunk.append(block.text().toStdString());
            if (block.next().isValid()) chunk.append("\r\n");
            if (chunk.size() >= (1u << 19)) {
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                chunk.clear();
            }
        }
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
}

void QtWorkArea::write_rich(std::ostream& out) const {
    run_on_gui([this, &out] {
        const_cast<QtWorkArea*>(this)->drain_all();
        struct Run {
            std::size_t start, length;
            Rgb colour;
            bool bold;
        };
        std::string text;
        std::vector<Run> runs;
        auto add = [&](const QString& piece, Rgb colour, bool bold) {
            const std::string bytes = piece.toStdString();
            if (bytes.empty()) return;
            if (!runs.empty() && runs.back().colour == colour && runs.back().bold == bold) {
                runs.back().length += bytes.size();
            } else {
                runs.push_back({text.size(), bytes.size(), colour, bold});
            }
            text.append(bytes);
        };
        for (QTextBlock block = edit_.document()->firstBlock(); block.isValid(); block = block.next()) {
            Rgb colour = colours::black;
            bool bold = false;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                colour = colour_of(fragment.charFormat());
                bold = fragment.charFormat().fontWeight() >= QFont::Bold;
                add(fragment.text(), colour, bold);
            }
            // The line end takes the format of the text before it.
            if (block.next().isValid()) add(QStringLiteral("\n"), colour, bold);
        }
        std::vector<RtfSpan> spans;
        spans.reserve(runs.size());
        for (const Run& run : runs) spans.push_back({std::string_view(text).substr(run.start, run.length), run.colour, run.bold});
        write_rtf(out, spans);
    });
}

}  // namespace vormel
