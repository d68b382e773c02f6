#pragma once
#include <QImage>
#include <QString>

// The application object pixel tests need, made once with the pinned font configuration.
void EnsureQtApp();

// Where pictures of a test run go (created on first use).
QString OutputPath(const QString& fileName);
QString DataPath(const QString& fileName);

// Share of pixels whose colour channels differ by more than channelTolerance; 1 when the
// sizes differ.
double DifferingShare(const QImage& a, const QImage& b, int channelTolerance);

// Pixels whose colours differ (images of one size), and pixels that are not white.
int DifferingPixels(const QImage& a, const QImage& b);
int InkedPixels(const QImage& a);
