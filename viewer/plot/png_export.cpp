#include "png_export.h"

#include "cells.h"
#include "forest_plot.h"
#include "painter_canvas.h"
#include "recording_canvas.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>

namespace plot {

namespace {

// Below the axis line: tick labels from 4 units and captions from 16 units, each 12 high.
constexpr int below_axis = 32;
// Qt paints images up to this size in each direction.
constexpr int max_height = 32767;

} // namespace

bool export_png(analysis &data, const std::string &path, std::string &error) {
    if (!ViewSettings(data).present()) {
        error = "the outcome has no SETTINGS";
        return false;
    }
    // Lay the plot out once to learn where its axis lies, then draw it for real.
    canvas::RecordingCanvas layout;
    draw_bitmap_plot(layout, data, {export_width, max_height});
    int height = ViewSettings(data).integer(settings::BITMAP_AXIS_Y) + below_axis;
    if (height <= 0 || height > max_height) {
        error = "the plot is too tall for an image (" + std::to_string(height) + " units)";
        return false;
    }

    QImage image(export_width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        error = "not enough memory for a " + std::to_string(height) + "-unit-tall image";
        return false;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        canvas::PainterCanvas c(painter);
        draw_bitmap_plot(c, data, {export_width, height});
    }

    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace plot
