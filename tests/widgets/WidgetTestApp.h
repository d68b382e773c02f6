#pragma once
#include <QImage>

// The application object widget tests need (offscreen), made once per process.
void EnsureWidgetApp();

// Share of pixels that differ between two images of the same size; 1 when the sizes differ.
double DifferingShare(const QImage& a, const QImage& b);

// Lets Qt deliver posted events and repaint, for ms milliseconds.
void ProcessEvents(int ms = 0);
