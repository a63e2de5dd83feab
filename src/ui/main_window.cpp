#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <filesystem>

#include "run/check_file.h"
#include "run/picture_files.h"
#include "run/input_path.h"
#include "run/command_fsm.h"
#include "input/file_probe.h"
#include "input/size_limits.h"
#include "ui/elided_label.h"
#include "ui/find_dialog.h"
#include "ui/help_window.h"
#include "ui/qt_work_area.h"
#include "ui/report_view.h"
#include "ui/running_clock.h"
#include "ui/query_box.h"
#include "ui/show_path.h"
#include "ui/threaded_run_window.h"
#include "ui/window_layout.h"
#include "ui/ui_dialogs.h"

#ifdef VORMEL_HAVE_SVG
#include <QSvgWidget>
#endif

namespace vormel {

namespace {

QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n");
}

QString css_rgb(Rgb c) { return QString("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b); }

struct StepCaption {
    const char* initial;
    int label_y, label_height, status_y, status_height;
};
constexpr StepCaption kSteps[6] = {{"Open File:", 1920, 495, 2400, 405},          {"Expand Input:", 3120, 555, 3600, 405},
                                   {"Generate Primes:", 4320, 555, 4800, 375},    {"Select Cover:", 5520, 555, 6000, 375},
                                   {"Bundle Optimization:", 6720, 555, 7200, 405}, {"Final Results:", 7920, 555, 8400, 525}};

// Shared, Exact and the exact method's time limit add three rows to the Prime Generation group; the
// option groups below it move down by them.
constexpr int kMethodRows = 3 * 240;

const char* const kQmcTip = " Quine-McCluskey Algorithm  ";
const char* const kCnsTip = " Consensus Algorithm  ";

}  // namespace

MainWindow::MainWindow(UiDialogs& dialogs, std::optional<double> scale, QRect screen_area) : dialogs_(dialogs) {
    QScreen* screen = QGuiApplication::primaryScreen();
    setObjectName("Vormel_Processor");
    setWindowTitle("Vormel Logic Optimization");
    start_directory_ = std::filesystem::current_path().string();
    // The menus come first: the controls fit below the menu bar as it really is, and below a title
    // bar and frame of a window manager, which the style's figure for title bars underrates.
    create_menus();
    const int decoration = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 2 * fontMetrics().height()) +
                           2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int reserved = menuBar()->sizeHint().height() + decoration;
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    if (!screen_area.isValid() && screen) screen_area = screen->availableGeometry();
    scale_ = scale ? LayoutScale::with_factor(*scale, dpi) : LayoutScale::for_area(screen_area.size(), reserved, dpi);
    create_controls();
    resize(layout_->design_size() + QSize(0, menuBar()->sizeHint().height()));

    work_area_ = std::make_unique<QtWorkArea>(*work_area_edit_);
    set_run_phase(RunPhase::idle);  // again, now that the report view exists
    run_window_ = std::make_unique<ThreadedRunWindow>(
        *this, *this, [this](QueryKind kind, std::function<void(QueryAnswer)> done) { open_query(kind, std::move(done)); },
        [this] {
            if (pending_.dirty.load() || pending_.close_requested.load()) apply_pending_settings();
        });
    session_ = std::make_unique<Session>(*work_area_, *run_window_);
    connect_options();
    update_exact_limit_enabled();

    worker_context_ = new QObject;
    worker_context_->moveToThread(&worker_thread_);
    worker_thread_.start();

    work_area_edit_->installEventFilter(this);
    work_area_edit_->viewport()->installEventFilter(this);
    connect(work_area_->report_view(), &ReportView::copy_requested, this, [this] { copy_selection(); });
    setAcceptDrops(true);
    connect(work_area_edit_, &QPlainTextEdit::textChanged, this, [this] { data_changed_check(); });
    connect(work_area_edit_->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
        if (changed) data_changed_check();
        else data_unchanged_again();
    });
}

MainWindow::~MainWindow() {
    pending_.close_requested = true;
    request_engine_stop();
    if (query_box_->is_open()) query_box_->answer(QueryAnswer::stop);
    worker_thread_.quit();
    worker_thread_.wait();
    delete worker_context_;
}

