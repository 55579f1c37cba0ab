#include "main_window.h"

#include "about_box.h"
#include "browse.h"
#include "command_ids.h"
#include "funnel_call.h"
#include "graph_window.h"
#include "menu_state.h"
#include "message_box.h"
#include "outcome_model.h"
#include "pictures.h"
#include "settings.h"
#include "summary_window.h"
#include "view_commands.h"

#include "cp1252.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <QStackedWidget>
#include <QToolBar>
#include <QUrl>

namespace {

using namespace settings;

QString qtext(const std::string &ansi) {
    return QString::fromStdString(cp1252::to_utf8(ansi));
}

// The main window's picture while no review is loaded, 200 left of and 80 above the centre.
class WelcomePage final : public QWidget {
  protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.drawPixmap(width() / 2 - 200, height() / 2 - 80, welcome_picture());
    }
};

struct FlagItem {
    int id, flag;
    const char *caption;
};
const FlagItem flag_items[] = {
    {cmd::SHOW_RAW, FLAG_RAW, "Raw Data"},  {cmd::SHOW_WEIGHT, FLAG_WEIGHT, "Weight"},
    {cmd::SHOW_GRAPH, FLAG_GRAPH, "Graph"}, {cmd::SHOW_CI, FLAG_CI, "Value (% CI)"},
    {cmd::SHOW_YEAR, FLAG_YEAR, "Year"},    {cmd::SHOW_QUALITY, FLAG_QUALITY, "Quality"},
    {cmd::SHOW_OE, FLAG_OE, "O - E"},       {cmd::SHOW_USER, FLAG_USER, "User-Defined"},
};

struct MeasureItem {
    int id, measure;
    const char *caption;
};
const MeasureItem measure_items[] = {
    {cmd::PETO_OR, MEASURE_PETO_OR, "Peto Odds Ratio"},
    {cmd::ODDS_RATIO, MEASURE_OR, "Odds Ratio"},
    {cmd::RELATIVE_RISK, MEASURE_RR, "Relative Risk"},
    {cmd::RISK_DIFFERENCE, MEASURE_RD, "Risk Difference"},
    {cmd::WEIGHTED_MEAN_DIFFERENCE, MEASURE_WMD, "Weighted Mean Difference"},
    {cmd::STANDARDISED_MEAN_DIFFERENCE, MEASURE_SMD, "Standardised Mean Difference"},
};

const char *const sort_captions[commands::SORT_KEYS] = {"by Effect Size", "by Weight",       "by Year",
                                                        "by Study",       "by User Defined", "by Quality"};

} // namespace

