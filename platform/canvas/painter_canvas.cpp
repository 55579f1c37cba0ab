#include "painter_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace canvas {
namespace {

QColor qcolour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
QString qtext(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Qt sizes a font by its em; a Canvas font by its cell (ascent plus descent), as Windows does for
// a positive height. Measure the face's cell at a large em once and scale.
int pixel_size_for_cell(const QFont &font, int cell_height) {
    QFont probe = font;
    probe.setPixelSize(1000);
    QFontMetricsF m(probe);
    double cell_per_em = (m.ascent() + m.descent()) / 1000.0;
    if (cell_per_em <= 0) cell_per_em = 1;
    return std::max(1, static_cast<int>(std::lround(cell_height / cell_per_em)));
}

} // namespace

PainterCanvas::PainterCanvas(QPainter &painter) : painter_(painter) {
    set_font(Font{});
    set_text_colour(black);
    set_pen(black, 1);
    set_brush(white);
}

void PainterCanvas::set_font(const Font &font) {
    QFont f(QString::fromStdString(font.face));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    f.setPixelSize(pixel_size_for_cell(f, std::max(1, font.height)));
    painter_.setFont(f);
    font_height_ = font.height;
}

void PainterCanvas::set_text_colour(Rgb colour) {
    text_colour_ = colour;
}

void PainterCanvas::text(int x, int y, Align align, std::string_view utf8) {
    QString s = qtext(utf8);
    QFontMetricsF m(painter_.font(), painter_.device());
    double width = m.horizontalAdvance(s);
    double left = x;
    if (align == Align::centre) left -= width / 2;
    if (align == Align::right) left -= width;
    // The pen colours text in Qt; keep the shape pen for lines and restore it.
    QPen shape_pen = painter_.pen();
    painter_.setPen(qcolour(text_colour_));
    painter_.drawText(QPointF(left, y + m.ascent()), s);
    painter_.setPen(shape_pen);
}

Size PainterCanvas::text_extent(std::string_view utf8) {
    QFontMetricsF m(painter_.font(), painter_.device());
    return {static_cast<int>(std::lround(m.horizontalAdvance(qtext(utf8)))), font_height_};
}

void PainterCanvas::set_pen(Rgb colour, int width) {
    painter_.setPen(QPen(qcolour(colour), std::max(1, width)));
}

void PainterCanvas::set_brush(Rgb colour) {
    painter_.setBrush(qcolour(colour));
}

void PainterCanvas::line(Point a, Point b) {
    painter_.drawLine(a.x, a.y, b.x, b.y);
}

void PainterCanvas::rectangle(Rect r) {
    // Like a Windows rectangle, right and bottom are just outside the outline.
    painter_.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

void PainterCanvas::polygon(std::span<const Point> corners) {
    QPolygon p;
    for (Point c : corners)
        p << QPoint(c.x, c.y);
    painter_.drawPolygon(p);
}

void PainterCanvas::set_clip(Rect r) {
    painter_.setClipRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

void PainterCanvas::clear_clip() {
    painter_.setClipping(false);
}

void PainterCanvas::set_mapping(Size window, Size viewport, bool isotropic) {
    if (window.width <= 0 || window.height <= 0) return; // no mapping onto an empty window
    int vw = viewport.width, vh = viewport.height;
    if (isotropic) {
        double scale = std::min(double(vw) / window.width, double(vh) / window.height);
        vw = static_cast<int>(std::lround(window.width * scale));
        vh = static_cast<int>(std::lround(window.height * scale));
    }
    painter_.setWindow(0, 0, window.width, window.height);
    painter_.setViewport(0, 0, vw, vh);
}

} // namespace canvas
