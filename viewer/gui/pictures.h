// The program's pictures, drawn at start-up rather than loaded from files: toolbar buttons, the
// list's row marker, the picture shown before a review is loaded, the About picture and the
// window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class ToolbarPicture { open, print, detail, previous, next, export_bitmap, funnel };

QIcon toolbar_icon(ToolbarPicture picture);
// 16 x 16: marks a selected outcome row.
const QPixmap &row_marker_picture();
// 400 x 200: the main window's picture while no review is loaded.
QPixmap welcome_picture();
// 235 x 143: the About box's picture.
QPixmap about_picture();
QIcon program_icon();
