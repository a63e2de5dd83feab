#pragma once
#include <QMainWindow>
#include <QThread>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "report/run_window.h"
#include "run/command_fsm.h"
#include "run/session.h"
#include "ui/layout_scale.h"
#include "ui/recent_files.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vormel {

class ElidedLabel;
struct FileProbe;
class FindDialog;
class HelpWindow;
class QtWorkArea;
class QueryBox;
class ResultViewWidget;
class RunningClock;
class TableEditor;
class ThreadedRunWindow;
class UiDialogs;
class WindowLayout;

// The main window: work area, step fields, status lines, options and commands. It is the GUI
// side of the run's window; the run itself executes on a worker thread and reaches the window
// through a ThreadedRunWindow.
class MainWindow : public QMainWindow, public RunWindow {
    Q_OBJECT
public:
    // scale: the layout factor; when not given, the largest that fits the window into screen_area
    // (the primary screen's work area when that is not given either).
    MainWindow(UiDialogs& dialogs, std::optional<double> scale = std::nullopt, QRect screen_area = {});
    ~MainWindow() override;

    // Program start with the command-line text (may be empty).
    void start_up(const std::string& command_line);

    Session& session() { return *session_; }
    // True while a command runs on the worker thread.
    bool busy() const { return busy_; }
    // run_state as the window sees it (a running command counts as a run under way).
    int shown_state() const;
    int text_size() const { return text_size_; }
    int progress_position() const { return progress_position_.load(); }
    QueryBox& query_box() { return *query_box_; }
    QPlainTextEdit& work_area_edit() { return *work_area_edit_; }
    QtWorkArea& work_area() { return *work_area_; }

    // Commands.
    void start_pressed();
    void quit_pressed();
    void command_new();
    void command_open();
    // Opens path as Open does after its dialog (File > Open Recent and a file dropped on the window).
    void open_input(const std::string& path);
    RecentFiles& recent_files() { return recent_files_; }
    void command_save(bool save_as);
    // 1 saved, 2 cancelled or failed, 0 when the report was saved instead (state 10).
    int save_input(bool save_as);
    int SaveAs_ReportFiles(bool save_as);
    // File > Import PLA...: a file of the common PLA dialect converted into the work area, as changed data.
    void command_import();
    // Imports path as Import PLA does after its dialog.
    void import_pla_file(const std::string& path);
    // File > Export Result...: the last run's result as .pla, .blif, .v or .eqn.
    void command_export();
    void change_text_size(int delta);
    // Selects the next occurrence; false (and the find box says so) when the text holds none.
    bool find_next(const QString& needle, bool match_case);
    void show_find_dialog();
    void text_to_clip();
    void copy_selection();
    void select_all();
    void print_work_area();
    void show_help();
    void show_about();
    // View > Result Pictures: the last result's Karnaugh maps and gate diagram in a window of their own.
    void show_result_view();
    // File > Table Editor: a grid for the loaded table (or a new one); a saved table opens here.
    void show_table_editor();
    void toggle_page_by_page();
    void update_menu_enabling();
    // A run went through Final Results: its result can be exported and drawn, even when its
    // report files could not be written.
    bool result_kept() const;

    // RunWindow on the GUI thread.
    void set_step_field(int step, StepPart part, std::string_view text, StepLook look) override;
    void set_status_line(std::string_view text) override;
    void set_polarity_line(std::string_view text) override;
    void set_time_text(std::string_view text) override;
    void set_prompt(std::string_view text, Rgb colour) override;
    void set_progress(int position) override;
    void set_swapping_visible(bool visible) override;
    void set_start_caption(std::string_view caption) override;
    void set_quit_caption(std::string_view caption) override;
    void set_start_quit_enabled(bool enabled) override;
    void set_file_buttons_enabled(bool enabled) override;
    void set_option_enabled(Option option, bool enabled) override;
    void show_prime_method(int method) override;
    void set_run_phase(RunPhase phase) override;
    void set_work_area_read_only(bool read_only) override;
    void show_input_file(std::string_view label, std::string_view path) override;
    void show_report_file(std::string_view label, std::string_view path) override;
    void preset_save_dialog(std::string_view path, int filter_index) override;
    void focus_start() override;
    QueryAnswer ask_query(QueryKind kind) override;
    MessageAnswer message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    int work_area_height() const override { return work_area_height_.load(); }
    void repaint() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Option values the user changed while a command ran; the worker takes them over at its next
    // window call, so the run never reads a value the GUI thread is writing.
    struct PendingSettings {
        std::mutex mutex;
        std::atomic<bool> dirty{false};
        std::optional<int> display_level, polarity_mode, prime_method, rolexa_iterations, page_by_page, text_height;
        std::optional<double> exact_limit_seconds;
        std::atomic<bool> close_requested{false};
    };

