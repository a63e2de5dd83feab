// The main window's layout on screens of common sizes and when resized.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <memory>

#include "scripted_dialogs.h"
#include "ui/emergency_window.h"
#include "ui/main_window.h"
#include "ui/ui_dialogs.h"

using namespace vormel;

namespace {

// Screens' work areas: a panel of 40 pixels taken from each, and a title bar of 30 pixels that a
// window manager adds above the window.
constexpr int kPanel = 40;
constexpr int kTitleBar = 30;
const QSize kScreens[] = {{1024, 768}, {1280, 1024}, {1366, 768}, {1600, 1000}, {1920, 1080}, {2560, 1440}};

// The area that holds the controls (inside the scroll area that is the window's central widget).
QWidget* control_area(MainWindow& window) { return window.findChild<QWidget*>("centralArea"); }

QList<QWidget*> controls(MainWindow& window) {
    QList<QWidget*> found;
    for (QObject* child : control_area(window)->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && !widget->isHidden()) found << widget;
    }
    return found;
}

// Pairs of controls that overlap, leaving out a group box and the controls inside it.
QList<QPair<QString, QString>> overlaps(const QList<QWidget*>& widgets) {
    QList<QPair<QString, QString>> found;
    for (int i = 0; i < widgets.size(); ++i) {
        for (int j = i + 1; j < widgets.size(); ++j) {
            if (qobject_cast<QGroupBox*>(widgets[i]) || qobject_cast<QGroupBox*>(widgets[j])) continue;
            if (widgets[i]->geometry().intersects(widgets[j]->geometry())) {
                found << qMakePair(widgets[i]->objectName(), widgets[j]->objectName());
            }
        }
    }
    return found;
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

    ScriptedDialogs dialogs_;

    std::unique_ptr<MainWindow> window_for(QSize screen) {
        auto window = std::make_unique<MainWindow>(dialogs_, std::nullopt, QRect(QPoint(0, 0), screen - QSize(0, kPanel)));
        window->start_up("");
        window->show();
        // Maximized under a window manager: the work area less the title bar.
        window->setGeometry(0, kTitleBar, screen.width(), screen.height() - kPanel - kTitleBar);
        QCoreApplication::processEvents();
        return window;
    }

private slots:
    void whole_window_fits_the_screen() {
        // At 1600x1000 and 1920x1080 the lowest controls and the work area's scroll bars lay
        // below the screen's edge.
        for (QSize screen : kScreens) {
            auto window = window_for(screen);
            const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
            QVERIFY2(window->height() <= screen.height() - kPanel - kTitleBar, qPrintable(size));
            const QRect client = control_area(*window)->rect();
            for (QWidget* control : controls(*window)) {
                QVERIFY2(client.contains(control->geometry()), qPrintable(size + " " + control->objectName()));
            }
            QPlainTextEdit& area = window->work_area_edit();
            area.setPlainText(QString(400, 'x') + QString(200, '\n'));
            QTRY_VERIFY(area.horizontalScrollBar()->isVisible());
            const QRect scroll = QRect(area.horizontalScrollBar()->mapTo(window.get(), QPoint(0, 0)),
                                       area.horizontalScrollBar()->size());
            QVERIFY2(window->rect().contains(scroll), qPrintable(size));
        }
    }

    void emergency_window_opened_off_the_screen_or_behind_the_main_window() {
        // It sat at a fixed 1150, 650: off a 1024x768 screen, and under the main window on larger ones.
        for (QSize screen : {QSize(1024, 768), QSize(1600, 1000), QSize(2560, 1440)}) {
            const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
            auto window = window_for(screen);
            const QRect available(QPoint(0, 0), screen - QSize(0, kPanel));
            EmergencyWindow emergency(window.get(), [] { return 0; }, [] {});
            emergency.show();
            emergency.place(available);
            const QRect where = emergency.frameGeometry();
            QVERIFY2(available.contains(where), qPrintable(size));
            // It belongs to the main window, which keeps it above itself.
            QVERIFY(emergency.isWindow());
            QCOMPARE(emergency.parentWidget(), window.get());
            QCOMPARE(emergency.windowHandle()->transientParent(), window->windowHandle());
            // Over report text only: clear of every control of the window but the work area.
            for (QWidget* control : controls(*window)) {
                if (control->objectName() == "workArea") continue;
                const QRect on_screen(control->mapToGlobal(QPoint(0, 0)), control->size());
                QVERIFY2(!where.intersects(on_screen), qPrintable(size + " " + control->objectName()));
            }
        }
    }

    void minimum_size_was_larger_than_a_laptop_screen() {
        // At 1600x1000 the window could not be made smaller than 924x942.
        for (QSize screen : kScreens) {
            const QString size = QString("%1x%2").arg(screen.width()).arg(screen.height());
            auto window = window_for(screen);
            const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
            QVERIFY2(smallest.width() <= 1024 && smallest.height() <= 600 - kPanel - kTitleBar,
                     qPrintable(size + QString(" %1x%2").arg(smallest.width()).arg(smallest.height())));
            // Smaller than its controls need, the window scrolls them: each can still be reached.
            window->resize(1024, 600 - kPanel - kTitleBar);
            QCoreApplication::processEvents();
            auto* scroller = window->findChild<QScrollArea*>("centralScroller");
            QWidget* area = control_area(*window);
            for (QWidget* control : controls(*window)) {
                QVERIFY2(area->rect().contains(control->geometry()), qPrintable(size + " " + control->objectName()));
            }
            if (area->height() > scroller->viewport()->height()) QVERIFY(scroller->verticalScrollBar()->isVisible());
            if (area->width() > scroller->viewport()->width()) QVERIFY(scroller->horizontalScrollBar()->isVisible());
            QVERIFY(window->work_area_edit().height() > 0);
        }
    }

    void captions_fit_their_controls_on_every_screen() {
        // "Combination" was cut at 1024x768.
        for (QSize screen : kScreens) {
            auto window = window_for(screen);
            for (auto* button : control_area(*window)->findChildren<QAbstractButton*>()) {
                // A push button's size hint has a minimum width of the style's; its caption is what must fit.
                const int needed = qobject_cast<QRadioButton*>(button)
                                       ? button->sizeHint().width()
                                       : button->fontMetrics().horizontalAdvance(button->text()) + 4;
                QVERIFY2(needed <= button->width() + 1,
                         qPrintable(QString("%1 at %2x%3").arg(button->objectName()).arg(screen.width()).arg(screen.height())));
            }
            // "Prime Generation" ran over its box at 1024x768.
            for (auto* box : control_area(*window)->findChildren<QGroupBox*>()) {
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->title()) + 8 <= box->width(), qPrintable(box->objectName()));
            }
            // The time limit showed 86400 as 400 at 1024x768.
            auto* limit = window->findChild<QLineEdit*>("exactLimitField");
            QVERIFY(limit->fontMetrics().horizontalAdvance("86400") <= limit->contentsRect().width() - 4);
        }
    }

    void resizing_keeps_the_design_order_and_gives_the_room_to_the_work_area() {
        auto window = window_for({1366, 768});
        const QList<QWidget*> widgets = controls(*window);
        // The design itself lets a step's label reach into its status field.
        const auto designed_overlaps = overlaps(widgets);
        const QRect area_before = window->work_area_edit().geometry();
        auto* start = window->findChild<QWidget*>("startButton");
        auto* quit = window->findChild<QWidget*>("quitButton");
        auto* step0 = window->findChild<QWidget*>("stepLabel0");
        auto* input_field = window->findChild<QWidget*>("inputFileField");
        auto* report_field = window->findChild<QWidget*>("reportFileField");
        const int start_gap = control_area(*window)->height() - start->geometry().bottom();
        for (QSize size : {QSize(2400, 1300), QSize(1366, 600), window->minimumSize(), QSize(200, 200)}) {
            window->resize(size);
            QCoreApplication::processEvents();
            const QString label = QString("%1x%2").arg(size.width()).arg(size.height());
            for (const auto& pair : overlaps(widgets)) {
                QVERIFY2(designed_overlaps.contains(pair), qPrintable(label + " " + pair.first + " " + pair.second));
            }
            const QRect client = control_area(*window)->rect();
            for (QWidget* control : widgets) QVERIFY2(client.contains(control->geometry()), qPrintable(label + " " + control->objectName()));
            const QRect area = window->work_area_edit().geometry();
            QVERIFY(step0->geometry().right() < area.left());
            QVERIFY(area.right() < start->geometry().left());
            QVERIFY(quit->geometry().bottom() < start->geometry().top());
            QVERIFY(input_field->geometry().right() < report_field->geometry().left());
            QVERIFY(report_field->geometry().right() <= area.right());
            QCOMPARE(area.top(), area_before.top());
        }
        window->resize(2400, 1300);
        QCoreApplication::processEvents();
        const QRect area = window->work_area_edit().geometry();
        QVERIFY(area.width() > area_before.width() + 900);
        QVERIFY(area.height() > area_before.height() + 500);
        // The lowest controls sit at the same distance from the bottom edge as before.
        QCOMPARE(control_area(*window)->height() - start->geometry().bottom(), start_gap);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
