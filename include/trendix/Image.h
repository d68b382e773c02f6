#pragma once
/// @file
/// Pictures of a plot through Qt (Trendix::Widget): files and images.

#include <trendix/Plot.h>

#include <QImage>

#include <string>

namespace trendix {

/// Draws the plot into a file: PNG, PDF or SVG by the name's ending. Without a size the
/// picture has the plot's own size; another size is a scaled drawing of the same layout.
/// Throws trendix::Error when the ending is unknown or the file cannot be written.
void saveImage(Plot& plot, const std::string& path);
void saveImage(Plot& plot, const std::string& path, int width, int height);

/// Draws the plot into image, scaled to the image's size when that differs from the plot's.
/// The image must be of a format QPainter draws into (e.g. QImage::Format_RGB32).
void render(Plot& plot, QImage& image);

/// The plot as a new image of its own size.
QImage toImage(Plot& plot);

} // namespace trendix
