#include "reportpainter.h"

#include "reportfonts.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace Report {

MmScale::MmScale(const QPaintDevice &device) : MmScale(device.logicalDpiX(), device.logicalDpiY()) {}

void PaintPage(QPainter &painter, const Page &page, const MmScale &scale)
{
    EnsureReportFonts();
    QPen pen(Qt::black, scale.x(LineWidthMm));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Lists repeat a few fonts thousands of times: a font is set only when it changes.
    const Font *current = nullptr;
    for (const Element &e : page.elements) {
        if (!e.visible)
            continue;
        switch (e.kind) {
        case Kind::Frame: {
            QRectF r = e.box;
            r.setWidth(qMax(0.0, r.width() - FrameEdgeStepMm));
            r.setHeight(qMax(0.0, r.height() - FrameEdgeStepMm));
            painter.drawRect(scale.rect(r));
            break;
        }
        case Kind::Line:
            painter.drawLine(scale.point(e.box.topLeft()), scale.point(e.box.bottomRight()));
            break;
        case Kind::Text: {
            if (!current || !(*current == e.font)) {
                painter.setFont(ToQFont(e.font));
                current = &e.font;
            }
            int flags = int(e.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
            if (e.wordWrap)
                flags |= Qt::TextWordWrap;
            if (!e.clip)
                flags |= Qt::TextDontClip;
            painter.drawText(scale.rect(e.box), flags, e.text);
            break;
        }
        }
    }
}

bool PaintDocument(const Document &doc, QPagedPaintDevice &device)
{
    device.setPageLayout(doc.setup.pageLayout());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const MmScale scale(device);
    bool first = true;
    bool paged = true;
    doc.forEachPage([&](const Page &page) {
        if (!first && !device.newPage()) {
            paged = false;
            return false;
        }
        first = false;
        PaintPage(painter, page, scale);
        return true;
    });
    if (!paged) {
        painter.end();
        return false;
    }
    return painter.end();
}

} // namespace Report
