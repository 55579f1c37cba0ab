// The main window driven as a user drives it, on the offscreen platform.
#include "about_box.h"
#include "command_ids.h"
#include "funnel_data.h"
#include "graph_window.h"
#include "gui_fixture.h"
#include "main_window.h"
#include "settings.h"
#include "summary_window.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QMenu>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace settings;

double cell(analysis *a, int c) {
    return a->GetCellDouble(a->IsVector("SETTINGS"), c);
}

// A main window over a program folder of its own, where a test may put a funnelview.
struct Window : ::testing::Test {
    Window() { ensure_application(); }

    void make_window() { window = std::make_unique<MainWindow>(folder.path()); }
    void open(const QString &review) {
        make_window();
        ASSERT_TRUE(window->open_review(review));
    }
    void select(std::initializer_list<int> rows) {
        QItemSelectionModel *s = window->summary()->list().selectionModel();
        s->clearSelection();
        for (int r : rows)
            s->select(window->outcomes()->index(r, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    bool enabled(int id) const { return window->action(id)->isEnabled(); }
    bool checked(int id) const { return window->action(id)->isChecked(); }
    bool graph_shown() const {
        return static_cast<QStackedWidget *>(window->centralWidget())->currentWidget() == window->graph();
    }
    QStringList toolbar_tips() const {
        QStringList tips;
        for (QAction *a : window->toolbar()->actions())
            tips << (a->isSeparator() ? "|" : a->toolTip());
        return tips;
    }

    QTemporaryDir folder;
    MessageRecorder recorder;
    std::unique_ptr<MainWindow> window;
};

TEST_F(Window, StartsWithNoReviewAndTheToolbarOfItsFolder) {
    make_window();
    EXPECT_EQ(window->windowTitle(), "ORVANTA 4.1 [No Review Loaded]");
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_EQ(toolbar_tips(), QStringList({"File Open", "Print Manager", "Summary/Detail", "|",
                                           "Previous outcome", "Next outcome", "|", "Export Bitmap", "|"}));
    EXPECT_TRUE(enabled(cmd::OPEN));
    for (int id : {cmd::PREVIOUS, cmd::NEXT, cmd::DETAIL, cmd::PRINT, cmd::EXPORT_BUTTON})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(window->action(cmd::DETAIL_BUTTON)->isCheckable());
    EXPECT_EQ(window->action(cmd::FUNNEL_BUTTON), nullptr);

    // With funnelview beside the program the toolbar ends with the Funnel Plot button.
    QFile program(folder.filePath("funnelview"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\n");
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner);
    make_window();
    ASSERT_EQ(toolbar_tips().size(), 10);
    EXPECT_EQ(toolbar_tips().back(), "Funnel Plot");
    EXPECT_FALSE(enabled(cmd::FUNNEL_BUTTON)); // until a fixed-effect outcome is shown
}

TEST_F(Window, OpensAReviewIntoTheList) {
    open(example_review("bcg.ORV"));
    EXPECT_EQ(window->windowTitle(), "ORVANTA 4.1 [Review: BCG vaccine for preventing tuberculosis]");
    EXPECT_FALSE(enabled(cmd::OPEN));
    EXPECT_TRUE(enabled(cmd::DETAIL));
    OutcomeModel *m = window->outcomes();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Statistical Method");
    EXPECT_TRUE(m->is_comparison(0));
    // A comparison row cannot be selected.
    select({0, 1});
    EXPECT_EQ(window->summary()->selected_rows(), std::vector<int>{1});
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Window, AReviewThatCannotBeLoadedIsReportedAndEndsTheWindow) {
    make_window();
    window->show();
    EXPECT_FALSE(window->open_review(folder.filePath("missing.ORV")));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, "Orvanta 4.1");
    EXPECT_FALSE(recorder.messages[0].text.isEmpty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Window, DetailWithoutASelectionSaysSo) {
    open(example_review("bcg.ORV"));
    window->run(cmd::DETAIL);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "No Outcome Selected");
    EXPECT_EQ(recorder.messages[0].title, "Orvanta 4.1");
    EXPECT_FALSE(checked(cmd::DETAIL));
    EXPECT_FALSE(graph_shown());
}

TEST_F(Window, DetailShowsTheFirstSelectedOutcomeAndTogglesBack) {
    open(test_review("browse.ORV"));
    select({3, 5});
    window->run(cmd::DETAIL);
    ASSERT_TRUE(graph_shown());
    EXPECT_EQ(window->viewed_row(), 3);
    analysis *data = window->graph()->data();
    EXPECT_STREQ(data->GetCellString(data->IsVector("SETTINGS"), COMPARISON_NAME), "First comparison");
    EXPECT_STREQ(data->GetCellString(data->IsVector("SETTINGS"), OUTCOME_NAME), "Relapses");
    EXPECT_TRUE(checked(cmd::DETAIL));
    EXPECT_TRUE(checked(cmd::PETO_OR));
    EXPECT_TRUE(checked(cmd::FIXED_MODEL));
    EXPECT_FALSE(enabled(cmd::RANDOM_MODEL));
    EXPECT_TRUE(enabled(cmd::SHOW_OE));
    EXPECT_TRUE(checked(cmd::SHOW_OE));
    EXPECT_FALSE(enabled(cmd::PRINT)); // printing comes later

    window->run(cmd::DETAIL);
    EXPECT_FALSE(graph_shown());
    EXPECT_EQ(window->viewed_row(), -1);
    EXPECT_FALSE(enabled(cmd::NEXT));
    EXPECT_FALSE(window->menu("&Sort")->menuAction()->isEnabled());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Window, OutcomesThatCannotBeShownStayInTheList) {
    open(test_review("browse.ORV"));
    select({2}); // no numerical data: nothing to show, nothing to say
    window->run(cmd::DETAIL);
    EXPECT_FALSE(graph_shown());
    EXPECT_FALSE(checked(cmd::DETAIL));
    EXPECT_TRUE(recorder.messages.empty());

    // A record whose measure is unknown, or whose method has no result.
    const struct {
        int measure, model;
        const char *title;
    } cases[] = {{999, MODEL_FIXED, "Incorrect TYPE/EFFECT"},
                 {MEASURE_PETO_OR, MODEL_RANDOM, "Analysis not found!"}};
    for (const auto &c : cases) {
        recorder.messages.clear();
        outcomeDef *record = window->outcomes()->record(3);
        record->measure = c.measure;
        record->model = c.model;
        select({3});
        window->run(cmd::DETAIL);
        EXPECT_FALSE(graph_shown());
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "Critical Orvanta Error");
        EXPECT_EQ(recorder.messages[0].title, c.title);
    }
}

TEST_F(Window, DoubleClickViewsAnOutcomeUnlessShiftOrCtrlIsHeld) {
    open(test_review("browse.ORV"));
    window->resize(900, 500);
    window->show();
    OutcomeListView &list = window->summary()->list();
    QPoint deaths = list.visualRect(window->outcomes()->index(1, 0)).center();
    QPoint relapses = list.visualRect(window->outcomes()->index(3, 0)).center();

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, deaths);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, relapses);
    EXPECT_FALSE(graph_shown());

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, relapses);
    ASSERT_TRUE(graph_shown());
    EXPECT_EQ(window->viewed_row(), 3);
}

