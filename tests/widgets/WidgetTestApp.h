#pragma once
#include "support/QtTestSupport.h"

// The application object widget tests need (offscreen), made once per process.
void EnsureWidgetApp();

// Lets Qt deliver posted events and repaint, for ms milliseconds.
void ProcessEvents(int ms = 0);
