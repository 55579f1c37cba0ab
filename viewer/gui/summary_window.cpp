#include "summary_window.h"

#include "outcome_model.h"
#include "pictures.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int first_column_indent = 34;
constexpr int marker_left = 16;
const QColor comparison_blue(0, 0, 255);
const int column_widths[OutcomeModel::COLUMNS] = {330, 90, 120, 250, 150};

QFont list_font(int pixel_size, bool bold) {
    QFont font("Arial");
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

} // namespace

void OutcomeRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const {
    painter->save();
    painter->fillRect(option.rect, Qt::white);
    painter->setClipRect(option.rect);
    QString text = index.data(Qt::DisplayRole).toString();
    if (index.data(OutcomeModel::ComparisonRole).toBool()) {
        painter->setFont(list_font(14, true));
        painter->setPen(comparison_blue);
        painter->drawText(option.rect.adjusted(4, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    } else {
        painter->setFont(list_font(13, false));
        painter->setPen(Qt::black);
        if (index.column() == 0) {
            if (option.state & QStyle::State_Selected) {
                QRect marker(option.rect.left() + marker_left, option.rect.center().y() - 7, 16, 16);
                painter->drawPixmap(marker, row_marker_picture());
            }
            QRect area = option.rect.adjusted(first_column_indent, 0, 0, 0);
            painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        } else {
            QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, option.rect.width() - 4);
            painter->drawText(option.rect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        }
    }
    painter->restore();
}

QSize OutcomeRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), ROW_HEIGHT};
}

OutcomeListView::OutcomeListView(QWidget *parent) : QTreeView(parent) {
    setObjectName("ORVANTA 4");
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new OutcomeRowDelegate(this));
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
}

void OutcomeListView::mouseDoubleClickEvent(QMouseEvent *event) {
    QTreeView::mouseDoubleClickEvent(event);
    QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) return;
    // A plain double click leaves the row it hit as the only selected one, as its first click does.
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (on_plain_double_click) on_plain_double_click();
}

void OutcomeListView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const {
    painter->fillRect(option.rect, Qt::white);
    QStyleOptionViewItem cell = option;
    cell.state = QStyle::State_Enabled;
    if (selectionModel()->isRowSelected(index.row(), index.parent())) cell.state |= QStyle::State_Selected;
    const bool spanned = isFirstColumnSpanned(index.row(), index.parent());
    for (int c = 0; c < model()->columnCount(index.parent()); ++c) {
        int x = columnViewportPosition(c);
        int width = spanned ? option.rect.right() + 1 - x : columnWidth(c);
        cell.rect = QRect(x, option.rect.top(), width, option.rect.height());
        itemDelegate()->paint(painter, cell, model()->index(index.row(), c, index.parent()));
        if (spanned) break;
    }
}

SummaryWindow::SummaryWindow(OutcomeModel &model, QWidget *parent)
    : QWidget(parent), list_(new OutcomeListView) {
    setWindowTitle("ORVANTA 4 SUMMARY");
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    list_->setModel(&model);
    for (int c = 0; c < OutcomeModel::COLUMNS; ++c)
        list_->setColumnWidth(c, column_widths[c]);
    // A comparison row's text runs across the whole row.
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.is_comparison(r)) list_->setFirstColumnSpanned(r, {}, true);
}

std::vector<int> SummaryWindow::selected_rows() const {
    std::vector<int> rows;
    for (const QModelIndex &index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}
