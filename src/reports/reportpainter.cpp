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
            painter.setFont(ToQFont(e.font));
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
    // An empty document still gives one (blank) page.
    for (int i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        PaintPage(painter, doc.pages.at(i), scale);
    }
    return painter.end();
}

} // namespace Report
