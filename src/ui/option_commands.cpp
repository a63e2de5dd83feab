// The option controls of the main window: what they take, what they pass to the run, their defaults.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "run/session.h"
#include "ui/main_window.h"

namespace vormel {

void MainWindow::connect_options() {
    const int modes[4] = {polarity_one_set, polarity_zero_set, polarity_automatic, polarity_combination};
    for (int i = 0; i < 4; ++i) {
        connect(polarity_buttons_[i], &QRadioButton::toggled, this, [this, mode = modes[i]](bool on) {
            if (on) set_option(&PendingSettings::polarity_mode, &RunOptions::polarity_mode, mode);
        });
    }
    for (int method : {method_qmc, method_cns, method_shared, method_exact}) {
        connect(method_buttons_[method], &QRadioButton::toggled, this, [this, method](bool on) {
            if (on) set_option(&PendingSettings::prime_method, &RunOptions::prime_method, method);
        });
    }
    connect(method_buttons_[method_exact], &QRadioButton::toggled, this, [this] { update_exact_limit_enabled(); });
    connect(exact_limit_field_, &QLineEdit::textChanged, this, &MainWindow::exact_limit_edited);
    for (int i = 0; i < 5; ++i) {
        connect(level_buttons_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) set_option(&PendingSettings::display_level, &RunOptions::display_level, i);
        });
    }
    for (QButtonGroup* group : {polarity_group_, method_group_, level_group_}) keep_tab_stop_on_checked(group);
    connect(page_button_, &QCheckBox::clicked, this, [this](bool on) {
        set_option(&PendingSettings::page_by_page, &RunOptions::page_by_page, on ? 1 : 0);
    });
    connect(rolexa_field_, &QLineEdit::textChanged, this, [this](const QString& text) {
        QString digits;
        for (QChar c : text) {
            if (c >= '0' && c <= '9') digits.append(c);
        }
        if (digits != text) {
            const int caret = rolexa_field_->cursorPosition() - static_cast<int>(text.size() - digits.size());
            rolexa_field_->setText(digits);
            rolexa_field_->setCursorPosition(std::max(0, caret));
            return;  // the rewrite comes back here with digits only
        }
        // Only digits are kept; a number too large for the counter saturates instead of wrapping.
        long long value = 0;
        for (QChar c : digits) value = std::min(value * 10 + (c.unicode() - '0'), 2147483647LL);
        set_option(&PendingSettings::rolexa_iterations, &RunOptions::rolexa_iterations, static_cast<int>(value));
    });
}

void MainWindow::exact_limit_edited(const QString& text) {
    // Like the ROLEXA field: only what can make a number of seconds is kept, here digits and one point.
    QString kept;
    for (QChar c : text) {
        if ((c >= '0' && c <= '9') || (c == '.' && !kept.contains('.'))) kept.append(c);
    }
    if (kept != text) {
        const int caret = exact_limit_field_->cursorPosition() - static_cast<int>(text.size() - kept.size());
        exact_limit_field_->setText(kept);
        exact_limit_field_->setCursorPosition(std::max(0, caret));
        return;  // the rewrite comes back here
    }
    bool number = false;
    const double seconds = kept.toDouble(&number);
    const bool valid = number && valid_exact_limit(seconds);
    // A value out of range stays red and is not taken; leaving the field brings back the last valid one.
    exact_limit_field_->setStyleSheet(valid ? QString() : QString("color: rgb(255,0,0);"));
    if (!valid) return;
    exact_limit_text_ = kept;
    set_option(&PendingSettings::exact_limit_seconds, &RunOptions::exact_limit_seconds, seconds);
}

