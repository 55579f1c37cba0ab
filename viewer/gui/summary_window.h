// The summary window ("ORVANTA 4 SUMMARY"): the report-style outcome list "ORVANTA 4" with
// owner-drawn rows 20 units high.
#pragma once

#include <QStyledItemDelegate>
#include <QTreeView>
#include <QWidget>

#include <functional>

class OutcomeModel;

// Draws the list rows: comparison rows in bold blue "Arial" across the row; outcome rows with their
// five columns in black, each clipped to its column, the first 34 units in, the others centred and
// ellipsised; a selected outcome row shows the marker picture instead of a highlight.
class OutcomeRowDelegate final : public QStyledItemDelegate {
  public:
    static constexpr int ROW_HEIGHT = 20;
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

class OutcomeListView final : public QTreeView {
  public:
    explicit OutcomeListView(QWidget *parent = nullptr);
    // Called for a double click on a row without Shift or Ctrl held (with them it only selects).
    std::function<void()> on_plain_double_click;

  protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Rows are owner-drawn whole: the delegate paints every cell, with no highlight, hover or focus
    // frame of the style.
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
};

class SummaryWindow final : public QWidget {
  public:
    SummaryWindow(OutcomeModel &model, QWidget *parent = nullptr);
    OutcomeListView &list() { return *list_; }
    // The selected rows, in list order.
    std::vector<int> selected_rows() const;

  private:
    OutcomeListView *list_;
};
