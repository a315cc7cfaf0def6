#pragma once

#include <QRect>

// The primary screen's available geometry, 1024x768 without a screen.
QRect WorkArea();
