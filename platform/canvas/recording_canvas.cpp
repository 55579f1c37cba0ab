#include "recording_canvas.h"

namespace canvas {
namespace {

using std::to_string;

std::string colour(Rgb c) {
    return to_string(c.r) + ',' + to_string(c.g) + ',' + to_string(c.b);
}
std::string point(int x, int y) {
    return to_string(x) + ',' + to_string(y);
}

// The text in double quotes, with '"' and '\' escaped so that every line reads back unambiguously.
std::string quoted(std::string_view s) {
    std::string q = "\"";
    for (char ch : s) {
        if (ch == '"' || ch == '\\') q += '\\';
        q += ch;
    }
    return q + '"';
}

const char *name(Align a) {
    switch (a) {
    case Align::left:
        return "left";
    case Align::centre:
        return "centre";
    case Align::right:
        return "right";
    }
    return "?";
}

// Code points of UTF-8 text: every byte that does not continue a sequence starts a character.
int characters(std::string_view utf8) {
    int n = 0;
    for (unsigned char ch : utf8)
        n += (ch & 0xC0) != 0x80;
    return n;
}

} // namespace

void RecordingCanvas::set_font(const Font &font) {
    font_height_ = font.height;
    out_ += "font " + quoted(font.face) + ' ' + to_string(font.height) + ' ' + to_string(font.weight) + '\n';
}

void RecordingCanvas::set_text_colour(Rgb c) {
    out_ += "text-colour " + colour(c) + '\n';
}

void RecordingCanvas::text(int x, int y, Align align, std::string_view utf8) {
    out_ += "text " + point(x, y) + ' ' + name(align) + ' ' + quoted(utf8) + '\n';
}

Size RecordingCanvas::text_extent(std::string_view utf8) {
    return {characters(utf8) * font_height_ / 2, font_height_};
}

void RecordingCanvas::set_pen(Rgb c, int width) {
    out_ += "pen " + colour(c) + ' ' + to_string(width) + '\n';
}

void RecordingCanvas::set_brush(Rgb c) {
    out_ += "brush " + colour(c) + '\n';
}

void RecordingCanvas::line(Point a, Point b) {
    out_ += "line " + point(a.x, a.y) + ' ' + point(b.x, b.y) + '\n';
}

void RecordingCanvas::rectangle(Rect r) {
    out_ += "rectangle " + point(r.left, r.top) + ' ' + point(r.right, r.bottom) + '\n';
}

void RecordingCanvas::polygon(std::span<const Point> corners) {
    out_ += "polygon";
    for (Point p : corners)
        out_ += ' ' + point(p.x, p.y);
    out_ += '\n';
}

void RecordingCanvas::set_clip(Rect r) {
    out_ += "clip " + point(r.left, r.top) + ' ' + point(r.right, r.bottom) + '\n';
}

void RecordingCanvas::clear_clip() {
    out_ += "no-clip\n";
}

void RecordingCanvas::set_mapping(Size window, Size viewport, bool isotropic) {
    out_ += "mapping " + to_string(window.width) + 'x' + to_string(window.height) + " -> " +
            to_string(viewport.width) + 'x' + to_string(viewport.height) + (isotropic ? " isotropic" : "") +
            '\n';
}

} // namespace canvas