TEST_F(Window, PreviousAndNextBrowseTheSelectedOutcomes) {
    open(test_review("browse.ORV"));
    select({1, 2, 3, 5}); // row 2 has no numerical data
    window->run(cmd::DETAIL_BUTTON);
    EXPECT_EQ(window->viewed_row(), 1);
    EXPECT_FALSE(enabled(cmd::PREVIOUS));
    EXPECT_TRUE(enabled(cmd::NEXT));

    window->run(cmd::NEXT_BUTTON);
    EXPECT_EQ(window->viewed_row(), 3);
    EXPECT_TRUE(enabled(cmd::PREVIOUS));
    EXPECT_TRUE(enabled(cmd::NEXT));
    window->run(cmd::NEXT);
    EXPECT_EQ(window->viewed_row(), 5);
    EXPECT_FALSE(enabled(cmd::NEXT));
    // The continuous outcome's menus.
    EXPECT_TRUE(checked(cmd::WEIGHTED_MEAN_DIFFERENCE));
    EXPECT_FALSE(enabled(cmd::ODDS_RATIO));
    EXPECT_EQ(window->action(cmd::SCALE_FIRST + 5)->text(), "-0.5 --> 0.5");

    window->run(cmd::PREVIOUS_BUTTON);
    EXPECT_EQ(window->viewed_row(), 3);
    window->run(cmd::PREVIOUS);
    EXPECT_EQ(window->viewed_row(), 1);
    EXPECT_FALSE(enabled(cmd::PREVIOUS));
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Window, StatisticsAndDisplayCommandsChangeTheSettingsAndTheMenus) {
    open(example_review("bcg.ORV"));
    select({1});
    window->run(cmd::DETAIL);
    analysis *rr = window->graph()->data();
    EXPECT_TRUE(checked(cmd::RELATIVE_RISK));
    EXPECT_TRUE(checked(cmd::RANDOM_MODEL));
    EXPECT_EQ(window->action(cmd::SCALE_FIRST)->text(), "0.001 --> 1000");
    EXPECT_FALSE(enabled(cmd::SCALE_FIRST + 5));

    window->run(cmd::FIXED_MODEL);
    analysis *fixed = window->graph()->data();
    EXPECT_NE(fixed, rr);
    EXPECT_EQ(cell(fixed, MODEL), MODEL_FIXED);
    EXPECT_TRUE(checked(cmd::FIXED_MODEL));
    EXPECT_FALSE(checked(cmd::RANDOM_MODEL));

    window->run(cmd::RISK_DIFFERENCE);
    analysis *rd = window->graph()->data();
    EXPECT_EQ(cell(rd, MEASURE), MEASURE_RD);
    EXPECT_EQ(cell(rd, MODEL), MODEL_FIXED);
    EXPECT_EQ(window->action(cmd::SCALE_FIRST)->text(), "-1000 --> 1000");
    EXPECT_TRUE(enabled(cmd::SCALE_FIRST + 5));

    window->run(cmd::PETO_OR);
    EXPECT_TRUE(checked(cmd::PETO_OR));
    EXPECT_FALSE(checked(cmd::RISK_DIFFERENCE));
    EXPECT_FALSE(enabled(cmd::RANDOM_MODEL));
    window->run(cmd::RELATIVE_RISK); // back from Peto, still fixed
    EXPECT_EQ(cell(window->graph()->data(), MODEL), MODEL_FIXED);

    analysis *data = window->graph()->data();
    window->run(cmd::SCALE_FIRST + 3);
    EXPECT_EQ(cell(data, SCALE_INDEX), 3);
    EXPECT_TRUE(checked(cmd::SCALE_FIRST + 3));
    EXPECT_FALSE(checked(cmd::SCALE_FIRST + 2));
    window->run(cmd::SCALE_FIRST + 3); // choosing the checked item again keeps it checked
    EXPECT_TRUE(checked(cmd::SCALE_FIRST + 3));

    window->run(cmd::STUDY_CI_99);
    EXPECT_EQ(cell(data, STUDY_CI), CI_99);
    EXPECT_TRUE(checked(cmd::STUDY_CI_99));
    EXPECT_FALSE(checked(cmd::STUDY_CI_95));
    window->run(cmd::TOTAL_CI_90);
    EXPECT_EQ(cell(data, TOTAL_CI), CI_90);
    EXPECT_TRUE(checked(cmd::TOTAL_CI_90));

    int flags = static_cast<int>(cell(data, DISPLAY_FLAGS));
    window->graph()->horizontalScrollBar()->setRange(0, 20);
    window->graph()->horizontalScrollBar()->setValue(5);
    EXPECT_EQ(cell(data, H_SCROLL), 5);
    window->run(cmd::SHOW_QUALITY);
    EXPECT_EQ(cell(data, DISPLAY_FLAGS), flags | FLAG_QUALITY);
    EXPECT_TRUE(checked(cmd::SHOW_QUALITY));
    EXPECT_EQ(cell(data, H_SCROLL), 0);
    EXPECT_EQ(window->graph()->horizontalScrollBar()->value(), 0);
    window->run(cmd::SHOW_YEAR);
    EXPECT_FALSE(checked(cmd::SHOW_YEAR));
    EXPECT_EQ(cell(data, DISPLAY_FLAGS), (flags | FLAG_QUALITY) & ~FLAG_YEAR);

    window->run(cmd::SORT_FIRST + 1); // by weight
    EXPECT_EQ(cell(data, SORT_KEY), 2);
    EXPECT_TRUE(checked(cmd::SORT_FIRST + 1));
    EXPECT_FALSE(checked(cmd::SORT_FIRST + 3));
    _vectordef *weight = data->IsVector("WEIGHT"), *group = data->IsVector("GROUP");
    for (int r = 2; r <= 13; ++r)
        if (data->GetCellDouble(group, r - 1) == data->GetCellDouble(group, r)) {
            EXPECT_LE(data->GetCellDouble(weight, r - 1), data->GetCellDouble(weight, r));
        }
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Window, VerticalScrollingMovesTheRowsSixteenUnitsALine) {
    open(example_review("bcg.ORV"));
    window->resize(640, 300); // too short for 13 studies in 3 subgroups
    window->show();
    select({1});
    window->run(cmd::DETAIL);
    QTest::qWait(50);
    window->graph()->viewport()->repaint();
    analysis *data = window->graph()->data();
    QScrollBar *v = window->graph()->verticalScrollBar();
    EXPECT_EQ(v->maximum(), 13 + 5 * (3 + 1));
    double first = cell(data, FIRST_ROW_Y);
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(cell(data, FIRST_ROW_Y), first - 16);
    EXPECT_EQ(cell(data, V_SCROLL), 1);
    v->setValue(4); // the scroll box
    EXPECT_EQ(cell(data, FIRST_ROW_Y), first - 64);
    window->graph()->viewport()->repaint(); // a repaint keeps the scrolled rows
    EXPECT_EQ(cell(data, FIRST_ROW_Y), first - 64);
    v->setValue(0);
    EXPECT_EQ(cell(data, FIRST_ROW_Y), first);
}

