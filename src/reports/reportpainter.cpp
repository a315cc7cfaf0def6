#include "reportpainter.h"

#include "reportfonts.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <optional>

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
    // Lists repeat a few fonts thousands of times: a font is set (and its metrics taken) only when it changes.
    const Font *current = nullptr;
    std::optional<QFontMetricsF> metrics;
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
                metrics.emplace(painter.font(), painter.device());
            }
            int flags = int(e.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip;
            if (e.wordWrap)
                flags |= Qt::TextWordWrap;
            const QRectF box = scale.rect(e.box);
            // Only a text that does not fit is cut, and only where its box ends: the accent over a capital (Á, Ő)
            // may stand above the font's line and a descender below it, and they stay. Wrapped text keeps its last
            // line's lower edge, so that no part of a line that does not fit shows.
            const bool fits = !e.clip || (e.wordWrap ? box.contains(metrics->boundingRect(box, flags, e.text))
                                                     : metrics->horizontalAdvance(e.text) <= box.width());
            if (fits) {
                painter.drawText(box, flags, e.text);
                break;
            }
            const double overhang = metrics->height() / 4;
            painter.save();
            painter.setClipRect(box.adjusted(0, -overhang, 0, e.wordWrap ? 0 : overhang), Qt::IntersectClip);
            painter.drawText(box, flags, e.text);
            painter.restore();
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
