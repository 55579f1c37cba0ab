// The main window ("BASE"): menu, toolbar, and below them the picture shown before a review is
// loaded, the summary window with the outcome list, or the graph window with the plot of the
// outcome being viewed. Every command is wired to a plain function; the window keeps which row is
// viewed and sets its menus and buttons from the SETTINGS cells afterwards.
#pragma once

#include "browse.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class GraphWindow;
class OutcomeModel;
class QAction;
class QMenu;
class QStackedWidget;
class QToolBar;
class SummaryWindow;
class analysis;
struct outcomeDef;

class MainWindow final : public QMainWindow {
  public:
    // program_dir is where funnelview and the help page are looked for. The Funnel Plot button is
    // offered only when funnelview is there at start-up.
    explicit MainWindow(const QString &program_dir, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Loads a review into the outcome list. A review that cannot be loaded is reported and closes
    // the window (returns false).
    bool open_review(const QString &path);
    // Runs a command as its menu item or toolbar button does.
    void run(int id);

    QAction *action(int id) const; // by menu item or toolbar button id; null if none
    QToolBar *toolbar() const { return toolbar_; }
    QMenu *menu(const QString &title) const; // a top-level menu by its caption
    OutcomeModel *outcomes() const { return model_.get(); }
    SummaryWindow *summary() const { return summary_; }
    GraphWindow *graph() const { return graph_; }
    // The list row of the outcome being viewed, or -1 while the summary is shown.
    int viewed_row() const { return viewed_row_; }
    analysis *viewed_data() const;

  private:
    void build_menus();
    void build_toolbar(bool with_funnel);
    QAction *add(QMenu *menu, int id, const QString &caption, std::function<void()> command,
                 bool checkable = false);

    void open_command();
    void detail_command(bool on);
    void view_first_selected();
    void show_row(int row);
    void show_summary();
    std::vector<browse::Row> browse_rows() const;
    void browse(bool forward);
    void change_method(int measure, int model);
    void change_view(const std::function<void(analysis &)> &change);
    void funnel_command();
    void help_command();

    void refresh_menus();
    void enable_outcome_commands(bool on);
    outcomeDef *viewed_record() const;

    QString program_dir_;
    std::map<int, QAction *> actions_;
    QToolBar *toolbar_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QWidget *welcome_ = nullptr;
    std::unique_ptr<OutcomeModel> model_;
    SummaryWindow *summary_ = nullptr;
    GraphWindow *graph_ = nullptr;
    std::vector<QMenu *> outcome_menus_; // usable only while an outcome is viewed
    int viewed_row_ = -1;
};
