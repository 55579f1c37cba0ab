#include "funnel_window.h"

#include "funnel_plot.h"
#include "painter_canvas.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>

FunnelWindow::FunnelWindow(funnel::Data data, QWidget *parent) : QWidget(parent), data_(std::move(data)) {
    setWindowTitle(
        QString::fromStdString("Funnel Plot - " + (data_.title.empty() ? "Orvanta" : data_.title)));
    resize(funnel::plot_extent.width, funnel::plot_extent.height);
}

void FunnelWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    canvas::PainterCanvas c(painter);
    c.set_mapping(funnel::plot_extent, {width(), height()}, false);
    funnel::draw_funnel_plot(c, data_);
}

bool export_funnel_png(const funnel::Data &data, const QString &path, QString &error) {
    QImage image(funnel::plot_extent.width, funnel::plot_extent.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        canvas::PainterCanvas c(painter);
        funnel::draw_funnel_plot(c, data);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
