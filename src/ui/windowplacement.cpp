#include "windowplacement.h"

#include "ini.h"
#include "util.h"
#include "workarea.h"

#include <QWidget>

namespace {

const QString LeftKey = QStringLiteral("Left");
const QString TopKey = QStringLiteral("Top");
const QString WidthKey = QStringLiteral("Width");
const QString HeightKey = QStringLiteral("Height");

// Edges as the first pixel outside the rectangle, so a window that exactly fills the area fits.
int RightEdge(const QRect &area)
{
    return area.x() + area.width();
}

int BottomEdge(const QRect &area)
{
    return area.y() + area.height();
}

// Size of the window frame around the client area; zero until the window has been shown.
QSize FrameExtra(const QWidget *window)
{
    return window->frameGeometry().size() - window->geometry().size();
}

WindowBounds ReadBounds(const IniFile &ini, const QString &section, const QSize &designSize)
{
    return {ini.readInt(section, LeftKey, 10), ini.readInt(section, TopKey, 10),
            ini.readInt(section, WidthKey, designSize.width()), ini.readInt(section, HeightKey, designSize.height())};
}

// Along one axis: a window reaching beyond the edge moves back inside, one longer than the area is cut to it.
void PullBack(int &start, int &length, int edge)
{
    if (start + length <= edge)
        return;
    if (length < edge) {
        start = edge - length;
    } else {
        start = 0;
        length = edge;
    }
}

} // namespace

WindowBounds FitToWorkArea(WindowBounds bounds, const QRect &workArea)
{
    const int right = RightEdge(workArea);
    const int bottom = BottomEdge(workArea);
    if (bounds.left > right)
        bounds.left = 0;
    if (bounds.top > bottom)
        bounds.top = 0;
    PullBack(bounds.left, bounds.width, right);
    PullBack(bounds.top, bounds.height, bottom);
    return bounds;
}

QPoint LoadWindowPos(const IniFile &ini, const QString &section)
{
    return {ini.readInt(section, LeftKey, 10), ini.readInt(section, TopKey, 10)};
}

void SaveWindowPos(IniFile &ini, const QString &section, const QPoint &pos)
{
    ini.writeInt(section, LeftKey, pos.x());
    ini.writeInt(section, TopKey, pos.y());
}

WindowBounds LoadWindowBounds(const IniFile &ini, const QString &section, const QSize &designSize,
                              const QRect &workArea)
{
    return FitToWorkArea(ReadBounds(ini, section, designSize), workArea);
}

void SaveWindowBounds(IniFile &ini, const QString &section, const WindowBounds &bounds)
{
    ini.writeInt(section, LeftKey, bounds.left);
    ini.writeInt(section, TopKey, bounds.top);
    ini.writeInt(section, WidthKey, bounds.width);
    ini.writeInt(section, HeightKey, bounds.height);
}

void RestoreWindowPos(QWidget *window, const IniFile &ini, const QString &section)
{
    QPoint pos = LoadWindowPos(ini, section);
    const QRect area = WorkArea();
    if (pos.x() > RightEdge(area))
        pos.setX(0);
    if (pos.y() > BottomEdge(area))
        pos.setY(0);
    window->move(pos);
}

void StoreWindowPos(const QWidget *window, IniFile &ini, const QString &section)
{
    SaveWindowPos(ini, section, window->pos());
}

void RestoreWindowBounds(QWidget *window, const IniFile &ini, const QString &section)
{
    // The stored size is the client size; the frame around it must fit the work area as well.
    const QSize extra = FrameExtra(window);
    WindowBounds bounds = ReadBounds(ini, section, window->size());
    bounds.width += extra.width();
    bounds.height += extra.height();
    bounds = FitToWorkArea(bounds, WorkArea());
    window->move(bounds.left, bounds.top);
    window->resize(bounds.width - extra.width(), bounds.height - extra.height());
}

void StoreWindowBounds(const QWidget *window, IniFile &ini, const QString &section)
{
    SaveWindowBounds(ini, section, {window->x(), window->y(), window->width(), window->height()});
}
