// The desktop program driven through its widgets on the offscreen platform.
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "ui/elided_label.h"
#include "ui/emergency_window.h"
#include "ui/find_dialog.h"
#include "ui/find_text.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/qt_work_area.h"
#include "ui/query_box.h"
#include "ui/recent_files.h"
#include "ui/report_view.h"
#include "ui/result_view_widget.h"
#include "ui/table_editor.h"
#include "ui/running_clock.h"
#include "ui/show_path.h"
#include "ui/ui_dialogs.h"
#include "scripted_dialogs.h"

using namespace vormel;

namespace {

const char* const kSmallPla = ".i 3\n.o 2\n.ilb a b c\n.ob f g\n000 10\n011 11\n1-1 01\n110 10\n.e\n";

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QTemporaryDir> settings_dir_;

    template <typename T>
    T* widget(const char* name) {
        T* found = window_->findChild<T*>(name);
        if (!found) qFatal("no widget %s", name);
        return found;
    }
    // The whole text of a label; a status line may show it shortened.
    QString text_of(const char* name) {
        if (auto* line = qobject_cast<ElidedLabel*>(widget<QLabel>(name))) return line->full_text();
        return widget<QLabel>(name)->text();
    }
    QAction* action(const char* name) { return widget<QAction>(name); }
    int state() { return window_->shown_state(); }
    std::string path(const char* name) { return (std::filesystem::path(dir_->path().toStdString()) / name).string(); }