MainWindow::MainWindow(const QString &program_dir, QWidget *parent)
    : QMainWindow(parent), program_dir_(program_dir) {
    setWindowTitle("ORVANTA 4.1 [No Review Loaded]");
    setWindowIcon(program_icon());
    resize(640, 480);
    move(0, 0);
    pages_ = new QStackedWidget;
    welcome_ = new WelcomePage;
    graph_ = new GraphWindow;
    pages_->addWidget(welcome_);
    pages_->addWidget(graph_);
    pages_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setCentralWidget(pages_);

    build_menus();
    bool with_funnel =
        QFileInfo(QString::fromStdString(funnelview_path(program_dir_.toStdString()))).isExecutable();
    build_toolbar(with_funnel);
    enable_outcome_commands(false);
    action(cmd::DETAIL)->setEnabled(false);
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::add(QMenu *menu, int id, const QString &caption, std::function<void()> command,
                         bool checkable) {
    auto *a = new QAction(caption, this);
    a->setCheckable(checkable);
    if (command) connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
    if (menu) menu->addAction(a);
    actions_[id] = a;
    return a;
}

void MainWindow::build_menus() {
    QMenu *file = menuBar()->addMenu("&File");
    add(file, cmd::OPEN, "&Open", [this] { open_command(); });
    add(file, cmd::PRINT, "&Print...", {})->setEnabled(false); // comes with the printing support
    file->addSeparator();
    add(file, cmd::EXIT, "E&xit", [this] { close(); });

    QMenu *display = menuBar()->addMenu("&Display");
    // A checkable action is toggled before it triggers: its state is the one asked for.
    add(
        display, cmd::DETAIL, "Detail", [this] { detail_command(action(cmd::DETAIL)->isChecked()); }, true);
    display->addSeparator();
    QMenu *scale = display->addMenu("Scale");
    for (int i = 0; i < 6; ++i)
        add(
            scale, cmd::SCALE_FIRST + i, QString::fromStdString(commands::scale_captions(true)[i]),
            [this, i] { change_view([i](analysis &d) { commands::set_scale(d, i); }); }, true);
    QMenu *study_ci = display->addMenu("Study Confidence Interval");
    QMenu *total_ci = display->addMenu("Outcome Confidence Interval");
    const std::pair<int, const char *> levels[] = {{CI_90, "90%"}, {CI_95, "95%"}, {CI_99, "99%"}};
    const int study_ids[] = {cmd::STUDY_CI_90, cmd::STUDY_CI_95, cmd::STUDY_CI_99};
    const int total_ids[] = {cmd::TOTAL_CI_90, cmd::TOTAL_CI_95, cmd::TOTAL_CI_99};
    for (int i = 0; i < 3; ++i) {
        int code = levels[i].first;
        add(
            study_ci, study_ids[i], levels[i].second,
            [this, code] { change_view([code](analysis &d) { commands::set_study_ci(d, code); }); }, true);
        add(
            total_ci, total_ids[i], levels[i].second,
            [this, code] { change_view([code](analysis &d) { commands::set_total_ci(d, code); }); }, true);
    }
    display->addSeparator();
    for (const FlagItem &f : flag_items) {
        int flag = f.flag;
        add(
            display, f.id, f.caption,
            [this, flag] {
                change_view([flag](analysis &d) { commands::toggle_display_flag(d, flag); });
                graph_->scroll_to_left();
            },
            true);
    }
    display->addSeparator();
    QAction *previous = add(display, cmd::PREVIOUS, "Previous Outcome", [this] { browse(false); });
    QAction *next = add(display, cmd::NEXT, "Next Outcome", [this] { browse(true); });
    previous->setToolTip("Previous outcome");
    next->setToolTip("Next outcome");

    QMenu *sort = menuBar()->addMenu("&Sort");
    for (int k = 1; k <= commands::SORT_KEYS; ++k)
        add(
            sort, cmd::SORT_FIRST + k - 1, sort_captions[k - 1],
            [this, k] { change_view([k](analysis &d) { commands::sort_studies(d, k); }); }, true);

    QMenu *statistics = menuBar()->addMenu("S&tatistics");
    add(
        statistics, cmd::FIXED_MODEL, "Fixed Effect Model",
        [this] {
            if (outcomeDef *r = viewed_record()) change_method(r->measure, MODEL_FIXED);
        },
        true);
    add(
        statistics, cmd::RANDOM_MODEL, "Random Effect Model",
        [this] {
            if (outcomeDef *r = viewed_record()) change_method(r->measure, MODEL_RANDOM);
        },
        true);
    statistics->addSeparator();
    for (const MeasureItem &m : measure_items) {
        int measure = m.measure;
        add(
            statistics, m.id, m.caption,
            [this, measure] {
                if (outcomeDef *r = viewed_record()) change_method(measure, r->model);
            },
            true);
    }

    QMenu *help = menuBar()->addMenu("&Help");
    add(help, cmd::HELP_TOPICS, "Help Topics", [this] { help_command(); });
    help->addSeparator();
    add(help, cmd::ABOUT, "&About Orvanta", [this] { show_about_box(this); });

    outcome_menus_ = {scale, study_ci, total_ci, sort, statistics};
}

void MainWindow::build_toolbar(bool with_funnel) {
    toolbar_ = addToolBar("Toolbar");
    toolbar_->setObjectName("ToolbarWindow32");
    toolbar_->setMovable(false);
    toolbar_->setIconSize({24, 24});
    // A button that repeats a menu item shares its action, and so its state.
    auto button = [&](int id, QAction *a, ToolbarPicture picture, const QString &tip) {
        a->setIcon(toolbar_icon(picture));
        a->setToolTip(tip);
        actions_[id] = a;
        toolbar_->addAction(a);
    };
    button(cmd::OPEN_BUTTON, action(cmd::OPEN), ToolbarPicture::open, "File Open");
    button(cmd::PRINT_BUTTON, action(cmd::PRINT), ToolbarPicture::print, "Print Manager");
    button(cmd::DETAIL_BUTTON, action(cmd::DETAIL), ToolbarPicture::detail, "Summary/Detail");
    toolbar_->addSeparator();
    button(cmd::PREVIOUS_BUTTON, action(cmd::PREVIOUS), ToolbarPicture::previous, "Previous outcome");
    button(cmd::NEXT_BUTTON, action(cmd::NEXT), ToolbarPicture::next, "Next outcome");
    toolbar_->addSeparator();
    QAction *export_bitmap = add(nullptr, cmd::EXPORT_BUTTON, "Export Bitmap", {});
    export_bitmap->setEnabled(false); // comes with the printing support
    button(cmd::EXPORT_BUTTON, export_bitmap, ToolbarPicture::export_bitmap, "Export Bitmap");
    toolbar_->addSeparator();
    if (with_funnel) {
        QAction *funnel = add(nullptr, cmd::FUNNEL_BUTTON, "Funnel Plot", [this] { funnel_command(); });
        funnel->setEnabled(false); // until a fixed-effect result is shown
        button(cmd::FUNNEL_BUTTON, funnel, ToolbarPicture::funnel, "Funnel Plot");
    }
}

QAction *MainWindow::action(int id) const {
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu *MainWindow::menu(const QString &title) const {
    for (QAction *a : menuBar()->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

void MainWindow::run(int id) {
    if (QAction *a = action(id)) a->trigger();
}

analysis *MainWindow::viewed_data() const {
    return viewed_row_ >= 0 ? graph_->data() : nullptr;
}

outcomeDef *MainWindow::viewed_record() const {
    return viewed_row_ >= 0 && model_ ? model_->record(viewed_row_) : nullptr;
}

void MainWindow::open_command() {
    QString path = QFileDialog::getOpenFileName(this, "Open Orvanta file", QString(),
                                                "Orvanta files (*.ORV);;All Files (*.*)");
    if (!path.isEmpty()) open_review(path);
}

bool MainWindow::open_review(const QString &path) {
    auto model = std::make_unique<OutcomeModel>();
    char buffer[LOAD_BUFFER_SIZE];
    if (!CreateListView(*model, QFile::encodeName(path).constData(), buffer)) {
        Custom_Message(this, buffer, 3);
        close();
        return false;
    }
    model_ = std::move(model);
    summary_ = new SummaryWindow(*model_);
    summary_->list().on_plain_double_click = [this] { view_first_selected(); };
    pages_->addWidget(summary_);
    pages_->setCurrentWidget(summary_);
    setWindowTitle("ORVANTA 4.1 [Review: " + qtext(buffer) + "]");
    action(cmd::OPEN)->setEnabled(false);
    action(cmd::DETAIL)->setEnabled(true);
    summary_->list().setFocus();
    return true;
}

void MainWindow::detail_command(bool on) {
    if (on)
        view_first_selected();
    else
        show_summary();
}

void MainWindow::view_first_selected() {
    if (!summary_) return;
    std::vector<int> selected = summary_->selected_rows();
    if (selected.empty()) {
        action(cmd::DETAIL)->setChecked(false);
        Custom_Message(this, "No Outcome Selected", 3);
        return;
    }
    int first = selected.front();
    if (!model_->viewable(first)) { // nothing to draw for it
        action(cmd::DETAIL)->setChecked(viewed_row_ >= 0);
        return;
    }
    show_row(first);
}

void MainWindow::show_row(int row) {
    outcomeDef *record = model_->record(row);
    if (!commands::known_measure(record->measure)) {
        show_message(this, "Critical Orvanta Error", "Incorrect TYPE/EFFECT", MessageKind::error);
        action(cmd::DETAIL)->setChecked(viewed_row_ >= 0);
        return;
    }
    baseMethod *method = record->Current();
    if (!method) {
        show_message(this, "Critical Orvanta Error", "Analysis not found!", MessageKind::error);
        action(cmd::DETAIL)->setChecked(viewed_row_ >= 0);
        return;
    }
    analysis &data = method->Data();
    _vectordef *cells = data.AddVector("SETTINGS");
    data.SetCellString(cells, COMPARISON_NAME, model_->comparison_of(row));
    data.SetCellString(cells, OUTCOME_NAME, model_->name(row));

    viewed_row_ = row;
    graph_->set_data(&data);
    pages_->setCurrentWidget(graph_);
    action(cmd::DETAIL)->setChecked(true);
    enable_outcome_commands(true);
    refresh_menus();
}

void MainWindow::show_summary() {
    viewed_row_ = -1;
    graph_->set_data(nullptr);
    if (summary_) pages_->setCurrentWidget(summary_);
    action(cmd::DETAIL)->setChecked(false);
    enable_outcome_commands(false);
}

std::vector<browse::Row> MainWindow::browse_rows() const {
    std::vector<browse::Row> rows(model_ ? model_->rowCount() : 0);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        rows[r].viewable = model_->viewable(r);
    if (summary_)
        for (int r : summary_->selected_rows())
            rows[r].selected = true;
    return rows;
}

void MainWindow::browse(bool forward) {
    if (viewed_row_ < 0) return;
    std::vector<browse::Row> rows = browse_rows();
    int row = forward ? browse::next_outcome(rows, viewed_row_) : browse::previous_outcome(rows, viewed_row_);
    if (row >= 0) show_row(row);
}

void MainWindow::change_method(int measure, int model) {
    outcomeDef *record = viewed_record();
    if (!record) return;
    switch (commands::change_method(*record, measure, model)) {
    case commands::MethodChange::changed:
        graph_->set_data(&record->Current()->Data());
        break;
    case commands::MethodChange::not_found:
        show_message(this, "Critical Orvanta Error", "Analysis not found!", MessageKind::error);
        break;
    case commands::MethodChange::unchanged:
        break;
    }
    refresh_menus();
}

void MainWindow::change_view(const std::function<void(analysis &)> &change) {
    if (analysis *data = viewed_data()) {
        change(*data);
        graph_->viewport()->update();
    }
    refresh_menus();
}

void MainWindow::funnel_command() {
    outcomeDef *record = viewed_record();
    if (!record) return;
    baseMethod *method = commands::known_measure(record->measure) ? record->Current() : nullptr;
    if (!method) {
        show_message(this, "Funnel Plot", "Error: Unable to perform funnel plot", MessageKind::error);
        return;
    }
    std::string error;
    if (!method->CallFunnel(funnelview_path(QFile::encodeName(program_dir_).toStdString()), error))
        show_message(this, QString::fromStdString(error), "Funnel Plot", MessageKind::warning);
}

void MainWindow::help_command() {
    QString page = program_dir_ + "/OVHELP.html";
    if (!QFileInfo::exists(page)) {
        show_message(this, "The help pages are not installed (" + page + " is missing).", "Help Topics",
                     MessageKind::warning);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        show_message(this, "No program is set up to show " + page + ".", "Help Topics", MessageKind::warning);
}

// Checks, greyed items and captions from the viewed outcome's record and SETTINGS cells, and the
// browsing buttons from the list's selection.
void MainWindow::refresh_menus() {
    outcomeDef *record = viewed_record();
    analysis *data = viewed_data();
    if (!record || !data) return;
    commands::MenuState state = commands::menu_state(*record, *data);
    for (auto [id, on] : state.checked)
        if (QAction *a = action(id)) a->setChecked(on);
    for (auto [id, on] : state.enabled)
        if (QAction *a = action(id)) a->setEnabled(on);
    for (int i = 0; i < 6; ++i)
        action(cmd::SCALE_FIRST + i)->setText(QString::fromStdString(state.scale_captions[i]));
    std::vector<browse::Row> rows = browse_rows();
    action(cmd::PREVIOUS)->setEnabled(browse::previous_outcome(rows, viewed_row_) >= 0);
    action(cmd::NEXT)->setEnabled(browse::next_outcome(rows, viewed_row_) >= 0);
}

void MainWindow::enable_outcome_commands(bool on) {
    for (QMenu *m : outcome_menus_)
        m->menuAction()->setEnabled(on);
    for (const FlagItem &f : flag_items)
        action(f.id)->setEnabled(on);
    if (on) return;
    action(cmd::PREVIOUS)->setEnabled(false);
    action(cmd::NEXT)->setEnabled(false);
    if (QAction *funnel = action(cmd::FUNNEL_BUTTON)) funnel->setEnabled(false);
}
