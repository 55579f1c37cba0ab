// The funnelview window: the plot scaled to the window's client area.
#pragma once

#include "funnel_data.h"

#include <QWidget>

class FunnelWindow final : public QWidget {
  public:
    explicit FunnelWindow(funnel::Data data, QWidget *parent = nullptr);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    funnel::Data data_;
};

// Draws the plot into a PNG file of the plot's logical size (replaced only when complete).
bool export_funnel_png(const funnel::Data &data, const QString &path, QString &error);
