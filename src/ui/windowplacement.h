#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class IniFile;
class QWidget;

// Remembered window placement: one ini section per window, named after the window, with the keys Left, Top
// (dialogs) and Width, Height (list windows). The caller loads and saves the ini file itself.

struct WindowBounds
{
    int left = 10;
    int top = 10;
    int width = 0;
    int height = 0;

    bool operator==(const WindowBounds &) const = default;
};

// Pulls bounds back from the right and bottom edges of the work area; a window larger than the work area is
// cut to it. Left and top edges are not checked.
WindowBounds FitToWorkArea(WindowBounds bounds, const QRect &workArea);

// Left and Top, 10 and 10 when missing; not fitted.
QPoint LoadWindowPos(const IniFile &ini, const QString &section);
void SaveWindowPos(IniFile &ini, const QString &section, const QPoint &pos);

// Left and Top default to 10, Width and Height to the window's design size; the result is fitted to the
// work area.
WindowBounds LoadWindowBounds(const IniFile &ini, const QString &section, const QSize &designSize,
                              const QRect &workArea);
void SaveWindowBounds(IniFile &ini, const QString &section, const WindowBounds &bounds);

// For dialogs: moves the window to its remembered position. A position beyond the right or bottom edge of
// the work area (a screen that is gone) falls back to that axis' 0, so a modal dialog cannot open unseen.
void RestoreWindowPos(QWidget *window, const IniFile &ini, const QString &section);
void StoreWindowPos(const QWidget *window, IniFile &ini, const QString &section);

// For list windows: the window's current size is its design size.
void RestoreWindowBounds(QWidget *window, const IniFile &ini, const QString &section);
void StoreWindowBounds(const QWidget *window, IniFile &ini, const QString &section);