TEST_F(Window, FunnelPlotHandsTheStudiesToFunnelviewBesideTheProgram) {
    // A stand-in funnelview that keeps what it is given.
    QString received = folder.filePath("received.txt");
    QFile program(folder.filePath("funnelview"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(
        ("#!/bin/sh\ncat > '" + received + ".part' && mv '" + received + ".part' '" + received + "'\n")
            .toUtf8());
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner);

    open(example_review("bcg.ORV"));
    select({1});
    window->run(cmd::DETAIL);
    EXPECT_FALSE(enabled(cmd::FUNNEL_BUTTON)); // random effects
    window->run(cmd::FIXED_MODEL);
    ASSERT_TRUE(enabled(cmd::FUNNEL_BUTTON));
    window->run(cmd::FUNNEL_BUTTON);
    ASSERT_TRUE(recorder.messages.empty()) << recorder.messages[0].text.toStdString();
    for (int i = 0; i < 100 && !QFile::exists(received); ++i)
        QTest::qWait(50);
    std::ifstream in(received.toStdString());
    funnel::Data data;
    std::string error;
    ASSERT_TRUE(funnel::read_data(in, data, error)) << error;
    EXPECT_EQ(data.title, "Tuberculosis cases");
    EXPECT_EQ(data.measure, "RR");
    EXPECT_TRUE(data.ratio);
    EXPECT_EQ(data.studies.size(), 13u);

    // An unknown measure cannot be plotted.
    int measure = window->outcomes()->record(1)->measure;
    window->outcomes()->record(1)->measure = 999;
    window->run(cmd::FUNNEL_BUTTON);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Funnel Plot");
    EXPECT_EQ(recorder.messages[0].title, "Error: Unable to perform funnel plot");
    window->outcomes()->record(1)->measure = measure;
    recorder.messages.clear();

    // A funnelview that has gone since start-up is reported.
    QFile::remove(folder.filePath("funnelview"));
    window->run(cmd::FUNNEL_BUTTON);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, "Funnel Plot");
    EXPECT_TRUE(recorder.messages[0].text.contains("funnelview cannot be run"))
        << recorder.messages[0].text.toStdString();
}

