#pragma once

#include "reportdocument.h"

#include <QFont>

// Fonts of the layouts and their measurements in millimetres. The layouts name Windows fonts; fontconfig finds
// the metric-compatible Liberation fonts for Arial, Times New Roman and Courier New, and Tahoma comes from the
// wine fonts, which fontconfig does not know, so they are added to the application's fonts.
namespace Report {

// Adds the Tahoma files once, when present. Every function below calls it.
void EnsureReportFonts();

QFont ToQFont(const Font &font);

// Measurements at printer resolution, in mm.
double TextWidth(const Font &font, const QString &text);
double LineHeight(const Font &font);
double WrappedHeight(const Font &font, double width, const QString &text);

} // namespace Report