void MainWindow::exact_limit_left() {
    const QString refused = exact_limit_field_->text();
    if (refused == exact_limit_text_) return;
    exact_limit_field_->setText(exact_limit_text_);
    // Not from inside the focus change that called here: the box takes the focus itself.
    QTimer::singleShot(0, this, [this, refused] {
        message_box(" Exact Time Limit",
                    " The Time Limit of the Exact Method is a number of seconds above 0 and up to 86400.\r\n\r\n '" +
                        refused.toStdString() + "' is not taken: the Limit stays " + exact_limit_text_.toStdString() +
                        " sec.",
                    MessageIcon::error, MessageButtons::ok);
    });
}

void MainWindow::keep_tab_stop_on_checked(QButtonGroup* group) {
    // Qt leaves the tab stop on the button that had the focus last, which need not be the checked
    // one, and the arrow keys select only from the checked one.
    connect(group, &QButtonGroup::buttonToggled, this, [group](QAbstractButton* checked, bool on) {
        if (!on) return;
        for (QAbstractButton* button : group->buttons()) {
            const Qt::FocusPolicy policy = button->focusPolicy();
            button->setFocusPolicy(button == checked ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                     : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    });
}

void MainWindow::update_exact_limit_enabled() {
    const QRadioButton* exact = method_buttons_[method_exact];
    exact_limit_field_->setEnabled(exact->isEnabled() && exact->isChecked());
}

template <typename T>
void MainWindow::set_option(std::optional<T> PendingSettings::*field, T RunOptions::*option, T value) {
    if (!busy_) {
        session_->ctx.options.*option = value;
        return;
    }
    std::lock_guard lock(pending_.mutex);
    pending_.*field = value;
    pending_.dirty = true;
}

void MainWindow::apply_pending_settings() {
    RunContext& ctx = session_->ctx;
    std::lock_guard lock(pending_.mutex);
    auto take = [](auto& value, auto& target) {
        if (value) target = *value;
        value.reset();
    };
    take(pending_.display_level, ctx.options.display_level);
    take(pending_.polarity_mode, ctx.options.polarity_mode);
    take(pending_.prime_method, ctx.options.prime_method);
    take(pending_.rolexa_iterations, ctx.options.rolexa_iterations);
    take(pending_.page_by_page, ctx.options.page_by_page);
    take(pending_.exact_limit_seconds, ctx.options.exact_limit_seconds);
    if (pending_.text_height) ctx.report.set_text_size(*pending_.text_height);
    pending_.text_height.reset();
    pending_.dirty = false;
    // Closing the window during a step ends the run as a user break.
    if (pending_.close_requested) ctx.error_flag = -1;
}

void MainWindow::set_check(QRadioButton* button) { button->setChecked(true); }

void MainWindow::set_defaults() {
    RunContext& ctx = session_->ctx;
    set_check(polarity_buttons_[0]);
    ctx.options.polarity_mode = polarity_one_set;
    set_check(method_buttons_[method_cns]);
    ctx.options.prime_method = method_cns;
    exact_limit_field_->setText("60");
    ctx.options.exact_limit_seconds = 60;
    const int level = ctx.auto_run != 0 ? 0 : 1;
    set_check(level_buttons_[level]);
    ctx.options.display_level = level;
    rolexa_field_->setText("1");
    ctx.options.rolexa_iterations = 1;
    // A file named on the command line runs through in one go, so no page end stops it either.
    const bool page_by_page = ctx.auto_run == 0;
    page_button_->setChecked(page_by_page);
    ctx.options.page_by_page = page_by_page ? 1 : 0;
}

void MainWindow::enable_all_options() {
    for (Option option : {Option::polarity, Option::method_qmc, Option::method_cns, Option::method_shared,
                          Option::method_exact, Option::rolexa, Option::display_level, Option::page_by_page}) {
        set_option_enabled(option, true);
    }
}

void MainWindow::toggle_page_by_page() {
    page_button_->setChecked(!page_button_->isChecked());
    set_option(&PendingSettings::page_by_page, &RunOptions::page_by_page, page_button_->isChecked() ? 1 : 0);
}

}  // namespace vormel