    void create_controls();
    void create_menus();
    void connect_options();
    void set_defaults();
    void enable_all_options();
    template <typename T>
    void set_option(std::optional<T> PendingSettings::*field, T RunOptions::*option, T value);
    // The method whose button is checked: the run's method once Generate Primes has locked the buttons.
    int chosen_method() const;
    // A Break while a step runs asks a cube engine to stop; the classic steps run to their end.
    void request_engine_stop();
    void exact_limit_edited(const QString& text);
    // Leaving the field with a value it cannot take: the last valid value comes back, and a message says why.
    void exact_limit_left();
    // The Tab key enters a group of radio buttons at its checked button, so the arrow keys select.
    void keep_tab_stop_on_checked(QButtonGroup* group);
    // A run has shown the file's number of inputs: Quine-McCluskey is closed to a file that is too
    // wide for it, until another text is loaded (inputs 0: not known).
    void set_known_inputs(int inputs);
    // A run found the file past the classic methods' 22 inputs or 100 outputs: Shared is chosen and
    // QMC and CNS are closed to it, until another text is loaded.
    void set_past_classic_limits(bool past);
    // A loaded file's size, read from its header, closes the methods that cannot take it before
    // the first Start.
    void choose_methods_for_size(const FileProbe& probe);
    void update_exact_limit_enabled();
    void set_page_length_source(int text_height_twips);
    void apply_pending_settings();
    void data_changed_check();
    // The editor's undo went back to the text as it was loaded or saved: the state before the change returns.
    void data_unchanged_again();
    void run_command();
    // After handle_break: whether the program ends (asks to save a changed text first).
    bool program_ends_after(BreakResult result);
    void command_finished();
    void open_query(QueryKind kind, std::function<void(QueryAnswer)> done);
    void apply_text_size(int size);
    // The copy's text [start, start + length) to the clipboard, read off the GUI thread.
    void copy_in_background(std::size_t start, std::size_t length);
    void set_check(QRadioButton* button);
    void show_path(QLineEdit* field, const std::string& label, const std::string& path);
    void set_control_colours(QWidget* widget, Rgb background, Rgb text);
    std::string current_directory_file(const std::string& name) const;
    // Reads the file once into the work area and as the text the next run parses; false when it
    // cannot be read (" Open Error") or memory runs out (the fault report, no file loaded).
    bool load_input_text(const std::string& path);
    // The input file as loaded (size and time), and a message at the end of a run when the file on
    // disk is no longer that one: the report describes the loaded text.
    void remember_input_stamp();
    void warn_if_input_changed();
    void after_failed_save();
    void refresh_result_view();
    // Whether a file may be opened now; asks to save a changed text first.
    bool may_open();
    void fill_recent_menu();
    // Asks before a chosen name replaces existing files; true when none exists or the user agrees.
    bool confirm_overwrite(const std::vector<std::string>& files);

    UiDialogs& dialogs_;
    LayoutScale scale_;
    std::unique_ptr<QtWorkArea> work_area_;
    std::unique_ptr<ThreadedRunWindow> run_window_;
    std::unique_ptr<Session> session_;
    PendingSettings pending_;
    QThread worker_thread_;
    QObject* worker_context_ = nullptr;
    bool busy_ = false;
    bool quitting_ = false;
    bool text_size_changing_ = false;
    int text_size_ = 9;
    std::atomic<int> work_area_height_{600};
    std::atomic<int> progress_position_{0};
    std::string start_directory_;
    std::string save_preset_;
    int save_filter_index_ = 1;
    std::string open_preset_;
    // The line ends of the loaded file, kept when the text is saved; CR LF for a new text.
    std::string line_end_ = "\r\n";
    std::string input_stamp_;
    // What the window showed before the text was changed, for an undo back to it.
    int state_before_change_ = 1;
    QString status_before_change_;
    int known_inputs_ = 0;
    bool past_classic_limits_ = false;

    QPlainTextEdit* work_area_edit_ = nullptr;
    QPushButton *new_button_, *open_button_, *save_button_, *start_button_, *quit_button_;
    QPushButton *smaller_button_, *larger_button_, *clip_button_;
    std::array<QRadioButton*, 4> polarity_buttons_{};
    std::array<QRadioButton*, 4> method_buttons_{};  // indexed by PrimeMethod
    QButtonGroup* method_group_;
    QLineEdit* exact_limit_field_;
    QString exact_limit_text_;  // the last valid text of the field
    std::array<QRadioButton*, 5> level_buttons_{};
    QButtonGroup *polarity_group_, *level_group_;
    QCheckBox* page_button_;
    QLineEdit* rolexa_field_;
    QGroupBox* text_size_group_;
    std::array<QLabel*, 6> step_labels_{};
    std::array<QLabel*, 6> step_statuses_{};
    QLineEdit *input_file_field_, *report_file_field_;
    ElidedLabel *status_line_, *polarity_line_;
    QLabel *time_field_, *time_strip_, *prompt_field_, *version_label_;
    QLabel* swapping_indicator_;
    RunningClock* running_clock_ = nullptr;
    QProgressBar* progress_bar_;
    QueryBox* query_box_;
    WindowLayout* layout_ = nullptr;
    FindDialog* find_dialog_;
    ResultViewWidget* result_view_ = nullptr;
    HelpWindow* help_window_ = nullptr;
    TableEditor* table_editor_ = nullptr;
    QMenu *file_menu_, *edit_menu_, *execution_menu_, *help_menu_, *recent_menu_;
    RecentFiles recent_files_;
    QAction *action_new_, *action_open_, *action_save_, *action_save_as_, *action_print_, *action_exit_;
    QAction *action_import_, *action_export_;
    QAction *action_cut_, *action_copy_, *action_paste_, *action_select_all_, *action_find_;
    QAction *action_start_, *action_break_, *action_page_, *action_help_, *action_about_;
};

}  // namespace vormel
