#pragma once
#include "support/QtTestSupport.h"

#include <QString>

// The application object pixel tests need, made once with the pinned font configuration.
void EnsureQtApp();

// Where pictures of a test run go (created on first use).
QString OutputPath(const QString& fileName);
QString DataPath(const QString& fileName);

// Compares an image with its reference in tests/data within a share of pixels whose channels
// differ by more than channelTolerance; the image is kept in the output folder, and written
// as the new reference when TRENDIX_UPDATE_REFERENCES is set (look at it before committing).
void ExpectLikeReference(const QImage& image, const QString& name, int channelTolerance,
                         double share);

// Pixels whose colours differ (images of one size), and pixels that are not white.
int DifferingPixels(const QImage& a, const QImage& b);
int InkedPixels(const QImage& a);
