#include "pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace {

const QColor study_blue(0, 0, 255);
const QColor header_blue(50, 50, 100);

// A small forest plot filling area: study lines with boxes, the line of no effect and a diamond.
void draw_forest(QPainter &p, const QRectF &area) {
    const double effects[] = {0.35, 0.62, 0.28, 0.5, 0.44};
    const double halves[] = {0.22, 0.12, 0.18, 0.1, 0.15};
    const int rows = 5;
    double line = area.height() / (rows + 2);
    double no_effect = area.left() + area.width() * 0.6;
    p.setPen(QPen(Qt::black, std::max(1.0, area.width() / 40)));
    p.drawLine(QPointF(no_effect, area.top()), QPointF(no_effect, area.bottom()));
    for (int i = 0; i < rows; ++i) {
        double y = area.top() + line * (i + 0.8);
        double x = area.left() + area.width() * effects[i];
        double half = area.width() * halves[i];
        p.setPen(QPen(study_blue, std::max(1.0, area.width() / 48)));
        p.drawLine(QPointF(x - half, y), QPointF(x + half, y));
        double box = std::max(1.5, line * 0.3);
        p.fillRect(QRectF(x - box, y - box, 2 * box, 2 * box), study_blue);
    }
    double y = area.top() + line * (rows + 1.2);
    double x = area.left() + area.width() * 0.45;
    QPolygonF diamond({{x - area.width() * 0.1, y},
                       {x, y - line * 0.45},
                       {x + area.width() * 0.1, y},
                       {x, y + line * 0.45}});
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(diamond);
}

QPixmap blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap draw_toolbar_picture(ToolbarPicture picture) {
    QPixmap pixmap = blank(24, 24);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case ToolbarPicture::open: {
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(QColor(240, 200, 80));
        p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {21, 8}, {21, 20}, {2, 20}}));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({{2, 20}, {6, 11}, {23, 11}, {21, 20}}));
        break;
    }
    case ToolbarPicture::print:
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 12, 8));
        p.setBrush(QColor(160, 160, 170));
        p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 15, 12, 7));
        p.setPen(QPen(study_blue, 1));
        p.drawLine(QPointF(8, 18), QPointF(16, 18));
        break;
    case ToolbarPicture::detail:
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 21, 21));
        draw_forest(p, QRectF(3, 3, 18, 18));
        break;
    case ToolbarPicture::previous:
    case ToolbarPicture::next: {
        bool left = picture == ToolbarPicture::previous;
        QPolygonF arrow = left ? QPolygonF({{4, 12}, {14, 3}, {14, 8}, {20, 8}, {20, 16}, {14, 16}, {14, 21}})
                               : QPolygonF({{20, 12}, {10, 3}, {10, 8}, {4, 8}, {4, 16}, {10, 16}, {10, 21}});
        p.setPen(QPen(QColor(0, 0, 140), 1));
        p.setBrush(QColor(60, 110, 230));
        p.drawPolygon(arrow);
        break;
    }
    case ToolbarPicture::export_bitmap:
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 4.5, 17, 15));
        draw_forest(p, QRectF(3, 6, 14, 12));
        p.setPen(QPen(QColor(0, 130, 0), 2.5));
        p.drawLine(QPointF(14, 14), QPointF(22, 22));
        p.drawLine(QPointF(22, 22), QPointF(22, 16));
        p.drawLine(QPointF(22, 22), QPointF(16, 22));
        break;
    case ToolbarPicture::funnel: {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        p.drawLine(QPointF(12, 2), QPointF(2, 22));
        p.drawLine(QPointF(12, 2), QPointF(22, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(study_blue);
        const QPointF dots[] = {{11, 6}, {14, 9}, {9, 12}, {15, 15}, {7, 18}, {17, 19}, {12, 13}};
        for (QPointF d : dots)
            p.drawEllipse(d, 1.6, 1.6);
        break;
    }
    }
    return pixmap;
}

// A picture with the program's name over a forest plot, used before a review is loaded and in
// the About box.
QPixmap title_picture(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(QColor(244, 246, 252));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(header_blue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, width - 2, height - 2));
    draw_forest(p, QRectF(width * 0.58, height * 0.14, width * 0.36, height * 0.72));
    QFont title("Arial");
    title.setBold(true);
    title.setPixelSize(std::min(height / 5, width / 11));
    p.setFont(title);
    p.setPen(header_blue);
    p.drawText(QRectF(width * 0.05, height * 0.2, width * 0.55, height * 0.3),
               Qt::AlignLeft | Qt::AlignVCenter, "Orvanta 4.1");
    QFont subtitle("Arial");
    subtitle.setPixelSize(std::max(9, height / 14));
    p.setFont(subtitle);
    p.drawText(QRectF(width * 0.05, height * 0.5, width * 0.55, height * 0.3), Qt::AlignLeft | Qt::AlignTop,
               "Forest plots of\nmeta-analysis reviews");
    return pixmap;
}

} // namespace

QIcon toolbar_icon(ToolbarPicture picture) {
    return QIcon(draw_toolbar_picture(picture));
}

const QPixmap &row_marker_picture() {
    static const QPixmap marker = [] {
        QPixmap pixmap = blank(16, 16);
        QPainter p(&pixmap);
        p.setPen(QPen(study_blue, 1));
        p.drawLine(1, 8, 14, 8);
        p.fillRect(QRect(5, 5, 6, 6), study_blue);
        return pixmap;
    }();
    return marker;
}

QPixmap welcome_picture() {
    return title_picture(400, 200);
}

QPixmap about_picture() {
    return title_picture(235, 143);
}

QIcon program_icon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw_forest(p, QRectF(2, 2, 28, 28));
    return QIcon(pixmap);
}
