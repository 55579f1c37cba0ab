#include "graph_window.h"

#include "cells.h"
#include "forest_plot.h"
#include "painter_canvas.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int line_step = 16;

} // namespace

GraphWindow::GraphWindow(QWidget *parent) : QAbstractScrollArea(parent) {
    setWindowTitle("ORVANTA 4 GRAPH");
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setRange(0, 0);
    horizontalScrollBar()->setRange(0, 0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int p) { vertical_moved(p); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int p) { horizontal_moved(p); });
}

void GraphWindow::set_data(analysis *data) {
    data_ = data;
    // The scroll bars take the outcome's own scroll state.
    int v = 0, h = 0;
    if (data_) {
        plot::ViewSettings view(*data_);
        v = view.integer(settings::V_SCROLL);
        h = view.integer(settings::H_SCROLL);
    }
    QSignalBlocker block_v(verticalScrollBar()), block_h(horizontalScrollBar());
    verticalScrollBar()->setRange(0, std::max(v, 0));
    horizontalScrollBar()->setRange(0, std::max(h, 0));
    verticalScrollBar()->setValue(v);
    horizontalScrollBar()->setValue(h);
    vertical_position_ = verticalScrollBar()->value();
    viewport()->update();
}

void GraphWindow::scroll_to_left() {
    QSignalBlocker block(horizontalScrollBar());
    horizontalScrollBar()->setValue(0);
    if (data_) plot::ViewSettings(*data_).set(settings::H_SCROLL, 0);
    viewport()->update();
}

void GraphWindow::paintEvent(QPaintEvent *) {
    QPainter painter(viewport());
    if (!data_) {
        painter.fillRect(viewport()->rect(), Qt::white);
        painter.drawText(viewport()->rect(), Qt::AlignCenter, "No Outcome To Display");
        return;
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    canvas::PainterCanvas c(painter);
    plot::ScrollRanges ranges =
        plot::paint_forest_plot(c, *data_, {viewport()->width(), viewport()->height()});
    // A range that shrinks below the position moves the position, which repaints again.
    verticalScrollBar()->setRange(0, ranges.vertical);
    horizontalScrollBar()->setRange(0, ranges.horizontal);
}

// Scrolling redraws from the SETTINGS cells; nothing is moved pixel by pixel.
void GraphWindow::scrollContentsBy(int, int) {}

void GraphWindow::vertical_moved(int position) {
    if (data_) {
        plot::ViewSettings view(*data_);
        // Line steps and the scroll box move the first row by 16 units per line from where the
        // rows start unscrolled, so that both agree on every position.
        view.set(settings::FIRST_ROW_Y,
                 view.integer(settings::FIRST_ROW_Y) + line_step * (vertical_position_ - position));
        view.set(settings::V_SCROLL, position);
    }
    vertical_position_ = position;
    viewport()->update();
}

void GraphWindow::horizontal_moved(int position) {
    if (data_) plot::ViewSettings(*data_).set(settings::H_SCROLL, position);
    viewport()->update();
}