void MainWindow::create_controls() {
    // A window made smaller than the controls need scrolls them rather than cutting them off, so
    // it fits a small screen whatever scale it was laid out for.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName("centralScroller");
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // It scrolls with the mouse and follows the focus; as a Tab stop of its own it took typed keys nowhere.
    scroller->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(scroller);
    auto* central = new QWidget(scroller);
    central->setObjectName("centralArea");
    scroller->setWidget(central);
    const QFont sans7 = scale_.font("Microsoft Sans Serif", 7);
    const QFont group_font = scale_.font("Lucida Sans Unicode", 7);
    const QString white_background = "background-color: white;";

    auto button = [&](const char* name, const char* caption, const char* tip, QRect where) {
        auto* b = new QPushButton(caption, central);
        b->setObjectName(name);
        b->setToolTip(qt_text(tip));
        b->setGeometry(where);
        b->setFont(scale_.font("Microsoft Sans Serif", 8));
        return b;
    };
    // On a small screen the scaled rows are lower than the style's round or square indicator,
    // which was then cut off: the indicator shrinks to the row (drawn whole, a little smaller).
    auto with_indicator_room = [&](QAbstractButton& b, QRect where, QStyle::PixelMetric indicator) {
        b.setGeometry(where);
        const int room = where.height() - 2;
        if (b.style()->pixelMetric(indicator, nullptr, &b) <= room) return;
        const QString kind = qobject_cast<QRadioButton*>(&b) ? "QRadioButton" : "QCheckBox";
        b.setStyleSheet(QString("%1 { %2 } %1::indicator { width: %3px; height: %3px; }").arg(kind, white_background).arg(room));
    };
    auto option = [&](const char* name, const char* caption, const char* tip, QRect where) {
        auto* b = new QRadioButton(caption, central);
        b->setObjectName(name);
        b->setToolTip(qt_text(tip));
        b->setFont(sans7);
        b->setStyleSheet(white_background);
        with_indicator_room(*b, where, QStyle::PM_ExclusiveIndicatorHeight);
        return b;
    };
    auto group = [&](const char* name, const char* caption, QRect where) {
        auto* g = new QGroupBox(caption, central);
        g->setObjectName(name);
        g->setGeometry(where);
        g->setFont(group_font);
        g->setStyleSheet("QGroupBox { background-color: white; color: rgb(0,0,128); border: 1px solid rgb(160,160,160); "
                         "margin-top: 0.6em; } QGroupBox::title { subcontrol-origin: margin; left: 4px; color: rgb(0,0,128); }");
        g->lower();
        return g;
    };

    new_button_ = button("newButton", "New", "Edit NewText on Work Area => Ctrl+N", scale_.rect(360, 240, 495, 375));
    open_button_ = button("openButton", "Open", "Open File => Ctrl+O", scale_.rect(960, 240, 495, 375));
    save_button_ = button("saveButton", "Save", "Save File => Ctrl+S or SaveAs... => Ctrl+E", scale_.rect(1560, 240, 495, 375));

    polarity_buttons_[0] = option("polarity1Set", "1-Set", " Normal Polarity for all Outputs (uses Minterms)  ", scale_.rect(14520, 1680, 1185, 195));
    polarity_buttons_[1] = option("polarity0Set", "0-Set", " Inverted Polarity for all Outputs (uses Maxterms)  ", scale_.rect(14520, 1920, 1215, 195));
    polarity_buttons_[2] = option("polarityAutomatic", "Automatic", " Automatic choice of optimal Polarity ", scale_.rect(14520, 2160, 1185, 195));
    // Wider than the other three: at small scales the caption was cut.
    polarity_buttons_[3] = option("polarityCombination", "Combination",
                                  " Combinations of all Output Polarities tested. \r\n Attention: May take very long! ",
                                  scale_.rect(14520, 2400, 1395, 195));
    polarity_group_ = new QButtonGroup(this);
    for (QRadioButton* b : polarity_buttons_) polarity_group_->addButton(b);
    method_buttons_[method_qmc] =
        option("methodQmc", "QMC", kQmcTip, scale_.rect(14520, 3240, 1185, 195));
    method_buttons_[method_cns] = option("methodCns", "CNS", kCnsTip, scale_.rect(14520, 3480, 1185, 195));
    method_buttons_[method_shared] = option("methodShared", "Shared",
                                            " Multi-Output Heuristic on Cubes: all Outputs together, sharing Terms  ",
                                            scale_.rect(14520, 3720, 1185, 195));
    method_buttons_[method_exact] = option("methodExact", "Exact",
                                           " Proven Minimum of all Outputs together (all Primes, Branch and Cut). \r\n"
                                           " Attention: Stops at the Time Limit in sec (Limit field below)! ",
                                           scale_.rect(14520, 3960, 1185, 195));
    method_group_ = new QButtonGroup(this);
    for (int method : {method_qmc, method_cns, method_shared, method_exact}) {
        method_group_->addButton(method_buttons_[method], method);
    }
    exact_limit_field_ = new QLineEdit("60", central);
    exact_limit_field_->setObjectName("exactLimitField");
    exact_limit_field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    exact_limit_field_->setMaxLength(8);
    exact_limit_field_->setToolTip(qt_text(" Time Limit of the Exact Method in sec (above 0, up to 86400). "));
    exact_limit_field_->setFont(sans7);
    {
        // In a row of its own under Exact, as wide as the longest limit needs at this scale.
        const QRect design = scale_.rect(15030, 4170, 720, 255);
        const int width = std::max(design.width(), QFontMetrics(sans7).horizontalAdvance("86400.5") + 10);
        exact_limit_field_->setGeometry(design.right() + 1 - width, design.top(), width, design.height());
    }
    auto* limit_label = new QLabel(" Limit:", central);
    limit_label->setObjectName("exactLimitLabel");
    limit_label->setGeometry(scale_.rect(14520, 4200, 495, 195));
    limit_label->setFont(sans7);
    limit_label->setStyleSheet(white_background);
    exact_limit_field_->installEventFilter(this);
    exact_limit_text_ = exact_limit_field_->text();
    auto* seconds_label = new QLabel("s", central);
    seconds_label->setObjectName("exactLimitUnit");
    seconds_label->setGeometry(scale_.rect(15765, 4200, 165, 195));
    seconds_label->setFont(sans7);
    seconds_label->setStyleSheet(white_background);

    rolexa_field_ = new QLineEdit("---", central);
    rolexa_field_->setObjectName("rolexaField");
    rolexa_field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rolexa_field_->setToolTip(qt_text(" Enter a number for the Rolexa Iterations (0 for no action; up to 9999). \r\n"
                                      " Attention: Large numbers may cause very long execution times! "));
    rolexa_field_->setGeometry(scale_.rect(15240, 4320 + kMethodRows, 615, 255));
    rolexa_field_->setFont(sans7);
    rolexa_field_->installEventFilter(this);

    const char* level_names[5] = {"level0", "level1", "level2", "level3", "level4"};
    const char* level_captions[5] = {"0-Minimum", "1-Results", "2-In/Outputs", "3-Main Steps", "4-Details"};
    // All as wide as Page-by-Page below them: the design's widths cut the captions at small scales.
    const char* level_tips[5] = {" Show minimum Results  ", " Show Results  ", " Show Inputs and Outputs  ",
                                 " Show Main Steps. May be long!  ", " Show details of all Steps \r\n Attention: May be very long! "};
    level_group_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        level_buttons_[i] = option(level_names[i], level_captions[i], level_tips[i],
                                   scale_.rect(14520, 5280 + kMethodRows + 240 * i, 1455, 195));
        level_group_->addButton(level_buttons_[i]);
    }
    // A switch, so a check box.
    page_button_ = new QCheckBox("Page-by-Page", central);
    page_button_->setObjectName("pageByPage");
    page_button_->setToolTip("Display text page by page when On.  Skip rest of display by 'Interrupt'. Toggle by Ctrl+B");
    page_button_->setFont(sans7);
    page_button_->setStyleSheet(white_background);
    with_indicator_room(*page_button_, scale_.rect(14520, 8040 + kMethodRows, 1455, 255), QStyle::PM_IndicatorHeight);

    smaller_button_ =
        button("smallerText", "<<", "Decrease the Text Size by 1", scale_.rect(14520, 7080 + kMethodRows, 615, 285));
    larger_button_ =
        button("largerText", ">>", "Increase the Text Size by 1", scale_.rect(15360, 7080 + kMethodRows, 615, 285));
    clip_button_ = button("textToClip", "Text --> Clip",
                          "Copy the complete Work Area to the Clipboard as ASCII Text (no formatting)  ",
                          scale_.rect(14520, 7560 + kMethodRows, 1455, 375));
    clip_button_->setFont(sans7);
    // Tab follows the layout: Page-by-Page sits below << >> and Text --> Clip.
    QWidget::setTabOrder(clip_button_, page_button_);
    quit_button_ = button("quitButton", "Quit", " Quit = Exit program / Break = interrupt execution  and ask for Re-Start",
                          scale_.rect(14400, 9960, 1695, 375));
    quit_button_->setFont(scale_.font("Microsoft Sans Serif", 9));
    start_button_ = button("startButton", "Start", " Start/Continue/Re-Start ", scale_.rect(14400, 10440, 1695, 375));
    start_button_->setFont(scale_.font("Microsoft Sans Serif", 9));

    // One width for every group, the column's width, so their edges line up.
    group("polarityGroup", "Polarity", scale_.rect(14400, 1320, 1695, 1455));
    group("primeGroup", "Prime Generation", scale_.rect(14400, 2880, 1695, 945 + kMethodRows));
    group("rolexaGroup", "ROLEXA", scale_.rect(14400, 3960 + kMethodRows, 1695, 765));
    auto* range_label = new QLabel(" 0-9999 :", central);
    range_label->setObjectName("rolexaRange");
    range_label->setGeometry(scale_.rect(14520, 4320 + kMethodRows, 645, 195));
    range_label->setFont(sans7);
    range_label->setStyleSheet(white_background);
    group("levelGroup", "Display Level", scale_.rect(14400, 4920 + kMethodRows, 1695, 1695));
    text_size_group_ = group("textSizeGroup", "TextSize:", scale_.rect(14400, 6720 + kMethodRows, 1695, 1695));

    const QFont arial9 = scale_.font("Arial", 9);
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(kSteps[i].initial, central);
        label->setObjectName(QString("stepLabel%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setGeometry(scale_.rect(360, kSteps[i].label_y, 1695, kSteps[i].label_height));
        label->setFont(arial9);
        step_labels_[i] = label;
        auto* status = new QLabel(central);
        status->setObjectName(QString("stepStatus%1").arg(i));
        status->setAlignment(Qt::AlignCenter);
        status->setGeometry(scale_.rect(360, kSteps[i].status_y, 1695, kSteps[i].status_height));
        status->setFont(arial9);
        step_statuses_[i] = status;
    }
    step_labels_[0]->setToolTip("The Execution steps are displayed here: Futute, current and past");

    const QFont lucida8 = scale_.font("Lucida Sans Unicode", 8);
    auto file_field = [&](const char* name, const char* text, const char* tip, QRect where) {
        auto* field = new QLineEdit(text, central);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setToolTip(qt_text(tip));
        field->setGeometry(where);
        field->setFont(lucida8);
        field->setStyleSheet("background-color: rgb(255,255,222);");
        // Clicked into to scroll, never reached by Tab: a focus passed on there selected its text.
        field->setFocusPolicy(Qt::ClickFocus);
        return field;
    };
    input_file_field_ = file_field("inputFileField", " Input File:",
                                   " Path and Name of Input File.\r\n The Path is possible shortend by .... If too long scroll to the right.",
                                   scale_.rect(2520, 240, 5655, 375));
    report_file_field_ = file_field("reportFileField", " Report File:",
                                    " Path and Name of Report File(s).\r\n The Path is possible shortend by .... If too long scroll to the right.",
                                    scale_.rect(8280, 240, 5655, 375));
    auto status_bar = [&](const char* name, const char* text, const char* tip, QRect where) {
        auto* line = new ElidedLabel(text, central);
        line->setObjectName(name);
        line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        line->setToolTip(qt_text(tip));
        line->setGeometry(where);
        line->setFont(lucida8);
        line->set_full_text(text);
        return line;
    };
    status_line_ = status_bar("statusLine", " <no file>", " Status of last Action. ", scale_.rect(2520, 720, 5655, 285));
    polarity_line_ = status_bar("polarityLine", "",
                                " Polarity of each Function: 1 is normal and 0 is inverted. \r\n"
                                " In case of 0 the Function has to be inverted to fulfil the Input Spec. ",
                                scale_.rect(8280, 720, 5655, 285));

    time_field_ = new QLabel("Time in sec", central);
    time_field_->setObjectName("timeField");
    time_field_->setAlignment(Qt::AlignCenter);
    time_field_->setToolTip("Display of total time in sec  ");
    time_field_->setGeometry(scale_.rect(360, 10560, 1695, 300));
    time_field_->setFont(scale_.font("Arial", 8));
    running_clock_ = new RunningClock(
        *time_field_, [this] { return query_box_ && query_box_->is_open(); }, this);
    time_strip_ = new QLabel(central);
    time_strip_->setObjectName("timeStrip");
    time_strip_->setToolTip("Display of total time in sec  ");
    time_strip_->setGeometry(scale_.rect(360, 10440, 1695, 105));
    progress_bar_ = new QProgressBar(central);
    progress_bar_->setObjectName("progressBar");
    progress_bar_->setRange(0, 100);
    progress_bar_->setValue(0);
    progress_bar_->setTextVisible(false);
    progress_bar_->setEnabled(false);
    progress_bar_->setGeometry(scale_.rect(360, 9960, 1695, 270));

    work_area_edit_ = new QPlainTextEdit(central);
    work_area_edit_->setObjectName("workArea");
    work_area_edit_->setGeometry(scale_.rect(2520, 1080, 11445, 9975));
    work_area_edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    work_area_edit_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Tab and Shift+Tab leave the editor like any other field; the reader turns tabs into blanks anyway.
    work_area_edit_->setTabChangesFocus(true);
    text_size_ = std::max(2, static_cast<int>(std::lround(9 * scale_.factor)));
    work_area_edit_->setFont(monospaced_font(text_size_));
    text_size_group_->setTitle(QString("TextSize: %1 ").arg(text_size_));

    prompt_field_ = new QLabel(central);
    prompt_field_->setObjectName("promptField");
    prompt_field_->setAlignment(Qt::AlignCenter);
    prompt_field_->setGeometry(scale_.rect(14520, 9360, 1455, 495));
    prompt_field_->setFont(arial9);
    set_control_colours(prompt_field_, colours::white, colours::navy);

    version_label_ = new QLabel("Version", central);
    version_label_->setObjectName("versionLabel");
    version_label_->setAlignment(Qt::AlignCenter);
    version_label_->setGeometry(scale_.rect(14520, 960, 1455, 195));
    version_label_->setFont(scale_.font("Lucida Sans Unicode", 6));

#ifdef VORMEL_HAVE_SVG
    auto* logo = new QSvgWidget(":/vormel_logo.svg", central);
#else
    auto* logo = new QLabel("Vormel", central);
    logo->setAlignment(Qt::AlignCenter);
    logo->setStyleSheet("background-color: rgb(0,0,128); color: rgb(192,255,255); font-weight: bold;");
#endif
    logo->setObjectName("logo");
    logo->setGeometry(scale_.rect(14400, 240, 1575, 615));

    swapping_indicator_ = new QLabel("Now Swapping", central);
    swapping_indicator_->setObjectName("swappingIndicator");
    swapping_indicator_->setAlignment(Qt::AlignCenter);
    swapping_indicator_->setToolTip("Indicate swapping when usage of physical memory goes above 99%");
    swapping_indicator_->setGeometry(scale_.rect(360, 9720, 1575, 240));
    swapping_indicator_->setFont(scale_.font("Arial", 8));
    swapping_indicator_->setStyleSheet("color: rgb(255,0,0);");
    swapping_indicator_->hide();

    query_box_ = new QueryBox(scale_, this);
    find_dialog_ = new FindDialog(this);
    connect(find_dialog_, &FindDialog::find_requested, this, &MainWindow::find_next);

    connect(new_button_, &QPushButton::clicked, this, &MainWindow::command_new);
    connect(open_button_, &QPushButton::clicked, this, &MainWindow::command_open);
    connect(save_button_, &QPushButton::clicked, this, [this] { command_save(false); });
    connect(start_button_, &QPushButton::clicked, this, &MainWindow::start_pressed);
    connect(quit_button_, &QPushButton::clicked, this, &MainWindow::quit_pressed);
    connect(smaller_button_, &QPushButton::clicked, this, [this] { change_text_size(-1); });
    connect(larger_button_, &QPushButton::clicked, this, [this] { change_text_size(1); });
    connect(clip_button_, &QPushButton::clicked, this, &MainWindow::text_to_clip);

    set_run_phase(RunPhase::idle);
    set_control_colours(time_field_, colours::light_cyan, colours::navy);
    set_control_colours(time_strip_, colours::light_cyan, colours::black);

    // The rows from the prompt down follow the bottom edge; the work area and the fields above it
    // take the width between the step column and the option column.
    layout_ = new WindowLayout(*central, QSize(scale_.pixels(16500), scale_.pixels(11100)), scale_.pixels(2520),
                               scale_.pixels(13965), scale_.pixels(9300));
    layout_->capture();
}

