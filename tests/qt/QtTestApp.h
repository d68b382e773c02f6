#pragma once
#include "support/QtTestSupport.h"

#include <QString>

// The application object pixel tests need, made once with the pinned font configuration.
void EnsureQtApp();

// Where pictures of a test run go (created on first use).
QString OutputPath(const QString& fileName);
QString DataPath(const QString& fileName);
