#pragma once

#include <QColor>

// The sorted or key column of grids.
inline QColor HighlightColor()
{
    return QColor(255, 255, 185);
}

// The edit field holding the focus.
inline QColor FocusColor()
{
    return QColor(166, 202, 240);
}