void MainWindow::create_menus() {
    auto item = [this](QMenu* menu, const char* name, const char* text, const char* keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        if (keys) action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    file_menu_ = menuBar()->addMenu(" &File ");
    action_new_ = item(file_menu_, "actionNew", "New\tCtrl+N", "Ctrl+N", [this] { command_new(); });
    action_open_ = item(file_menu_, "actionOpen", "Open...\tCtrl+O", "Ctrl+O", [this] { command_open(); });
    action_save_ = item(file_menu_, "actionSave", "Save\tCtrl+S", "Ctrl+S", [this] { command_save(false); });
    action_save_as_ = item(file_menu_, "actionSaveAs", "Save As..\tCtrl+E", "Ctrl+E", [this] { command_save(true); });
    recent_menu_ = file_menu_->addMenu("Open Recent");
    recent_menu_->setObjectName("recentMenu");
    connect(recent_menu_, &QMenu::aboutToShow, this, &MainWindow::fill_recent_menu);
    file_menu_->addSeparator();
    action_import_ = item(file_menu_, "actionImport", "Import PLA...", nullptr, [this] { command_import(); });
    action_export_ = item(file_menu_, "actionExport", "Export Result...", nullptr, [this] { command_export(); });
    item(file_menu_, "actionTableEditor", "Table Editor...\tCtrl+T", "Ctrl+T", [this] { show_table_editor(); });
    file_menu_->addSeparator();
    action_print_ = item(file_menu_, "actionPrint", "Print\tCtrl+P", "Ctrl+P", [this] { print_work_area(); });
    file_menu_->addSeparator();
    action_exit_ = item(file_menu_, "actionExit", "Exit\tAlt+F4", nullptr, [this] { close(); });

    // Cut, copy and paste keep the work area's own keys.
    edit_menu_ = menuBar()->addMenu(" &Edit ");
    action_cut_ = item(edit_menu_, "actionCut", "Cut\tCtrl+X", nullptr, [this] { work_area_edit_->cut(); });
    action_copy_ = item(edit_menu_, "actionCopy", "Copy\tCtrl+C", nullptr, [this] { copy_selection(); });
    action_paste_ = item(edit_menu_, "actionPaste", "Paste\tCtrl+V", nullptr, [this] { work_area_edit_->paste(); });
    action_select_all_ = item(edit_menu_, "actionSelectAll", "Select All\tCtrl+A", "Ctrl+A", [this] { select_all(); });
    edit_menu_->addSeparator();
    action_find_ = item(edit_menu_, "actionFind", "Find...\tCtrl+F", "Ctrl+F", [this] { show_find_dialog(); });

    execution_menu_ = menuBar()->addMenu("Execution");
    action_start_ = item(execution_menu_, "actionStart", "(Re-)Start / Continue\tCtrl+G", "Ctrl+G", [this] { start_pressed(); });
    execution_menu_->addSeparator();
    action_break_ = item(execution_menu_, "actionBreak", "Break / Interrupt / Quit\tCtrl+Q", "Ctrl+Q", [this] { quit_pressed(); });
    execution_menu_->addSeparator();
    action_page_ = item(execution_menu_, "actionPageByPage", "Page-by-Page\tCtrl+B", "Ctrl+B", [this] { toggle_page_by_page(); });

    item(menuBar()->addMenu(" &View "), "actionResultView", "Result Pictures...", nullptr, [this] { show_result_view(); });

    help_menu_ = menuBar()->addMenu(" &Help ");
    action_help_ = item(help_menu_, "actionHelp", "Vormel_Help\tCtrl+H", "Ctrl+H", [this] { show_help(); });
    help_menu_->addSeparator();
    action_about_ = item(help_menu_, "actionAbout", "About...", nullptr, [this] { show_about(); });

    for (QMenu* menu : {file_menu_, edit_menu_, execution_menu_, help_menu_}) {
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::update_menu_enabling);
    }
}

