#pragma once

#include "reportdocument.h"

#include <QPointF>
#include <QRectF>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace Report {

// Thin lines and frames.
constexpr double LineWidthMm = 0.25;
// The layouts measure a frame to just past its right and bottom lines: those lines lie this far inside the
// box, so frames set edge to edge (rows of 6.9 at a pitch of 6.6) share one line instead of drawing two.
constexpr double FrameEdgeStepMm = 0.3;

// Millimetres to the units of one paint device. The painter is never scaled: fonts already follow the device's
// resolution and would grow twice.
class MmScale
{
public:
    MmScale(double dpiX, double dpiY) : m_x(dpiX / 25.4), m_y(dpiY / 25.4) {}
    explicit MmScale(const QPaintDevice &device);

    double x(double mm) const { return mm * m_x; }
    double y(double mm) const { return mm * m_y; }
    QPointF point(const QPointF &mm) const { return {x(mm.x()), y(mm.y())}; }
    QRectF rect(const QRectF &mm) const { return {x(mm.x()), y(mm.y()), x(mm.width()), y(mm.height())}; }

private:
    double m_x;
    double m_y;
};

// Paints the visible elements of one page; the painter's origin is the top-left corner of the printable area.
void PaintPage(QPainter &painter, const Page &page, const MmScale &scale);

// Gives the device the document's page layout and paints every page. False when the device cannot be painted
// on (a printer that refuses the job, a file that cannot be written).
bool PaintDocument(const Document &doc, QPagedPaintDevice &device);

} // namespace Report
