// The graph window ("ORVANTA 4 GRAPH"): the forest plot of the outcome being viewed, drawn through
// the Canvas, with both scroll bars. Vertical line steps move the rows by 16 units (SETTINGS 29,
// with the position in 24); horizontal steps are 8 units (SETTINGS 23).
#pragma once

#include "analysis.h"

#include <QAbstractScrollArea>

class GraphWindow final : public QAbstractScrollArea {
  public:
    explicit GraphWindow(QWidget *parent = nullptr);

    // The outcome's data set (slot 0 of the window's extra data), or null for none.
    void set_data(analysis *data);
    analysis *data() const { return data_; }
    // Back to the left edge, as after a change of the display flags.
    void scroll_to_left();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void vertical_moved(int position);
    void horizontal_moved(int position);

    analysis *data_ = nullptr;
    int vertical_position_ = 0;
};