    void wait_idle() {
        QTRY_VERIFY_WITH_TIMEOUT(!window_->busy(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!window_->work_area().has_backlog(), 30000);
    }
    void open(const std::string& file) {
        dialogs_->open_names.push_back(file);
        window_->command_open();
    }
    std::string opened_pla() {
        const std::string file = path("small.pla");
        write_file(file, kSmallPla);
        open(file);
        return file;
    }
    void page_by_page_off() {
        if (widget<QCheckBox>("pageByPage")->isChecked()) widget<QCheckBox>("pageByPage")->click();
    }
    void press_start() {
        widget<QPushButton>("startButton")->click();
        wait_idle();
    }
    // A whole run in one go: no page pauses, display level 0 (one Start).
    void run_at_level_0() {
        page_by_page_off();
        widget<QRadioButton>("level0")->click();
        press_start();
    }
    void run_to_end() {
        for (int i = 0; i < 8 && widget<QPushButton>("startButton")->text() != "Re-Start"; ++i) press_start();
    }
    void type_into_work_area(const char* text) { QTest::keyClicks(&window_->work_area_edit(), text); }
    // A run of small.pla at text size 72 pauses at a page end in its first step.
    void run_to_a_page_end() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        opened_pla();
        for (int i = 0; i < 63; ++i) widget<QPushButton>("largerText")->click();
        widget<QPushButton>("startButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->query_box().is_open(), 10000);
    }

private slots:
    void initTestCase() {
        // Never the user's own settings: the recent-file list of the tests lives in a folder of theirs.
        settings_dir_ = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_dir_->path());
    }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        std::filesystem::current_path(dir_->path().toStdString());
        dialogs_ = std::make_unique<ScriptedDialogs>();
        window_ = std::make_unique<MainWindow>(*dialogs_, 1.0);
        window_->start_up("");
    }
    void cleanup() {
        window_.reset();
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Vormel", "vormel").clear();
        dialogs_.reset();
        std::filesystem::current_path("/");
        dir_.reset();
    }

    void a_report_in_the_report_view_is_found_selected_and_copied() {
        window_->work_area().set_compact_threshold(300);
        opened_pla();
        page_by_page_off();
        run_to_end();
        QtWorkArea& area = window_->work_area();
        QVERIFY(area.compact());
        ReportView& view = *area.report_view();
        QVERIFY(view.isVisible() || !window_->isVisible());
        // The view shows the colour of the ended run, as the edit does (it was white).
        QCOMPARE(view.palette().color(QPalette::Base), QColor(colours::light_green.r, colours::light_green.g, colours::light_green.b));
        const std::string all = area.copy_text(0, area.length());
        const std::size_t first = all.find("Input File");
        QVERIFY(first != std::string::npos);
        window_->find_next("input file", false);
        QCOMPARE(view.selection_start(), first);
        QCOMPARE(view.selection_length(), std::size_t{10});
        // The next Find moves on, and after the last occurrence starts at the top again.
        window_->find_next("input file", false);
        const std::size_t second = all.find("Input File", first + 1);
        QCOMPARE(view.selection_start(), second == std::string::npos ? first : second);
        action("actionCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("Input File"));
        action("actionSelectAll")->trigger();
        action("actionCopy")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), all);
        // Re-Start loads the short input into the edit again.
        press_start();
        QVERIFY(!area.compact());
        QVERIFY(window_->work_area_edit().toPlainText().startsWith(QString(kSmallPla)));
    }

    void start_and_continue_through_a_run_then_restart() {
        const std::string file = opened_pla();
        QCOMPARE(state(), 4);
        QCOMPARE(text_of("statusLine"), QString(" Input File Opened =>  [Start]"));
        widget<QRadioButton>("level1")->click();
        page_by_page_off();
        widget<QRadioButton>("polarity0Set")->click();
        widget<QLineEdit>("rolexaField")->setText("7");

        press_start();
        QCOMPARE(state(), 5);
        QCOMPARE(widget<QPushButton>("startButton")->text(), QString("Continue"));
        QCOMPARE(widget<QPushButton>("quitButton")->text(), QString("Break"));
        QCOMPARE(text_of("stepStatus0"), QString("- done -"));
        QCOMPARE(text_of("stepStatus1"), QString("- done -"));
        QVERIFY(!widget<QPushButton>("openButton")->isEnabled());
        QVERIFY(window_->work_area_edit().isReadOnly());
        const QString report = window_->work_area_edit().toPlainText();
        QVERIFY(report.startsWith(QString(kSmallPla)));
        QVERIFY(report.contains(" Input File :  " + QString::fromStdString(file) + "\n"));
        QVERIFY(report.contains(" RTF File   :  " + QString::fromStdString(file) + ".rpt.rtf\n"));

        press_start();
        QCOMPARE(state(), 6);
        QVERIFY(!widget<QRadioButton>("polarity1Set")->isEnabled());
        QVERIFY(!widget<QRadioButton>("methodCns")->isEnabled());
        QVERIFY(widget<QRadioButton>("level2")->isEnabled());
        QVERIFY(window_->work_area_edit().toPlainText().contains(" Polarity            : 0-Set\n"));

        run_to_end();
        QCOMPARE(state(), 10);
        QCOMPARE(widget<QPushButton>("startButton")->text(), QString("Re-Start"));
        QCOMPARE(text_of("statusLine"), QString(" *** Report Files Saved (ASCII: *.rpt and RTF: *.rpt.rtf)"));
        QCOMPARE(text_of("promptField"), QString("Save As Report?"));
        QVERIFY(!widget<QLineEdit>("rolexaField")->isEnabled());
        // The report file is the work area as plain text with CR LF line ends.
        QString expected = window_->work_area_edit().toPlainText();
        expected.replace("\n", "\r\n");
        QCOMPARE(QString::fromStdString(read_file(file + ".rpt")), expected);
        QVERIFY(read_file(file + ".rpt.rtf").starts_with("{\\rtf1"));

        widget<QPushButton>("largerText")->click();
        widget<QRadioButton>("level2")->click();
        press_start();
        QCOMPARE(state(), 4);
        QCOMPARE(window_->work_area_edit().toPlainText(), QString(kSmallPla));
        QCOMPARE(window_->text_size(), 9);
        QCOMPARE(widget<QGroupBox>("textSizeGroup")->title(), QString("TextSize: 9 "));
        QVERIFY(widget<QRadioButton>("polarity0Set")->isEnabled());
        QVERIFY(widget<QRadioButton>("polarity0Set")->isChecked());
        QVERIFY(widget<QLineEdit>("rolexaField")->isEnabled());
        QCOMPARE(widget<QLineEdit>("rolexaField")->text(), QString("7"));
        QCOMPARE(window_->session().ctx.options.display_level, 2);
        QCOMPARE(window_->session().ctx.options.polarity_mode, 0);
        QCOMPARE(window_->session().ctx.options.rolexa_iterations, 7);
        QCOMPARE(widget<QPushButton>("startButton")->text(), QString("Start"));
    }

    void import_a_pla_of_another_tool_save_run_and_export_the_result() {
        const std::string other = path("other.pla");
        write_file(other, "made by another tool\n.i 3\n.o 2\n.ilb a<0> b c\n.ob f g\n.type fr\n000 10\n011 4\n4\n-21 -1\n110 1~\n.e\n");
        write_file(path("fsm.pla"), ".i 1\n.o 1\n.kiss\n");
        dialogs_->open_names.push_back(path("fsm.pla"));
        window_->command_import();
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].first, std::string(" Import Error"));
        QVERIFY(dialogs_->messages[0].second.find("state machines (.kiss)") != std::string::npos);

        QVERIFY(action("actionImport")->isEnabled());
        QVERIFY(!action("actionExport")->isEnabled());
        dialogs_->open_names.push_back(other);
        window_->command_import();
        QCOMPARE(state(), 3);
        const QString text = window_->work_area_edit().toPlainText();
        QVERIFY(!text.contains("# renamed"));
        QVERIFY(text.contains(".ilb a<0> b c\n.ob f g\n.type fr\n.p 4\n000 10\n011 11\n--1 -1\n110 1-\n"));
        QVERIFY(!widget<QPushButton>("startButton")->isEnabled());
        QCOMPARE(QString::fromStdString(window_->session().ctx.input_file), QString::fromStdString(path("other_imported.pla")));

        window_->command_save(false);
        QCOMPARE(state(), 4);
        QCOMPARE(QString::fromStdString(read_file(path("other_imported.pla"))).replace("\r\n", "\n"), text);
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        QVERIFY(window_->session().report_saved);
        QVERIFY(action("actionExport")->isEnabled());
        dialogs_->save_names.push_back(path("result.v"));
        window_->command_export();
        QVERIFY(read_file(path("result.v")).find("module other_imported (A_0, B, C, F, G);") != std::string::npos);
        QCOMPARE(text_of("statusLine"), QString::fromStdString(" *** Result exported to " + path("result.v")));
        dialogs_->save_names.push_back(path("result.vhd"));
        window_->command_export();
        QCOMPARE(dialogs_->messages.back().first, std::string(" Export Result"));
    }

    void page_end_queries_are_answered_from_the_window() {
        opened_pla();
        for (int i = 0; i < 63; ++i) widget<QPushButton>("largerText")->click();
        QCOMPARE(window_->text_size(), 72);
        QVERIFY(window_->session().ctx.report.page_length() < 8);
        widget<QPushButton>("startButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->query_box().is_open(), 10000);
        QCOMPARE(text_of("promptField"), QString("Long\nDisplay:"));
        QCOMPARE(widget<QPushButton>("queryBreakButton")->text(), QString("Interrupt"));
        // Start answers Continue while the box is open; the next page pauses again.
        window_->start_pressed();
        QTRY_VERIFY_WITH_TIMEOUT(window_->query_box().is_open(), 10000);
        // Interrupt drops the rest of that display.
        widget<QPushButton>("queryBreakButton")->click();
        for (int i = 0; i < 200 && window_->busy(); ++i) {
            QTest::qWait(20);
            if (window_->query_box().is_open()) window_->start_pressed();
        }
        wait_idle();
        QVERIFY(window_->work_area_edit().toPlainText().contains(" ... Display interrupted ...\n"));
        QCOMPARE(text_of("promptField"), QString());
        QCOMPARE(state(), 5);
    }

    void closing_at_a_page_end_ends_the_run_and_the_window() {
        window_->show();
        opened_pla();
        for (int i = 0; i < 63; ++i) widget<QPushButton>("largerText")->click();
        widget<QPushButton>("startButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->query_box().is_open(), 10000);
        window_->close();
        QVERIFY(window_->isVisible());  // closes once the step has ended
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
        QVERIFY(!window_->busy());
        QCOMPARE(text_of("stepStatus1"), QString("User Break"));
        QCOMPARE(text_of("statusLine"), QString(" Output File not saved"));
        QVERIFY(!std::filesystem::exists(path("small.pla.rpt")));
    }

    void controls_sit_at_their_design_places() {
        if (QGuiApplication::primaryScreen()->logicalDotsPerInch() != 96) QSKIP("the figures below assume 96 dpi");
        // 15 twips to the pixel at 96 dpi and scale 1.
        QCOMPARE(widget<QPushButton>("startButton")->geometry(), QRect(960, 696, 113, 25));
        QCOMPARE(widget<QPlainTextEdit>("workArea")->geometry(), QRect(168, 72, 763, 665));
        QCOMPARE(widget<QLabel>("stepStatus5")->geometry(), QRect(24, 560, 113, 35));
        QCOMPARE(widget<QPushButton>("quitButton")->toolTip(),
                 QString(" Quit = Exit program / Break = interrupt execution  and ask for Re-Start"));
        QCOMPARE(widget<QRadioButton>("polarityCombination")->toolTip(),
                 QString(" Combinations of all Output Polarities tested. \n Attention: May take very long! "));
        QCOMPARE(text_of("stepLabel3"), QString("Select\nCover:"));
        QCOMPARE(text_of("versionLabel"), QString::fromStdString(version_text()));
        QVERIFY(QFontInfo(widget<QPlainTextEdit>("workArea")->font()).fixedPitch());
        QCOMPARE(widget<QLineEdit>("rolexaField")->text(), QString("1"));
        QVERIFY(widget<QRadioButton>("polarity1Set")->isChecked());
        QVERIFY(widget<QRadioButton>("methodCns")->isChecked());
        QVERIFY(widget<QRadioButton>("level1")->isChecked());
        QVERIFY(widget<QCheckBox>("pageByPage")->isChecked());
        QVERIFY(widget<QLabel>("swappingIndicator")->isHidden());
    }

    void menus_follow_the_run_state() {
        QCOMPARE(state(), 1);
        for (const char* name : {"actionSave", "actionSaveAs", "actionPrint", "actionCut", "actionCopy", "actionPaste",
                                 "actionSelectAll", "actionFind", "actionStart"}) {
            QVERIFY2(!action(name)->isEnabled(), name);
        }
        QVERIFY(action("actionNew")->isEnabled());
        QVERIFY(action("actionOpen")->isEnabled());

        window_->command_new();
        QCOMPARE(state(), 2);
        QCOMPARE(text_of("statusLine"), QString(" Edit New Text File"));
        QVERIFY(!widget<QPushButton>("startButton")->isEnabled());
        // Export Result waits for a finished run; every other command is open.
        for (QAction* a : window_->findChildren<QAction*>()) {
            if (a->objectName().isEmpty()) continue;
            QVERIFY2(a->isEnabled() == (a->objectName() != "actionExport"), qPrintable(a->objectName()));
        }
        type_into_work_area("x");
        QCOMPARE(state(), 3);
        QCOMPARE(text_of("statusLine"), QString(" Data changed ... =>  Ctrl+Save(As) and [Start]"));
        // Start does nothing on a changed text.
        window_->start_pressed();
        QCOMPARE(state(), 3);

        dialogs_->answers.push_back(MessageAnswer::no);  // open without saving
        opened_pla();
        QCOMPARE(state(), 4);
        page_by_page_off();
        press_start();
        QCOMPARE(state(), 5);
        for (const char* name : {"actionNew", "actionOpen", "actionSave", "actionSaveAs", "actionCut", "actionPaste"}) {
            QVERIFY2(!action(name)->isEnabled(), name);
        }
        for (const char* name : {"actionPrint", "actionCopy", "actionSelectAll", "actionFind", "actionStart"}) {
            QVERIFY2(action(name)->isEnabled(), name);
        }
        run_to_end();
        QCOMPARE(state(), 10);
        for (const char* name : {"actionNew", "actionOpen", "actionSave", "actionCut", "actionPaste"}) {
            QVERIFY2(!action(name)->isEnabled(), name);
        }
        QVERIFY(action("actionSaveAs")->isEnabled());
    }

    void typing_without_a_file_names_it_NoName() {
        type_into_work_area("a");
        QCOMPARE(state(), 3);
        const std::string expected = (std::filesystem::current_path() / "NoName.tab").string();
        QCOMPARE(window_->session().ctx.input_file, expected);
        QVERIFY(widget<QLineEdit>("inputFileField")->text().endsWith("NoName.tab"));
    }

    void rolexa_field_keeps_digits_only() {
        auto* field = widget<QLineEdit>("rolexaField");
        field->clear();
        QTest::keyClicks(field, "12a3");
        QCOMPARE(field->text(), QString("123"));
        QCOMPARE(window_->session().ctx.options.rolexa_iterations, 123);
        field->clear();
        QCOMPARE(window_->session().ctx.options.rolexa_iterations, 0);
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(field, &leave);
        QCOMPARE(field->text(), QString("0"));
        field->setText("99999999999");
        QCOMPARE(window_->session().ctx.options.rolexa_iterations, 2147483647);
    }

    void method_buttons_choose_the_method_and_the_limit_field_follows_exact() {
        const std::pair<const char*, int> buttons[] = {
            {"methodShared", method_shared}, {"methodQmc", method_qmc}, {"methodExact", method_exact}, {"methodCns", method_cns}};
        for (auto [name, method] : buttons) {
            widget<QRadioButton>(name)->click();
            QCOMPARE(window_->session().ctx.options.prime_method, method);
            QCOMPARE(widget<QLineEdit>("exactLimitField")->isEnabled(), method == method_exact);
        }
    }

    void exact_limit_field_takes_only_a_number_of_seconds_in_range() {
        widget<QRadioButton>("methodExact")->click();
        auto* field = widget<QLineEdit>("exactLimitField");
        const double& limit = window_->session().ctx.options.exact_limit_seconds;
        QCOMPARE(field->text(), QString("60"));
        QCOMPARE(limit, 60.0);
        field->clear();
        QTest::keyClicks(field, "1x2.5.3");
        QCOMPARE(field->text(), QString("12.53"));
        QCOMPARE(limit, 12.53);
        // Out of range: shown red and not taken; leaving the field brings back the last valid value.
        for (const char* bad : {"0", "0.00", "86401", ".", ""}) {
            field->setText(bad);
            QCOMPARE(limit, 12.53);
            QVERIFY2(field->styleSheet().contains("255,0,0"), bad);
        }
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(field, &leave);
        QCOMPARE(field->text(), QString("12.53"));
        QVERIFY(!field->styleSheet().contains("255,0,0"));
        QTRY_COMPARE(dialogs_->messages.size(), std::size_t{1});
        // Leaving the field with a value it did not take says so, and what stays.
        for (const char* bad : {"99999", "0", "abc"}) {
            dialogs_->messages.clear();
            field->setText(bad);
            QApplication::sendEvent(field, &leave);
            QCOMPARE(field->text(), QString("12.53"));
            QTRY_COMPARE(dialogs_->messages.size(), std::size_t{1});
            const std::string& said = dialogs_->messages[0].second;
            QVERIFY2(said.find("above 0 and up to 86400") != std::string::npos, said.c_str());
            QVERIFY2(said.find("stays 12.53 sec") != std::string::npos, said.c_str());
            QCOMPARE(limit, 12.53);
        }
        // Leaving it with a valid value says nothing.
        dialogs_->messages.clear();
        QApplication::sendEvent(field, &leave);
        QTest::qWait(10);
        QVERIFY(dialogs_->messages.empty());
        field->setText("86400");
        QCOMPARE(limit, 86400.0);
        field->setText("0.5");
        QCOMPARE(limit, 0.5);
        // Open brings back the defaults.
        opened_pla();
        QCOMPARE(field->text(), QString("60"));
        QCOMPARE(limit, 60.0);
        QVERIFY(widget<QRadioButton>("methodCns")->isChecked());
        QVERIFY(!field->isEnabled());
    }

    void exact_limit_field_locks_with_the_exact_button() {
        auto* exact = widget<QRadioButton>("methodExact");
        auto* field = widget<QLineEdit>("exactLimitField");
        exact->click();
        window_->set_option_enabled(Option::method_shared, false);
        QVERIFY(!widget<QRadioButton>("methodShared")->isEnabled());
        QVERIFY(field->isEnabled());
        window_->set_option_enabled(Option::method_exact, false);
        QVERIFY(!exact->isEnabled());
        QVERIFY(!field->isEnabled());
        // The run may move the check while the buttons are locked; the field stays locked.
        window_->show_prime_method(method_cns);
        window_->show_prime_method(method_exact);
        QVERIFY(!field->isEnabled());
        window_->set_option_enabled(Option::method_exact, true);
        window_->set_option_enabled(Option::method_shared, true);
        QVERIFY(field->isEnabled());
        QVERIFY(widget<QRadioButton>("methodShared")->isEnabled());
    }

    void show_prime_method_checks_each_of_the_four() {
        const char* names[] = {"methodQmc", "methodCns", "methodShared", "methodExact"};
        for (int method : {method_exact, method_qmc, method_shared, method_cns, method_exact}) {
            window_->show_prime_method(method);
            for (int other = 0; other < 4; ++other) {
                QCOMPARE(widget<QRadioButton>(names[other])->isChecked(), other == method);
            }
        }
        window_->show_prime_method(4);
        window_->show_prime_method(-1);
        QVERIFY(widget<QRadioButton>("methodExact")->isChecked());
        QCOMPARE(window_->session().ctx.options.prime_method, method_exact);
    }

    void method_and_limit_chosen_while_a_step_runs_reach_the_run_afterwards() {
        opened_pla();
        page_by_page_off();
        widget<QRadioButton>("level1")->click();
        widget<QPushButton>("startButton")->click();
        QVERIFY(window_->busy());
        widget<QRadioButton>("methodExact")->click();
        widget<QLineEdit>("exactLimitField")->setText("7.5");
        wait_idle();
        QCOMPARE(window_->session().ctx.options.prime_method, method_exact);
        QCOMPARE(window_->session().ctx.options.exact_limit_seconds, 7.5);
    }

    void a_run_locks_all_four_methods_until_restart() {
        opened_pla();
        page_by_page_off();
        widget<QRadioButton>("level1")->click();
        widget<QRadioButton>("methodShared")->click();
        press_start();
        QCOMPARE(state(), 5);
        QVERIFY(widget<QRadioButton>("methodExact")->isEnabled());
        press_start();
        QCOMPARE(state(), 6);
        QVERIFY(!widget<QRadioButton>("methodQmc")->isEnabled());
        QVERIFY(!widget<QRadioButton>("methodCns")->isEnabled());
        QVERIFY(!widget<QRadioButton>("methodShared")->isEnabled());
        QVERIFY(!widget<QRadioButton>("methodExact")->isEnabled());
        run_to_end();
        QCOMPARE(state(), 10);
        press_start();
        QCOMPARE(state(), 4);
        for (const char* name : {"methodQmc", "methodCns", "methodShared", "methodExact"}) {
            QVERIFY2(widget<QRadioButton>(name)->isEnabled(), name);
        }
        QVERIFY(widget<QRadioButton>("methodShared")->isChecked());
        QCOMPARE(window_->session().ctx.options.prime_method, method_shared);
    }

    void break_while_a_step_runs_stops_only_a_cube_engine() {
        const std::pair<const char*, int> buttons[] = {
            {"methodQmc", method_qmc}, {"methodCns", method_cns}, {"methodShared", method_shared}, {"methodExact", method_exact}};
        for (auto [name, method] : buttons) {
            opened_pla();
            page_by_page_off();
            widget<QRadioButton>("level1")->click();
            widget<QRadioButton>(name)->click();
            press_start();
            QCOMPARE(state(), 5);
            std::atomic<bool>& stop = window_->session().ctx.stop_requested;
            stop = false;
            // The window stays busy until it handles the worker's end-of-command post, which needs
            // the event loop: until then Generate Primes counts as running.
            widget<QPushButton>("startButton")->click();
            QVERIFY(window_->busy());
            window_->set_start_quit_enabled(false);  // as the run does while its step works
            QCOMPARE(widget<QPushButton>("quitButton")->isEnabled(), cube_engine(method));
            action("actionBreak")->trigger();
            QVERIFY2(stop == cube_engine(method), name);
            wait_idle();
            if (!cube_engine(method)) {
                // The classic step runs to its end as before.
                QCOMPARE(state(), 6);
                QCOMPARE(text_of("stepStatus2"), QString("- done -"));
            }
            if (state() != 10) window_->quit_pressed();  // ends the run at its pause
            QCOMPARE(state(), 10);
            window_->start_pressed();
            wait_idle();
            QCOMPARE(state(), 4);
        }
    }

    void closing_while_a_cube_engine_step_runs_asks_it_to_stop() {
        window_->show();
        opened_pla();
        page_by_page_off();
        widget<QRadioButton>("level1")->click();
        widget<QRadioButton>("methodShared")->click();
        press_start();
        widget<QPushButton>("startButton")->click();
        QVERIFY(window_->busy());
        window_->close();
        QVERIFY(window_->session().ctx.stop_requested);
        QTRY_VERIFY_WITH_TIMEOUT(!window_->isVisible(), 30000);
        QVERIFY(!std::filesystem::exists(path("small.pla.rpt")));
    }

    void prime_generation_group_holds_its_four_rows() {
        const QRect group = widget<QGroupBox>("primeGroup")->geometry();
        for (const char* name : {"methodQmc", "methodCns", "methodShared", "methodExact"}) {
            QVERIFY2(group.contains(widget<QRadioButton>(name)->geometry()), name);
        }
        QVERIFY(group.contains(widget<QLineEdit>("exactLimitField")->geometry()));
        QVERIFY(group.contains(widget<QLabel>("exactLimitUnit")->geometry()));
        QVERIFY(group.contains(widget<QLabel>("exactLimitLabel")->geometry()));
        QVERIFY(!widget<QLineEdit>("exactLimitField")->geometry().intersects(widget<QRadioButton>("methodExact")->geometry()));
        // The groups below moved down and still end above the prompt.
        QVERIFY(group.bottom() < widget<QGroupBox>("rolexaGroup")->geometry().top());
        QVERIFY(widget<QGroupBox>("rolexaGroup")->geometry().contains(widget<QLineEdit>("rolexaField")->geometry()));
        QVERIFY(widget<QGroupBox>("levelGroup")->geometry().contains(widget<QRadioButton>("level4")->geometry()));
        QVERIFY(widget<QGroupBox>("textSizeGroup")->geometry().contains(widget<QCheckBox>("pageByPage")->geometry()));
        QVERIFY(widget<QGroupBox>("textSizeGroup")->geometry().bottom() < widget<QLabel>("promptField")->geometry().top());
    }

    void text_size_stays_within_2_and_72() {
        opened_pla();
        auto* larger = widget<QPushButton>("largerText");
        auto* smaller = widget<QPushButton>("smallerText");
        larger->click();
        QCOMPARE(window_->text_size(), 10);
        QCOMPARE(widget<QGroupBox>("textSizeGroup")->title(), QString("TextSize: 10 "));
        QCOMPARE(window_->session().ctx.report.text_size(), 10);
        QVERIFY(!window_->work_area_edit().document()->isModified());
        QCOMPARE(state(), 4);
        for (int i = 0; i < 8; ++i) smaller->click();
        QCOMPARE(window_->text_size(), 2);
        smaller->click();
        QCOMPARE(window_->text_size(), 2);
        for (int i = 0; i < 80; ++i) larger->click();
        QCOMPARE(window_->text_size(), 72);
        QCOMPARE(widget<QGroupBox>("textSizeGroup")->title(), QString("TextSize: 72 "));
    }

    void find_moves_through_the_occurrences() {
        QCOMPARE(find_next_position("xx abc yy abc", "abc", 0, 0, true), 3);
        QCOMPARE(find_next_position("xx abc yy abc", "abc", 3, 3, true), 10);
        QCOMPARE(find_next_position("xx ABC", "abc", 0, 0, true), -1);
        QCOMPARE(find_next_position("xx ABC", "abc", 0, 0, false), 3);
        // An occurrence at the very first character is found, once.
        QCOMPARE(find_next_position("abc abc", "abc", 0, 0, true), 0);
        QCOMPARE(find_next_position("abc abc", "abc", 0, 3, true), 4);

        window_->work_area_edit().setPlainText("one FIND two find three");
        window_->work_area_edit().moveCursor(QTextCursor::Start);
        window_->find_next("find", false);
        QCOMPARE(window_->work_area_edit().textCursor().selectionStart(), 4);
        window_->find_next("find", false);
        QCOMPARE(window_->work_area_edit().textCursor().selectionStart(), 13);
        // Find did not wrap: a third search stayed on the last occurrence.
        window_->find_next("find", false);
        QCOMPARE(window_->work_area_edit().textCursor().selectionStart(), 4);
        QCOMPARE(window_->work_area_edit().textCursor().selectedText(), QString("FIND"));
    }

    void repeated_find_visits_every_occurrence_in_order_then_wraps() {
        std::mt19937 random(20240607);
        for (int trial = 0; trial < 500; ++trial) {
            QString text;
            const int length = static_cast<int>(random() % 30);
            for (int i = 0; i < length; ++i) text += QChar(random() % 3 == 0 ? 'b' : 'a');
            QString needle;
            for (int i = 0, n = 1 + static_cast<int>(random() % 3); i < n; ++i) needle += QChar(random() % 3 == 0 ? 'b' : 'a');
            QList<qsizetype> expected;
            for (qsizetype at = 0; at + needle.size() <= text.size(); ++at) {
                if (QStringView(text).mid(at, needle.size()) == needle) expected << at;
            }
            qsizetype start = 0, selected = 0;
            for (int round = 0; round < 2 * expected.size() + 1; ++round) {
                const qsizetype found = find_next_position(text, needle, start, selected, true);
                if (expected.isEmpty()) {
                    QCOMPARE(found, qsizetype{-1});
                    break;
                }
                QCOMPARE(found, expected[round % expected.size()]);
                start = found;
                selected = needle.size();
            }
        }
    }

    void long_paths_are_cut_to_62_characters() {
        const std::string directory = "/" + std::string(78, 'd') + "/";
        QCOMPARE(directory.size(), std::size_t{80});
        const std::string shown = shortened_path("Input File: ", directory + "table.tab");
        QCOMPARE(shown.size(), std::size_t{62});
        QCOMPARE(shown, "Input File: " + directory.substr(0, 37) + "....table.tab");
        QCOMPARE(shortened_path("Input File: ", "/tmp/a.tab"), std::string("Input File: /tmp/a.tab"));
        const std::string report = shortened_path("Report Files: ", directory + "t.tab.rpt /.rtf");
        QCOMPARE(report.size(), std::size_t{62});
        QVERIFY(report.ends_with("....t.tab.rpt /.rtf"));
        // Fewer than 3 characters of the directory would remain: the full text is shown.
        const std::string name(58, 'n');
        QCOMPARE(shortened_path("L: ", "/ab/" + name), "L: /ab/" + name);
    }

    void saving_NoName_asks_for_a_name() {
        window_->command_new();
        type_into_work_area("abc");
        QCOMPARE(state(), 3);
        window_->command_save(false);
        QCOMPARE(dialogs_->save_dialogs, 1);
        QCOMPARE(state(), 3);
        QVERIFY(!std::filesystem::exists("NoName.tab"));

        window_->work_area_edit().appendPlainText("def");
        const std::string file = path("named.tab");
        dialogs_->save_names.push_back(file);
        window_->command_save(false);
        QCOMPARE(dialogs_->save_dialogs, 2);
        QCOMPARE(read_file(file), std::string("abc\r\ndef"));
        QCOMPARE(state(), 4);
        QCOMPARE(text_of("statusLine"), QString(" Input File saved =>  [Start]"));
        QCOMPARE(window_->session().ctx.input_file, file);
        QVERIFY(widget<QPushButton>("startButton")->isEnabled());
        // An unchanged existing file is written again without a question.
        window_->command_save(false);
        QCOMPARE(dialogs_->save_dialogs, 2);
        QVERIFY(dialogs_->messages.empty());
    }

    void saving_through_a_link_writes_its_target() {
        const std::string target = path("real.tab");
        write_file(target, "old");
        const std::string link = path("alias.tab");
        std::filesystem::create_symlink(target, link);
        open(link);
        window_->work_area_edit().moveCursor(QTextCursor::End);
        type_into_work_area("er");
        QCOMPARE(state(), 3);
        dialogs_->answers.push_back(MessageAnswer::yes);  // overwrite
        window_->command_save(false);
        QCOMPARE(dialogs_->messages.back().first, std::string(" Save File"));
        QVERIFY(std::filesystem::is_symlink(link));
        QCOMPARE(read_file(target), std::string("older"));
        QCOMPARE(state(), 4);
    }

    void an_edited_and_saved_input_keeps_the_report_colours() {
        const std::string file = opened_pla();
        window_->work_area_edit().moveCursor(QTextCursor::End);
        QTest::keyClick(&window_->work_area_edit(), Qt::Key_Return);
        window_->command_save(false);
        QCOMPARE(state(), 4);
        run_at_level_0();
        QCOMPARE(state(), 10);
        // The file keeps its LF line ends; the report has CR LF.
        QString saved_input = QString(kSmallPla) + "\n";
        QCOMPARE(QString::fromStdString(read_file(file)), saved_input);
        saved_input.replace("\n", "\r\n");
        QVERIFY(read_file(file + ".rpt").starts_with(saved_input.toStdString()));
        QVERIFY(read_file(file + ".rpt.rtf").find("\\red0\\green0\\blue128") != std::string::npos);
    }

    void a_file_that_cannot_be_written_is_not_saved_over() {
        window_->command_new();
        type_into_work_area("abc");
        const std::string folder = path("folder.tab");
        std::filesystem::create_directory(folder);
        dialogs_->save_names.push_back(folder);
        window_->command_save(false);
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].first, std::string(" Save Error"));
        QCOMPARE(dialogs_->messages[0].second,
                 "Requested file is a folder, not a file:  \r\n\r\n" + folder);
        QCOMPARE(text_of("stepStatus0"), QString("..."));
        QCOMPARE(state(), 3);
        QVERIFY(std::filesystem::is_directory(folder));

        if (geteuid() == 0) QSKIP("write permission bits do not bind the superuser");
        const std::string locked = path("locked.tab");
        write_file(locked, "old");
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
        dialogs_->messages.clear();
        dialogs_->answers.push_back(MessageAnswer::no);  // open without saving
        open(locked);
        QCOMPARE(state(), 4);
        type_into_work_area("new");
        dialogs_->answers.push_back(MessageAnswer::yes);  // overwrite
        window_->command_save(false);
        QCOMPARE(dialogs_->messages.back().second,
                 "Requested file is write-protected:  \r\n\r\n" + locked);
        QCOMPARE(read_file(locked), std::string("old"));
    }

    void a_run_parses_the_text_that_was_opened() {
        // The run read the file again at Start: a file replaced since Open gave a report whose echo
        // and results disagreed.
        const std::string file = opened_pla();
        const char* const kReplacement = ".i 4\n.o 1\n1111 1\n.e\n";
        write_file(file, kReplacement);
        run_at_level_0();
        QCOMPARE(state(), 10);
        QString report = window_->work_area_edit().toPlainText();
        QVERIFY(report.startsWith(QString(kSmallPla)));
        QVERIFY(report.contains(" Number of Variables : X-Input =  3   Y-Output =   2\n"));
        // Re-Start shows the file as it is now, and that is what the next run parses.
        press_start();
        QCOMPARE(state(), 4);
        QCOMPARE(window_->work_area_edit().toPlainText(), QString(kReplacement));
        press_start();
        QVERIFY(window_->work_area_edit().toPlainText().contains(" Number of Variables : X-Input =  4   Y-Output =   1\n"));
        // A file opened after a run is the one the next run parses.
        press_start();
        const std::string other = path("other.tab");
        write_file(other, "p,q:r\n11:1\n");
        open(other);
        QCOMPARE(state(), 4);
        press_start();
        report = window_->work_area_edit().toPlainText();
        QVERIFY(report.startsWith("p,q:r\n"));
        QVERIFY(report.contains(" Number of Variables : X-Input =  2   Y-Output =   1\n"));
    }

    void a_report_that_cannot_be_saved_as_names_the_file_and_the_reason() {
        opened_pla();
        run_at_level_0();
        QCOMPARE(state(), 10);
        const std::string copy = path("copy.rpt");
        std::filesystem::create_directory(copy + ".rtf");
        dialogs_->save_names.push_back(copy);
        dialogs_->answers.push_back(MessageAnswer::yes);  // replace
        window_->command_save(true);
        QCOMPARE(dialogs_->messages.back().first, std::string(" Save Error"));
        QCOMPARE(dialogs_->messages.back().second, "File not written:  \r\n\r\n" + copy + ".rtf\r\n\r\nIs a directory");
        QVERIFY(!std::filesystem::exists(copy));
        QCOMPARE(text_of("stepStatus0"), QString("Error"));
    }

    void report_save_as_after_a_run() {
        opened_pla();
        run_at_level_0();
        QCOMPARE(state(), 10);
        window_->command_save(false);
        QCOMPARE(dialogs_->save_dialogs, 0);
        // A text-size change is no edit: the copy keeps the report's colours.
        widget<QPushButton>("largerText")->click();
        const std::string copy = path("copy.rpt");
        dialogs_->save_names.push_back(copy);
        window_->command_save(true);
        QCOMPARE(dialogs_->last_save_filter, 2);
        QVERIFY(std::filesystem::exists(copy));
        QCOMPARE(read_file(copy), read_file(path("small.pla.rpt")));
        QCOMPARE(read_file(copy + ".rtf"), read_file(path("small.pla.rpt.rtf")));
        QVERIFY(read_file(copy + ".rtf").find("\\red0\\green0\\blue128") != std::string::npos);
        QCOMPARE(text_of("statusLine"), QString(" *** Report Files Saved As (ASCII: *.rpt and RTF: *.rpt.rtf)"));
        QCOMPARE(state(), 10);
    }

    void quit_with_a_changed_text_asks_first() {
        window_->show();
        window_->command_new();
        type_into_work_area("abc");
        QCOMPARE(state(), 3);
        dialogs_->answers.push_back(MessageAnswer::cancel);
        window_->quit_pressed();
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].first, std::string(" Vormel Quit"));
        QVERIFY(window_->isVisible());
        QCOMPARE(state(), 3);
        dialogs_->answers.push_back(MessageAnswer::no);
        window_->quit_pressed();
        QVERIFY(!window_->isVisible());
    }

    void closing_during_a_paused_run_ends_it_as_a_user_break() {
        window_->show();
        opened_pla();
        page_by_page_off();
        press_start();
        QCOMPARE(state(), 5);
        window_->close();
        QVERIFY(!window_->isVisible());
        QCOMPARE(text_of("stepStatus1"), QString("User Break"));
        QVERIFY(window_->work_area_edit().toPlainText().endsWith(" *** User Break\n"));
        QVERIFY(!std::filesystem::exists(path("small.pla.rpt")));
    }

    void command_line_link_runs_its_target_at_level_0() {
        const std::string target = path("target.pla");
        write_file(target, kSmallPla);
        const std::string link = path("link.pla");
        std::filesystem::create_symlink(target, link);
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, 1.0);
        window.start_up("  \"" + link + "\" ");
        QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), 30000);
        QCOMPARE(window.session().ctx.run_state, 10);
        QCOMPARE(window.session().ctx.input_file, target);
        QCOMPARE(window.session().ctx.auto_run, 0);
        QVERIFY(window.findChild<QRadioButton*>("level0")->isChecked());
        // It runs through: no page end stops it.
        QVERIFY(!window.findChild<QCheckBox*>("pageByPage")->isChecked());
        QCOMPARE(window.session().ctx.options.page_by_page, 0);
        QVERIFY(std::filesystem::exists(target + ".rpt"));
        QVERIFY(std::filesystem::exists(target + ".rpt.rtf"));
        QVERIFY(dialogs.messages.empty());
    }

    void unusable_command_line_file_starts_without_a_file() {
        ScriptedDialogs dialogs;
        MainWindow window(dialogs, 1.0);
        window.start_up(path("missing.tab"));
        QCOMPARE(window.session().ctx.run_state, 1);
        QCOMPARE(window.session().ctx.auto_run, 0);
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        QCOMPARE(dialogs.messages[0].second, "Requested File is not accessible:  \r\n\r\n" + path("missing.tab"));
        QCOMPARE(window.findChild<QLabel*>("statusLine")->text(), QString(" Open File or start New File"));
    }

    void print_asks_first() {
        opened_pla();
        dialogs_->answers.push_back(MessageAnswer::no);
        window_->print_work_area();
        QCOMPARE(dialogs_->messages.back().first, std::string(" Print"));
        QCOMPARE(dialogs_->messages.back().second,
                 std::string(" Yes:  Print complete .rpt File with TextSize 9\r\n  No:  Do not print. (Adjust TextSize with << >>)"));
    }

    void query_box_keys_answer_the_box_without_an_ambiguous_shortcut() {
        // The box's Ctrl+G and Ctrl+Q competed with the menu's, so neither fired; Enter did nothing
        // on the focused Interrupt button.
        QTest::failOnWarning(QRegularExpression("Ambiguous shortcut"));
        run_to_a_page_end();
        auto* interrupt = widget<QPushButton>("queryBreakButton");
        QTRY_VERIFY(interrupt->hasFocus());
        const std::pair<int, Qt::KeyboardModifiers> continue_keys[] = {
            {Qt::Key_G, Qt::ControlModifier}, {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};
        for (auto [key, modifiers] : continue_keys) {
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
            QVERIFY2(!window_->query_box().is_open(), qPrintable(QKeySequence(key | modifiers).toString()));
            QTRY_VERIFY_WITH_TIMEOUT(window_->query_box().is_open(), 10000);
        }
        QVERIFY(!window_->work_area_edit().toPlainText().contains("Display interrupted"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!window_->query_box().is_open());
        QTRY_VERIFY_WITH_TIMEOUT(window_->work_area_edit().toPlainText().contains(" ... Display interrupted ...\n"), 10000);
        for (int i = 0; i < 200 && window_->busy(); ++i) {
            QTest::qWait(20);
            if (window_->query_box().is_open()) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        }
        wait_idle();
        QCOMPARE(state(), 5);
    }

    void query_box_has_a_frame() {
        window_->query_box().show();
        const QImage box = window_->query_box().grab().toImage();
        QCOMPARE(box.pixelColor(0, 0), QColor(0, 0, 128));
        QCOMPARE(box.pixelColor(box.width() - 1, box.height() / 2), QColor(0, 0, 128));
        window_->query_box().hide();
    }

    void the_program_closing_its_windows_is_not_the_emergency_exit() {
        // Quit closes every window on its way out; that close ended the process with status 1.
        bool ended = false;
        auto* emergency = new EmergencyWindow(window_.get(), [] { return 0; }, [&] { ended = true; });
        emergency->show();
        window_->show();
        QApplication::closeAllWindows();
        QVERIFY(!ended);
        QVERIFY(!emergency->isVisible());
        // The user's [X] comes from the window system and still ends the program at once.
        emergency->show();
        QCloseEvent by_user;
        QSpontaneKeyEvent::setSpontaneous(&by_user);
        QApplication::instance()->notify(emergency, &by_user);
        QVERIFY(ended);
        delete emergency;
    }

    void save_as_asks_before_replacing_a_file() {
        const std::string existing = path("existing.tab");
        write_file(existing, "old");
        window_->command_new();
        type_into_work_area("new");
        dialogs_->save_names.push_back(existing);
        dialogs_->answers.push_back(MessageAnswer::no);
        window_->command_save(true);
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].first, std::string("Replace File?"));
        QVERIFY(dialogs_->messages[0].second.find(existing) != std::string::npos);
        QCOMPARE(read_file(existing), std::string("old"));
        QCOMPARE(state(), 3);
        dialogs_->save_names.push_back(existing);
        dialogs_->answers.push_back(MessageAnswer::yes);
        window_->command_save(true);
        QCOMPARE(read_file(existing), std::string("new"));
        QCOMPARE(state(), 4);
        // A new name is saved without a question.
        dialogs_->save_names.push_back(path("fresh.tab"));
        window_->command_save(true);
        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        QCOMPARE(read_file(path("fresh.tab")), std::string("new"));
    }

    void report_save_as_asks_before_replacing_either_report_file() {
        opened_pla();
        run_at_level_0();
        QCOMPARE(state(), 10);
        const std::string copy = path("copy.rpt");
        for (const std::string& present : {copy, copy + ".rtf"}) {
            std::filesystem::remove(copy);
            std::filesystem::remove(copy + ".rtf");
            write_file(present, "old");
            dialogs_->save_names.push_back(copy);
            dialogs_->answers.push_back(MessageAnswer::no);
            dialogs_->messages.clear();
            window_->command_save(true);
            QCOMPARE(dialogs_->messages.size(), std::size_t{1});
            QCOMPARE(dialogs_->messages[0].first, std::string("Replace File?"));
            QCOMPARE(read_file(present), std::string("old"));
        }
        dialogs_->save_names.push_back(copy);
        dialogs_->answers.push_back(MessageAnswer::yes);
        window_->command_save(true);
        QCOMPARE(read_file(copy + ".rtf"), read_file(path("small.pla.rpt.rtf")));
        QCOMPARE(read_file(copy), read_file(path("small.pla.rpt")));
    }

    void help_shows_the_guide_and_says_when_a_help_file_has_no_viewer() {
        window_->show_help();
        QVERIFY(dialogs_->messages.empty());
        auto* help = window_->findChild<HelpWindow*>("helpWindow");
        QVERIFY(help && help->isVisible());
        QVERIFY(help->browser().toPlainText().contains("Reading the report"));
        help->close();

        write_file(path("Vormel_Help.pdf"), "%PDF-1.4\n");
        window_->show_help();
        QCOMPARE(dialogs_->viewed, std::vector<std::string>{path("Vormel_Help.pdf")});
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].first, std::string(" Vormel Help"));
        QVERIFY(help->isVisible());
        help->close();

        dialogs_->viewer_available = true;
        window_->show_help();
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QVERIFY(!help->isVisible());
    }

    void the_guide_explains_every_option_and_command() {
        window_->show_help();
        const QString guide = window_->findChild<HelpWindow*>("helpWindow")->browser().toPlainText();
        for (const QRadioButton* option : window_->findChildren<QRadioButton*>()) {
            QVERIFY2(guide.contains(option->text()), qPrintable(option->text()));
        }
        for (const QAction* item : window_->findChildren<QAction*>()) {
            const QString name = item->text().section('\t', 0, 0).remove('&').remove("...").remove("..").trimmed();
            if (!name.isEmpty()) QVERIFY2(guide.contains(name), qPrintable(name));
        }
        for (const char* format : {".tab", ".tdf", ".dcb", ".pla", ".bol"}) QVERIFY2(guide.contains(format), format);
    }

    void guide_search_goes_through_every_occurrence_and_wraps() {
        window_->show_help();
        auto* help = window_->findChild<HelpWindow*>("helpWindow");
        const QString guide = help->browser().document()->toPlainText();
        for (const QString needle : {"Page-by-Page", "polarity", "ROLEXA"}) {
            QList<int> positions;
            for (qsizetype at = guide.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
                 at = guide.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
                positions << static_cast<int>(at);
            }
            QVERIFY2(positions.size() > 1, qPrintable(needle));
            help->browser().moveCursor(QTextCursor::Start);
            help->search_field().setText(needle);
            QList<int> found;
            for (int i = 0; i <= positions.size(); ++i) {
                QVERIFY(help->find_next());
                found << help->browser().textCursor().selectionStart();
            }
            // Each occurrence once, then the first again.
            QCOMPARE(found.size(), positions.size() + 1);
            QCOMPARE(found.back(), found.front());
            QCOMPARE(QSet<int>(found.begin(), found.end()).size(), positions.size());
        }
        help->search_field().setText("no such words in the guide");
        QVERIFY(!help->find_next());
        QCOMPARE(help->findChild<QLabel*>("helpSearchResult")->text(), QString("not found"));
    }

    void printing_a_long_report_leaves_the_event_loop_running() {
        // Print ran on the GUI thread: the emergency window's counter stopped until it ended.
        window_->work_area_edit().setPlainText(QString("a line of the report\n").repeated(20000) + QString(700, 'w'));
        dialogs_->answers.push_back(MessageAnswer::yes);
        dialogs_->print_pdf = path("report.pdf");
        int ticks = 0;
        QTimer clock;
        connect(&clock, &QTimer::timeout, [&] { ++ticks; });
        clock.start(1);
        window_->print_work_area();
        clock.stop();
        QVERIFY(ticks > 0);
        const std::string pdf = read_file(path("report.pdf"));
        QVERIFY(pdf.starts_with("%PDF"));
        qsizetype pages = 0;
        for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
        QVERIFY(pages > 100);
        // A PDF went where the dialog said, and the status line says where (it once went to $HOME unsaid).
        QCOMPARE(text_of("statusLine"), QString::fromStdString(" *** Printed to PDF: " + path("report.pdf")));
    }

    void recent_files_list_the_last_opened_and_saved_newest_first() {
        QCOMPARE(with_recent({"a", "b", "c"}, "b", 6), QStringList({"b", "a", "c"}));
        QCOMPARE(with_recent({"a", "b", "c"}, "d", 3), QStringList({"d", "a", "b"}));
        const std::string first = opened_pla();
        window_->command_new();
        type_into_work_area("abc");
        dialogs_->save_names.push_back(path("second.tab"));
        window_->command_save(false);
        QCOMPARE(window_->recent_files().files(),
                 QStringList({QString::fromStdString(path("second.tab")), QString::fromStdString(first)}));
        // The list outlives the window.
        window_.reset();
        window_ = std::make_unique<MainWindow>(*dialogs_, 1.0);
        window_->start_up("");
        auto* recent = widget<QMenu>("recentMenu");
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 2);
        recent->actions().at(1)->trigger();
        QCOMPARE(window_->session().ctx.input_file, first);
        QCOMPARE(state(), 4);
        // A file gone since is taken off the list.
        std::filesystem::remove(path("second.tab"));
        emit recent->aboutToShow();
        recent->actions().at(1)->trigger();
        QCOMPARE(dialogs_->messages.back().first, std::string(" Open Error"));
        QCOMPARE(window_->recent_files().files(), QStringList({QString::fromStdString(first)}));
    }

    void a_file_dropped_on_the_window_is_opened() {
        const std::string file = path("dropped.pla");
        write_file(file, kSmallPla);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_->work_area_edit().viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_->work_area_edit().viewport(), &drop);
        QCOMPARE(window_->session().ctx.input_file, file);
        QCOMPARE(window_->work_area_edit().toPlainText(), QString(kSmallPla));
        QCOMPARE(state(), 4);
        // Not while a run is under way.
        page_by_page_off();
        press_start();
        QCOMPARE(state(), 5);
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        refused.ignore();
        QApplication::sendEvent(window_.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void a_long_status_is_shortened_with_an_ellipsis() {
        auto* line = widget<ElidedLabel>("statusLine");
        const QString whole = " *** Result exported to " + QString(200, 'd') + "/result.v";
        window_->set_status_line(whole.toStdString());
        QCOMPARE(line->full_text(), whole);
        QVERIFY(line->text().endsWith(QChar(0x2026)));
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <= line->contentsRect().width());
        window_->set_status_line(" Edit New Text File");
        QCOMPARE(line->text(), QString(" Edit New Text File"));
    }

    void file_dialog_filters_name_each_pattern_once() {
        QCOMPARE(qt_name_filters("Input File (*.tab, *.bol, *.pla)|*.tab;*.bol;*.pla|Report File (*.rpt)|*.rpt|All Files (*.*)|*.*"),
                 QStringList({"Input File (*.tab *.bol *.pla)", "Report File (*.rpt)", "All Files (*)"}));
        QCOMPARE(qt_name_filters("Plain|*.txt"), QStringList({"Plain (*.txt)"}));
    }

    void prompt_lines_fit_the_prompt_field() {
        // "Display Level >1" showed as "isplay Level :".
        auto* prompt = widget<QLabel>("promptField");
        for (const char* text : {"Display Level >1\r\nReset ?", "Long\r\nDisplay:", "Save As Report?"}) {
            window_->set_prompt(text, colours::navy);
            for (const QString& shown : prompt->text().split('\n')) {
                QVERIFY2(prompt->fontMetrics().horizontalAdvance(shown) <= prompt->contentsRect().width(), text);
            }
        }
    }

    void a_step_leaves_the_input_file_field_without_focus_or_selection() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        opened_pla();
        page_by_page_off();
        widget<QPushButton>("startButton")->setFocus();
        widget<QPushButton>("startButton")->click();
        window_->set_start_quit_enabled(false);  // as the run does while its step works
        auto* field = widget<QLineEdit>("inputFileField");
        QVERIFY(!field->hasFocus());
        wait_idle();
        QVERIFY(!field->hasFocus());
        QVERIFY(!field->hasSelectedText());
    }

    void the_exact_method_reports_its_time_limit_and_the_classic_does_not() {
        opened_pla();
        widget<QRadioButton>("methodExact")->click();
        widget<QLineEdit>("exactLimitField")->setText("30");
        run_at_level_0();
        QCOMPARE(state(), 10);
        QVERIFY(window_->work_area_edit().toPlainText().contains(" Time Limit          : 30 sec\n"));
        press_start();  // Re-Start
        widget<QRadioButton>("methodCns")->click();
        run_at_level_0();
        QCOMPARE(state(), 10);
        QVERIFY(!window_->work_area_edit().toPlainText().contains("Time Limit"));
    }

    void a_file_of_11_inputs_closes_qmc_when_opened() {
        std::string wide = ".i 11\n.o 1\n";
        for (int row = 0; row < 4; ++row) wide += std::string(11, row % 2 ? '1' : '0').replace(row, 1, "-") + " 1\n";
        wide += ".e\n";
        write_file(path("wide.pla"), wide);
        open(path("wide.pla"));
        // The header's width decides before the first Start.
        auto* qmc = widget<QRadioButton>("methodQmc");
        QVERIFY(!qmc->isEnabled());
        QVERIFY(widget<QRadioButton>("methodCns")->isChecked());
        QVERIFY2(qmc->toolTip().contains("up to 10 Inputs; this File has 11"), qPrintable(qmc->toolTip()));
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        press_start();  // Re-Start: the same file, still too wide
        QCOMPARE(state(), 4);
        QVERIFY(!qmc->isEnabled());
        QVERIFY(widget<QRadioButton>("methodShared")->isEnabled());
        // Another file opens QMC again.
        opened_pla();
        QVERIFY(qmc->isEnabled());
        QVERIFY(!qmc->toolTip().contains("this File has"));
    }

    void qmc_kept_for_a_text_edited_to_11_inputs_ran_cns_without_a_word() {
        opened_pla();
        auto* qmc = widget<QRadioButton>("methodQmc");
        qmc->click();
        QVERIFY(qmc->isChecked());
        // Edited to 11 inputs and saved: the width is known only once Expand Input has run.
        std::string wide = ".i 11\n.o 1\n" + std::string(10, '-') + "1 1\n.e\n";
        window_->work_area_edit().selectAll();
        window_->work_area_edit().insertPlainText(QString::fromStdString(wide));
        window_->command_save(false);
        QCOMPARE(state(), 4);
        QVERIFY(qmc->isChecked());
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        QVERIFY(widget<QRadioButton>("methodCns")->isChecked());
        QVERIFY(window_->work_area_edit().toPlainText().contains("QMC takes up to 10 Inputs; this File has 11: CNS is used instead."));
        QVERIFY2(text_of("statusLine").contains("CNS was used"), qPrintable(text_of("statusLine")));
    }

    void a_file_past_the_classic_limits_gave_error_2_before_shared_was_chosen() {
        std::string wide = ".i 30\n.o 2\n";
        wide += std::string(29, '-') + "1 10\n" + "1" + std::string(29, '-') + " 01\n.e\n";
        write_file(path("wide30.pla"), wide);
        open(path("wide30.pla"));
        // Chosen as the file opens, so the first Start runs Shared.
        auto* cns = widget<QRadioButton>("methodCns");
        QVERIFY(!cns->isEnabled());
        QVERIFY(!widget<QRadioButton>("methodQmc")->isEnabled());
        QVERIFY(widget<QRadioButton>("methodShared")->isChecked());
        QVERIFY2(cns->toolTip().contains("up to 22 Inputs and 100 Outputs"), qPrintable(cns->toolTip()));
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        QVERIFY(!window_->work_area_edit().toPlainText().contains("Error"));
        QVERIFY(window_->work_area_edit().toPlainText().contains("Comparison with original expanded Inputs successful."));

        // A table's header counts the same way: 25 names before the colon.
        press_start();  // Re-Start
        opened_pla();
        QVERIFY(cns->isEnabled());
        QStringList names;
        for (int i = 0; i < 25; ++i) names << QString("x%1").arg(i);
        write_file(path("wide.tab"), "Title\n" + names.join(", ").toStdString() + " : f ; header\n" + std::string(25, '-') + " : 1\n");
        open(path("wide.tab"));
        QCOMPARE(QString::fromStdString(window_->session().ctx.input_file), QString::fromStdString(path("wide.tab")));
        QVERIFY(widget<QRadioButton>("methodShared")->isChecked());
        QVERIFY(!cns->isEnabled());
        // A narrow one opens them again.
        opened_pla();
        QVERIFY(cns->isEnabled());
        QVERIFY(widget<QRadioButton>("methodQmc")->isEnabled());
    }

    void a_result_whose_report_could_not_be_written_stayed_unexportable() {
        // A folder where the report goes stands in for a read-only folder (the superuser writes anywhere).
        const std::string input = opened_pla();
        std::filesystem::create_directory(input + ".rpt");
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        QVERIFY(!window_->session().report_saved);
        QCOMPARE(dialogs_->messages.back().first, std::string(" Save Error"));
        QVERIFY2(text_of("statusLine").contains("Write failure") && text_of("statusLine").contains("result kept"),
                 qPrintable(text_of("statusLine")));
        QVERIFY(action("actionExport")->isEnabled());
        dialogs_->save_names.push_back(path("kept.eqn"));
        window_->command_export();
        QVERIFY(std::filesystem::file_size(path("kept.eqn")) > 0);
        window_->show_result_view();
        auto* view = window_->findChild<ResultViewWidget*>("resultView");
        QVERIFY(view && view->has_result());
    }

    void a_table_saved_in_the_editor_opens_runs_and_shows_its_pictures() {
        opened_pla();
        window_->show_table_editor();
        auto* editor = window_->findChild<TableEditor*>("tableEditor");
        QVERIFY(editor);
        // The loaded .pla is what the grid shows.
        QCOMPARE(editor->table().inputs, (std::vector<std::string>{"a", "b", "c"}));
        editor->new_table();
        const std::string table = path("grid.tab");
        QVERIFY(editor->save_to(QString::fromStdString(table)));
        QCOMPARE(window_->session().ctx.input_file, table);
        QCOMPARE(state(), 4);
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        window_->show_result_view();
        auto* view = window_->findChild<ResultViewWidget*>("resultView");
        QVERIFY(view && view->has_result());
        QCOMPARE(view->note(ResultViewWidget::kmap_tab), QString());
    }

    void a_file_replaced_on_disk_before_the_run_ended_was_reported_without_a_word() {
        const std::string input = opened_pla();
        page_by_page_off();
        run_to_end();
        QCOMPARE(state(), 10);
        for (const auto& message : dialogs_->messages) QVERIFY(message.first != " Input File Changed");
        press_start();  // Re-Start reads the file again
        write_file(input, std::string(kSmallPla).replace(0, 4, ".i 3 "));  // another size
        run_to_end();
        QCOMPARE(state(), 10);
        QCOMPARE(dialogs_->messages.back().first, std::string(" Input File Changed"));
        QVERIFY(dialogs_->messages.back().second.find(input) != std::string::npos);
    }

    void a_common_dialect_file_opened_with_open_offers_the_import() {
        // Cubes split over two lines and a title: our reader stops at them with an input error.
        const std::string wide_input = std::string(14, '-') + "01" + std::string(14, '-');
        write_file(path("split.pla"), "a title\n.i 30\n.o 2\n" + wide_input + "\n10\n" + wide_input + "\n01\n.e\n");
        dialogs_->answers.push_back(MessageAnswer::cancel);
        open(path("split.pla"));
        QCOMPARE(dialogs_->messages.back().first, std::string(" Open PLA"));
        QVERIFY(dialogs_->messages.back().second.find("Import PLA") != std::string::npos);
        QVERIFY(window_->work_area_edit().toPlainText().isEmpty());

        dialogs_->answers.push_back(MessageAnswer::yes);
        open(path("split.pla"));
        QCOMPARE(state(), 3);
        QCOMPARE(QString::fromStdString(window_->session().ctx.input_file), QString::fromStdString(path("split_imported.pla")));
        QVERIFY(window_->work_area_edit().toPlainText().contains(QString::fromStdString(wide_input + " 10")));
        // The import reads the size too: 30 inputs are past the classic methods.
        QVERIFY(widget<QRadioButton>("methodShared")->isChecked());
        QVERIFY(!widget<QRadioButton>("methodCns")->isEnabled());

        // No: opened as it is; a plain file asks nothing.
        dialogs_->answers.push_back(MessageAnswer::no);
        open(path("split.pla"));
        QCOMPARE(QString::fromStdString(window_->session().ctx.input_file), QString::fromStdString(path("split.pla")));
        const std::size_t asked = dialogs_->messages.size();
        opened_pla();
        QCOMPARE(dialogs_->messages.size(), asked);
    }

    void the_tab_cycle_had_an_invisible_stop_and_page_by_page_before_text_size() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        opened_pla();
        QPlainTextEdit& area = window_->work_area_edit();
        area.setFocus();
        QTRY_VERIFY(area.hasFocus());
        QStringList stops;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            if (focus == &area) break;
            const QString name = focus->objectName().isEmpty() ? QString(focus->metaObject()->className()) : focus->objectName();
            // The scroller around the controls took the focus and the typed keys with it.
            QVERIFY2(!qobject_cast<QAbstractScrollArea*>(focus), qPrintable("invisible stop: " + name));
            QVERIFY2(focus->isVisible() && focus->isEnabled(), qPrintable("invisible stop: " + name));
            stops << name;
        }
        QVERIFY(stops.indexOf("largerText") >= 0);
        QVERIFY(stops.indexOf("largerText") < stops.indexOf("pageByPage"));
    }

    void tab_leaves_the_work_area_without_changing_the_text() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        opened_pla();
        QPlainTextEdit& area = window_->work_area_edit();
        const QString text = area.toPlainText();
        area.setFocus();
        QTRY_VERIFY(area.hasFocus());
        QTest::keyClick(&area, Qt::Key_Tab);
        QVERIFY(!area.hasFocus());
        QCOMPARE(area.toPlainText(), text);
        QCOMPARE(state(), 4);
        QVERIFY(widget<QPushButton>("startButton")->isEnabled());
        area.setFocus();
        QTest::keyClick(&area, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(!area.hasFocus());
        QCOMPARE(state(), 4);
    }

    void tab_enters_a_radio_group_at_its_checked_button_and_arrows_select() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto* level1 = widget<QRadioButton>("level1");
        auto* level2 = widget<QRadioButton>("level2");
        QVERIFY(level1->isChecked());
        // Before: Tab reached the last button of the group, and the arrows moved the focus only.
        auto* rolexa = widget<QLineEdit>("rolexaField");
        rolexa->setFocus();
        QTRY_VERIFY(rolexa->hasFocus());
        QTest::keyClick(rolexa, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), level1);
        QTest::keyClick(level1, Qt::Key_Down);
        QVERIFY(level2->isChecked());
        QCOMPARE(QApplication::focusWidget(), level2);
        QCOMPARE(window_->session().ctx.options.display_level, 2);
        // Checked by the program (Open brings back the defaults): the tab stop follows the check.
        opened_pla();
        QVERIFY(level1->isChecked());
        rolexa->setFocus();
        QTRY_VERIFY(rolexa->hasFocus());
        QTest::keyClick(rolexa, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), level1);
        QTest::keyClick(level1, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), rolexa);
    }

    void focused_radio_buttons_and_the_check_box_show_a_frame() {
        // Their style sheets may take away the style's focus frame around the caption; the indicator's
        // colour alone would then tell which control has the focus.
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto caption = [](QAbstractButton* button) {
            const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
            const int indicator = button->style()->pixelMetric(
                radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, button);
            const QImage image = button->grab().toImage();
            return image.copy(indicator, 0, image.width() - indicator, image.height());
        };
        std::map<QAbstractButton*, QImage> unfocused;
        for (auto* button : window_->findChildren<QAbstractButton*>()) {
            if (!button->styleSheet().isEmpty()) unfocused[button] = caption(button);
        }
        QWidget& area = window_->work_area_edit();
        area.setFocus();
        QTRY_VERIFY(area.hasFocus());
        QSet<QString> framed;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            const auto found = unfocused.find(button);
            if (found != unfocused.end() && caption(button) != found->second) framed.insert(button->objectName());
        }
        QCOMPARE(framed, (QSet<QString>{"polarity1Set", "methodCns", "level1", "pageByPage"}));
    }

    void find_says_when_the_text_is_not_there() {
        window_->work_area_edit().setPlainText("one find two find");
        window_->work_area_edit().moveCursor(QTextCursor::Start);
        window_->show_find_dialog();
        auto* find = window_->findChild<FindDialog*>("findDialog");
        QVERIFY(find);
        QVERIFY(!window_->find_next("missing", true));
        QCOMPARE(find->result(), QString("\"missing\" not found"));
        QVERIFY(window_->find_next("find", true));
        QCOMPARE(find->result(), QString());
        QVERIFY(window_->find_next("find", true));
        QVERIFY(window_->find_next("find", true));
        QCOMPARE(find->result(), QString("from the top"));
        // A new search text clears the old result.
        find->text_field().setText("x");
        QCOMPARE(find->result(), QString());
    }

    void report_save_as_without_rpt_wrote_NAME_and_NAME_rtf() {
        opened_pla();
        run_at_level_0();
        QCOMPARE(state(), 10);
        dialogs_->save_names.push_back(path("named"));
        window_->command_save(true);
        QVERIFY(std::filesystem::exists(path("named.rpt")));
        QVERIFY(std::filesystem::exists(path("named.rpt.rtf")));
        QVERIFY(!std::filesystem::exists(path("named")));
        QVERIFY(!std::filesystem::exists(path("named.rtf")));
        QVERIFY2(widget<QLineEdit>("reportFileField")->text().endsWith("named.rpt /.rtf"),
                 qPrintable(widget<QLineEdit>("reportFileField")->text()));
        // A name that has the extension keeps it once.
        dialogs_->save_names.push_back(path("again.RPT"));
        window_->command_save(true);
        QVERIFY(std::filesystem::exists(path("again.RPT")));
        QVERIFY(!std::filesystem::exists(path("again.RPT.rpt")));
    }

    void undo_back_to_the_opened_text_still_said_data_changed() {
        const std::string file = opened_pla();
        const QString opened_status = text_of("statusLine");
        type_into_work_area("xy");
        QCOMPARE(state(), 3);
        QVERIFY(!widget<QPushButton>("startButton")->isEnabled());
        window_->work_area_edit().undo();
        QCOMPARE(state(), 4);
        QCOMPARE(text_of("statusLine"), opened_status);
        QVERIFY(widget<QPushButton>("startButton")->isEnabled());
        QCOMPARE(window_->work_area_edit().toPlainText(), QString(kSmallPla));
        // Redo is a change again.
        window_->work_area_edit().redo();
        QCOMPARE(state(), 3);
        // In a new window: undo back to the empty text leaves a new text, nothing to start.
        window_->command_new();
        type_into_work_area("a");
        QCOMPARE(state(), 3);
        window_->work_area_edit().undo();
        QCOMPARE(state(), 2);
        QVERIFY(!widget<QPushButton>("startButton")->isEnabled());
    }

    void saving_turned_LF_line_ends_into_CR_LF() {
        for (const std::string line_end : {"\n", "\r\n", "\r"}) {
            std::string text = kSmallPla;
            std::string own;
            for (char c : text) own += c == '\n' ? line_end : std::string(1, c);
            const std::string file = path("ends.pla");
            write_file(file, own);
            open(file);
            QTest::keyClick(&window_->work_area_edit(), Qt::Key_End, Qt::ControlModifier);
            type_into_work_area("# x");
            dialogs_->answers.push_back(MessageAnswer::yes);  // overwrite the file
            window_->command_save(false);
            QCOMPARE(state(), 4);
            QCOMPARE(read_file(file), own + "# x");
        }
        // A new text has CR LF.
        window_->command_new();
        type_into_work_area("a");
        QTest::keyClick(&window_->work_area_edit(), Qt::Key_Return);
        type_into_work_area("b");
        dialogs_->save_names.push_back(path("new.tab"));
        window_->command_save(false);
        QCOMPARE(read_file(path("new.tab")), std::string("a\r\nb"));
    }

    void emergency_window_keys() {
        bool ended = false;
        int progress = 0;
        EmergencyWindow emergency(window_.get(), [&] { return progress; }, [&] { ended = true; });
        QCOMPARE(emergency.row(0).trimmed(), QString("Vormel Time:") + QString(10, ' ') + "*");
        // The star moves one place when the progress position has changed since its last look.
        QTest::qWait(250);
        emergency.tick();
        progress = 2;
        QTest::qWait(250);
        emergency.tick();
        QCOMPARE(emergency.row(0).indexOf('*'), 24);
        QTest::qWait(250);
        emergency.tick();
        QCOMPARE(emergency.row(0).indexOf('*'), 24);
        QCOMPARE(emergency.row(3), QString(" Keep on Top   :     Press T").leftJustified(44));
        QTest::keyClick(&emergency, Qt::Key_T);
        QVERIFY(emergency.on_top());
        QCOMPARE(emergency.windowTitle(), QString("Emergency Exit On Top"));
        QCOMPARE(emergency.row(3), QString(" Keep in Background: Press B").leftJustified(44));
        QTest::keyClick(&emergency, Qt::Key_B);
        QVERIFY(!emergency.on_top());
        QCOMPARE(emergency.windowTitle(), QString("Emergency Exit"));
        QVERIFY(!ended);
        QTest::keyClick(&emergency, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(ended);
    }

    void emergency_window_without_a_frame_draws_its_own_close_button() {
        // It is transient for the main window, which every window manager keeps it above.
        bool ended = false;
        window_->show();
        EmergencyWindow emergency(window_.get(), [] { return 0; }, [&] { ended = true; });
        emergency.show();
        QVERIFY(QTest::qWaitForWindowExposed(&emergency));
        QCOMPARE(emergency.windowHandle()->transientParent(), window_->windowHandle());
        QCOMPARE(emergency.windowType(), Qt::Dialog);
        // Nothing frames it here (no window manager): its "Click [X]" line needs a button of its own.
        const int frameless_height = emergency.height();
        emergency.tick();
        QVERIFY(emergency.has_own_title_bar());
        QVERIFY(emergency.height() > frameless_height);
        const QRect box = emergency.close_box();
        QVERIFY(emergency.rect().contains(box));
        QTest::mouseClick(&emergency, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!ended);
        QTest::mouseClick(&emergency, Qt::LeftButton, {}, box.center());
        QVERIFY(ended);
    }

    void time_field_counts_while_a_step_runs() {
        // The run sets the total only as a step ends: a 60 s step left " 0.12 s" in view throughout.
        QLabel field;
        bool waiting_for_user = false;
        RunningClock clock(field, [&] { return waiting_for_user; });
        clock.show_total(" 0.12 s");
        clock.set_running(true);
        clock.advance(500);
        QCOMPARE(field.text(), QString(" 0.12 s"));
        clock.advance(1500);
        QCOMPARE(field.text(), QString(" 2.12 s"));
        clock.advance(60000);
        QCOMPARE(field.text(), QString(" 62.1 s"));
        // A new total from the run replaces the count, and the next step counts from it.
        clock.show_total(" 70.5 s");
        clock.advance(999);
        QCOMPARE(field.text(), QString(" 70.5 s"));
        clock.set_running(false);
        clock.advance(5000);
        QCOMPARE(field.text(), QString(" 70.5 s"));
        // A caption counts from zero.
        clock.show_total(" Time in sec");
        clock.set_running(true);
        clock.advance(3000);
        QCOMPARE(field.text(), QString(" 3.00 s"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