void MainWindow::fill_recent_menu() {
    recent_menu_->clear();
    const bool can_open = !busy_ && shown_state() < 5;
    for (const QString& file : recent_files_.files()) {
        QAction* entry = recent_menu_->addAction(file);
        entry->setEnabled(can_open);
        connect(entry, &QAction::triggered, this, [this, file] {
            if (!QFileInfo::exists(file)) {
                // A file gone since is dropped from the list rather than offered again.
                recent_files_.remove(file);
                message_box(" Open Error", "Requested File is not accessible:  \r\n\r\n" + file.toStdString(),
                            MessageIcon::error, MessageButtons::ok);
                return;
            }
            if (may_open()) open_input(file.toStdString());
        });
    }
    recent_menu_->setEnabled(!recent_menu_->isEmpty());
}

namespace {

// The one local file of a drag, or empty.
QString dragged_file(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!dragged_file(event->mimeData()).isEmpty() && !busy_ && shown_state() < 5) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = dragged_file(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    if (may_open()) open_input(file.toStdString());
}

void MainWindow::set_past_classic_limits(bool past) {
    past_classic_limits_ = past;
    if (past) {
        const QString tip(" QMC and CNS list every combination and take up to 22 Inputs and 100 Outputs; this File has "
                          "more: Shared and Exact work on cubes at any width. ");
        for (int method : {method_qmc, method_cns}) {
            method_buttons_[method]->setEnabled(false);
            method_buttons_[method]->setToolTip(tip);
        }
        if (!cube_engine(chosen_method())) method_buttons_[method_shared]->setChecked(true);
        return;
    }
    method_buttons_[method_cns]->setToolTip(kCnsTip);
    if (!busy_) method_buttons_[method_cns]->setEnabled(true);
    set_known_inputs(known_inputs_);
}

bool MainWindow::result_kept() const {
    return !busy_ && session_->ctx.run_state == 10 && has_final_result(session_->problem);
}

void MainWindow::choose_methods_for_size(const FileProbe& probe) {
    const SizeLimits classic = size_limits(method_cns);
    if (probe.inputs > classic.inputs || probe.outputs > classic.outputs) {
        set_past_classic_limits(true);
    } else if (probe.inputs > 0) {
        set_known_inputs(probe.inputs);
    }
}

void MainWindow::set_known_inputs(int inputs) {
    known_inputs_ = inputs;
    if (inputs == 0) {
        // Another text: what the last run found of the old one no longer holds.
        session_->problem.past_classic_limits = false;
        if (past_classic_limits_) set_past_classic_limits(false);
    }
    if (past_classic_limits_) return;
    QRadioButton* qmc = method_buttons_[method_qmc];
    if (known_inputs_ > max_qmc_inputs) {
        qmc->setEnabled(false);
        qmc->setToolTip(QString(" Quine-McCluskey works on up to %1 Inputs; this File has %2: Consensus is used instead. ")
                            .arg(max_qmc_inputs)
                            .arg(known_inputs_));
    } else {
        qmc->setToolTip(kQmcTip);
        if (shown_state() < 5) qmc->setEnabled(true);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A file dragged onto the work area opens as on the rest of the window; dragged text stays the editor's.
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop;
    if (drag && watched == work_area_edit_->viewport() && !dragged_file(static_cast<QDropEvent*>(event)->mimeData()).isEmpty()) {
        if (event->type() == QEvent::Drop) {
            dropEvent(static_cast<QDropEvent*>(event));
        } else {
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
        }
        return true;
    }
    if (watched == rolexa_field_ && event->type() == QEvent::FocusOut && rolexa_field_->text().isEmpty()) {
        rolexa_field_->setText("0");
    }
    if (watched == exact_limit_field_ && event->type() == QEvent::FocusOut) exact_limit_left();
    if (watched == work_area_edit_ && event->type() == QEvent::Resize) {
        work_area_height_ = work_area_edit_->viewport()->height();
        set_page_length_source(text_size_ * 20);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::set_page_length_source(int text_height_twips) {
    if (!busy_) {
        session_->ctx.report.set_text_size(text_height_twips);
        return;
    }
    std::lock_guard lock(pending_.mutex);
    pending_.text_height = text_height_twips;
    pending_.dirty = true;
}

int MainWindow::shown_state() const { return busy_ ? 5 : session_->ctx.run_state; }

void MainWindow::update_menu_enabling() {
    const int state = shown_state();
    for (QAction* action : {action_new_, action_open_, action_save_, action_save_as_, action_print_, action_cut_,
                            action_copy_, action_paste_, action_select_all_, action_find_, action_start_}) {
        action->setEnabled(true);
    }
    auto disable = [](std::initializer_list<QAction*> actions) {
        for (QAction* action : actions) action->setEnabled(false);
    };
    action_export_->setEnabled(result_kept());
    if (state == 1) {
        disable({action_save_, action_save_as_, action_print_, action_cut_, action_copy_, action_paste_,
                 action_select_all_, action_find_, action_start_});
    } else if (state >= 5 && state <= 9) {
        disable({action_new_, action_open_, action_save_, action_save_as_, action_cut_, action_paste_});
    } else if (state == 10) {
        disable({action_new_, action_open_, action_save_, action_cut_, action_paste_});
    }
    action_import_->setEnabled(action_open_->isEnabled());
}

void MainWindow::data_changed_check() {
    if (text_size_changing_ || work_area_->programmatic_change() || busy_) return;
    RunContext& ctx = session_->ctx;
    if (ctx.run_state > 4 || !work_area_edit_->document()->isModified()) return;
    if (ctx.run_state != 3) {
        state_before_change_ = ctx.run_state;
        status_before_change_ = status_line_->full_text();
        // Another text: its width is not known any more.
        set_known_inputs(0);
    }
    if (ctx.run_state == 1) {
        ctx.input_file = current_directory_file("NoName.tab");
        preset_save_dialog(ctx.input_file, 1);
        show_input_file("Input File: ", ctx.input_file);
    }
    ctx.run_state = 3;
    set_step_status(ctx, 0, "...", 1);
    set_status_line(" Data changed ... =>  Ctrl+Save(As) and [Start]");
    start_button_->setEnabled(false);
    update_menu_enabling();
}

void MainWindow::data_unchanged_again() {
    if (text_size_changing_ || work_area_->programmatic_change() || busy_) return;
    RunContext& ctx = session_->ctx;
    if (ctx.run_state != 3) return;
    // A text typed into the empty window stays a new text, named NoName.
    ctx.run_state = state_before_change_ == 1 ? 2 : state_before_change_;
    const bool runnable = ctx.run_state == 4;
    set_step_status(ctx, 0, runnable ? "done" : "...", 1);
    set_status_line(state_before_change_ == 1 ? std::string(" Edit New Text File") : status_before_change_.toStdString());
    start_button_->setEnabled(runnable);
    update_menu_enabling();
}

std::string MainWindow::current_directory_file(const std::string& name) const {
    return (std::filesystem::current_path() / name).string();
}

// ---- the run ----

void MainWindow::start_pressed() {
    if (query_box_->is_open()) {
        query_box_->answer(QueryAnswer::proceed);
        return;
    }
    if (busy_) return;
    const int state = session_->ctx.run_state;
    if (state >= 1 && state <= 3) return;
    run_command();
}

void MainWindow::quit_pressed() {
    if (query_box_->is_open()) {
        query_box_->answer(QueryAnswer::stop);
        return;
    }
    if (busy_) {
        request_engine_stop();
        return;
    }
    if (program_ends_after(handle_break(*session_))) {
        quitting_ = true;
        close();
    }
    update_menu_enabling();
}

void MainWindow::request_engine_stop() {
    // The engine polls the flag between pieces of work; the run driver then ends the run as a user break.
    if (cube_engine(chosen_method())) session_->ctx.stop_requested = true;
}

bool MainWindow::program_ends_after(BreakResult result) {
    if (result == BreakResult::quit) return true;
    if (result != BreakResult::ask_save_first) return false;
    const MessageAnswer answer = message_box(" Vormel Quit", " Yes: Save changes before Quit\r\n  No: Quit without saving",
                                             MessageIcon::question, MessageButtons::yes_no_cancel);
    if (answer == MessageAnswer::cancel) return false;
    return answer == MessageAnswer::no || save_input(false) != 2;
}

void MainWindow::run_command() {
    // The run's report files come from the text copy; the Save that made an edited text runnable
    // has refreshed it already, this keeps it so whatever path led here.
    work_area_->refresh_copy();
    busy_ = true;
    running_clock_->set_running(true);
    update_menu_enabling();
    QMetaObject::invokeMethod(
        worker_context_,
        [this] {
            start_command(*session_);
            QMetaObject::invokeMethod(this, [this] { command_finished(); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void MainWindow::command_finished() {
    busy_ = false;
    running_clock_->set_running(false);
    apply_pending_settings();
    RunContext& ctx = session_->ctx;
    if (ctx.run_state == -1) {
        // The machine met a state it does not know; its message box has been shown.
        QApplication::exit(1);
        return;
    }
    if (ctx.report.text_size() != text_size_) apply_text_size(ctx.report.text_size());
    // Once expanded, the problem tells how wide the file is.
    if (ctx.run_state >= 5 && session_->problem.inputs() > 0) set_known_inputs(session_->problem.inputs());
    if (session_->problem.past_classic_limits) set_past_classic_limits(true);
    // Re-Start has read the file again.
    if (ctx.run_state == 4) remember_input_stamp();
    if (ctx.run_state == 10) warn_if_input_changed();
    if (ctx.run_state == 10 && session_->report_saved && session_->problem.qmc_replaced) {
        // The last word of the run must not hide that the chosen method did not run.
        set_status_line(" *** Report Files Saved; CNS was used: QMC takes up to " + std::to_string(max_qmc_inputs) + " Inputs");
    }
    if (ctx.run_state == 10 && !session_->report_saved && result_kept()) {
        // The write failure's box has named the file; the result itself is not lost.
        set_status_line(" *** Write failure: Report NOT saved, result kept => Save As elsewhere, Export Result, Pictures");
    }
    update_menu_enabling();
    refresh_result_view();
    if (pending_.close_requested) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (busy_) {
        // The run ends as a user break at its next window call (a cube engine is asked to stop
        // first, as it may make none for long); the window closes after it.
        pending_.close_requested = true;
        request_engine_stop();
        if (query_box_->is_open()) query_box_->answer(QueryAnswer::stop);
        event->ignore();
        return;
    }
    if (!quitting_) {
        const BreakResult result = handle_break(*session_);
        // A run under way ends as a user break and the window closes.
        if (result != BreakResult::run_ended && !program_ends_after(result)) {
            pending_.close_requested = false;
            event->ignore();
            update_menu_enabling();
            return;
        }
    }
    find_dialog_->close();
    if (help_window_) help_window_->close();
    query_box_->close();
    event->accept();
}

void MainWindow::open_query(QueryKind kind, std::function<void(QueryAnswer)> done) {
    // The page is shown in full before the box asks about it.
    if (work_area_->has_backlog() && !pending_.close_requested) {
        QTimer::singleShot(10, this, [this, kind, done] { open_query(kind, done); });
        return;
    }
    work_area_->caret_to_end();
    if (pending_.close_requested) {
        done(QueryAnswer::stop);
        return;
    }
    query_box_->open(kind, std::move(done));
}

// ---- the run's window operations, on the GUI thread ----

void MainWindow::set_control_colours(QWidget* widget, Rgb background, Rgb text) {
    widget->setStyleSheet(QString("background-color: %1; color: %2;").arg(css_rgb(background), css_rgb(text)));
}

void MainWindow::set_step_field(int step, StepPart part, std::string_view text, StepLook look) {
    if (step < 0 || step > 5) return;
    QLabel* field = part == StepPart::label ? step_labels_[step] : step_statuses_[step];
    if (!text.empty()) field->setText(qt_text(text));
    static constexpr Rgb backgrounds[4] = {colours::light_green, colours::light_cyan, colours::light_grey, colours::light_cyan};
    const Rgb text_colour = look == StepLook::error ? colours::red : colours::navy;
    const int index = static_cast<int>(look);
    set_control_colours(field, backgrounds[index], text_colour);
    field->setEnabled(look == StepLook::current || look == StepLook::error);
}

void MainWindow::set_status_line(std::string_view text) { status_line_->set_full_text(qt_text(text)); }
void MainWindow::set_polarity_line(std::string_view text) { polarity_line_->set_full_text(qt_text(text)); }
void MainWindow::set_time_text(std::string_view text) { running_clock_->show_total(qt_text(text)); }

void MainWindow::set_prompt(std::string_view text, Rgb colour) {
    const QString lines = qt_text(text);
    // The design's face is wider here than where it was drawn: the font shrinks until every line fits.
    QFont font = scale_.font("Arial", 9);
    const int room = prompt_field_->contentsRect().width() - 2;
    auto fits = [&] {
        const QFontMetrics metrics(font);
        for (const QString& line : lines.split('\n')) {
            if (metrics.horizontalAdvance(line) > room) return false;
        }
        return true;
    };
    while (!fits() && font.pointSizeF() > 4) font.setPointSizeF(font.pointSizeF() - 0.5);
    prompt_field_->setFont(font);
    prompt_field_->setText(lines);
    set_control_colours(prompt_field_, colours::white, colour);
}

void MainWindow::set_progress(int position) {
    progress_position_ = position;
    progress_bar_->setValue(std::clamp(position, 0, 100));
}

void MainWindow::set_swapping_visible(bool visible) { swapping_indicator_->setVisible(visible); }
void MainWindow::set_start_caption(std::string_view caption) { start_button_->setText(qt_text(caption)); }
void MainWindow::set_quit_caption(std::string_view caption) { quit_button_->setText(qt_text(caption)); }

void MainWindow::set_start_quit_enabled(bool enabled) {
    // A disabled button hands its focus on along the tab order; the work area takes it instead.
    if (!enabled && (start_button_->hasFocus() || quit_button_->hasFocus())) work_area_edit_->setFocus();
    start_button_->setEnabled(enabled);
    // A cube engine can be stopped while its step runs, so Break stays usable then.
    quit_button_->setEnabled(enabled || (busy_ && cube_engine(chosen_method())));
}

void MainWindow::set_file_buttons_enabled(bool enabled) {
    new_button_->setEnabled(enabled);
    open_button_->setEnabled(enabled);
    save_button_->setEnabled(enabled);
}

void MainWindow::set_option_enabled(Option option, bool enabled) {
    switch (option) {
        case Option::polarity:
            for (QRadioButton* b : polarity_buttons_) b->setEnabled(enabled);
            break;
        case Option::method_qmc:
            method_buttons_[method_qmc]->setEnabled(enabled && known_inputs_ <= max_qmc_inputs && !past_classic_limits_);
            break;
        case Option::method_cns: method_buttons_[method_cns]->setEnabled(enabled && !past_classic_limits_); break;
        case Option::method_shared: method_buttons_[method_shared]->setEnabled(enabled); break;
        case Option::method_exact:
            method_buttons_[method_exact]->setEnabled(enabled);
            update_exact_limit_enabled();
            break;
        case Option::rolexa: rolexa_field_->setEnabled(enabled); break;
        case Option::display_level:
            for (QRadioButton* b : level_buttons_) b->setEnabled(enabled);
            break;
        case Option::page_by_page: page_button_->setEnabled(enabled); break;
    }
}

int MainWindow::chosen_method() const { return method_group_->checkedId(); }

void MainWindow::show_prime_method(int method) {
    if (method < 0 || method >= static_cast<int>(method_buttons_.size())) return;
    method_buttons_[method]->setChecked(true);
    // The run decided: the check above must not come back to it as the user's choice.
    std::lock_guard lock(pending_.mutex);
    pending_.prime_method.reset();
}

void MainWindow::set_run_phase(RunPhase phase) {
    const Rgb background = phase == RunPhase::idle      ? colours::light_grey
                           : phase == RunPhase::running ? colours::light_yellow
                                                        : colours::light_green;
    work_area_edit_->setStyleSheet(QString("QPlainTextEdit { background-color: %1; color: black; }").arg(css_rgb(background)));
    if (work_area_) work_area_->report_view()->set_background(QColor(background.r, background.g, background.b));
    if (phase == RunPhase::running) return;
    const Rgb fields = phase == RunPhase::idle ? colours::light_cyan : colours::light_green;
    set_control_colours(time_field_, fields, colours::navy);
    set_control_colours(time_strip_, fields, colours::black);
    progress_bar_->setStyleSheet(QString("QProgressBar { background-color: %1; border: 1px solid gray; } "
                                         "QProgressBar::chunk { background-color: rgb(0,0,128); }")
                                     .arg(css_rgb(fields)));
}

void MainWindow::set_work_area_read_only(bool read_only) {
    work_area_edit_->setReadOnly(read_only);
    // Report text needs no undo; keeping it would double the memory of a long report.
    work_area_edit_->setUndoRedoEnabled(!read_only);
}

void MainWindow::show_path(QLineEdit* field, const std::string& label, const std::string& path) {
    field->setText(QString::fromStdString(shortened_path(label, path)));
    field->setCursorPosition(0);
}

void MainWindow::show_input_file(std::string_view label, std::string_view path) {
    show_path(input_file_field_, std::string(label), std::string(path));
}

void MainWindow::show_report_file(std::string_view label, std::string_view path) {
    show_path(report_file_field_, std::string(label), std::string(path));
}

void MainWindow::preset_save_dialog(std::string_view path, int filter_index) {
    save_preset_ = path;
    save_filter_index_ = filter_index;
}

void MainWindow::focus_start() { start_button_->setFocus(); }

QueryAnswer MainWindow::ask_query(QueryKind kind) {
    QueryAnswer result = QueryAnswer::none;
    QEventLoop loop;
    open_query(kind, [&](QueryAnswer answer) {
        result = answer;
        loop.quit();
    });
    if (result == QueryAnswer::none) loop.exec();
    return result;
}

MessageAnswer MainWindow::message_box(std::string_view caption, std::string_view text, MessageIcon icon,
                                      MessageButtons buttons) {
    return dialogs_.message_box(this, std::string(caption), std::string(text), icon, buttons);
}

// ---- program start ----

void MainWindow::start_up(const std::string& command_line) {
    RunContext& ctx = session_->ctx;
    work_area_->clear();
    set_status_line(" No Input File loaded =>    Ctrl+O  or  Edit");
    set_run_phase(RunPhase::idle);
    ctx.bundle_heading_pending = -1;
    reset_step_status(ctx);
    ctx.diag.check_memory(1);
    set_step_field(0, StepPart::label, "", StepLook::current);
    set_start_caption("Start");
    set_page_length_source(text_size_ * 20);

    std::string name = command_line;
    const auto blank_or_quote = [](char c) { return c == ' ' || c == '"'; };
    while (!name.empty() && blank_or_quote(name.front())) name.erase(name.begin());
    while (!name.empty() && blank_or_quote(name.back())) name.pop_back();
    if (!name.empty() && check_file(ctx, 0, name, "r")) ctx.auto_run = -1;
    ctx.error_flag = 0;

    if (ctx.auto_run != 0) {
        // A symbolic link stands for a shortcut: the file it names is loaded.
        ctx.input_file = resolve_input_path(name);
        if (!load_input_text(ctx.input_file)) {
            ctx.auto_run = 0;
            ctx.input_file.clear();
        }
    }
    if (ctx.auto_run != 0) {
        open_preset_.clear();
        preset_save_dialog(ctx.input_file, 1);
        start_button_->setEnabled(true);
        set_step_status(ctx, 0, "done", 0);
        show_input_file("Input File: ", ctx.input_file);
        set_status_line(" Input File Opened =>  [Start]");
        ctx.run_state = 4;
    } else {
        start_button_->setEnabled(false);
        set_step_status(ctx, 0, "...", 1);
        ctx.run_state = 1;
        set_status_line(" Open File or start New File");
    }
    work_area_edit_->document()->setModified(false);
    version_label_->setText(QString::fromStdString(version_text()));
    enable_all_options();
    set_defaults();
    update_menu_enabling();
    if (ctx.auto_run != 0) {
        ctx.options.display_level = 0;
        run_command();
    } else {
        work_area_edit_->setFocus();
    }
}

}  // namespace vormel
