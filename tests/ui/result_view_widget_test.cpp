// The result's pictures in the window, on the offscreen platform: drawn, zoomed, saved.
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>

#include "run/picture_files.h"
#include "support/picture_run.h"
#include "ui/main_window.h"
#include "ui/picture_canvas.h"
#include "ui/result_view_widget.h"
#include "ui/ui_dialogs.h"

using namespace vormel;

namespace {

const char* const kHalfAdder = "a, b : sum, carry\n0 0 : 0 0\n0 1 : 1 0\n1 0 : 1 0\n1 1 : 0 1\n";

// A window that must not ask anything: a whole run from the command line asks nothing.
struct NoDialogs : UiDialogs {
    MessageAnswer message_box(QWidget*, const std::string& caption, const std::string& text, MessageIcon, MessageButtons) override {
        qWarning("unexpected box %s: %s", caption.c_str(), text.c_str());
        return MessageAnswer::ok;
    }
    std::optional<std::string> open_file_name(QWidget*, const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> save_file_name(QWidget*, const std::string&, const std::string&, int, const std::string&) override {
        return std::nullopt;
    }
    bool print_setup(QWidget*, QPrinter&) override { return false; }
    bool open_in_viewer(const std::string&) override { return false; }
};

// Non-white pixels of an image.
int inked(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
    }
    return count;
}

// The document's parse error, or "" when it is well-formed; `texts` collects the text elements.
QString xml_error(const QString& path, QStringList& texts) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "cannot open " + path;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("text")) {
            texts << xml.readElementText();
        }
    }
    return xml.hasError() ? xml.errorString() + " at line " + QString::number(xml.lineNumber()) : QString();
}

}  // namespace

class ResultViewWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void draws_both_pictures_and_saves_them_as_png() {
        testing::PictureRun run("adder.tab", kHalfAdder);
        QVERIFY(run.session.report_saved);
        ResultViewWidget view;
        view.resize(800, 600);
        view.set_result(run.problem());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.has_result());
        QCOMPARE(view.kmap_note(), QString());
        QVERIFY(inked(view.grab().toImage()) > 0);
        for (auto tab : {ResultViewWidget::kmap_tab, ResultViewWidget::diagram_tab}) {
            view.tabs().setCurrentIndex(tab);
            QVERIFY(inked(view.canvas(tab).grab().toImage()) > 0);
            QTemporaryDir dir;
            const QString png = dir.filePath("picture.png");
            QVERIFY(view.save_png(tab, png));
            QImage saved(png);
            QVERIFY(!saved.isNull());
            QCOMPARE(saved.width(), static_cast<int>(std::ceil(view.canvas(tab).picture().width * 2)));
            QVERIFY(inked(saved) > 0);
        }
    }

    // Names with the characters XML reserves (no reader takes them, a later one might) end up as
    // the same text in the parsed SVG.
    void svg_of_awkward_names_is_well_formed() {
        testing::PictureRun run("adder.tab", kHalfAdder);
        QVERIFY(run.session.report_saved);
        run.session.problem.xnames = {"a<b", "c'd"};
        run.session.problem.ynames = {"s&t>", "q\"r"};
        ResultViewWidget view;
        view.set_result(run.problem());
        QTemporaryDir dir;
        for (auto tab : {ResultViewWidget::kmap_tab, ResultViewWidget::diagram_tab}) {
            const QString svg = dir.filePath(QString("picture%1.svg").arg(tab));
            QVERIFY(view.save_svg(tab, svg));
            QStringList texts;
            QCOMPARE(xml_error(svg, texts), QString());
            QVERIFY2(texts.contains("a<b"), qPrintable(texts.join(" | ")));
            QVERIFY(texts.contains("c'd"));
            QVERIFY(texts.contains(tab == ResultViewWidget::kmap_tab ? "q\"r" : "s&t>"));
        }
    }

    void zooms_with_ctrl_wheel_and_the_buttons() {
        testing::PictureRun run("adder.tab", kHalfAdder);
        ResultViewWidget view;
        view.set_result(run.problem());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.tabs().setCurrentIndex(ResultViewWidget::diagram_tab);
        PictureCanvas& canvas = view.canvas(ResultViewWidget::diagram_tab);
        const QSize before = canvas.size();
        const double fitted = canvas.zoom();
        view.findChild<QPushButton*>("zoomIn")->click();
        QVERIFY(std::abs(canvas.zoom() - fitted * 1.25) < 1e-9);
        QCOMPARE(canvas.width(), static_cast<int>(std::ceil(canvas.picture().width * canvas.zoom())));
        QWheelEvent wheel(QPointF(5, 5), canvas.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -240), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        QVERIFY(std::abs(canvas.zoom() - fitted * 1.25 / 1.5625) < 1e-9);
        QVERIFY(canvas.size().width() < before.width());
        // Without Ctrl the wheel scrolls and the zoom stays.
        QWheelEvent plain(QPointF(5, 5), canvas.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &plain);
        QVERIFY(std::abs(canvas.zoom() - fitted * 0.8) < 1e-9);
        for (int i = 0; i < 30; ++i) view.findChild<QPushButton*>("zoomOut")->click();
        QCOMPARE(canvas.zoom(), PictureCanvas::kMinZoom);
        QVERIFY(!view.findChild<QPushButton*>("zoomOut")->isEnabled());
    }

    void a_kmap_at_100_percent_filled_a_corner_of_an_empty_canvas() {
        testing::PictureRun run("adder.tab", kHalfAdder);
        ResultViewWidget view;
        view.resize(1200, 900);
        view.set_result(run.problem());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        // The picture fills its view in one direction and fits in the other.
        auto fills_its_view = [&](ResultViewWidget::Tab tab) {
            view.tabs().setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const PictureCanvas& canvas = view.canvas(tab);
            const QWidget* room = canvas.parentWidget();
            return canvas.width() <= room->width() && canvas.height() <= room->height() &&
                   (canvas.width() >= room->width() - 2 || canvas.height() >= room->height() - 2);
        };
        for (auto tab : {ResultViewWidget::kmap_tab, ResultViewWidget::diagram_tab}) {
            QVERIFY2(fills_its_view(tab), tab == ResultViewWidget::kmap_tab ? "maps" : "diagram");
        }
        QVERIFY(view.canvas(ResultViewWidget::kmap_tab).zoom() > 1.0);
        // A fitted picture follows the window.
        const double small_zoom = view.canvas(ResultViewWidget::diagram_tab).zoom();
        view.resize(1800, 1300);
        QTRY_VERIFY(view.canvas(ResultViewWidget::diagram_tab).zoom() > small_zoom);
        QVERIFY(fills_its_view(ResultViewWidget::diagram_tab));
        // Zoomed by hand it stays as zoomed; Fit brings the fitting back.
        view.findChild<QPushButton*>("zoomIn")->click();
        QVERIFY(!view.fitted(ResultViewWidget::diagram_tab));
        const double zoomed = view.canvas(ResultViewWidget::diagram_tab).zoom();
        view.resize(1200, 900);
        QCoreApplication::processEvents();
        QCOMPARE(view.canvas(ResultViewWidget::diagram_tab).zoom(), zoomed);
        view.findChild<QPushButton*>("zoomFit")->click();
        QVERIFY(view.fitted(ResultViewWidget::diagram_tab));
        QVERIFY(fills_its_view(ResultViewWidget::diagram_tab));
    }

    void seven_inputs_have_a_diagram_and_a_note_instead_of_maps() {
        testing::PictureRun run("wide.tab", testing::random_tab(5, 7, 1, 0));
        ResultViewWidget view;
        view.set_result(run.problem());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.kmap_note().contains("up to 6 inputs"));
        QVERIFY(!view.findChild<QPushButton*>("saveSvg")->isEnabled());
        QVERIFY(!view.save_svg(ResultViewWidget::kmap_tab, "/nonexistent/never.svg"));
        view.tabs().setCurrentIndex(ResultViewWidget::diagram_tab);
        QVERIFY(view.findChild<QPushButton*>("saveSvg")->isEnabled());
        view.clear();
        QVERIFY(!view.has_result());
        QVERIFY(!view.findChild<QPushButton*>("saveSvg")->isEnabled());
    }

    void a_wide_result_showed_the_diagrams_refusal_on_the_kmap_tab() {
        // 70 inputs: too many for the maps (6) and for the diagram (64); the map tab showed the
        // diagram's reason and the diagram tab was blank.
        std::string wide = ".i 70\n.o 1\n";
        for (int row = 0; row < 3; ++row) wide += std::string(70, '-').replace(row * 20, 2, "10") + " 1\n";
        testing::PictureRun run("wide.pla", wide + ".e\n", polarity_one_set, method_shared);
        ResultViewWidget view;
        view.set_result(run.problem());
        QVERIFY2(view.note(ResultViewWidget::kmap_tab).contains("up to 6 inputs"), qPrintable(view.note(ResultViewWidget::kmap_tab)));
        const QString diagram_note = view.note(ResultViewWidget::diagram_tab);
        QVERIFY2(diagram_note.contains("64"), qPrintable(diagram_note));
        QVERIFY(view.note(ResultViewWidget::kmap_tab) != diagram_note);
        QVERIFY(!view.has_result());
        view.tabs().setCurrentIndex(ResultViewWidget::diagram_tab);
        QVERIFY(!view.findChild<QPushButton*>("saveSvg")->isEnabled());
        // A narrow result draws both and shows no note.
        testing::PictureRun narrow("adder.tab", kHalfAdder);
        view.set_result(narrow.problem());
        QCOMPARE(view.note(ResultViewWidget::diagram_tab), QString());
        QCOMPARE(view.note(ResultViewWidget::kmap_tab), QString());
        QVERIFY(view.findChild<QPushButton*>("saveSvg")->isEnabled());
    }

    void the_pictures_window_ignored_escape_and_proposed_no_input_name() {
        ResultViewWidget view;
        view.setWindowFlag(Qt::Window);
        QCOMPARE(view.proposed_name(ResultViewWidget::diagram_tab, true), QString("diagram.svg"));
        view.set_file_stem("adder");
        QCOMPARE(view.proposed_name(ResultViewWidget::kmap_tab, false), QString("adder_kmap.png"));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::keyClick(&view, Qt::Key_Escape);
        QVERIFY(!view.isVisible());
        view.show();
        QTest::keyClick(&view, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!view.isVisible());
    }

    void view_menu_shows_the_pictures_of_a_finished_run() {
        QTemporaryDir dir;
        const std::string input = dir.filePath("adder.tab").toStdString();
        std::ofstream(input) << kHalfAdder;
        // Never the user's own settings (the window keeps a recent-file list).
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        NoDialogs dialogs;
        MainWindow window(dialogs, 1.0);
        window.show_result_view();
        auto* view = window.findChild<ResultViewWidget*>("resultView");
        QVERIFY(view);
        // Sized from the screen, not a fixed 900x700.
        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(view->size(), QSize(static_cast<int>(screen.width() * 0.75), static_cast<int>(screen.height() * 0.8)));
        QVERIFY(!view->has_result());
        window.start_up(input);
        QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), 30000);
        QCOMPARE(window.session().ctx.run_state, 10);
        QVERIFY(view->has_result());
        QVERIFY(window.findChild<QAction*>("actionResultView"));
    }
};

QTEST_MAIN(ResultViewWidgetTest)
#include "result_view_widget_test.moc"