TEST_F(Window, HelpWithoutItsPageSaysWhatIsMissing) {
    make_window();
    window->run(cmd::HELP_TOPICS);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, "Help Topics");
    EXPECT_TRUE(recorder.messages[0].text.contains("OVHELP.html"));
    // The build installs the page beside the program.
    const char *build = std::getenv("TOOLKIT_BUILD");
    ASSERT_NE(build, nullptr);
    EXPECT_TRUE(QFile::exists(QString(build) + "/bin/OVHELP.html"));
}

// A picture of the window as a user sees it, left in the test artifacts.
TEST_F(Window, ScreenshotOfAnOutcome) {
    make_window();
    window->show();
    ASSERT_TRUE(window->grab().toImage().save(artifact_folder() + "/no_review.png"));
    ASSERT_TRUE(window->open_review(example_review("bcg.ORV")));
    window->resize(1000, 700);
    select({1});
    window->run(cmd::DETAIL);
    QTest::qWait(50);
    QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QString path = artifact_folder() + "/main_window.png";
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
    // The study boxes are drawn in pure blue; the outcome title and headers in (50, 50, 100).
    int blue = 0, header = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            QRgb p = shot.pixel(x, y);
            blue += p == qRgb(0, 0, 255);
            header += p == qRgb(50, 50, 100);
        }
    EXPECT_GT(blue, 200);
    EXPECT_GT(header, 50);

    window->run(cmd::DETAIL);
    ASSERT_TRUE(window->grab().toImage().save(artifact_folder() + "/summary_window.png"));
}

TEST_F(Window, AboutBoxShowsThePictureAndTheSystemText) {
    make_window();
    std::unique_ptr<QDialog> about = make_about_box(window.get());
    EXPECT_EQ(about->windowTitle(), "About Orvanta");
    about->show();
    QImage shot = about->grab().toImage();
    ASSERT_TRUE(shot.save(artifact_folder() + "/about_box.png"));
    EXPECT_GE(shot.width(), 235);
    EXPECT_GE(shot.height(), 143);
}

} // namespace
