#pragma once
#include "support/QtTestSupport.h"

#include <QString>

// The application object pixel tests need, made once with the pinned font configuration.
void EnsureQtApp();

// Where pictures of a test run go (created on first use).
QString OutputPath(const QString& fileName);
QString DataPath(const QString& fileName);

// Pixels whose colours differ (images of one size), and pixels that are not white.
int DifferingPixels(const QImage& a, const QImage& b);
int InkedPixels(const QImage& a);
